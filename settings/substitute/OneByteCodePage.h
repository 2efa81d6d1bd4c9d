#pragma once
// An ANSI code page for native tests and fuzzing in which every byte is the
// character of the same number (Latin-1), so that text crosses between the
// registry's ANSI form and a registry file's wide form unchanged.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

inline std::u16string OneByteToUtf16(std::string_view text) {
  std::u16string wide;
  for (const char c : text) wide += static_cast<char16_t>(static_cast<std::uint8_t>(c));
  return wide;
}

// A character beyond the code page becomes "?", as the system's conversion makes it.
inline std::string Utf16ToOneByte(std::u16string_view text) {
  std::string ansi;
  for (const char16_t c : text) ansi += c < 0x100 ? static_cast<char>(c) : '?';
  return ansi;
}

}  // namespace quillon
