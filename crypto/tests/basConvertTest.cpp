// The hexadecimal codec, including the lenient reading of malformed text.
#include "crypto/basConvert.h"

#include <gtest/gtest.h>

#include <random>

#include "crypto/tests/RandomBytes.h"

namespace quillon {
namespace {

TEST(basConvert, BytesBecomeTwoUpperCaseDigitsEach) {
  const std::pair<Bytes, std::string> cases[] = {
      {{0x00, 0x0A, 0x10}, "000A10"}, {{0xAB, 0xFF}, "ABFF"}, {{0x61, 0x62}, "6162"}, {{}, ""}};
  for (const auto& [bytes, hex] : cases) EXPECT_EQ(BytesToHex(bytes), hex);
  EXPECT_EQ(ByteToHex(0x0A), "0A");
}

TEST(basConvert, HexToBytesReadsAnyText) {
  const std::pair<std::string_view, Bytes> cases[] = {
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
  for (const auto& [text, bytes] : cases) EXPECT_EQ(HexToBytes(text), bytes) << '"' << text << '"';
}

TEST(basConvert, HexRoundTripsEveryByteArray) {
  Bytes everyValue(256);
  for (std::size_t i = 0; i < everyValue.size(); ++i) everyValue[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(HexToBytes(BytesToHex(everyValue)), everyValue);
  std::mt19937 rng(16);
  for (std::size_t length = 0; length < 40; ++length) {
    const Bytes bytes = RandomBytes(rng, length);
    EXPECT_EQ(HexToBytes(BytesToHex(bytes)), bytes);
  }
}

}  // namespace
}  // namespace quillon
