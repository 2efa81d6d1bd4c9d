#pragma once
// Word arithmetic for the cipher: 32-bit unsigned words built from and split
// into big-endian bytes, shifted and added modulo 2^32. Everything is constexpr
// and inline because the round function runs these millions of times.
#include <cstdint>
#include <span>

namespace quillon {

constexpr std::uint32_t JoinWordBytes(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                                      std::uint8_t b4) {
  return std::uint32_t{b1} << 24 | std::uint32_t{b2} << 16 | std::uint32_t{b3} << 8 |
         std::uint32_t{b4};
}

// bytes[0] receives the most significant byte.
constexpr void SplitWordBytes(std::uint32_t word, std::span<std::uint8_t, 4> bytes) {
  bytes[0] = static_cast<std::uint8_t>(word >> 24);
  bytes[1] = static_cast<std::uint8_t>(word >> 16);
  bytes[2] = static_cast<std::uint8_t>(word >> 8);
  bytes[3] = static_cast<std::uint8_t>(word);
}

constexpr std::uint32_t ShiftWordLeft8(std::uint32_t word) { return word << 8; }

// Unsigned arithmetic already wraps at 2^32; no detour through wider numbers.
constexpr std::uint32_t AddWords(std::uint32_t a, std::uint32_t b) { return a + b; }

}  // namespace quillon
