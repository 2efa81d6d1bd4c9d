#pragma once
// The program's registry operations. Each opens its key, does one thing and
// closes the key again. Failed writes, number reads and deletions are shown in
// message boxes; text reads stay silent. Every operation still tells its caller
// whether it did its work, so that a pass over many settings can report it.
#include <cstdint>
#include <span>
#include <string>

#include "platform/MessageBoxes.h"
#include "settings/Registry.h"

namespace quillon {

// What number reads give for a value that is missing or not a 4-byte REG_DWORD.
inline constexpr std::int32_t kAbsentNumber = -1;

// The values the reads take: texts of the two text types, numbers of four bytes.
constexpr bool IsTextValue(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }
constexpr bool IsNumberValue(std::uint32_t type, std::uint32_t size) {
  return type == kRegDword && size == kDwordSize;
}

// A key: its root and its path below the root.
struct Location {
  RootKey root;
  const char* path;
};

class RegistryAccess {
 public:
  RegistryAccess(Registry& registry, MessageBoxes& messages);

  // True when the system environment says "AMD64"; asked afresh on every call.
  bool Is64BitWindows();

  // Text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, else "".
  // Opens with create semantics, so the key exists afterwards when it may.
  std::string GetString(const Location& key, const std::string& value);
  // The same read from an existing key only: a missing key stays missing.
  std::string GetStringIfKeyExists(const Location& key, const std::string& value);
  // Writes the text as REG_EXPAND_SZ in the default view; true when written.
  bool SaveString(const Location& key, const std::string& value, const std::string& data);

  // The number of a 4-byte REG_DWORD value, else kAbsentNumber. The 64-bit
  // view is read only when asked for and Windows is 64-bit.
  std::int32_t GetLong(const Location& key, const std::string& value, bool use64BitView);
  // The number from the 64-bit view, else from the default view, else the default.
  std::int32_t GetLongAnyView(const Location& key, const std::string& value,
                              std::int32_t defaultValue);
  // Writes the number as REG_DWORD in the default view; true when written.
  bool SaveLong(const Location& key, const std::string& value, std::int32_t number);

  // True when the value is gone afterwards: deleted, or absent with its key.
  bool DeleteValue(const Location& key, const std::string& value, bool use64BitView = false);

 private:
  RegistryView ViewFor(bool use64BitView);
  long OpenForNumberRead(const Location& location, RegistryView view, KeyHandle& key);
  bool SaveValue(const Location& location, const std::string& value, std::uint32_t type,
                 std::span<const std::uint8_t> data);
  std::string ReadTextAndClose(KeyHandle key, const std::string& value);
  std::int32_t ReadNumberAndClose(KeyHandle key, const std::string& value);
  void ShowFailure(const std::string& text);

  Registry& registry_;
  MessageBoxes& messages_;
};

}  // namespace quillon
