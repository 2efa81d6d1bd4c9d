#pragma once
// Blowfish over byte arrays: 8-byte blocks as two big-endian words, ECB over
// whole blocks, and the padding that makes any length a whole number of
// blocks. Every operation works under the key state it is handed.
#include <cstddef>
#include <cstdint>
#include <span>

#include "crypto/Bytes.h"
#include "crypto/basBlowfish.h"

namespace quillon {

inline constexpr std::size_t kBlockBytes = 8;

void EncryptBlock(const KeyState& state, std::span<std::uint8_t, kBlockBytes> block);
void DecryptBlock(const KeyState& state, std::span<std::uint8_t, kBlockBytes> block);

// Encrypts (or decrypts) every whole block on its own. Bytes after the last
// whole block are dropped, so input shorter than one block gives an empty
// result: a stored text too short to be cipher text decodes to nothing.
Bytes CryptBlocks(const KeyState& state, const Bytes& data, bool encrypt);

// Appends 1 to 8 bytes, each holding their count.
Bytes AddPadding(const Bytes& data);
// Trusts only the last byte: 1 to 8 removes that many bytes (all of them when
// the array is not longer); 0 or above 8 removes nothing.
Bytes RemovePadding(const Bytes& data);

Bytes EncryptBytes(const KeyState& state, const Bytes& plain);
Bytes DecryptBytes(const KeyState& state, const Bytes& cipher);

}  // namespace quillon
