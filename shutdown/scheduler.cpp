#include "shutdown/scheduler.h"

#include "settings/settings_file.h"

namespace xiuhe {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0;
constexpr int kTickMilliseconds = 1000;
constexpr int kPresentMinuteCountdown = 30;
// A countdown whose target passed longer ago than this was slept through, not just reached late.
constexpr double kSleptThroughSeconds = 60;
constexpr double kNotBeforeNow = -0.0000001;

constexpr const char* kIdleHint = "设置到点关机时间";
constexpr const char* kCountdownHint = "距离关机还有";

// Hidden on arming and shown on cancel, in this order.
constexpr Ctl kArrowButtons[] = {Ctl::图形按钮_小时加, Ctl::图形按钮_分钟减, Ctl::图形按钮_分钟加, Ctl::图形按钮_小时减};

constexpr double kDaysPerSecond = 1.0 / 86400;

// Both texts from one reading, so that an hour turning between two readings cannot pair
// the old hour with the new minute.
void CaptureClock(Program& program) {
  const TimeValue now = program.sys.CurrentTime();
  program.capturedHourText = TwoDigitText(HourOf(now));
  program.capturedMinuteText = TwoDigitText(MinuteOf(now));
}

bool ClockShowsSetMinute(const Program& program) {
  return program.capturedHourText.value_or(Text()) == program.window.Caption(Ctl::标签_小时) &&
         program.capturedMinuteText.value_or(Text()) == program.window.Caption(Ctl::标签_分钟);
}

// Today's date, the set hour and minute as the labels hold them, and the present second.
TimeValue TargetFromLabels(Program& program) {
  const TimeValue now = program.sys.CurrentTime();
  const Text text = ToText(YearOf(now)) + "年" + ToText(MonthOf(now)) + "月" + ToText(DayOf(now)) + "日" +
                    program.window.Caption(Ctl::标签_小时) + "时" + program.window.Caption(Ctl::标签_分钟) + "分" +
                    ToText(SecondOf(now)) + "秒";
  return TextToTime(text);
}

double SecondsUntil(Program& program, TimeValue target) {
  return TimeDifference(target, program.sys.CurrentTime(), kSeconds);
}

void StartCountdown(Program& program, TimeValue target, const Text& caption) {
  program.countdownTarget = target;
  program.window.SetCaption(Ctl::透明标签_倒计时, caption);
  program.window.SetCaption(Ctl::透明标签_提示, kCountdownHint);
  program.window.SetVisible(Ctl::透明标签_秒, true);
  program.window.SetVisible(Ctl::透明标签_倒计时, true);
  program.window.SetInterval(Ctl::时钟_定时关机短, kTickMilliseconds);
}

void StartWait(Program& program) {
  program.countdownTarget.reset();
  program.window.SetCaption(Ctl::透明标签_提示, "将在 " + program.window.Caption(Ctl::标签_小时) + "：" +
                                                   program.window.Caption(Ctl::标签_分钟) + " 关机！");
  program.window.SetInterval(Ctl::时钟_定时关机长, kTickMilliseconds);
}

void RequestShutdown(Program& program) { program.sys.ShutDownSystem(kShutDownAndPowerOff, false); }

}  // namespace

void ArmShutdown(Program& program) {
  CaptureClock(program);
  program.window.SetTextColour(Ctl::透明标签_提示, kWhite);
  for (Ctl arrow : kArrowButtons) program.window.SetVisible(arrow, false);
  program.window.SetVisible(Ctl::图形按钮_立即启用, false);

  if (ClockShowsSetMinute(program)) {
    const TimeValue target = program.sys.CurrentTime() + kPresentMinuteCountdown * kDaysPerSecond;
    StartCountdown(program, target, ToText(kPresentMinuteCountdown));
  } else if (SecondsUntil(program, TargetFromLabels(program)) >= kNotBeforeNow) {
    const TimeValue target = TargetFromLabels(program);
    StartCountdown(program, target, ToText(SecondsUntil(program, target)));
  } else {
    // Earlier today, or a time that does not parse.
    StartWait(program);
  }

  SaveDailyShutdown(program);
}

void CancelShutdown(Program& program) {
  WindowModel& window = program.window;
  window.SetVisible(Ctl::图形按钮_立即启用, true);
  window.SetInterval(Ctl::时钟_定时关机长, 0);
  window.SetInterval(Ctl::时钟_定时关机短, 0);
  window.SetVisible(Ctl::透明标签_倒计时, false);
  window.SetVisible(Ctl::透明标签_秒, false);
  window.SetTextColour(Ctl::透明标签_提示, kBlack);
  window.SetCaption(Ctl::透明标签_提示, kIdleHint);
  for (Ctl arrow : kArrowButtons) window.SetVisible(arrow, true);
  program.countdownTarget.reset();
}

void CountdownTick(Program& program) {
  WindowModel& window = program.window;
  // Read from the clock rather than counted down, so that late ticks do not make the shutdown late.
  const double left = program.countdownTarget
                          ? SecondsUntil(program, *program.countdownTarget)
                          : TextToInt(window.Caption(Ctl::透明标签_倒计时)) - 1.0;

  if (left < -kSleptThroughSeconds) {
    // The computer slept through the target: wait for the set minute to come round again instead.
    window.SetInterval(Ctl::时钟_定时关机短, 0);
    window.SetVisible(Ctl::透明标签_倒计时, false);
    window.SetVisible(Ctl::透明标签_秒, false);
    CaptureClock(program);
    StartWait(program);
    return;
  }
  if (left > 0) {
    window.SetCaption(Ctl::透明标签_倒计时, TwoDigitText(left));
    return;
  }
  window.SetCaption(Ctl::透明标签_倒计时, "00");
  window.SetInterval(Ctl::时钟_定时关机短, 0);
  RequestShutdown(program);
}

void WaitTick(Program& program) {
  CaptureClock(program);
  if (ClockShowsSetMinute(program)) RequestShutdown(program);
}

void ReleaseCapturedTexts(Program& program) {
  program.capturedHourText.reset();
  program.capturedMinuteText.reset();
}

}  // namespace xiuhe
