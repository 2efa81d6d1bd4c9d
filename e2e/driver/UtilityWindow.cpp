// The main window from outside. Messages go through SendMessageTimeout, so
// a window that stops answering costs seconds, not the run; clicks that may
// open a modal box are posted, since a sent one would not return before the
// box closes.
#include "e2e/driver/UtilityWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include "app/win32/MainWindow.h"
#include "e2e/driver/WindowSearch.h"

namespace quillon::e2e {
namespace {

constexpr UINT kAnswerMilliseconds = 5000;

std::string NameOf(ControlId id) { return std::string(ControlName(id)); }

std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerMilliseconds,
                           &answer)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(answer);
}

LRESULT AskOr(LRESULT fallback, HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return Ask(window, message, wParam, lParam).value_or(fallback);
}

std::string WindowText(HWND window) {
  const LRESULT length = AskOr(0, window, WM_GETTEXTLENGTH);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = AskOr(0, window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

// The system's ANSI code page, as the window's own narrow calls use it.
std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

// Memory inside the utility's process. The system copies a string between
// processes for the plain window messages, but not the records that the tab
// control's messages point to, so those are placed where the control can
// read and write them.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, std::size_t size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool Usable() const { return address_ != nullptr; }
  char* Address(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, Address(offset), data, size, nullptr);
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return offset + size <= size_ &&
           ReadProcessMemory(process_, Address(offset), data, size, nullptr);
  }

 private:
  std::size_t size_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

LPARAM KeyData(WORD key, bool withAlt, bool release) {
  const UINT scanCode = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  LPARAM data = 1 | static_cast<LPARAM>(scanCode) << 16;
  if (withAlt) data |= LPARAM{1} << 29;                    // context code: Alt is down
  if (release) data |= LPARAM{1} << 30 | LPARAM{1} << 31;  // was down, is going up
  return data;
}

}  // namespace

std::optional<UtilityWindow> UtilityWindow::WaitForOpen(const UtilityProcess& process) {
  HWND found = nullptr;
  const auto open = [&] {
    found = VisibleWindowOf(process.Id(), kMainWindowClassName);
    return found != nullptr && EveryControlBuilt(found);
  };
  if (!WaitUntil("the window \"" + std::string(kMainWindow.title) + "\" of process " +
                     std::to_string(process.Id()) + " to be shown with all its controls",
                 [&] { return open() || process.HasEnded(); })) {
    return std::nullopt;
  }
  if (!open()) {
    ADD_FAILURE() << "the utility ended before it showed its window";
    return std::nullopt;
  }
  return UtilityWindow(found);
}

HWND UtilityWindow::Control(ControlId id) const { return GetDlgItem(window_, DialogIdOf(id)); }

HWND UtilityWindow::TabControl() const { return GetDlgItem(window_, kTabControlDialogId); }

std::string UtilityWindow::Title() const { return WindowText(window_); }

std::string UtilityWindow::Text(ControlId id) const { return WindowText(Control(id)); }

int UtilityWindow::Check(ControlId id) const {
  return static_cast<int>(AskOr(-1, Control(id), BM_GETCHECK));
}

bool UtilityWindow::Enabled(ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }

bool UtilityWindow::OnScreen(ControlId id) const { return IsWindowVisible(Control(id)) != FALSE; }

RECT UtilityWindow::PlacedRect(ControlId id) const {
  RECT rect{};
  GetWindowRect(Control(id), &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE UtilityWindow::ClientSize() const {
  RECT client{};
  GetClientRect(window_, &client);
  return {client.right, client.bottom};
}

std::string UtilityWindow::ClassName(ControlId id) const {
  std::array<char, 256> name{};
  const int length = GetClassNameA(Control(id), name.data(), static_cast<int>(name.size()));
  return std::string(name.data(), static_cast<std::size_t>(length));
}

DWORD UtilityWindow::Style(ControlId id) const {
  return static_cast<DWORD>(GetWindowLongPtrA(Control(id), GWL_STYLE));
}

char UtilityWindow::PasswordChar(ControlId id) const {
  return static_cast<char>(AskOr(0, Control(id), EM_GETPASSWORDCHAR));
}

// Wine hands a list item asked for across processes in the narrow form back
// in UTF-16, and then writes twice the length it announced. The wide form is
// asked for instead and narrowed here.
std::vector<std::string> UtilityWindow::ListItems(ControlId id) const {
  const HWND combo = Control(id);
  const LRESULT count = AskOr(0, combo, CB_GETCOUNT);
  std::vector<std::string> items;
  for (LRESULT index = 0; index < count; ++index) {
    const auto item = static_cast<WPARAM>(index);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, item, 0, SMTO_NORMAL, kAnswerMilliseconds,
                             &length)) {
      return items;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, kAnswerMilliseconds, &copied);
    text.resize(std::min<std::size_t>(copied, length));
    items.push_back(Narrow(text));
  }
  return items;
}

std::vector<std::string> UtilityWindow::TabCaptions() const {
  const HWND tabs = TabControl();
  constexpr std::size_t kTextCapacity = 256;
  const RemoteMemory memory(tabs, sizeof(TCITEMA) + kTextCapacity);
  if (!memory.Usable()) return {};
  std::vector<std::string> captions;
  const LRESULT count = AskOr(0, tabs, TCM_GETITEMCOUNT);
  for (LRESULT index = 0; index < count; ++index) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = memory.Address(sizeof item);
    item.cchTextMax = kTextCapacity;
    std::array<char, kTextCapacity> text{};
    if (!memory.Write(0, &item, sizeof item) || !memory.Write(sizeof item, text.data(), 1) ||
        !AskOr(FALSE, tabs, TCM_GETITEMA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(memory.Address())) ||
        !memory.Read(sizeof item, text.data(), text.size())) {
      return captions;
    }
    text.back() = '\0';
    captions.emplace_back(text.data());
  }
  return captions;
}

std::optional<Page> UtilityWindow::PageInFront() const {
  const LRESULT index = AskOr(-1, TabControl(), TCM_GETCURSEL);
  if (index < 0 || index >= static_cast<LRESULT>(kPageCount)) return std::nullopt;
  return static_cast<Page>(index);
}

HWND UtilityWindow::KeyboardFocus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// Arrow keys move the tab control's selection as a user's would and make it
// tell its parent; setting the selection by message would not.
bool UtilityWindow::ShowPage(Page page) {
  const std::string pageName(kTabControl.tabCaptions[static_cast<std::size_t>(page)]);
  for (std::size_t step = 0; step < kPageCount; ++step) {
    const std::optional<Page> front = PageInFront();
    if (!front) {
      ADD_FAILURE() << "the tab control does not say which page is in front";
      return false;
    }
    if (*front == page) return Settle();
    PressKey(TabControl(), *front < page ? VK_RIGHT : VK_LEFT);
    if (!WaitUntil("the page in front to change on the way to \"" + pageName + "\"",
                   [&] { return PageInFront() != front; })) {
      return false;
    }
  }
  ADD_FAILURE() << "the arrow keys did not bring \"" << pageName << "\" to the front";
  return false;
}

bool UtilityWindow::ReadyForInput(ControlId id) {
  const ControlDefinition& row = DefinitionOf(id);
  if (row.page && !ShowPage(*row.page)) return false;
  if (!OnScreen(id)) {
    ADD_FAILURE() << NameOf(id) << " is not on the screen, so no user can reach it";
    return false;
  }
  if (!Enabled(id)) {
    ADD_FAILURE() << NameOf(id) << " is greyed, so no user can change it";
    return false;
  }
  return true;
}

bool UtilityWindow::Type(ControlId box, const std::string& text) {
  if (!ReadyForInput(box)) return false;
  if (!Ask(Control(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
    ADD_FAILURE() << NameOf(box) << " did not take the text \"" << text << "\" in time";
    return false;
  }
  return true;
}

bool UtilityWindow::SetTick(ControlId box, bool ticked) {
  if (!ReadyForInput(box)) return false;
  const int wanted = ticked ? BST_CHECKED : BST_UNCHECKED;
  if (Check(box) != wanted) Ask(Control(box), BM_CLICK);
  if (Check(box) != wanted) {
    ADD_FAILURE() << "a click on " << NameOf(box) << " did not make it " << wanted << " (it shows "
                  << Check(box) << ")";
    return false;
  }
  return true;
}

// What picking from the drop-down list leaves behind: the item selected and
// the parent told of the new selection.
bool UtilityWindow::Choose(ControlId combo, const std::string& item) {
  if (!ReadyForInput(combo)) return false;
  const HWND control = Control(combo);
  const LRESULT index = AskOr(CB_ERR, control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(item.c_str()));
  if (index == CB_ERR) {
    ADD_FAILURE() << NameOf(combo) << " lists no item \"" << item << "\"";
    return false;
  }
  Ask(control, CB_SETCURSEL, static_cast<WPARAM>(index));
  Ask(window_, WM_COMMAND, MAKEWPARAM(DialogIdOf(combo), CBN_SELCHANGE),
      reinterpret_cast<LPARAM>(control));
  if (Text(combo) != item) {
    ADD_FAILURE() << NameOf(combo) << " shows \"" << Text(combo) << "\" after picking \"" << item
                  << "\"";
    return false;
  }
  return true;
}

bool UtilityWindow::Press(ControlId button) {
  if (!ReadyForInput(button)) return false;
  PostMessageA(Control(button), BM_CLICK, 0, 0);
  return true;
}

void UtilityWindow::PressKey(HWND target, WORD key, bool withAlt) {
  PostMessageA(target, withAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, KeyData(key, withAlt, false));
  PostMessageA(target, withAlt ? WM_SYSKEYUP : WM_KEYUP, key, KeyData(key, withAlt, true));
}

void UtilityWindow::PressCloseBox() { PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool UtilityWindow::Settle() const {
  if (Ask(window_, WM_NULL)) return true;
  ADD_FAILURE() << "the window did not answer within " << kAnswerMilliseconds << " ms";
  return false;
}

}  // namespace quillon::e2e
