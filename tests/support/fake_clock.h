#pragma once
#include <cstdint>

#include "platform/time_value.h"

namespace xiuhe::testing {

// A wall clock that moves only when a test moves it, with millisecond resolution.
class FakeClock {
 public:
  void Set(const DateTime& when) {
    day_ = static_cast<std::int64_t>(MakeTimeValue({when.year, when.month, when.day, 0, 0, 0}));
    ms_ = (when.hour * 3600 + when.minute * 60 + when.second) * 1000LL;
  }
  void Advance(std::int64_t milliseconds) { ms_ += milliseconds; }
  std::int64_t Milliseconds() const { return ms_; }  // since midnight of the day set
  void SetMilliseconds(std::int64_t ms) { ms_ = ms; }

  // Now, in whole seconds, as the system clock gives it.
  TimeValue Now() const {
    std::int64_t seconds = ms_ / 1000;
    std::int64_t days = seconds / 86400;
    DateTime date = DateTimeOf(static_cast<TimeValue>(day_ + days));
    std::int64_t rest = seconds % 86400;
    date.hour = static_cast<int>(rest / 3600);
    date.minute = static_cast<int>(rest / 60 % 60);
    date.second = static_cast<int>(rest % 60);
    return MakeTimeValue(date);
  }

 private:
  std::int64_t day_ = 0;  // the TimeValue day number of the date set
  std::int64_t ms_ = 0;
};

}  // namespace xiuhe::testing
