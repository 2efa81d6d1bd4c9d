// The two paths of the stored-password encoding.
#include "crypto/StoredPassword.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "crypto/Bytes.h"
#include "crypto/basBlowfish.h"
#include "crypto/basBlowfishByteFns.h"
#include "crypto/basConvert.h"

namespace quillon {
namespace {

// One block is 16 hexadecimal digits.
constexpr std::size_t kDigitsPerBlock = 2 * kBlockBytes;

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string TextOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Set up afresh for every call. The key set-up's result is not looked at: the
// fixed key is 13 bytes, well within what SetKey takes.
KeyState FixedKeyState() {
  KeyState state{};
  SetKey(state, BytesOf(kStoredPasswordKey));
  return state;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool LooksLikeCipherText(const std::string& stored) {
  return stored.size() % kDigitsPerBlock == 0 && std::ranges::all_of(stored, IsHexDigit);
}

// Padding as AddPadding writes it: 1 to 8 bytes, each holding their count.
bool HasPadding(const Bytes& plain) {
  if (plain.empty()) return false;
  const std::uint8_t count = plain.back();
  const std::size_t padding = count;
  if (padding < 1 || padding > kBlockBytes || padding > plain.size()) return false;
  return std::all_of(plain.end() - count, plain.end(),
                     [count](std::uint8_t byte) { return byte == count; });
}

PasswordStatus StatusOf(HelperStatus status) {
  switch (status) {
    case HelperStatus::Ok:
      return PasswordStatus::Ok;
    case HelperStatus::LibraryMissing:
      return PasswordStatus::LibraryMissing;
    case HelperStatus::ExportMissing:
      return PasswordStatus::ExportMissing;
  }
  return PasswordStatus::LibraryMissing;
}

PasswordResult FromLibrary(const HelperResult& result) {
  return {StatusOf(result.status), result.status == HelperStatus::Ok ? result.text : ""};
}

}  // namespace

std::string LibraryFailure(PasswordStatus status, std::string_view work) {
  switch (status) {
    case PasswordStatus::LibraryMissing:
      return std::string(kHelperLibraryName) + " could not be loaded";
    case PasswordStatus::ExportMissing:
      return std::string(kHelperLibraryName) + " lacks the function that " + std::string(work) +
             " it";
    case PasswordStatus::Ok:
    case PasswordStatus::NotCipherText:
      break;
  }
  return {};
}

StoredPasswordCodec::StoredPasswordCodec(SettingLocations& locations,
                                         HelperLibrary& helperLibrary)
    : locations_(locations), helperLibrary_(helperLibrary) {}

PasswordResult StoredPasswordCodec::EncryptPassword(const std::string& password) {
  if (password.empty()) return {};
  if (!locations_.TakesWindowsFor64Bit()) {
    return FromLibrary(helperLibrary_.EncryptString(std::string(kStoredPasswordKey), password));
  }
  return {PasswordStatus::Ok, BytesToHex(EncryptBytes(FixedKeyState(), BytesOf(password)))};
}

PasswordResult StoredPasswordCodec::DecryptPassword(const std::string& stored) {
  if (stored.empty()) return {};
  if (!locations_.TakesWindowsFor64Bit()) {
    return FromLibrary(helperLibrary_.DecryptString(std::string(kStoredPasswordKey), stored));
  }
  if (!LooksLikeCipherText(stored)) return {PasswordStatus::NotCipherText, {}};
  // DecryptBytes in two halves, so that the padding can be checked before
  // it is removed.
  const Bytes plain = CryptBlocks(FixedKeyState(), HexToBytes(stored), false);
  if (!HasPadding(plain)) return {PasswordStatus::NotCipherText, {}};
  return {PasswordStatus::Ok, TextOf(RemovePadding(plain))};
}

}  // namespace quillon
