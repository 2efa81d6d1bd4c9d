#pragma once
// Reproducible random byte arrays for the cipher tests.
#include <cstddef>
#include <random>

#include "crypto/Bytes.h"

namespace quillon {

inline Bytes RandomBytes(std::mt19937& rng, std::size_t count) {
  std::uniform_int_distribution<int> byteValue(0, 255);
  Bytes bytes(count);
  for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(byteValue(rng));
  return bytes;
}

}  // namespace quillon
