// Blowfish: the round function, one-block encryption and decryption, and the
// key schedule.
#include "crypto/basBlowfish.h"

#include <array>

#include "crypto/basBlfArrays.h"
#include "crypto/basUnsignedWord.h"

namespace quillon {
std::uint32_t RoundFunction(const KeyState& state, std::uint32_t x) {
  std::array<std::uint8_t, 4> b;
  SplitWordBytes(x, b);
  const SBoxes& s = state.S;
  return AddWords(AddWords(s[0][b[0]], s[1][b[1]]) ^ s[2][b[2]], s[3][b[3]]);
}

// The sixteen rounds run two at a time, so the halves trade roles instead of
// being swapped after every round; the final swap is folded into the output.
void EncipherWords(const KeyState& state, std::uint32_t& left, std::uint32_t& right) {
  const PArray& p = state.P;
  std::uint32_t l = left;
  std::uint32_t r = right;
  for (std::size_t i = 0; i < 16; i += 2) {
    l ^= p[i];
    r ^= RoundFunction(state, l);
    r ^= p[i + 1];
    l ^= RoundFunction(state, r);
  }
  left = r ^ p[17];
  right = l ^ p[16];
}

// The rounds of EncipherWords in reverse, P taken from 17 down to 0.
void DecipherWords(const KeyState& state, std::uint32_t& left, std::uint32_t& right) {
  const PArray& p = state.P;
  std::uint32_t l = left;
  std::uint32_t r = right;
  for (std::size_t i = 17; i > 1; i -= 2) {
    l ^= p[i];
    r ^= RoundFunction(state, l);
    r ^= p[i - 1];
    l ^= RoundFunction(state, r);
  }
  left = r ^ p[0];
  right = l ^ p[1];
}

bool ExpandKey(KeyState& state, std::span<const std::uint8_t> key) {
  LoadInitialTables(state);
  if (key.empty()) return false;

  // Key bytes enter big-endian and repeat over the 72 bytes of the P-array;
  // each word starts afresh while the key position runs on.
  std::size_t j = 0;
  for (std::uint32_t& p : state.P) {
    std::uint32_t word = 0;
    for (int byte = 0; byte < 4; ++byte) {
      word = ShiftWordLeft8(word) | key[j];
      j = (j + 1 == key.size()) ? 0 : j + 1;
    }
    p ^= word;
  }

  // One chain of encryptions from an all-zero block replaces P, then S box by
  // box; each result is fed into the next encryption.
  std::uint32_t l = 0;
  std::uint32_t r = 0;
  for (std::size_t i = 0; i < kPWords; i += 2) {
    EncipherWords(state, l, r);
    state.P[i] = l;
    state.P[i + 1] = r;
  }
  for (auto& box : state.S) {
    for (std::size_t k = 0; k < kSBoxWords; k += 2) {
      EncipherWords(state, l, r);
      box[k] = l;
      box[k + 1] = r;
    }
  }
  return true;
}

bool SetKey(KeyState& state, const Bytes& key) {
  if (key.size() > kMaxKeyBytes) return false;
  return ExpandKey(state, key);
}

}  // namespace quillon
