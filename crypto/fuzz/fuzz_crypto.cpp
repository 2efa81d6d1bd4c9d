// Fuzzes the three operations that read stored text from outside the program:
// HexToBytes, DecryptBytes and RemovePadding. Any broken invariant aborts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/basConvert.h"

namespace quillon {
namespace {

void Require(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

bool IsPrefixOf(const Bytes& prefix, const Bytes& whole) {
  return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

void CheckHexToBytes(std::string_view text) {
  const Bytes bytes = HexToBytes(text);
  Require(bytes.size() == (text.size() + 1) / 2, "one byte per pair, odd text padded");
  const std::string hex = BytesToHex(bytes);
  Require(hex.size() == 2 * bytes.size(), "two digits per byte");
  Require(HexToBytes(hex) == bytes, "hex round trip");
  if (text.size() % 2 == 0 && std::all_of(text.begin(), text.end(), IsUpperHexDigit)) {
    Require(hex == text, "canonical text reads back unchanged");
  }
}

void CheckRemovePadding(const Bytes& data) {
  const Bytes unpadded = RemovePadding(data);
  Require(IsPrefixOf(unpadded, data), "removal keeps a prefix");
  if (data.empty()) return;
  const std::size_t last = data.back();
  if (last == 0 || last > kBlockBytes) {
    Require(unpadded.size() == data.size(), "last byte 0 or above 8 removes nothing");
  } else {
    Require(unpadded.size() == (last < data.size() ? data.size() - last : 0),
            "last byte 1 to 8 removes that many");
  }
}

// Decrypts under one fixed key: a key set-up per input would cost far more
// than the decryption under test, and the stored passwords use a fixed key too.
const KeyState& FuzzKeyState() {
  static const KeyState keyed = [] {
    KeyState state{};
    Require(SetKey(state, {0x51, 0x75, 0x69, 0x6C, 0x6C, 0x6F, 0x6E}), "a 7-byte key is accepted");
    return state;
  }();
  return keyed;
}

void CheckDecryptBytes(const Bytes& cipher) {
  const KeyState& key = FuzzKeyState();

  const std::size_t wholeBytes = cipher.size() / kBlockBytes * kBlockBytes;
  const Bytes wholeBlocks(cipher.begin(), cipher.begin() + static_cast<std::ptrdiff_t>(wholeBytes));
  const Bytes blocks = CryptBlocks(key, cipher, false);
  Require(blocks.size() == wholeBytes, "only whole blocks are decrypted");
  Require(CryptBlocks(key, blocks, true) == wholeBlocks, "block round trip");
  Require(DecryptBytes(key, cipher) == RemovePadding(blocks), "decryption ends in unpadding");
  Require(DecryptBytes(key, EncryptBytes(key, cipher)) == cipher, "byte round trip");
}

}  // namespace
}  // namespace quillon

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const quillon::Bytes bytes(data, data + size);
  quillon::CheckHexToBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  quillon::CheckRemovePadding(bytes);
  quillon::CheckDecryptBytes(bytes);
  return 0;
}
