#pragma once
// The number separators of the user's locale, for the numbers typed in the
// window and read by the commands.
#include <windows.h>

#include <array>
#include <string>

#include "model/LocaleNumber.h"

namespace quillon {

inline std::string LocaleText(LCTYPE item) {
  std::array<char, 16> text{};
  const int length =
      GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text.data(), static_cast<int>(text.size()));
  return length > 0 ? std::string(text.data()) : std::string();
}

// A separator the platform will not tell stays empty, and an empty separator
// is never taken for one.
inline NumberSeparators UserNumberSeparators() {
  return {.decimal = LocaleText(LOCALE_SDECIMAL), .group = LocaleText(LOCALE_STHOUSAND)};
}

}  // namespace quillon
