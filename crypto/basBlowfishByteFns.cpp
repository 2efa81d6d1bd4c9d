// Block, ECB and padding operations on byte arrays.
#include "crypto/basBlowfishByteFns.h"

#include "crypto/basBlowfish.h"
#include "crypto/basUnsignedWord.h"

namespace quillon {
namespace {

using WordCipher = void (*)(const KeyState& state, std::uint32_t& left, std::uint32_t& right);

void ApplyToBlock(const KeyState& state, std::span<std::uint8_t, kBlockBytes> block,
                  WordCipher cipher) {
  std::uint32_t left = JoinWordBytes(block[0], block[1], block[2], block[3]);
  std::uint32_t right = JoinWordBytes(block[4], block[5], block[6], block[7]);
  cipher(state, left, right);
  SplitWordBytes(left, block.first<4>());
  SplitWordBytes(right, block.last<4>());
}

}  // namespace

void EncryptBlock(const KeyState& state, std::span<std::uint8_t, kBlockBytes> block) {
  ApplyToBlock(state, block, EncipherWords);
}

void DecryptBlock(const KeyState& state, std::span<std::uint8_t, kBlockBytes> block) {
  ApplyToBlock(state, block, DecipherWords);
}

Bytes CryptBlocks(const KeyState& state, const Bytes& data, bool encrypt) {
  const std::size_t wholeBlocks = data.size() / kBlockBytes;
  Bytes result(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(wholeBlocks * kBlockBytes));
  const WordCipher cipher = encrypt ? EncipherWords : DecipherWords;
  for (std::size_t k = 0; k < wholeBlocks; ++k) {
    ApplyToBlock(state,
                 std::span<std::uint8_t, kBlockBytes>(result.data() + k * kBlockBytes, kBlockBytes),
                 cipher);
  }
  return result;
}

Bytes AddPadding(const Bytes& data) {
  const std::size_t padBytes = kBlockBytes - data.size() % kBlockBytes;
  Bytes result = data;
  result.insert(result.end(), padBytes, static_cast<std::uint8_t>(padBytes));
  return result;
}

Bytes RemovePadding(const Bytes& data) {
  if (data.empty()) return {};
  std::size_t padBytes = data.back();
  if (padBytes > kBlockBytes) padBytes = 0;
  if (padBytes >= data.size()) return {};
  return Bytes(data.begin(), data.end() - static_cast<std::ptrdiff_t>(padBytes));
}

Bytes EncryptBytes(const KeyState& state, const Bytes& plain) {
  return CryptBlocks(state, AddPadding(plain), true);
}

Bytes DecryptBytes(const KeyState& state, const Bytes& cipher) {
  return RemovePadding(CryptBlocks(state, cipher, false));
}

}  // namespace quillon
