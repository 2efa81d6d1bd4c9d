// The hexadecimal codec, including the lenient reading of malformed text.
#include "crypto/basConvert.h"

#include <gtest/gtest.h>

#include <random>

#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

TEST(basConvert, ByteToHexGivesTwoUpperCaseDigits) {
  struct Case {
    std::uint8_t value;
    const char* hex;
  };
  const Case cases[] = {{0x00, "00"}, {0x0A, "0A"}, {0x10, "10"}, {0xAB, "AB"}, {0xFF, "FF"}};
  for (const Case& c : cases) EXPECT_EQ(ByteToHex(c.value), c.hex);
}

TEST(basConvert, BytesToHexWritesEveryByteInOrder) {
  EXPECT_EQ(BytesToHex({0x61, 0x62, 0x63}), "616263");
  EXPECT_EQ(BytesToHex({0x0A, 0xFF}), "0AFF");
  EXPECT_EQ(BytesToHex({}), "");
}

TEST(basConvert, HexToBytesReadsAnyText) {
  struct Case {
    std::string_view text;
    Bytes bytes;
  };
  const Case cases[] = {
      {"616263", {0x61, 0x62, 0x63}},
      {"0aff", {0x0A, 0xFF}},
      {"fF", {0xFF}},
      {"ABC", {0x0A, 0xBC}},  // odd length: read with a leading "0"
      {"A", {0x0A}},
      {"", {}},
      {"zz", {0x00}},  // no digit at all
      {"1z", {0x01}},  // reading stops at the first non-digit
      {"z1", {0x00}},
      {"G0", {0x00}},
      {"A ", {0x0A}},  // blanks are non-digits like any other
      {" A", {0x00}},
      {"\tF", {0x00}},
      {"F\n", {0x0F}},
      {"0A FF", {0x00, 0x0A, 0xFF}},  // "00A FF" in pairs
  };
  for (const Case& c : cases) EXPECT_EQ(HexToBytes(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(basConvert, HexRoundTripsEveryByteArray) {
  std::mt19937 rng(16);
  Bytes everyValue(256);
  for (std::size_t i = 0; i < everyValue.size(); ++i) everyValue[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(HexToBytes(BytesToHex(everyValue)), everyValue);
  for (std::size_t length = 0; length < 40; ++length) {
    const Bytes bytes = RandomBytes(rng, length);
    const std::string hex = BytesToHex(bytes);
    EXPECT_EQ(hex.size(), 2 * length);
    EXPECT_EQ(HexToBytes(hex), bytes);
  }
}

}  // namespace
}  // namespace quillon
