#include "platform/time_value.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "platform/text.h"

namespace xiuhe {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kFirstDay = -657434;  // 0100-01-01
constexpr std::int64_t kLastDay = 2958465;   // 9999-12-31
constexpr std::int64_t kFirstSecond = kFirstDay * kSecondsPerDay;
constexpr std::int64_t kLastSecond = (kLastDay + 1) * kSecondsPerDay - 1;
constexpr std::int64_t kDaysFrom1970To1899 = -25569;  // 1899-12-30 counted from 1970-01-01

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1899-12-30 to a date of the proleptic Gregorian calendar (Howard Hinnant's
// days_from_civil); a month outside 1..12 carries into the year.
std::int64_t DayNumberOf(std::int64_t year, std::int64_t month, std::int64_t day) {
  year += FloorDiv(month - 1, 12);
  month -= FloorDiv(month - 1, 12) * 12;
  year -= month <= 2;
  std::int64_t era = FloorDiv(year, 400);
  std::int64_t yearOfEra = year - era * 400;
  std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 - kDaysFrom1970To1899;
}

void CalendarDateOf(std::int64_t dayNumber, DateTime& out) {
  std::int64_t z = dayNumber + kDaysFrom1970To1899 + 719468;
  std::int64_t era = FloorDiv(z, 146097);
  std::int64_t dayOfEra = z - era * 146097;
  std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March = 0
  out.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  out.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  out.year = static_cast<int>(yearOfEra + era * 400 + (out.month <= 2));
}

// A value of the valid range; NaN goes to the earliest time.
TimeValue Clamped(TimeValue value) {
  if (!(value > static_cast<double>(kFirstDay - 1))) return kEarliestTime;
  if (value >= static_cast<double>(kLastDay + 1)) return kLatestTime;
  return value;
}

// Seconds since 1899-12-30 00:00:00 on the straight time line, rounded to the nearest second.
// Rounding there, not on the stored value, keeps 23:59:59.6 of a day before 1899-12-30 from
// landing on the day before it.
std::int64_t NearestSecond(TimeValue value) {
  double whole;
  double fraction = std::modf(Clamped(value), &whole);
  auto secondOfDay = static_cast<std::int64_t>(std::fabs(fraction) * kSecondsPerDay + 0.5);
  return std::clamp(static_cast<std::int64_t>(whole) * kSecondsPerDay + secondOfDay, kFirstSecond, kLastSecond);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

TimeValue MakeTimeValue(const DateTime& parts) {
  std::int64_t seconds = DayNumberOf(parts.year, parts.month, parts.day) * kSecondsPerDay +
                         std::int64_t{parts.hour} * 3600 + std::int64_t{parts.minute} * 60 + parts.second;
  std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
  double fraction = static_cast<double>(seconds - day * kSecondsPerDay) / kSecondsPerDay;
  return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

DateTime DateTimeOf(TimeValue value) {
  std::int64_t seconds = NearestSecond(value);
  std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
  auto secondOfDay = static_cast<int>(seconds - day * kSecondsPerDay);
  DateTime parts;
  CalendarDateOf(day, parts);
  parts.hour = secondOfDay / 3600;
  parts.minute = secondOfDay / 60 % 60;
  parts.second = secondOfDay % 60;
  return parts;
}

int YearOf(TimeValue value) { return DateTimeOf(value).year; }
int MonthOf(TimeValue value) { return DateTimeOf(value).month; }
int DayOf(TimeValue value) { return DateTimeOf(value).day; }
int HourOf(TimeValue value) { return DateTimeOf(value).hour; }
int MinuteOf(TimeValue value) { return DateTimeOf(value).minute; }
int SecondOf(TimeValue value) { return DateTimeOf(value).second; }

int WeekdayOf(TimeValue value) {
  std::int64_t day = FloorDiv(NearestSecond(value), kSecondsPerDay);
  return static_cast<int>((day + 693958) % 7) + 1;  // 1899-12-30 was a Saturday
}

double TimeDifference(TimeValue t1, TimeValue t2, int unit) {
  if (t1 == t2) return 0;
  if (unit != kSeconds) return 0;
  t1 = Clamped(t1);
  t2 = Clamped(t2);
  // Whole days and forward fractions apart, so the difference keeps its fraction exactly even
  // when it spans millennia.
  double whole1, whole2;
  double fraction1 = std::fabs(std::modf(t1, &whole1));
  double fraction2 = std::fabs(std::modf(t2, &whole2));
  std::int64_t wholeSeconds = (static_cast<std::int64_t>(whole1) - static_cast<std::int64_t>(whole2)) * kSecondsPerDay;
  double fractionSeconds = (fraction1 - fraction2) * kSecondsPerDay;
  // Before the cut toward zero the magnitude is lifted by a small addend, so that 299.99999999
  // and -299.99999999 count as 300 and -300. Far from 1899 a stored value may itself be a bit or
  // two away from the whole second it stands for (the system's own conversions are); the addend
  // grows to cover two bits of each value, still well under a millisecond.
  double addend = 5.787037037037037e-6 +
                  (std::fabs(t1) + std::fabs(t2)) * 2 * std::numeric_limits<double>::epsilon() * kSecondsPerDay;
  bool negative = static_cast<double>(wholeSeconds) + fractionSeconds < 0;
  double cutFraction = negative ? std::ceil(fractionSeconds - addend) : std::floor(fractionSeconds + addend);
  std::int64_t seconds = wholeSeconds + static_cast<std::int64_t>(cutFraction);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));  // differences over ~68 years wrap
}

namespace {

// Reads the numbers and separators of a date and time text from the front.
class TimeTextReader {
 public:
  explicit TimeTextReader(std::string_view text) : rest_(text) {}

  int Number(int maxDigits) {
    int number = 0;
    for (int i = 0; i < maxDigits && !rest_.empty() && rest_[0] >= '0' && rest_[0] <= '9'; ++i) {
      number = number * 10 + (rest_[0] - '0');
      rest_.remove_prefix(1);
    }
    return number;
  }

  // Consumes one of the common separators or one of the extra ones, if the text goes on with it.
  void Separator(std::initializer_list<std::string_view> extra) {
    for (std::string_view common : {"/", "-", ":", "."}) {
      if (Take(common)) return;
    }
    for (std::string_view separator : extra) {
      if (Take(separator)) return;
    }
  }

  bool EndsHereOrWith(std::string_view word) const { return rest_.empty() || rest_.starts_with(word); }

 private:
  bool Take(std::string_view word) {
    if (!rest_.starts_with(word)) return false;
    rest_.remove_prefix(word.size());
    return true;
  }

  std::string_view rest_;
};

}  // namespace

TimeValue TextToTime(std::string_view text) {
  std::string ascii = FullWidthToAscii(UpToNul(text));
  if (ascii.empty()) return kEarliestTime;
  TimeTextReader reader(ascii);
  DateTime parts;
  parts.year = reader.Number(4);
  reader.Separator({"年"});
  parts.month = reader.Number(2);
  reader.Separator({"月"});
  parts.day = reader.Number(2);
  reader.Separator({" ", "日"});
  parts.hour = reader.Number(2);
  reader.Separator({"时"});
  parts.minute = reader.Number(2);
  reader.Separator({"分"});
  parts.second = reader.Number(2);
  if (!reader.EndsHereOrWith("秒")) return kEarliestTime;

  bool valid = parts.year >= 100 && parts.year <= 9999 && parts.month >= 1 && parts.month <= 12 &&
               parts.day >= 1 && parts.day <= DaysInMonth(parts.year, parts.month) && parts.hour <= 23 &&
               parts.minute <= 59 && parts.second <= 59;
  return valid ? MakeTimeValue(parts) : kEarliestTime;
}

}  // namespace xiuhe
