#pragma once
// The explanation of each policy, in the words of the window: what Enabled
// and Disabled write, which copies win, and what a bit set's bits stand for.
#include <cstdint>
#include <span>
#include <string>

#include "model/BitSets.h"
#include "model/SettingsCatalogue.h"
#include "policies/PolicyTemplates.h"

namespace quillon {

// The bits of a bit set, what each stands for in the window, and the
// largest number they make together.
struct BitList {
  std::string lines;
  std::uint32_t all = 0;
  void Add(std::uint32_t bit, const std::string& meaning);
};

BitList BitsOf(BitSet set);

// The explanation of a policy for `row` among its setting's `rows`.
std::string ExplainOf(const Policy& policy, const Setting& row, std::span<const Setting> rows,
                      const BitList& bits);

}  // namespace quillon
