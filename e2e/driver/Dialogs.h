#pragma once
// The modal dialogs the utility puts up, found among the windows of its
// process: message boxes (read, then confirmed with OK) and the open-file
// dialog (a name typed and confirmed, or cancelled). Both are standard
// dialog windows of class "#32770"; a message box is the one with a text
// item of id 0xFFFF.
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

#include "e2e/driver/Waiting.h"

namespace quillon::e2e {

// What an administrator sees in a message box.
struct MessageBoxView {
  std::string caption;
  std::string text;
  bool anyIcon = false;
  bool exclamationIcon = false;
  bool operator==(const MessageBoxView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MessageBoxView& view);

// The boxes the utility shows, by what they say.
MessageBoxView Confirmation(const std::string& text);   // no icon, "Quillon Administrator Utility"
MessageBoxView RegistryError(const std::string& text);  // exclamation, "Quillon Admin Utility"

class ModalBox {
 public:
  // Waits for a message box of the process; `what` says which one, for the
  // failure when none comes.
  static std::optional<ModalBox> WaitFor(DWORD processId, const std::string& what,
                                         Milliseconds patience = kPatience);
  // The box that appears within `span`, if any; for boxes that must not come.
  static std::optional<ModalBox> AnyWithin(DWORD processId, Milliseconds span);

  HWND Handle() const { return box_; }
  HWND Owner() const { return GetWindow(box_, GW_OWNER); }
  MessageBoxView View() const;
  // Presses OK and waits until the box is gone.
  [[nodiscard]] bool Confirm();

 private:
  explicit ModalBox(HWND box) : box_(box) {}
  HWND box_;
};

class FileDialog {
 public:
  static std::optional<FileDialog> WaitFor(DWORD processId, const std::string& title);

  HWND Owner() const { return GetWindow(dialog_, GW_OWNER); }
  bool IsOpen() const { return IsWindow(dialog_) != FALSE; }
  // The file-type box: the description of the filter in use.
  std::string FileType() const;
  // Types the name and presses Open. Whether the dialog takes it (it closes)
  // or refuses it (a message box over it) is for the caller to see.
  [[nodiscard]] bool TypeNameAndOpen(const std::string& name);
  // Presses Cancel and waits until the dialog is gone.
  [[nodiscard]] bool Cancel();
  [[nodiscard]] bool WaitUntilClosed(const std::string& why);
  // A box the dialog put up over itself.
  std::optional<ModalBox> WaitForRefusal() const;

 private:
  explicit FileDialog(HWND dialog) : dialog_(dialog) {}
  HWND dialog_;
};

}  // namespace quillon::e2e
