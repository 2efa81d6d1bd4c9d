#pragma once
// The registry as the program's operations see it: the six ANSI registry calls
// they make, with Windows error codes as results. The Win32 layer hands them to
// advapi32; native tests run them on an in-memory model of the registry.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// HKEY_USERS holds the hive of every user whose profile is loaded, under
// the user's SID; HKEY_CURRENT_USER is the running account's one among them.
enum class RootKey : std::uint32_t {
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

// Which half of HKEY_LOCAL_MACHINE\Software a key is addressed in on 64-bit
// Windows. Default is the 32-bit view; it is asked for explicitly, so that a
// 64-bit build reaches exactly the keys the 32-bit release reaches.
enum class RegistryView { Default, Wow64_64 };

// Whether HKEY_LOCAL_MACHINE\Software has two views for the running process:
// on every 64-bit Windows, whatever its processor, and on no 32-bit one. What
// the process finds decides it, not the processor name in the registry.
enum class WindowsWidth { Bits32, Bits64 };

// The two access masks keys are opened with (KEY_READ and KEY_WRITE).
enum class KeyAccess : std::uint32_t { Read = 0x20019u, Write = 0x20006u };

inline constexpr std::uint32_t kKeyWow64_64Key = 0x100u;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x200u;

// Key and value names compare without regard to case, as Windows compares them.
constexpr bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

// The key `path` is `tree` or lies below it.
constexpr bool InKeyTree(std::string_view tree, std::string_view path) {
  return path.size() >= tree.size() && SameName(path.substr(0, tree.size()), tree) &&
         (path.size() == tree.size() || path[tree.size()] == '\\');
}

// Of the keys the program uses, only HKEY_LOCAL_MACHINE\Software and the keys
// below it have two views; every other key is one and the same in both.
constexpr bool KeyHasTwoViews(RootKey root, std::string_view path) {
  return root == RootKey::LocalMachine && SameName(path.substr(0, path.find('\\')), "Software");
}

// A key with one view is the same key whichever view it was asked in.
constexpr RegistryView EffectiveView(RootKey root, std::string_view path, RegistryView view) {
  return KeyHasTwoViews(root, path) ? view : RegistryView::Default;
}

// Whether the key is two keys, one per view, on Windows of the width.
constexpr bool HasTwoViewsOn(WindowsWidth width, RootKey root, std::string_view path) {
  return width == WindowsWidth::Bits64 && KeyHasTwoViews(root, path);
}

// How a key is named in a view for people: " (64-bit view)" or " (32-bit
// view)" after a key with two views on 64-bit Windows, nothing otherwise.
inline std::string ViewSuffix(RootKey root, std::string_view path, RegistryView view,
                              WindowsWidth width) {
  if (!HasTwoViewsOn(width, root, path)) return {};
  return view == RegistryView::Wow64_64 ? " (64-bit view)" : " (32-bit view)";
}

// The samDesired of an open or create: the one place a view becomes a flag.
// A key with one view is opened without one: the flag would change nothing
// there, and Wine, handed a 32-bit view flag, walks the key's whole path name
// by name on every open, several times slower than an open without it.
constexpr std::uint32_t AccessMask(KeyAccess access, RegistryView view, RootKey root,
                                   std::string_view path) {
  if (!KeyHasTwoViews(root, path)) return static_cast<std::uint32_t>(access);
  const std::uint32_t viewFlag = view == RegistryView::Wow64_64 ? kKeyWow64_64Key : kKeyWow64_32Key;
  return static_cast<std::uint32_t>(access) | viewFlag;
}

// Value types (REG_*).
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

constexpr bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// Windows error codes the program tells apart.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorBadPathname = 161;
inline constexpr long kErrorMoreData = 234;

// A value as stored: its type and its bytes, a text with its NUL.
struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;
};

// An open key; the Win32 layer keeps the HKEY in it.
enum class KeyHandle : std::uintptr_t {};

// REG_DWORD data is the number's four bytes, least significant first.
inline constexpr std::size_t kDwordSize = 4;
constexpr std::array<std::uint8_t, kDwordSize> DwordBytes(std::int32_t number) {
  const auto bits = static_cast<std::uint32_t>(number);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}
constexpr std::int32_t DwordNumber(const std::array<std::uint8_t, kDwordSize>& bytes) {
  const std::uint32_t bits = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                             std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
  return static_cast<std::int32_t>(bits);
}

// Text as the registry calls take it: its ANSI bytes, unconverted.
inline std::span<const std::uint8_t> TextBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class Registry {
 public:
  virtual ~Registry() = default;

  // RegCreateKeyExA: opens the key, creating it and any missing parent first.
  [[nodiscard]] virtual long CreateKey(RootKey root, const std::string& path, KeyAccess access,
                                       RegistryView view, KeyHandle& key) = 0;
  // RegOpenKeyExA: opens an existing key; a missing one gives kErrorFileNotFound.
  [[nodiscard]] virtual long OpenKey(RootKey root, const std::string& path, KeyAccess access,
                                     RegistryView view, KeyHandle& key) = 0;
  // RegQueryValueExA. With data == nullptr it tells only the type and the size
  // in bytes. Otherwise size is the buffer's size on entry; a buffer too small
  // gives kErrorMoreData and the size needed. A string stored without its NUL
  // gets one in the buffer when there is room, uncounted in size. Type and size
  // mean nothing after other failures.
  [[nodiscard]] virtual long QueryValue(KeyHandle key, const std::string& name,
                                        std::uint32_t& type, std::uint8_t* data,
                                        std::uint32_t& size) = 0;
  // RegSetValueExA. For the string types the call looks one byte past the data:
  // a string not ending in NUL but followed by one is stored with that NUL.
  // Text from a std::string is always followed by one.
  [[nodiscard]] virtual long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                                      std::span<const std::uint8_t> data) = 0;
  // RegDeleteValueA; a missing value gives kErrorFileNotFound.
  [[nodiscard]] virtual long DeleteValue(KeyHandle key, const std::string& name) = 0;
  // RegCloseKey.
  virtual long CloseKey(KeyHandle key) = 0;
};

}  // namespace quillon
