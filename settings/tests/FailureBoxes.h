#pragma once
// The boxes a registry failure shows, to compare with what a test recorded.
#include <string>
#include <vector>

#include "platform/substitute/RecordedMessageBoxes.h"

namespace quillon {

inline std::vector<RecordedMessage> FailureBoxes(const std::vector<std::string>& texts) {
  std::vector<RecordedMessage> boxes;
  for (const std::string& text : texts) boxes.push_back({text, "Quillon Admin Utility", 0x30});
  return boxes;
}

}  // namespace quillon
