// Recognising numbers typed in the user's locale (rules in the header).
#include "model/LocaleNumber.h"

#include <limits>

namespace quillon {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithSeparator(std::string_view text, std::string_view separator) {
  return !separator.empty() && text.starts_with(separator);
}

bool StartsWithDigit(std::string_view text) { return !text.empty() && IsDigit(text.front()); }

void TakeDigits(std::string_view& text, std::string& digits) {
  while (StartsWithDigit(text)) {
    digits += text.front();
    text.remove_prefix(1);
  }
}

// The whole part: digits, with single group separators between two digits.
void TakeWholePart(std::string_view& text, const NumberSeparators& separators,
                   std::string& digits) {
  TakeDigits(text, digits);
  while (!digits.empty() && !StartsWithSeparator(text, separators.decimal) &&
         StartsWithSeparator(text, separators.group) &&
         StartsWithDigit(text.substr(separators.group.size()))) {
    text.remove_prefix(separators.group.size());
    TakeDigits(text, digits);
  }
}

// Whether the dropped fraction carries the whole part up: above a half it
// does, below it does not, and an exact half goes to the even neighbour.
bool RoundsUp(std::string_view fraction, bool wholeIsOdd) {
  if (fraction.empty()) return false;
  if (fraction.front() != '5') return fraction.front() > '5';
  const bool aboveHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
  return aboveHalf || wholeIsOdd;
}

// 2147483648, the largest magnitude of a signed 32-bit number, has ten digits.
constexpr std::size_t kMaxMagnitudeDigits = 10;

}  // namespace

std::optional<NumericText> ScanNumber(std::string_view text, const NumberSeparators& separators) {
  text = TrimBlanks(text);
  NumericText number;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    number.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  TakeWholePart(text, separators, number.wholeDigits);
  if (StartsWithSeparator(text, separators.decimal)) {
    text.remove_prefix(separators.decimal.size());
    TakeDigits(text, number.fractionDigits);
  }

  const bool hasDigits = !number.wholeDigits.empty() || !number.fractionDigits.empty();
  if (!text.empty() || !hasDigits) return std::nullopt;
  return number;
}

bool IsNumeric(std::string_view text, const NumberSeparators& separators) {
  return ScanNumber(text, separators).has_value();
}

std::optional<std::int32_t> IntegerOfText(std::string_view text,
                                          const NumberSeparators& separators) {
  const std::optional<NumericText> number = ScanNumber(text, separators);
  if (!number) return std::nullopt;
  std::string_view whole = number->wholeDigits;
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.size() > kMaxMagnitudeDigits) return std::nullopt;

  std::int64_t magnitude = 0;
  for (char digit : whole) magnitude = magnitude * 10 + (digit - '0');
  if (RoundsUp(number->fractionDigits, magnitude % 2 != 0)) ++magnitude;
  const std::int64_t value = number->negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace quillon
