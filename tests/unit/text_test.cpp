#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "platform/text.h"

namespace xiuhe {
namespace {

using namespace std::string_literals;

TEST(ToText, WritesIntegersInPlainDecimal) {
  const struct {
    int value;
    const char* text;
  } cases[] = {{0, "0"}, {5, "5"}, {-1, "-1"}, {120, "120"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
  for (const auto& c : cases) EXPECT_EQ(ToText(c.value), c.text) << c.value;
}

TEST(ToText, WritesRealsWithThirteenSignificantDigits) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {7.0, "7"},
      {3600.0, "3600"},
      {-1.0, "-1"},
      {0.5, "0.5"},
      {2.0 / 3, "0.6666666666667"},
      {-2.0 / 3, "-0.6666666666667"},
      {9999999999999.0, "9999999999999"},  // the largest whole number without an exponent
      {1e13, "1e+13"},
      {12345678901234.0, "1.234567890123e+13"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {1.5e300, "1.5e+300"},
      {299.99999999999, "300"},
      {-0.0, "-0"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToText(c.value), c.text) << c.text;
}

// A user's locale with a decimal comma must not change what goes into the settings file.
TEST(ToText, IgnoresTheProcessLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  bool found = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name)) {
      found = true;
      break;
    }
  }
  if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
  std::string half = ToText(0.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(half, "0.5");
}

TEST(ToText, WritesFlagsAsGbkTrueAndFalse) {
  EXPECT_EQ(ToText(true), "\xD5\xE6");   // 真
  EXPECT_EQ(ToText(false), "\xBC\xD9");  // 假
}

TEST(TextToInt, ReadsSignedDecimalsAfterMappingFullWidthCharacters) {
  const struct {
    std::string text;
    int value;
  } cases[] = {
      {"08", 8},
      {"23", 23},
      {"", 0},
      {"abc", 0},
      {" 12x", 12},
      {" \t\n\v\f\r42", 42},
      {"+7", 7},
      {"-5", -5},
      {"--5", 0},
      {"- 5", 0},
      {"\xA3\xB1\xA3\xB2", 12},              // full-width 1 2
      {"\xA3\xAD\xA3\xB3", -3},              // full-width minus 3
      {"\xA1\xA1\xA1\xA1" "9", 9},           // ideographic spaces are white space
      {"\xA3\xB1" "2\xA3\xB3", 123},         // full-width and ASCII digits mixed
      {"\xCA\xB1" "5", 0},                   // 时 is not a digit
      {"\xB0" "5", 0},                       // a high byte takes the next byte with it
      {"12\xA3", 12},                        // a lead byte at the very end is dropped
      {"\xA3", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MIN},  // 32-bit arithmetic wraps
      {"-2147483648", INT_MIN},
      {"4294967297", 1},
      {std::string(10000, '9'), -1},
      {"-" + std::string(10000, '9'), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << c.text.substr(0, 20);
}

TEST(TextToInt, StopsAtTheFirstNulByte) {
  EXPECT_EQ(TextToInt("12\0" "34"s), 12);
  EXPECT_EQ(TextToInt("\0" "12"s), 0);
  EXPECT_EQ(TextToInt(" \xA3\0" "12"s), 0);  // the lead byte before the NUL is the last byte
}

TEST(FullWidthToAscii, MapsEveryFullWidthAsciiFormAndNothingElse) {
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    std::string wide{'\xA3', static_cast<char>(trail)};
    EXPECT_EQ(FullWidthToAscii(wide), std::string(1, static_cast<char>(trail - 0x80))) << trail;
  }
  const struct {
    std::string text;
    std::string ascii;
  } cases[] = {
      {"\xA1\xA1", " "},
      {"\xA1\xAB", "~"},
      {"\xA1\xEE\xA1\xEF", "**"},
      {"\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},  // just outside the mapped range
      {"\xCA\xB1\xB7\xD6", "\xCA\xB1\xB7\xD6"},  // 时分 pass unchanged
      {"\x80\xA3\xB1", "\x80\xA3"},              // pairs are taken from the front: 0x80 0xA3, then 0xB1 dangles
      {"a\xA3", "a"},
      {"\xA3\0"s, "\xA3\0"s},
  };
  for (const auto& c : cases) EXPECT_EQ(FullWidthToAscii(c.text), c.ascii);
}

TEST(TextLength, CountsBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("\xCA\xB1"), 2);  // 时
  EXPECT_EQ(TextLength("a\0b"s), 3);
}

TEST(TwoDigitText, PadsOneByteTextsOnly) {
  const struct {
    int value;
    const char* text;
  } cases[] = {{0, "00"}, {5, "05"}, {9, "09"}, {10, "10"}, {59, "59"}, {100, "100"}, {-1, "-1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(TwoDigitText(c.value), c.text) << c.value;
    EXPECT_EQ(TwoDigitText(static_cast<double>(c.value)), c.text) << c.value;
  }
}

}  // namespace
}  // namespace xiuhe
