// Recognising numbers typed in the user's locale (rules in the header).
#include "app/LocaleNumber.h"

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

}  // namespace quillon
