// Finding, reading and answering the utility's dialogs from outside.
#include "e2e/driver/Dialogs.h"

#include <dlgs.h>

#include <array>
#include <cstddef>
#include <functional>
#include <utility>

#include "e2e/driver/Screenshot.h"
#include "platform/MessageBoxes.h"

namespace quillon::e2e {
namespace {

constexpr char kDialogClass[] = "#32770";
// The message text of a message box; its icon is the one SS_ICON static.
constexpr int kMessageTextId = 0xFFFF;
constexpr UINT kAnswerMilliseconds = 5000;
constexpr Milliseconds kPaintPatience{2000};

std::string WindowText(HWND window) {
  std::array<char, 4096> text{};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, kAnswerMilliseconds, &copied);
  return std::string(text.data(), static_cast<std::size_t>(copied));
}

bool IsMessageBox(HWND dialog) { return GetDlgItem(dialog, kMessageTextId) != nullptr; }

struct DialogSearch {
  DWORD processId;
  std::function<bool(HWND)> accepts;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  std::array<char, 16> className{};
  GetClassNameA(window, className.data(), static_cast<int>(className.size()));
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || std::string(className.data()) != kDialogClass ||
      !IsWindowVisible(window) || !search->accepts(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindDialog(DWORD processId, std::function<bool(HWND)> accepts) {
  DialogSearch search{processId, std::move(accepts)};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct IconSearch {
  HWND control = nullptr;
  bool holdsIcon = false;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM param) {
  if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  DWORD_PTR icon = 0;
  SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_NORMAL, kAnswerMilliseconds, &icon);
  *reinterpret_cast<IconSearch*>(param) = {child, icon != 0};
  return FALSE;
}

// An icon handle means nothing in another process, so the icon control is
// compared by what it shows: its pixels on the screen against the system's
// exclamation icon drawn here over the dialog face. The box may still be
// painting when it is first seen.
bool ShowsExclamationIcon(HWND iconControl) {
  RECT rect{};
  GetWindowRect(iconControl, &rect);
  const Pixels drawn =
      DrawnIcon(LoadIconA(nullptr, IDI_EXCLAMATION),
                {rect.right - rect.left, rect.bottom - rect.top}, GetSysColor(COLOR_3DFACE));
  return !drawn.empty() &&
         !HoldsThroughout([&] { return ScreenPixels(rect) != drawn; }, kPaintPatience);
}

void Press(HWND dialog, int buttonId) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const MessageBoxView& view) {
  return out << "[" << view.caption << "] \"" << view.text << "\" ("
             << (view.exclamationIcon ? "exclamation icon"
                 : view.anyIcon       ? "an icon other than the exclamation"
                                      : "no icon")
             << ")";
}

MessageBoxView Confirmation(const std::string& text) {
  return {.caption = kAdministratorUtilityTitle, .text = text};
}

MessageBoxView RegistryError(const std::string& text) {
  return {.caption = kAdminUtilityTitle, .text = text, .anyIcon = true, .exclamationIcon = true};
}

std::optional<ModalBox> ModalBox::WaitFor(DWORD processId, const std::string& what,
                                          Milliseconds patience) {
  HWND box = nullptr;
  if (!WaitUntil(
          what, [&] { return (box = FindDialog(processId, IsMessageBox)) != nullptr; }, patience)) {
    return std::nullopt;
  }
  return ModalBox(box);
}

std::optional<ModalBox> ModalBox::AnyWithin(DWORD processId, Milliseconds span) {
  HWND box = nullptr;
  if (HoldsThroughout([&] { return (box = FindDialog(processId, IsMessageBox)) == nullptr; },
                      span)) {
    return std::nullopt;
  }
  return ModalBox(box);
}

MessageBoxView ModalBox::View() const {
  IconSearch icon;
  EnumChildWindows(box_, FindIcon, reinterpret_cast<LPARAM>(&icon));
  return {.caption = WindowText(box_),
          .text = WindowText(GetDlgItem(box_, kMessageTextId)),
          .anyIcon = icon.holdsIcon,
          .exclamationIcon = icon.holdsIcon && ShowsExclamationIcon(icon.control)};
}

bool ModalBox::Confirm() {
  const std::string seen = WindowText(GetDlgItem(box_, kMessageTextId));
  Press(box_, IDOK);
  return WaitUntil("the message box \"" + seen + "\" to close after OK",
                   [this] { return !IsWindow(box_); });
}

std::optional<FileDialog> FileDialog::WaitFor(DWORD processId, const std::string& title) {
  HWND dialog = nullptr;
  const auto titled = [&](HWND window) {
    return !IsMessageBox(window) && WindowText(window) == title;
  };
  if (!WaitUntil("the open-file dialog \"" + title + "\"",
                 [&] { return (dialog = FindDialog(processId, titled)) != nullptr; })) {
    return std::nullopt;
  }
  return FileDialog(dialog);
}

std::string FileDialog::FileType() const { return WindowText(GetDlgItem(dialog_, cmb1)); }

// The name box is a combo box (cmb13) in the Explorer-style layout and an
// edit (edt1) in the older one.
bool FileDialog::TypeNameAndOpen(const std::string& name) {
  bool typed = false;
  for (const int nameBox : {cmb13, edt1}) {
    const HWND box = GetDlgItem(dialog_, nameBox);
    DWORD_PTR unused = 0;
    if (box && SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                                   SMTO_NORMAL, kAnswerMilliseconds, &unused)) {
      typed = true;
    }
  }
  if (!typed) {
    ADD_FAILURE() << "the open-file dialog has no file name box to type into";
    return false;
  }
  Press(dialog_, IDOK);
  return true;
}

bool FileDialog::Cancel() {
  Press(dialog_, IDCANCEL);
  return WaitUntilClosed("Cancel was pressed");
}

bool FileDialog::WaitUntilClosed(const std::string& why) {
  return WaitUntil("the open-file dialog to close (" + why + ")", [this] { return !IsOpen(); });
}

std::optional<ModalBox> FileDialog::WaitForRefusal() const {
  DWORD processId = 0;
  GetWindowThreadProcessId(dialog_, &processId);
  const std::optional<ModalBox> box =
      ModalBox::WaitFor(processId, "a message box over the open-file dialog");
  if (box && box->Owner() != dialog_) {
    ADD_FAILURE() << "the message box " << box->View() << " belongs to another window";
    return std::nullopt;
  }
  return box;
}

}  // namespace quillon::e2e
