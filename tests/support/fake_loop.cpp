#include "tests/support/fake_loop.h"

#include <algorithm>

namespace xiuhe::testing {

void FakeLoop::StartTimer(Ctl timer, int milliseconds) {
  timers_[Index(timer)] = Timer{milliseconds, clock_.Milliseconds() + milliseconds + lateness_};
}

std::optional<std::int64_t> FakeLoop::DueTime(Ctl timer) const {
  if (!timers_[Index(timer)]) return std::nullopt;
  return timers_[Index(timer)]->due;
}

std::optional<Ctl> FakeLoop::NextDue(std::int64_t until) const {
  std::optional<Ctl> next;
  for (int i = 0; i < kControlCount; ++i) {
    const auto& timer = timers_[i];
    if (timer && timer->due <= until && (!next || timer->due < timers_[Index(*next)]->due)) next = Ctl(i);
  }
  return next;
}

void FakeLoop::RunFor(std::int64_t milliseconds) {
  const std::int64_t end = clock_.Milliseconds() + milliseconds;
  while (std::optional<Ctl> next = NextDue(end)) {
    Timer& timer = *timers_[Index(*next)];
    clock_.SetMilliseconds(std::max(clock_.Milliseconds(), timer.due));
    // Ticks stay on their grid; those missed while a handler held the loop merge into this one.
    do timer.due += timer.period + lateness_;
    while (timer.due <= clock_.Milliseconds());
    window_.Tick(*next);
  }
  clock_.SetMilliseconds(std::max(clock_.Milliseconds(), end));
}

}  // namespace xiuhe::testing
