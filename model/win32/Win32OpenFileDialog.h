#pragma once
// The common open-file dialog (narrow-character variant), modal to the main
// window once the window has handed over its handle.
#include <windows.h>

#include <optional>
#include <string>

#include "model/OpenFileDialog.h"

namespace quillon {

class Win32OpenFileDialog final : public OpenFileDialog {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  std::optional<std::string> Choose(const OpenFileRequest& request) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace quillon
