#include "platform/time_value.h"

namespace xiuhe {

// Placeholders until the date rules land with their tests.
TimeValue MakeTimeValue(const DateTime&) { return 0; }
DateTime DateTimeOf(TimeValue) { return {}; }
int YearOf(TimeValue v) { return DateTimeOf(v).year; }
int MonthOf(TimeValue v) { return DateTimeOf(v).month; }
int DayOf(TimeValue v) { return DateTimeOf(v).day; }
int HourOf(TimeValue v) { return DateTimeOf(v).hour; }
int MinuteOf(TimeValue v) { return DateTimeOf(v).minute; }
int SecondOf(TimeValue v) { return DateTimeOf(v).second; }
int WeekdayOf(TimeValue) { return 1; }
double TimeDifference(TimeValue, TimeValue, int) { return 0; }
TimeValue TextToTime(std::string_view) { return kEarliestTime; }

}  // namespace xiuhe
