#pragma once
// How registry names and numbers are spelled for people and in files: the
// roots' names, a key named in its view, the name 64-bit Windows gives
// the 32-bit view, a text in quotes, hexadecimal digits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/Registry.h"

namespace quillon {

struct RootSpelling {
  RootKey root;
  std::string_view name;          // in registry files and Group Policy's texts
  std::string_view abbreviation;  // in messages and reports
};
inline constexpr RootSpelling kRootSpellings[] = {
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RootKey::Users, "HKEY_USERS", "HKU"},
};
constexpr const RootSpelling& SpellingOf(RootKey root) {
  return *std::ranges::find(kRootSpellings, root, &RootSpelling::root);
}

// The key of HKEY_LOCAL_MACHINE with two views, as registry files spell it,
// and the name 64-bit Windows gives its 32-bit view.
inline constexpr std::string_view kSoftware = "SOFTWARE";
inline constexpr std::string_view kRedirectedSoftware = "SOFTWARE\\WOW6432Node";

// A path below Software as named in the 64-bit view when it means the 32-bit
// one: "Software\WOW6432Node\Marrowby\Quillon", Software spelled as in `path`.
inline std::string RedirectedPath(std::string_view path) {
  return std::string(path.substr(0, kSoftware.size())) +
         std::string(kRedirectedSoftware.substr(kSoftware.size())) +
         std::string(path.substr(kSoftware.size()));
}

// "HKLM\Software\Marrowby\Quillon (64-bit view)": the view only where the
// key has two on Windows of the width.
inline std::string KeyNameInView(RootKey root, std::string_view path, RegistryView view,
                                 WindowsWidth width) {
  return std::string(SpellingOf(root).abbreviation) + "\\" + std::string(path) +
         ViewSuffix(root, path, view, width);
}

inline std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Capitals for people, small letters in registry files.
enum class HexLetters { Capital, Small };
// The number's hexadecimal digits, at least `digits` of them.
inline std::string HexDigits(std::uint32_t number, std::size_t digits, HexLetters letters) {
  const std::string_view alphabet =
      letters == HexLetters::Capital ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), alphabet[number % 16]);
    number /= 16;
  } while (number != 0 || text.size() < digits);
  return text;
}

}  // namespace quillon
