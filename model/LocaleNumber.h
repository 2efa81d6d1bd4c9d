#pragma once
// Recognising a number typed in the user's locale, as the platform's
// locale-aware number conversion does. The rules, chosen here:
//  - Blanks (space, tab) before and after the number are ignored; a blank
//    inside it is not.
//  - One leading sign, "+" or "-", may stand directly before the digits.
//  - The whole part is decimal digits; the locale's digit-group separator may
//    stand between two of its digits, anywhere (group sizes are not checked),
//    but never first, last or twice in a row.
//  - The locale's decimal separator may follow, then the fraction's digits,
//    without group separators. Either part may be missing ("2." and ".5"
//    count), but at least one digit must be there: the empty text, a lone
//    sign or a lone separator is not a number.
//  - Nothing else: no exponent, currency sign, hexadecimal or bracketed
//    negative, and no letters.
//  - The size of the number is not limited: a huge number passes the check;
//    what becomes of it when it is stored is decided where it is stored.
//  - Where the two separators are the same text, it is the decimal separator;
//    an empty separator is never recognised.
// The separator in the other role is simply a foreign character: with a
// decimal comma and a group dot, "2.5" reads as the whole number 25.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The user's separators as the platform reports them (bytes in the ANSI code
// page, possibly longer than one character).
struct NumberSeparators {
  std::string decimal{};
  std::string group{};
};

// A recognised number with its separators taken out.
struct NumericText {
  bool negative = false;
  std::string wholeDigits{};
  std::string fractionDigits{};
  bool operator==(const NumericText&) const = default;
};

std::optional<NumericText> ScanNumber(std::string_view text, const NumberSeparators& separators);

bool IsNumeric(std::string_view text, const NumberSeparators& separators);

// The integer of a number typed in the user's locale: rounded to the nearest
// whole number, an exact half to its even neighbour (2.5 gives 2, 3.5 gives
// 4, -2.5 gives -2). Nothing for a text that is not a number by the rules
// above, or whose integer lies outside the signed 32-bit range.
std::optional<std::int32_t> IntegerOfText(std::string_view text,
                                          const NumberSeparators& separators);

}  // namespace quillon
