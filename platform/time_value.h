#pragma once
#include <string_view>

namespace xiuhe {

// A local date and time as an OLE Automation date: days since 1899-12-30, the fraction the time
// of day. Before 1899-12-30 the whole part is negative and the fraction still counts forward
// from that day's midnight: 1899-12-29 06:00 is -1.25.
using TimeValue = double;

// The valid range is every second of the days 0100-01-01 to 9999-12-31. A value outside it,
// NaN included, is moved to the nearer end before it is taken apart or subtracted.
inline constexpr TimeValue kEarliestTime = -657434.0;                     // 0100-01-01 00:00:00
inline constexpr TimeValue kLatestTime = 2958465.0 + 86399.0 / 86400.0;  // 9999-12-31 23:59:59

struct DateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const DateTime&) const = default;
};

// The TimeValue of a local date and time. Parts beyond their range carry over (month 13 is
// January of the next year, second 60 the next minute); the result is not clamped.
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
// t1 minus t2 in whole seconds, cut toward zero and wrapped to 32 bits. Seconds (unit 8) are
// the only unit; any other unit gives 0.
double TimeDifference(TimeValue t1, TimeValue t2, int unit);

// kEarliestTime when the text is not a valid date and time.
TimeValue TextToTime(std::string_view text);

}  // namespace xiuhe
