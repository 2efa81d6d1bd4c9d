#pragma once
// The Blowfish block cipher and its key schedule over the one key state of the
// process. Setting a key replaces that state for every caller, so a key set-up
// followed by its encryptions or decryptions is one unit of work that nothing
// else may interleave with.
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

// Read-only view of the process-wide key state, for callers that need to see
// which tables are in force.
const KeyState& CurrentKeyState();

std::uint32_t RoundFunction(std::uint32_t x);
void EncipherWords(std::uint32_t& left, std::uint32_t& right);
void DecipherWords(std::uint32_t& left, std::uint32_t& right);

// Rebuilds the key state from the initial tables and the key bytes, repeated
// cyclically over the P-array. An empty key has nothing to repeat: the state
// is left at the unkeyed initial tables and the result is false.
bool ExpandKey(std::span<const std::uint8_t> key);

// True for keys of 1 to 56 bytes. The empty key gives false with the unkeyed
// initial tables in force; a longer key gives false before anything is
// touched, so the earlier key state stays in force.
bool SetKey(const Bytes& key);

}  // namespace quillon
