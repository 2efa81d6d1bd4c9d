// The Win32 main window: building it from the controls table, the page in
// front, the controls' notifications, and the Controls interface over HWNDs.
#include "app/win32/MainWindow.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string_view>
#include <tuple>
#include <utility>

#include "app/win32/resources/QuillonAdminResources.h"

namespace quillon {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;

// The platform's dialog font, by the name dialog templates use, at 8 points
// and this display's DPI. Windows maps the name to Microsoft Sans Serif,
// whose widths the table's captions fit; the message-box font of newer
// systems (9-point Segoe UI) and "MS Shell Dlg 2" (Tahoma) are wider and cut
// off the longer captions.
constexpr char kDialogFontFace[] = "MS Shell Dlg";
constexpr int kDialogFontPoints = 8;

// Long tool tips wrap at three inches instead of running across the screen.
constexpr int kToolTipWidthTwips = 4320;

// A fixed frame: nothing in the window follows a change of its size.
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                              WS_CLIPCHILDREN;

struct KindTraits {
  ControlKind kind;
  const char* className;
  DWORD style;
  DWORD exStyle;
  // Where two controls overlap in the table, the higher layer keeps the
  // shared spot (see ControlRects).
  int layer;
};

constexpr KindTraits kKindTraits[] = {
    // Single-line and scrolling sideways; the length limit is lifted after
    // creation.
    {ControlKind::kTextBox, WC_EDITA, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 2},
    // Three states so that the core can show 2 (grayed); with the automatic
    // variant a click would cycle through all three, so the window toggles.
    {ControlKind::kCheckBox, WC_BUTTONA, WS_TABSTOP | BS_3STATE, 0, 1},
    // An edit field above the list: any text can be typed.
    {ControlKind::kComboBox, WC_COMBOBOXA,
     WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 2},
    // Never BS_DEFPUSHBUTTON, so that Enter presses nothing.
    {ControlKind::kButton, WC_BUTTONA, WS_TABSTOP | BS_PUSHBUTTON, 0, 2},
    // One line each, as the table's heights have room for: a caption wider
    // than its label is cut at the edge, not wrapped into a cut second line.
    // A static control lets the mouse fall through to the window below it
    // unless it asks for notifications, and then its tool tip never shows.
    {ControlKind::kLabel, WC_STATICA, SS_LEFTNOWORDWRAP | SS_NOTIFY, 0, 0},
};

const KindTraits& TraitsOf(ControlKind kind) {
  return *std::ranges::find(kKindTraits, kind, &KindTraits::kind);
}

bool HasEditText(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kComboBox;
}

int ToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

RECT ToPixels(const TwipsRect& rect, int dpiX, int dpiY) {
  const int left = ToPixels(rect.left, dpiX);
  const int top = ToPixels(rect.top, dpiY);
  return {left, top, left + ToPixels(rect.width, dpiX), top + ToPixels(rect.height, dpiY)};
}

LONG HeightOf(const RECT& rect) { return rect.bottom - rect.top; }

// What CreateWindowExA needs for one child, everything but the class
// defaulted.
struct ChildWindow {
  const char* className = nullptr;
  std::string text{};
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};
  int dialogId = 0;
};

HWND CreateChild(HWND parent, HINSTANCE instance, const ChildWindow& child) {
  return CreateWindowExA(child.exStyle, child.className, child.text.c_str(), WS_CHILD | child.style,
                         child.rect.left, child.rect.top, child.rect.right - child.rect.left,
                         HeightOf(child.rect), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.dialogId)), instance,
                         nullptr);
}

// A child's rectangle in its parent's client coordinates.
RECT PlacedRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Subtract(HRGN region, const RECT& rect) {
  HRGN hole = CreateRectRgnIndirect(&rect);
  CombineRgn(region, region, hole, RGN_DIFF);
  DeleteObject(hole);
}

LONG AreaOf(const RECT& rect) { return (rect.right - rect.left) * HeightOf(rect); }

// Labels take no focus and come after every control that does.
int TabOrderOf(const ControlDefinition& definition) {
  return definition.tabOrder.value_or(INT_MAX);
}

ControlId FirstInTabOrder() {
  return std::ranges::min(ControlTable(), {}, TabOrderOf).id;
}

// Built before the window is first shown: the page in front and the
// buttons beside the pages.
bool OnFirstPage(const ControlDefinition& definition) {
  return definition.page.value_or(kTabControl.initialPage) == kTabControl.initialPage;
}

std::string CreatedText(const ControlDefinition& definition) {
  return std::string(HasEditText(definition.kind) ? definition.created.text : definition.caption);
}

bool ShareScreen(const ControlDefinition& one, const ControlDefinition& other) {
  return one.created.visible && other.created.visible &&
         (!one.page || !other.page || *one.page == *other.page);
}

// Boxes with a frame win over check boxes, whose caption leaves the right
// of the box empty, and those over labels, which a form draws beneath its
// windowed controls. Between two of one layer the later in reading order
// wins: a right-hand column's check box begins inside its left neighbour's.
bool Covers(const ControlDefinition& upper, const ControlDefinition& lower) {
  const int upperLayer = TraitsOf(upper.kind).layer;
  const int lowerLayer = TraitsOf(lower.kind).layer;
  if (upperLayer != lowerLayer) return upperLayer > lowerLayer;
  return std::tie(upper.rect.top, upper.rect.left) > std::tie(lower.rect.top, lower.rect.left);
}

// Gives up the part of `lower` that `upper` covers, by moving its right or
// its bottom edge, whichever keeps more of it; its top-left corner stays.
void TrimAway(RECT& lower, const RECT& upper) {
  RECT shared{};
  if (!IntersectRect(&shared, &lower, &upper)) return;
  RECT keepLeft = lower;
  keepLeft.right = upper.left;
  RECT keepTop = lower;
  keepTop.bottom = upper.top;
  const LONG leftArea = upper.left > lower.left ? AreaOf(keepLeft) : 0;
  const LONG topArea = upper.top > lower.top ? AreaOf(keepTop) : 0;
  if (leftArea == 0 && topArea == 0) return;
  lower = leftArea >= topArea ? keepLeft : keepTop;
}

// Each control's rectangle in pixels. Neighbours that overlap in the table
// are trimmed apart: the standard controls paint with their parent's
// clipping (CS_PARENTDC), so neither a window region nor the z-order would
// keep one from painting over the other, and the spot would show whichever
// painted last.
std::array<RECT, kControlCount> ControlRects(int dpiX, int dpiY) {
  std::array<RECT, kControlCount> table{};
  for (const ControlDefinition& definition : ControlTable()) {
    table[IndexOf(definition.id)] = ToPixels(definition.rect, dpiX, dpiY);
  }
  std::array<RECT, kControlCount> rects = table;
  for (const ControlDefinition& lower : ControlTable()) {
    for (const ControlDefinition& upper : ControlTable()) {
      if (&upper == &lower || !ShareScreen(upper, lower) || !Covers(upper, lower)) continue;
      TrimAway(rects[IndexOf(lower.id)], table[IndexOf(upper.id)]);
    }
  }
  return rects;
}

// A combo box's closed height follows its font. The table's height is met by
// sizing the selection field, so the rows of the File Name page line up.
// What the frame adds to the field is measured by setting the field once:
// systems disagree on what CB_GETITEMHEIGHT reports for it.
void FitComboHeight(HWND combo, LONG wantedHeight) {
  constexpr auto kSelectionField = static_cast<WPARAM>(-1);
  SendMessageA(combo, CB_SETITEMHEIGHT, kSelectionField, wantedHeight);
  RECT rect{};
  GetWindowRect(combo, &rect);
  const LONG frame = HeightOf(rect) - wantedHeight;
  SendMessageA(combo, CB_SETITEMHEIGHT, kSelectionField, wantedHeight - frame);
}

bool AddListItems(HWND combo, std::span<const std::string_view> items) {
  for (std::string_view item : items) {
    const std::string text(item);
    if (SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0) {
      return false;
    }
  }
  return true;
}

// TTF_SUBCLASS: the tool tip watches the control's mouse messages itself.
// The version-2 size is accepted by every version of the common controls.
bool AddToolTip(HWND toolTips, HWND owner, HWND control, std::string_view tip) {
  std::string text(tip);
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text.data();
  return SendMessageA(toolTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

HFONT CreateDialogFont(int dpiY) {
  LOGFONTA font{};
  font.lfHeight = -MulDiv(kDialogFontPoints, dpiY, kPointsPerInch);
  font.lfCharSet = DEFAULT_CHARSET;
  std::ranges::copy(std::string_view(kDialogFontFace), font.lfFaceName);
  return CreateFontIndirectA(&font);
}

HCURSOR WaitCursor() { return LoadCursorA(nullptr, IDC_WAIT); }

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance) {
  std::unique_ptr<MainWindow> window(new MainWindow());
  if (!window->Build(instance)) return nullptr;
  return window;
}

MainWindow::~MainWindow() {
  changeListener_ = {};
  clickListener_ = {};
  if (window_) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
}

bool MainWindow::Build(HINSTANCE instance) {
  instance_ = instance;
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
  if (!InitCommonControlsEx(&classes)) return false;
  HDC screen = GetDC(nullptr);
  dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
  dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  for (const ControlDefinition& definition : ControlTable()) {
    const std::size_t index = IndexOf(definition.id);
    unbuilt_[index] = {.text = CreatedText(definition), .enabled = definition.created.enabled};
    knownTexts_[index] = unbuilt_[index].text;
  }
  font_ = CreateDialogFont(dpiY_);
  if (!font_ || !CreateFrame() || !CreateToolTips() || !CreateTabControl() ||
      !CreateControls(OnFirstPage)) {
    return false;
  }
  ShowPage(kTabControl.initialPage);
  focusToRestore_ = HandleOf(FirstInTabOrder());
  return true;
}

// Each control is built with what the core has set on it so far.
bool MainWindow::CreateControls(bool (*wanted)(const ControlDefinition&)) {
  const std::array<RECT, kControlCount> rects = ControlRects(dpiX_, dpiY_);
  for (const ControlDefinition& definition : ControlTable()) {
    if (HandleOf(definition.id) || !wanted(definition)) continue;
    if (!CreateControl(definition, rects[IndexOf(definition.id)])) return false;
  }
  return true;
}

bool MainWindow::CreateFrame() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_QUILLON_ADMIN));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageA(instance_, MAKEINTRESOURCEA(IDI_QUILLON_ADMIN), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClassName;
  // A process that opens the window a second time (the tests do) finds the
  // class registered already.
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  RECT frame{0, 0, ToPixels(kMainWindow.clientWidth, dpiX_),
             ToPixels(kMainWindow.clientHeight, dpiY_)};
  AdjustWindowRectEx(&frame, kFrameStyle, FALSE, 0);
  const std::string title(kMainWindow.title);
  // WM_NCCREATE stores the window's handle in window_.
  return CreateWindowExA(0, kMainWindowClassName, title.c_str(), kFrameStyle, CW_USEDEFAULT,
                         CW_USEDEFAULT, frame.right - frame.left, HeightOf(frame), nullptr,
                         nullptr, instance_, this) != nullptr;
}

bool MainWindow::CreateToolTips() {
  // TTS_NOPREFIX shows an "&" as written; TTS_ALWAYSTIP shows tips also while
  // another program is active.
  toolTips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                              instance_, nullptr);
  if (!toolTips_) return false;
  SendMessageA(toolTips_, TTM_SETMAXTIPWIDTH, 0, ToPixels(kToolTipWidthTwips, dpiX_));
  return true;
}

bool MainWindow::CreateTabControl() {
  tabControl_ = CreateChild(window_, instance_,
                            {.className = WC_TABCONTROLA,
                             .style = WS_VISIBLE | WS_TABSTOP,
                             .rect = ToPixels(kTabControl.rect, dpiX_, dpiY_),
                             .dialogId = kTabControlDialogId});
  if (!tabControl_) return false;
  // The pages' controls paint their backgrounds in the dialog colour; a
  // visual style would give the page another one around each of them. A
  // theme list naming no theme class turns the style off (Wine refuses an
  // empty list).
  SetWindowTheme(tabControl_, L" ", L" ");
  SendMessageA(tabControl_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  int index = 0;
  for (std::string_view caption : kTabControl.tabCaptions) {
    std::string text(caption);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    if (SendMessageA(tabControl_, TCM_INSERTITEMA, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&item)) < 0) {
      return false;
    }
  }
  // Only the height counts: tabs without TCS_FIXEDWIDTH fit their captions.
  SendMessageA(tabControl_, TCM_SETITEMSIZE, 0,
               MAKELPARAM(0, ToPixels(kTabControl.tabHeight, dpiY_)));
  SendMessageA(tabControl_, TCM_SETCURSEL, static_cast<WPARAM>(kTabControl.initialPage), 0);
  PlaceInTabOrder(tabControl_, kTabControl.tabOrder);
  return true;
}

bool MainWindow::CreateControl(const ControlDefinition& definition, const RECT& rect) {
  const KindTraits& traits = TraitsOf(definition.kind);
  const UnbuiltState& state = unbuilt_[IndexOf(definition.id)];
  ChildWindow child{
      .className = traits.className,
      .text = state.text,
      .style = traits.style,
      .exStyle = traits.exStyle,
      .rect = rect,
      .dialogId = DialogIdOf(definition.id),
  };
  if (!state.enabled) child.style |= WS_DISABLED;
  if (definition.created.passwordChar != '\0') child.style |= ES_PASSWORD;
  // A combo box is created as tall as it is with its list dropped down.
  if (definition.kind == ControlKind::kComboBox) {
    child.rect.bottom += HeightOf(rect) * static_cast<LONG>(definition.listItems.size());
  }
  HWND control = CreateChild(window_, instance_, child);
  if (!control) return false;
  handles_[IndexOf(definition.id)] = control;
  PlaceInTabOrder(control, TabOrderOf(definition));
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (state.value != BST_UNCHECKED) SetValue(definition.id, state.value);

  if (definition.kind == ControlKind::kTextBox) {
    // 0 lifts the limit to what an edit control can hold.
    SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
    // Common Controls 6 would show a bullet for ES_PASSWORD.
    if (definition.created.passwordChar != '\0') {
      SendMessageA(control, EM_SETPASSWORDCHAR, static_cast<WPARAM>(definition.created.passwordChar), 0);
    }
  }
  if (definition.kind == ControlKind::kComboBox) {
    if (!AddListItems(control, definition.listItems)) return false;
    SetWindowTextA(control, child.text.c_str());
    FitComboHeight(control, HeightOf(rect));
  }
  return definition.toolTip.empty() || AddToolTip(toolTips_, window_, control, definition.toolTip);
}

// The dialog manager's Tab key walks the children in z-order from the top,
// so a child's place in the z-order is its place in the tab order: right
// below the latest in the tab order of the children that exist and come
// before it, or on top when none does. Built a page at a time, the children
// end up in tab order all the same.
void MainWindow::PlaceInTabOrder(HWND child, int order) {
  HWND above = HWND_TOP;
  int aboveOrder = INT_MIN;
  const auto consider = [&](HWND candidate, int candidateOrder) {
    if (candidate && candidate != child && candidateOrder <= order && candidateOrder >= aboveOrder) {
      above = candidate;
      aboveOrder = candidateOrder;
    }
  };
  consider(tabControl_, kTabControl.tabOrder);
  for (const ControlDefinition& definition : ControlTable()) {
    consider(HandleOf(definition.id), TabOrderOf(definition));
  }
  SetWindowPos(child, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Page MainWindow::PageInFront() const {
  return static_cast<Page>(SendMessageA(tabControl_, TCM_GETCURSEL, 0, 0));
}

void MainWindow::ShowPage(Page page) {
  for (const ControlDefinition& definition : ControlTable()) {
    if (HWND control = HandleOf(definition.id)) {
      ShowWindow(control, OnScreen(definition, page) ? SW_SHOWNA : SW_HIDE);
    }
  }
  CutTabControlAroundControls(page);
}

// The tab control lies above the pages' controls in z-order (it is third in
// the tab order) and would paint over them. Holes in its window region where
// the shown controls lie make it their background; unlike the standard
// controls it paints with its own clipping, which honours the region.
void MainWindow::CutTabControlAroundControls(Page page) {
  const RECT tabRect = PlacedRect(tabControl_);
  HRGN region = CreateRectRgn(0, 0, tabRect.right - tabRect.left, HeightOf(tabRect));
  for (const ControlDefinition& definition : ControlTable()) {
    if (!OnScreen(definition, page)) continue;
    RECT rect = PlacedRect(HandleOf(definition.id));
    OffsetRect(&rect, -tabRect.left, -tabRect.top);
    Subtract(region, rect);
  }
  SetWindowRgn(tabControl_, region, TRUE);
}

void MainWindow::SetClickListener(ClickListener listener) { clickListener_ = std::move(listener); }

// Under Wine each control costs milliseconds to build, and the hidden pages
// hold most of them: they are built once the page in front is on the screen,
// before the loop takes the first input.
bool MainWindow::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return CreateControls([](const ControlDefinition&) { return true; });
}

void MainWindow::RunUntilClosed() {
  MSG message;
  // Apply, Cancel and the close box all destroy the window from inside a
  // message this loop dispatched, so the loop's condition sees it at once.
  while (window_ && GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Enter and Esc come back from here as IDOK and IDCANCEL, which no
    // control has as its id: they do nothing.
    if (IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  // A few messages (WM_GETMINMAXINFO) arrive before WM_NCCREATE.
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

// WM_CLOSE (the close box, the system menu, Alt+F4) is left to
// DefWindowProc, which destroys the window: like Cancel, nothing is written.
LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabControl_ && header->code == TCN_SELCHANGE) {
        ShowPage(PageInFront());
      }
      return 0;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETCURSOR:
      if (waiting_) {
        SetCursor(WaitCursor());
        return TRUE;
      }
      break;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcA(window_, message, wParam, lParam);
      window_ = nullptr;
      tabControl_ = nullptr;
      toolTips_ = nullptr;
      handles_.fill(nullptr);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

// An edit control may notify a change while it is being created, before the
// window knows its handle; its text is then still the one last reported.
void MainWindow::OnCommand(int dialogId, int code) {
  const int index = dialogId - kFirstControlDialogId;
  if (index < 0 || index >= static_cast<int>(kControlCount)) return;
  const auto id = static_cast<ControlId>(index);
  switch (DefinitionOf(id).kind) {
    case ControlKind::kTextBox:
      if (code == EN_CHANGE) RaiseChangeIfTextChanged(id);
      break;
    case ControlKind::kCheckBox:
      if (code == BN_CLICKED) ToggleCheckBox(id);
      break;
    case ControlKind::kButton:
      if (code == BN_CLICKED && clickListener_) clickListener_(id);
      break;
    case ControlKind::kComboBox:
    case ControlKind::kLabel:
      break;
  }
}

// Activation gives the keyboard focus to the frame; hand it back to the
// control that had it, at first the first of the tab order.
void MainWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) focusToRestore_ = focus;
    return;
  }
  if (focusToRestore_) SetFocus(focusToRestore_);
}

// An edit control notifies EN_CHANGE also when WM_SETTEXT gives it the text
// it already holds. Comparing with the last text reported passes on only
// real changes, and lets SetText check once more after its WM_SETTEXT (for a
// system that does not notify) without reporting a change twice.
void MainWindow::RaiseChangeIfTextChanged(ControlId id) {
  std::string text = Text(id);
  std::string& known = knownTexts_[IndexOf(id)];
  if (text == known) return;
  known = std::move(text);
  if (changeListener_) changeListener_(id);
}

// A click ticks a clear box and clears a ticked one; a grayed box is cleared,
// as the platform's own three-state box leaves its grayed state.
void MainWindow::ToggleCheckBox(ControlId id) {
  SetValue(id, Value(id) == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
}

// A control not built yet is read from and written to unbuilt_, which its
// building starts from.
std::string MainWindow::Text(ControlId id) const {
  HWND control = HandleOf(id);
  if (!control) return unbuilt_[IndexOf(id)].text;
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  const int length = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void MainWindow::SetText(ControlId id, const std::string& text) {
  if (HWND control = HandleOf(id)) {
    SetWindowTextA(control, text.c_str());
  } else {
    unbuilt_[IndexOf(id)].text = text;
  }
  if (DefinitionOf(id).kind == ControlKind::kTextBox) RaiseChangeIfTextChanged(id);
}

int MainWindow::Value(ControlId id) const {
  HWND control = HandleOf(id);
  if (!control) return unbuilt_[IndexOf(id)].value;
  return static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
}

void MainWindow::SetValue(ControlId id, int value) {
  if (HWND control = HandleOf(id)) {
    SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  } else {
    unbuilt_[IndexOf(id)].value = value;
  }
}

void MainWindow::SetEnabled(ControlId id, bool enabled) {
  if (HWND control = HandleOf(id)) {
    EnableWindow(control, enabled);
  } else {
    unbuilt_[IndexOf(id)].enabled = enabled;
  }
}

void MainWindow::SetChangeListener(ChangeListener listener) {
  changeListener_ = std::move(listener);
}

void MainWindow::Close() { DestroyWindow(window_); }

// The pointer is set at once, since a long operation handles no messages,
// and again on every WM_SETCURSOR, which the controls pass up to this window.
void MainWindow::ShowWaitPointer() {
  waiting_ = true;
  SetCursor(WaitCursor());
}

void MainWindow::RestorePointer() {
  waiting_ = false;
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace quillon
