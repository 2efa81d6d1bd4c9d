#pragma once
// The byte array every cipher and codec operation takes and returns.
#include <cstdint>
#include <vector>

namespace quillon {

using Bytes = std::vector<std::uint8_t>;

}  // namespace quillon
