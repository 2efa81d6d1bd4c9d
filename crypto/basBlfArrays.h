#pragma once
// The cipher's initial tables, checked while the program is built.
#include "crypto/basBlowfish.h"

namespace quillon {

// Generated from the digits of pi by crypto/tools/gen_pi_tables.py, which
// also has the build refuse a table with a zero entry.
extern const PArray kInitialP;
extern const SBoxes kInitialS;

constexpr bool HasNoZeroEntry(const SBoxes& s) {
  for (const auto& box : s) {
    for (const std::uint32_t word : box) {
      if (word == 0) return false;
    }
  }
  return true;
}

// Puts the initial tables into a key state.
void LoadInitialTables(KeyState& state);

}  // namespace quillon
