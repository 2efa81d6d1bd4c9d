#pragma once
// The Blowfish block cipher and its key schedule. The key state is a value
// that each caller sets up and owns: nothing is shared between callers.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "crypto/Bytes.h"

namespace quillon {

inline constexpr std::size_t kPWords = 18;
inline constexpr std::size_t kSBoxCount = 4;
inline constexpr std::size_t kSBoxWords = 256;
inline constexpr std::size_t kMaxKeyBytes = 56;

using PArray = std::array<std::uint32_t, kPWords>;
using SBoxes = std::array<std::array<std::uint32_t, kSBoxWords>, kSBoxCount>;

struct KeyState {
  PArray P;
  SBoxes S;
};

std::uint32_t RoundFunction(const KeyState& state, std::uint32_t x);
void EncipherWords(const KeyState& state, std::uint32_t& left, std::uint32_t& right);
void DecipherWords(const KeyState& state, std::uint32_t& left, std::uint32_t& right);

// Rebuilds the key state from the initial tables and the key bytes, repeated
// cyclically over the P-array. An empty key has nothing to repeat: the state
// is left at the unkeyed initial tables and the result is false.
bool ExpandKey(KeyState& state, std::span<const std::uint8_t> key);

// True for keys of 1 to 56 bytes. The empty key gives false with the unkeyed
// initial tables in the state; a longer key gives false before anything is
// touched, so the state keeps what it held.
bool SetKey(KeyState& state, const Bytes& key);

}  // namespace quillon
