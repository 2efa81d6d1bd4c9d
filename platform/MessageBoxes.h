#pragma once
// The program's modal message boxes, as the portable core sees them. The Win32
// layer shows them with MessageBoxA; tests use a substitute that records them.
#include <string>

#include "platform/Version.h"

namespace quillon {

// MessageBoxA style bits the program uses, with their Win32 values so the
// Win32 layer can pass them through unchanged.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconExclamation = 0x30;

// Caption of the registry operations' error messages.
inline constexpr const char* kRegistryFailureTitle = "Quillon Admin Utility";
// Caption of the window's own messages: the confirmations ("Settings
// saved.", the test file message) and its warnings about a pass.
inline constexpr const char* kWindowMessageTitle = QUILLON_PRODUCT_NAME;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal message box and returns the button pressed (IDOK = 1 for OK).
  virtual int Show(const std::string& text, const std::string& title, unsigned style) = 0;
};

// The window's own warnings carry its title, as its confirmations do; the
// registry operations' messages keep theirs.
inline void ShowWindowWarning(MessageBoxes& boxes, const std::string& text) {
  boxes.Show(text, kWindowMessageTitle, kMbIconExclamation | kMbOk);
}

}  // namespace quillon
