#pragma once
// The open-file dialog for native tests: records every request and answers
// with the next prepared choice; with none prepared, the user cancels.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/OpenFileDialog.h"

namespace quillon {

class RecordedOpenFileDialog final : public OpenFileDialog {
 public:
  std::optional<std::string> Choose(const OpenFileRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // A path confirms it; std::nullopt cancels.
  std::deque<std::optional<std::string>> answers;
  std::vector<OpenFileRequest> requests;
};

}  // namespace quillon
