#pragma once
#include <string_view>

namespace xiuhe {

// A local date and time as an OLE Automation date: days since 1899-12-30, the fraction the time of day.
using TimeValue = double;

inline constexpr TimeValue kEarliestTime = -657434.0;  // 0100-01-01 00:00:00
inline constexpr TimeValue kLatestTime = 2958465.0;    // 9999-12-31 00:00:00

struct DateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// The TimeValue of a valid local date and time.
TimeValue MakeTimeValue(const DateTime& parts);
// Taken apart after moving into the valid range and to the nearest second.
DateTime DateTimeOf(TimeValue value);

int YearOf(TimeValue value);
int MonthOf(TimeValue value);
int DayOf(TimeValue value);
int HourOf(TimeValue value);
int MinuteOf(TimeValue value);
int SecondOf(TimeValue value);
int WeekdayOf(TimeValue value);  // 1 = Sunday ... 7 = Saturday

inline constexpr int kSeconds = 8;
// t1 minus t2 in the unit; only unit 8 (seconds) is supported, wrapped to 32 bits.
double TimeDifference(TimeValue t1, TimeValue t2, int unit);

// kEarliestTime when the text is not a valid date and time.
TimeValue TextToTime(std::string_view text);

}  // namespace xiuhe
