#pragma once
// Real modal message boxes, owned by the main window once it exists.
#include <windows.h>

#include "platform/MessageBoxes.h"

namespace quillon {

class Win32MessageBoxes final : public MessageBoxes {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  int Show(const std::string& text, const std::string& title, unsigned style) override {
    return MessageBoxA(owner_, text.c_str(), title.c_str(), style);
  }

 private:
  HWND owner_ = nullptr;
};

}  // namespace quillon
