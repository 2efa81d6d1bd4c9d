// The locale-aware numeric test, in a locale with a decimal point and in one
// with a decimal comma.
#include "app/LocaleNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {
namespace {

const NumberSeparators kPointLocale{.decimal = ".", .group = ","};
const NumberSeparators kCommaLocale{.decimal = ",", .group = "."};

TEST(LocaleNumber, NumericInEachLocale) {
  const struct {
    std::string text;
    bool inPointLocale, inCommaLocale;
  } cases[] = {
      {"0", true, true},        {"12", true, true},      {"-3", true, true},
      {"+7", true, true},       {" 12 ", true, true},    {"\t5\t", true, true},
      {"2.5", true, true},      // 25 where the dot groups digits
      {"2,5", true, true},      // 25 where the comma groups digits
      {"1,234.5", true, false}, {"1.234,5", false, true}, {"2.", true, false},
      {".5", true, false},      {",5", false, true},     {"99999999999999999999999", true, true},
      {"", false, false},       {"   ", false, false},   {"-", false, false},
      {"+", false, false},      {".", false, false},     {",", false, false},
      {"12a", false, false},    {"a12", false, false},   {"1 2", false, false},
      {"- 3", false, false},    {"--3", false, false},   {"3-", false, false},
      {"1e5", false, false},    {"0x1F", false, false},  {"1,,2", false, false},
      {"1..2", false, false},
      {",12", false, true},     // group separator first (a decimal comma is fine)
      {"12,", false, true},     // group separator last (a decimal comma is fine)
      {"1.2.3", false, true},   // only one decimal separator
      {"1,2,3", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNumeric(c.text, kPointLocale), c.inPointLocale) << '"' << c.text << '"';
    EXPECT_EQ(IsNumeric(c.text, kCommaLocale), c.inCommaLocale) << '"' << c.text << '"';
  }
}

TEST(LocaleNumber, ScanTakesOutSignAndSeparatorsOfAnyLength) {
  const struct {
    std::string text;
    NumberSeparators separators;
    std::optional<NumericText> scanned;
  } cases[] = {
      {" -1,234.50 ", kPointLocale, NumericText{true, "1234", "50"}},
      {"1.234,5", kCommaLocale, NumericText{false, "1234", "5"}},
      {"2.5", kCommaLocale, NumericText{false, "25", ""}},
      {".5", kPointLocale, NumericText{false, "", "5"}},
      // Some locales group with a blank, others report separators of more
      // than one byte; a failed look-up leaves a separator empty.
      {"1 234,5", {",", " "}, NumericText{false, "1234", "5"}},
      {"1  234", {",", " "}, std::nullopt},
      {"1''000<.>25", {"<.>", "''"}, NumericText{false, "1000", "25"}},
      {"1'000", {"<.>", "''"}, std::nullopt},
      {"-42", {}, NumericText{true, "42", ""}},
      {"4.2", {}, std::nullopt},
      {"1.5", {".", "."}, NumericText{false, "1", "5"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScanNumber(c.text, c.separators), c.scanned) << '"' << c.text << '"';
  }
}

TEST(LocaleNumber, IntegerOfTextRoundsHalvesToEvenAndKeepsTo32Bits) {
  const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
      {"0", 0},           {"00", 0},         {"-0", 0},         {" 42 ", 42},
      {"1,234", 1234},    {"2.5", 2},        {"3.5", 4},        {"-2.5", -2},
      {"-3.5", -4},       {"2.50001", 3},    {"2.4999", 2},     {".5", 0},
      {"1.5", 2},         {"2000.5", 2000},  {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},      {"2147483647.4", 2147483647},
      {"2147483647.5", std::nullopt},        {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},         {"0000000000002", 2},
      {"99999999999999999999", std::nullopt}, {"", std::nullopt},
      {"abc", std::nullopt}, {"4a", std::nullopt},
  };
  for (const auto& [text, integer] : cases) {
    EXPECT_EQ(IntegerOfText(text, kPointLocale), integer) << '"' << text << '"';
  }
  EXPECT_EQ(IntegerOfText("1.234,5", kCommaLocale), 1234);
  EXPECT_EQ(IntegerOfText("2,5", kCommaLocale), 2);
}

}  // namespace
}  // namespace quillon
