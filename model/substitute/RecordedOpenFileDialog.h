#pragma once
// The open-file dialog for native tests: records every request as
// "<title>|<flags>" and answers with the path prepared for it, once; with
// none prepared, the user cancels.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/OpenFileDialog.h"

namespace quillon {

class RecordedOpenFileDialog final : public OpenFileDialog {
 public:
  std::optional<std::string> Choose(const OpenFileRequest& request) override {
    requests.push_back(request.title + "|" + std::to_string(request.flags));
    return std::exchange(answer, std::nullopt);
  }
  std::optional<std::string> answer;
  std::vector<std::string> requests;
};

}  // namespace quillon
