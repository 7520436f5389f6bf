#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "tests/support/fake_clock.h"
#include "ui/window_model.h"

namespace xiuhe::testing {

// The message loop's timers on a fake clock: ticks are delivered in due order, at most one
// pending per timer (missed ticks merge), and a handler may run the loop again inside itself,
// as a modal message box does.
class FakeLoop : public TimerHost {
 public:
  FakeLoop(WindowModel& window, FakeClock& clock) : window_(window), clock_(clock) {}

  void StartTimer(Ctl timer, int milliseconds) override;
  void StopTimer(Ctl timer) override { timers_[Index(timer)].reset(); }

  // Moves the clock forward, delivering every tick that falls due on the way.
  void RunFor(std::int64_t milliseconds);
  // Each tick comes this much later than its period (Windows' timers run slightly slow).
  void SetLatenessPerTick(std::int64_t milliseconds) { lateness_ = milliseconds; }
  std::optional<std::int64_t> DueTime(Ctl timer) const;

 private:
  struct Timer {
    int period;
    std::int64_t due;
  };
  std::optional<Ctl> NextDue(std::int64_t until) const;

  WindowModel& window_;
  FakeClock& clock_;
  std::array<std::optional<Timer>, kControlCount> timers_;
  std::int64_t lateness_ = 0;
};

}  // namespace xiuhe::testing
