#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <limits>
#include <string>
#include <variant>

#include "platform/text.h"
#include "platform/time_value.h"

namespace xiuhe {

// Read by GoogleTest's messages.
void PrintTo(const DateTime& t, std::ostream* out) {
  *out << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour << ':' << t.minute << ':' << t.second;
}

namespace {

using namespace std::string_literals;

constexpr double kDay = 86400.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 2016-01-13, a Wednesday, is day 42382.
TimeValue Jan13At(double secondOfDay) { return 42382 + secondOfDay / kDay; }

TEST(TextAndTimeRules, KnownCases) {
  using Result = std::variant<double, Text>;
  const struct {
    const char* call;
    std::function<Result()> actual;
    Result expected;
  } cases[] = {
      {"TextToTime 2016年1月13日08时05分7秒", [] { return TextToTime("2016年1月13日08时05分7秒"); }, Jan13At(29107)},
      {"TextToTime 2016-01-13 08:05:07", [] { return TextToTime("2016-01-13 08:05:07"); }, Jan13At(29107)},
      {"TextToTime 2016/1/13", [] { return TextToTime("2016/1/13"); }, Jan13At(0)},
      {"TextToTime 20160113", [] { return TextToTime("20160113"); }, Jan13At(0)},
      {"TextToTime 2016年2月29日", [] { return TextToTime("2016年2月29日"); }, 42429.0},
      {"TextToTime 2015年2月29日", [] { return TextToTime("2015年2月29日"); }, kEarliestTime},
      {"TextToTime hour 24", [] { return TextToTime("2016年1月13日24时00分0秒"); }, kEarliestTime},
      {"TextToTime letter after the second", [] { return TextToTime("2016年1月13日08时05分7x"); }, kEarliestTime},
      {"TextToTime empty", [] { return TextToTime(""); }, kEarliestTime},
      {"WeekdayOf 2016-01-13", [] { return WeekdayOf(Jan13At(0)) * 1.0; }, 4.0},
      {"WeekdayOf 2016-01-17", [] { return WeekdayOf(Jan13At(4 * kDay)) * 1.0; }, 1.0},
      {"TimeDifference +300", [] { return TimeDifference(Jan13At(29407), Jan13At(29107), kSeconds); }, 300.0},
      {"TimeDifference -300", [] { return TimeDifference(Jan13At(29107), Jan13At(29407), kSeconds); }, -300.0},
      {"TimeDifference -30.9", [] { return TimeDifference(Jan13At(29107), Jan13At(29137.9), kSeconds); }, -30.0},
      {"TimeDifference itself, unit 1", [] { return TimeDifference(Jan13At(5), Jan13At(5), 1); }, 0.0},
      {"TimeDifference itself, unit 8", [] { return TimeDifference(Jan13At(5), Jan13At(5), kSeconds); }, 0.0},
      // -60464131507 seconds, wrapped to 32 bits.
      {"TimeDifference failure - 2016", [] { return TimeDifference(TextToTime(""), Jan13At(29107), kSeconds); },
       -334589363.0},
      {"HourOf 08:59:59.6", [] { return HourOf(Jan13At(32400 - 0.4)) * 1.0; }, 9.0},
      {"ToText 5", [] { return ToText(5); }, "5"s},
      {"ToText 5.0", [] { return ToText(5.0); }, "5"s},
      {"ToText -1", [] { return ToText(-1); }, "-1"s},
      {"ToText true", [] { return ToText(true); }, "真"s},
      {"ToText false", [] { return ToText(false); }, "假"s},
      {"TextToInt 08", [] { return TextToInt("08") * 1.0; }, 8.0},
      {"TextToInt 23", [] { return TextToInt("23") * 1.0; }, 23.0},
      {"TextToInt empty", [] { return TextToInt("") * 1.0; }, 0.0},
      {"TextToInt ' 12a'", [] { return TextToInt(" 12a") * 1.0; }, 12.0},
      {"TextToInt full-width 12", [] { return TextToInt("１２") * 1.0; }, 12.0},
      {"TextLength 时", [] { return TextLength("时") * 1.0; }, 2.0},
      {"TwoDigitText 0", [] { return TwoDigitText(0); }, "00"s},
      {"TwoDigitText 5", [] { return TwoDigitText(5); }, "05"s},
      {"TwoDigitText 23", [] { return TwoDigitText(23); }, "23"s},
      {"TwoDigitText 59", [] { return TwoDigitText(59); }, "59"s},
      {"join 0 and empty", [] { return "0"s + Text(); }, "0"s},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual(), c.expected) << c.call;
}

// Days from 1899-12-30 as counted independently, with the weekday (1 = Sunday).
TEST(TimeValue, MakesAndTakesApartDatesAcrossTheRange) {
  const struct {
    DateTime parts;
    TimeValue value;
    int weekday;
  } cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0, 7},
      {{1899, 12, 29, 6, 0, 0}, -1.25, 6},  // the fraction counts forward from midnight
      {{1899, 12, 30, 12, 0, 0}, 0.5, 7},
      {{1900, 2, 28, 0, 0, 0}, 60.0, 4},
      {{1900, 3, 1, 0, 0, 0}, 61.0, 5},  // 1900 is no leap year
      {{2000, 2, 29, 23, 59, 59}, 36585 + 86399 / kDay, 3},
      {{2016, 1, 13, 8, 5, 7}, Jan13At(29107), 4},
      {{1752, 9, 14, 0, 0, 0}, -53797.0, 5},  // Gregorian all the way back
      {{1600, 2, 29, 13, 30, 15}, -109512 - 48615 / kDay, 3},
      {{100, 1, 1, 0, 0, 0}, kEarliestTime, 6},
      {{100, 1, 1, 23, 59, 59}, -657434 - 86399 / kDay, 6},
      {{100, 3, 1, 0, 0, 0}, -657375.0, 2},
      {{9999, 12, 31, 0, 0, 0}, 2958465.0, 6},
      {{9999, 12, 31, 12, 0, 0}, 2958465.5, 6},
      {{9999, 12, 31, 23, 59, 59}, kLatestTime, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.parts));
    EXPECT_DOUBLE_EQ(MakeTimeValue(c.parts), c.value);
    EXPECT_EQ(DateTimeOf(c.value), c.parts);
    EXPECT_EQ(WeekdayOf(c.value), c.weekday);
    const DateTime& p = c.parts;
    Text text = ToText(p.year) + "-" + ToText(p.month) + "-" + ToText(p.day) + " " + ToText(p.hour) + ":" +
                ToText(p.minute) + ":" + ToText(p.second);
    EXPECT_DOUBLE_EQ(TextToTime(text), c.value) << text;
  }
}

// Walks every day of the range and checks that each follows the one before in the calendar.
TEST(TimeValue, CalendarRunsDayByDayThroughTheWholeRange) {
  DateTime previous = DateTimeOf(kEarliestTime);
  int previousWeekday = WeekdayOf(kEarliestTime);
  for (int day = -657433; day <= 2958465; ++day) {
    DateTime next = previous;
    bool leap = (next.year % 4 == 0 && next.year % 100 != 0) || next.year % 400 == 0;
    int monthLength = next.month == 2 ? (leap ? 29 : 28) : (next.month == 4 || next.month == 6 || next.month == 9 || next.month == 11) ? 30 : 31;
    if (++next.day > monthLength) {
      next.day = 1;
      if (++next.month > 12) {
        next.month = 1;
        ++next.year;
      }
    }
    DateTime actual = DateTimeOf(day);
    int weekday = WeekdayOf(day);
    if (actual != next || weekday != previousWeekday % 7 + 1 || MakeTimeValue(actual) != day) {
      ADD_FAILURE() << "day " << day << " is " << testing::PrintToString(actual) << ", weekday " << weekday;
      return;
    }
    previous = actual;
    previousWeekday = weekday;
  }
  EXPECT_EQ(previous, (DateTime{9999, 12, 31, 0, 0, 0}));
}

TEST(TimeValue, EverySecondOfADaySurvivesTheRoundTrip) {
  for (DateTime day : {DateTime{2016, 1, 13}, DateTime{1899, 12, 29}, DateTime{100, 1, 1}, DateTime{9999, 12, 31}}) {
    for (int second = 0; second < 86400; ++second) {
      DateTime parts = day;
      parts.hour = second / 3600;
      parts.minute = second / 60 % 60;
      parts.second = second % 60;
      DateTime back = DateTimeOf(MakeTimeValue(parts));
      ASSERT_EQ(back, parts);
    }
  }
}

TEST(TimeValue, MakeCarriesPartsBeyondTheirRange) {
  EXPECT_EQ(DateTimeOf(MakeTimeValue({2015, 13, 1, 0, 0, 0})), (DateTime{2016, 1, 1, 0, 0, 0}));
  EXPECT_EQ(DateTimeOf(MakeTimeValue({2016, 1, 13, 23, 59, 60})), (DateTime{2016, 1, 14, 0, 0, 0}));
  EXPECT_EQ(DateTimeOf(MakeTimeValue({1899, 12, 30, 0, 0, -1})), (DateTime{1899, 12, 29, 23, 59, 59}));
  EXPECT_EQ(DateTimeOf(MakeTimeValue({2016, 3, 0, 0, 0, 0})), (DateTime{2016, 2, 29, 0, 0, 0}));
}

TEST(TimeValue, TakingApartGoesToTheNearestSecondFirst) {
  const struct {
    TimeValue value;
    DateTime parts;
  } cases[] = {
      {Jan13At(32400 - 0.4), {2016, 1, 13, 9, 0, 0}},
      {Jan13At(32400 + 0.4), {2016, 1, 13, 9, 0, 0}},
      {Jan13At(32400 + 0.6), {2016, 1, 13, 9, 0, 1}},
      {Jan13At(86399.6), {2016, 1, 14, 0, 0, 0}},
      {1 + 86399.6 / kDay, {1900, 1, 1, 0, 0, 0}},
      {-1 - (21600 - 0.4) / kDay, {1899, 12, 29, 6, 0, 0}},
      {-1 - (21600 + 0.6) / kDay, {1899, 12, 29, 6, 0, 1}},
      // 23:59:59.6 before 1899-12-30 rounds to the next midnight, not to a day earlier.
      {-1 - 86399.6 / kDay, {1899, 12, 30, 0, 0, 0}},
      {-5 - 86399.6 / kDay, {1899, 12, 26, 0, 0, 0}},
      {-0.5, {1899, 12, 30, 12, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(DateTimeOf(c.value), c.parts) << std::setprecision(17) << c.value;
}

TEST(TimeValue, ValuesOutsideTheRangeMoveToTheNearerEnd) {
  const DateTime first{100, 1, 1, 0, 0, 0};
  const DateTime last{9999, 12, 31, 23, 59, 59};
  const struct {
    TimeValue value;
    DateTime parts;
  } cases[] = {
      {-657435.0, first},  // 0099-12-31
      {-1e300, first},
      {-kInfinity, first},
      {kNaN, first},
      {2958466.0, last},
      {2958465.9999999, last},  // would round into the year 10000
      {1e300, last},
      {kInfinity, last},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeOf(c.value), c.parts) << c.value;
    EXPECT_EQ(WeekdayOf(c.value), 6) << c.value;  // both ends are Fridays
  }
  // The first day is valid at every time of day, not only at midnight.
  EXPECT_EQ(DateTimeOf(-657434.9999999), (DateTime{100, 1, 2, 0, 0, 0}));
  EXPECT_EQ(DateTimeOf(-657434.5), (DateTime{100, 1, 1, 12, 0, 0}));
}

TEST(TimeDifference, CountsWholeSecondsOnTheStraightTimeLine) {
  const struct {
    const char* what;
    TimeValue t1, t2;
    double seconds;
    int unit = kSeconds;
  } cases[] = {
      {"across 1899-12-30", 0.25, -1.75, 43200},  // 1899-12-30 06:00 minus 1899-12-29 18:00
      {"both before 1899", -1.25, -2.5, 64800},   // 1899-12-29 06:00 minus 1899-12-28 12:00
      {"one day", Jan13At(kDay), Jan13At(0), 86400},
      {"just under a second", Jan13At(1.999), Jan13At(1), 0},
      {"just under minus a second", Jan13At(1), Jan13At(1.999), 0},
      {"30.9 ahead", Jan13At(29137.9), Jan13At(29107), 30},
      {"69 years wrap", MakeTimeValue({2085, 1, 1}), MakeTimeValue({2016, 1, 1}), -2117428096},
      {"whole range, wrapped", kLatestTime, -1.75, -2086553761},
      {"beyond both ends", kInfinity, -1e300, -1118852609},  // 312413759999 s, wrapped
      {"NaN is the earliest time", kNaN, kEarliestTime, 0},
      // The system's own conversions may be a bit off each way; 300 seconds stay 300.
      {"a bit off, far from 1899", std::nextafter(MakeTimeValue({9999, 6, 1, 0, 5, 0}), 0.0),
       std::nextafter(MakeTimeValue({9999, 6, 1, 0, 0, 0}), kInfinity), 300},
      {"a bit off, before 1899", std::nextafter(MakeTimeValue({101, 6, 1, 0, 1, 0}), -kInfinity),
       std::nextafter(MakeTimeValue({101, 6, 1, 0, 6, 0}), 0.0), -300},
      {"minutes are not supported", Jan13At(120), Jan13At(0), 0, 7},
  };
  for (const auto& c : cases) EXPECT_EQ(TimeDifference(c.t1, c.t2, c.unit), c.seconds) << c.what;
}

// Whole-second times hold their distance exactly, also far from 1899 where a stored value is
// further from the second it stands for.
TEST(TimeDifference, WholeSecondTimesKeepTheirDistanceInEveryCentury) {
  for (int year : {100, 1899, 2016, 5000, 9999}) {
    for (int second = 0; second < 86400; second += 97) {
      for (int gap : {1, 300, 3599}) {
        TimeValue earlier = MakeTimeValue({year, 6, 1, 0, 0, second});
        TimeValue later = MakeTimeValue({year, 6, 1, 0, 0, second + gap});
        ASSERT_EQ(TimeDifference(later, earlier, kSeconds), gap) << year << " " << second;
        ASSERT_EQ(TimeDifference(earlier, later, kSeconds), -gap) << year << " " << second;
      }
    }
  }
}

TEST(TextToTime, ReadsNumbersAndSeparatorsFromTheFront) {
  const struct {
    std::string text;
    TimeValue value;
  } cases[] = {
      {"２０１６年１月１３日０８时０５分７秒", Jan13At(29107)},  // full-width digits
      {"2016.1.13.8.5.7", Jan13At(29107)},
      {"2016:01:13:08:05:07", Jan13At(29107)},
      {"2016年1月13日08时05分7秒 and more", Jan13At(29107)},  // nothing after 秒 is read
      {"2016-01-13 8", Jan13At(8 * 3600)},
      {"201601130805", Jan13At(29100)},
      {"2016-01-13\0 08:05:07"s, Jan13At(0)},  // the text ends at a NUL
      {"2016年1月13日08时05分7\xC3", Jan13At(29107)},  // a dangling lead byte is dropped
      {"99999-1-1", MakeTimeValue({9999, 9, 1, 1, 0, 0})},  // up to 4 digits, then the month runs on
      {"100-1-1", kEarliestTime},
      {"9999-12-31 23:59:59", kLatestTime},
      {"2000-2-29", 36585.0},
      // Failures.
      {"1900-2-29", kEarliestTime},
      {"99-1-1", kEarliestTime},
      {"2016-13-1", kEarliestTime},
      {"2016-4-31", kEarliestTime},
      {"2016-1-0", kEarliestTime},
      {"2016-1", kEarliestTime},
      {"年1月1日", kEarliestTime},
      {"2016-1-13 12:60", kEarliestTime},
      {"2016-1-13 12:00:60", kEarliestTime},
      {"2016 1 13", kEarliestTime},  // a space only follows the day
      {"2016-1-13  8", kEarliestTime},
      {"2016-1-13 08:05:07:09", kEarliestTime},
      {"-2016-1-13", kEarliestTime},
      {"2016-01-13\xCA", Jan13At(0)},  // a dangling lead byte is dropped
      {"2016-01-13 08:05:07\xCA\xB1", kEarliestTime},  // 时 after the second
      {"2016-01-13 08:05:07\xC3\xEB", TextToTime("2016-01-13 08:05:07")},
      {"\0" "2016-01-13"s, kEarliestTime},
      {std::string(10000, '1'), kEarliestTime},
      {"\xA3", kEarliestTime},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(TextToTime(c.text), c.value) << c.text.substr(0, 40);
  }
}

}  // namespace
}  // namespace xiuhe
