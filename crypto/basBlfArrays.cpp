// The table loader and the zero check that guards the generated constants.
#include "crypto/basBlfArrays.h"

#include <string>

namespace quillon {
namespace {

MessageBoxes* tableCheckBoxes = nullptr;

std::string ZeroEntryMessage(std::size_t box, std::size_t index) {
  return "Zero value in S(" + std::to_string(box) + "," + std::to_string(index) + ")";
}

}  // namespace

void SetTableCheckMessageBoxes(MessageBoxes* boxes) { tableCheckBoxes = boxes; }

void ReportZeroSEntries(const SBoxes& s, MessageBoxes* boxes) {
  if (boxes == nullptr) return;
  for (std::size_t box = 0; box < kSBoxCount; ++box) {
    for (std::size_t index = 0; index < kSBoxWords; ++index) {
      if (s[box][index] == 0) boxes->Show(ZeroEntryMessage(box, index), kAdminUtilityTitle, kMbOk);
    }
  }
}

void LoadInitialTables(KeyState& state) {
  state.P = kInitialP;
  state.S = kInitialS;
  ReportZeroSEntries(state.S, tableCheckBoxes);
}

}  // namespace quillon
