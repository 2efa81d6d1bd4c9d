#pragma once
// Message boxes for native tests: each box shown is recorded, in order, as
// "<text>|<title>|<style>", and answered with OK (1) at once.
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace quillon {

class RecordedMessageBoxes final : public MessageBoxes {
 public:
  int Show(const std::string& text, const std::string& title, unsigned style) override {
    shown.push_back(text + "|" + title + "|" + std::to_string(style));
    return 1;
  }
  std::vector<std::string> shown;
};

}  // namespace quillon
