// The locale-aware numeric test, in a locale with a decimal point and in one
// with a decimal comma.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/LocaleNumber.h"

namespace quillon {
namespace {

const NumberSeparators kPointLocale{.decimal = ".", .group = ","};
const NumberSeparators kCommaLocale{.decimal = ",", .group = "."};

struct NumericCase {
  std::string text;
  bool inPointLocale;
  bool inCommaLocale;
};

const NumericCase kNumericCases[] = {
    {"0", true, true},
    {"12", true, true},
    {"-3", true, true},
    {"+7", true, true},
    {" 12 ", true, true},
    {"\t5\t", true, true},
    {"2.5", true, true},  // 25 where the dot groups digits
    {"2,5", true, true},  // 25 where the comma groups digits
    {"1,234.5", true, false},
    {"1.234,5", false, true},
    {"2.", true, false},
    {".5", true, false},
    {",5", false, true},
    {"99999999999999999999999", true, true},
    {"", false, false},
    {"   ", false, false},
    {"-", false, false},
    {"+", false, false},
    {".", false, false},
    {",", false, false},
    {"12a", false, false},
    {"a12", false, false},
    {"abc", false, false},
    {"1 2", false, false},
    {"- 3", false, false},
    {"--3", false, false},
    {"3-", false, false},
    {"1e5", false, false},
    {",12", false, true},     // group separator first (a decimal comma is fine)
    {"12,", false, true},     // group separator last (a decimal comma is fine)
    {"1,,2", false, false},   // twice in a row
    {"1..2", false, false},
    {"1.2.3", false, true},   // only one decimal separator
    {"1,2,3", true, false},
    {"0x1F", false, false},
};

TEST(LocaleNumber, NumericInEachLocale) {
  for (const NumericCase& c : kNumericCases) {
    EXPECT_EQ(IsNumeric(c.text, kPointLocale), c.inPointLocale) << '"' << c.text << '"';
    EXPECT_EQ(IsNumeric(c.text, kCommaLocale), c.inCommaLocale) << '"' << c.text << '"';
  }
}

TEST(LocaleNumber, ScanTakesOutSignAndSeparators) {
  EXPECT_EQ(ScanNumber(" -1,234.50 ", kPointLocale),
            (NumericText{.negative = true, .wholeDigits = "1234", .fractionDigits = "50"}));
  EXPECT_EQ(ScanNumber("1.234,5", kCommaLocale),
            (NumericText{.wholeDigits = "1234", .fractionDigits = "5"}));
  EXPECT_EQ(ScanNumber("2.5", kCommaLocale), (NumericText{.wholeDigits = "25"}));
  EXPECT_EQ(ScanNumber(".5", kPointLocale), (NumericText{.fractionDigits = "5"}));
}

TEST(LocaleNumber, LongerAndMissingSeparators) {
  // Some locales group with a blank, others report separators of more than
  // one byte; a failed look-up leaves a separator empty.
  const NumberSeparators blankGroups{.decimal = ",", .group = " "};
  EXPECT_TRUE(IsNumeric("1 234,5", blankGroups));
  EXPECT_FALSE(IsNumeric("1  234", blankGroups));

  const NumberSeparators longSeparators{.decimal = "<.>", .group = "''"};
  EXPECT_EQ(ScanNumber("1''000<.>25", longSeparators),
            (NumericText{.wholeDigits = "1000", .fractionDigits = "25"}));
  EXPECT_FALSE(IsNumeric("1'000", longSeparators));

  const NumberSeparators none{};
  EXPECT_TRUE(IsNumeric("-42", none));
  EXPECT_FALSE(IsNumeric("4.2", none));

  const NumberSeparators same{.decimal = ".", .group = "."};
  EXPECT_EQ(ScanNumber("1.5", same), (NumericText{.wholeDigits = "1", .fractionDigits = "5"}));
}

TEST(LocaleNumber, IntegerOfTextRoundsHalvesToEvenAndKeepsTo32Bits) {
  const struct {
    std::string text;
    std::optional<std::int32_t> integer;
  } cases[] = {
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
  for (const auto& c : cases) {
    EXPECT_EQ(IntegerOfText(c.text, kPointLocale), c.integer) << '"' << c.text << '"';
  }
  EXPECT_EQ(IntegerOfText("1.234,5", kCommaLocale), 1234);
  EXPECT_EQ(IntegerOfText("2,5", kCommaLocale), 2);
}

}  // namespace
}  // namespace quillon
