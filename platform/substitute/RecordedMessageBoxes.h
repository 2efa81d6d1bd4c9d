#pragma once
// Message boxes for native tests: every box is recorded in order and answered
// with OK at once, so a test can assert on exactly what the user would see.
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace quillon {

struct RecordedMessage {
  std::string text;
  std::string title;
  unsigned style = 0;
  bool operator==(const RecordedMessage&) const = default;
};

class RecordedMessageBoxes final : public MessageBoxes {
 public:
  int Show(const std::string& text, const std::string& title, unsigned style) override {
    shown.push_back({text, title, style});
    return kIdOk;
  }

  static constexpr int kIdOk = 1;
  std::vector<RecordedMessage> shown;
};

}  // namespace quillon
