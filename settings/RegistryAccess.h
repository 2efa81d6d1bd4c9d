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

// What a read found in the registry: a value it takes, none, a value of a
// type it does not take, or a key or value that could not be read (`error`).
enum class ReadOutcome { Found, Absent, WrongType, Unreadable };

template <typename Data>
struct ReadResult {
  Data data;  // "" or kAbsentNumber unless Found
  ReadOutcome outcome = ReadOutcome::Absent;
  long error = kErrorSuccess;
  RegistryValue stored;  // with Found and WrongType
};
using TextRead = ReadResult<std::string>;
using NumberRead = ReadResult<std::int32_t>;

// A value as stored, or the code of the open or query that failed.
struct StoredRead {
  long error = kErrorSuccess;
  RegistryValue stored;
};

// Whether a number read whose key cannot be opened says so in a box. The
// load's reads of copies the window itself would not reach stay silent.
enum class OnOpenFailure { Show, StaySilent };

class RegistryAccess {
 public:
  RegistryAccess(Registry& registry, MessageBoxes& messages);

  // True when the system environment says "AMD64"; asked afresh on every call.
  bool Is64BitWindows();

  // Text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, else "".
  // Opens with create semantics, so the key exists afterwards when it may.
  std::string GetString(const Location& key, const std::string& value);
  // The same, saying what it found; silent on failure.
  TextRead ReadString(const Location& key, const std::string& value);
  // The same read from an existing key only: a missing key stays missing.
  TextRead ReadStringIfKeyExists(const Location& key, const std::string& value);
  // Writes the text as REG_EXPAND_SZ in the default view; true when written.
  bool SaveString(const Location& key, const std::string& value, const std::string& data);

  // The number of a 4-byte REG_DWORD value in the view asked for, else
  // kAbsentNumber.
  std::int32_t GetLong(const Location& key, const std::string& value, RegistryView view);
  // The same, saying what it found.
  NumberRead ReadLong(const Location& key, const std::string& value, RegistryView view,
                      OnOpenFailure onOpenFailure = OnOpenFailure::Show);
  // Writes the number as REG_DWORD in the default view; true when written.
  bool SaveLong(const Location& key, const std::string& value, std::int32_t number);

  // Any value as stored, in the view named, from an existing key; silent.
  StoredRead ReadStored(const Location& key, const std::string& value, RegistryView view);

  // True when the value is gone afterwards: deleted, or absent with its key.
  bool DeleteValue(const Location& key, const std::string& value,
                   RegistryView view = RegistryView::Default);

 private:
  long OpenForRead(const Location& location, RegistryView view, KeyHandle& key);
  bool SaveValue(const Location& location, const std::string& value, std::uint32_t type,
                 std::span<const std::uint8_t> data);
  TextRead ReadTextAndClose(KeyHandle key, const std::string& value);
  NumberRead ReadNumberAndClose(KeyHandle key, const std::string& value);
  long ReadStoredAndClose(KeyHandle key, const std::string& value, RegistryValue& stored);
  void ShowFailure(const std::string& text);

  Registry& registry_;
  MessageBoxes& messages_;
};

}  // namespace quillon
