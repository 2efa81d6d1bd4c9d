// The hexadecimal codec for stored cipher text.
#include "crypto/basConvert.h"

#include <optional>

namespace quillon {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

std::optional<std::uint8_t> HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

std::uint8_t PairValue(char first, char second) {
  const std::optional<std::uint8_t> high = HexDigitValue(first);
  if (!high) return 0;
  const std::optional<std::uint8_t> low = HexDigitValue(second);
  if (!low) return *high;
  return static_cast<std::uint8_t>(*high << 4 | *low);
}

}  // namespace

std::string ByteToHex(std::uint8_t value) {
  return {kHexDigits[value >> 4], kHexDigits[value & 0x0F]};
}

std::string BytesToHex(const Bytes& bytes) {
  std::string text;
  text.reserve(2 * bytes.size());
  for (std::uint8_t value : bytes) text += ByteToHex(value);
  return text;
}

Bytes HexToBytes(std::string_view text) {
  // An odd-length text reads as if it began with one more "0".
  const std::size_t lead = text.size() % 2;
  const auto charAt = [&](std::size_t pos) { return pos < lead ? '0' : text[pos - lead]; };
  Bytes bytes((text.size() + lead) / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = PairValue(charAt(2 * i), charAt(2 * i + 1));
  return bytes;
}

}  // namespace quillon
