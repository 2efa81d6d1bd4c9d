#pragma once
// The platform's modal open-file dialog, owned by the main window. The Win32
// implementation fills the fixed parts of the request itself (the PDF filter,
// the 257-character buffers, no initial folder, no default extension).
#include <optional>
#include <string>

namespace quillon {

struct OpenFileRequest {
  std::string title;
  unsigned flags = 0;  // OFN_* bits, e.g. 0x20004
};

class OpenFileDialog {
 public:
  virtual ~OpenFileDialog() = default;
  // The full path the user confirmed, or nothing on Cancel or failure.
  virtual std::optional<std::string> Choose(const OpenFileRequest& request) = 0;
};

}  // namespace quillon
