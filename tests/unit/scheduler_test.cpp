#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "settings/settings_file.h"
#include "tests/support/program_harness.h"

namespace xiuhe {
namespace {

using testing::FakeServices;

// The fake system, plus what these tests need to see: whether a shutdown was forced, a clock
// that moves on at every reading (a slow handler), and a look at the window when the start-up
// reaches the tune and the tray icon.
class WatchedServices : public FakeServices {
 public:
  TimeValue CurrentTime() override {
    const TimeValue now = clock.Now();
    clock.Advance(driftPerReading);
    return now;
  }
  bool ShutDownSystem(int mode, bool force) override {
    forced.push_back(force);
    return FakeServices::ShutDownSystem(mode, force);
  }
  void SeedRandom(std::optional<int> value) override {
    if (onLaterStartStep) onLaterStartStep("tune");
    FakeServices::SeedRandom(value);
  }
  void SetTrayIcon(ByteBlock icon, const Text& tip) override {
    if (onLaterStartStep) onLaterStartStep("tray");
    FakeServices::SetTrayIcon(icon, tip);
  }

  std::int64_t driftPerReading = 0;
  std::vector<bool> forced;
  std::function<void(const char* step)> onLaterStartStep;
};

// The whole program on the fakes above, started as a user starts it.
struct Rig {
  WindowModel window;
  WatchedServices sys;
  ExitHooks exitHooks;
  Program program{window, sys, exitHooks};
  testing::FakeLoop loop{window, sys.clock};

  explicit Rig(const DateTime& now, std::int64_t extraMilliseconds = 0) {
    sys.clock.Set(now);
    sys.clock.Advance(extraMilliseconds);
    window.SetTimerHost(&loop);
    PrepareProgram(program);
  }
  void Start() {
    window.RaiseWindow(Event::Created);
    window.SetWindowVisible(true);
  }
  void SetLabels(const Text& hour, const Text& minute) {
    window.SetCaption(Ctl::标签_小时, hour);
    window.SetCaption(Ctl::标签_分钟, minute);
  }
  void Arm() {
    ASSERT_TRUE(window.Visible(Ctl::图形按钮_立即启用));
    window.UserClick(Ctl::图形按钮_立即启用);
  }
  void Cancel() {
    // The arm button covers the cancel button while it is shown.
    ASSERT_FALSE(window.Visible(Ctl::图形按钮_立即启用));
    ASSERT_TRUE(window.Visible(Ctl::图形按钮_取消关机));
    window.UserClick(Ctl::图形按钮_取消关机);
  }
  void Tick() { loop.RunFor(1000); }
  const Text& Countdown() const { return window.Caption(Ctl::透明标签_倒计时); }
  Text Stored(const char* key) { return sys.ReadIniValue(sys.SettingsFilePath(), "定时关机", key, ""); }
  void Store(const char* key, const Text& value) { sys.WriteIniValue(sys.SettingsFilePath(), "定时关机", key, value); }
};

DateTime At(int hour, int minute, int second = 0, int day = 13) { return {2016, 1, day, hour, minute, second}; }
TimeValue Moment(const DateTime& when) { return MakeTimeValue(when); }
std::int64_t Seconds(std::int64_t s) { return s * 1000; }
std::int64_t Hours(std::int64_t h) { return h * 3600 * 1000; }

constexpr const char* kIdleHint = "设置到点关机时间";
constexpr const char* kCountdownHint = "距离关机还有";
constexpr std::uint32_t kWhite = 0xFFFFFF;

// What the user sees of the shutdown page, and which of its timers run.
struct Page {
  bool armButton;
  int arrowsShown;
  Text hint;
  std::uint32_t hintColour;
  bool countdownShown;
  bool secondsShown;
  int countdownTimer;
  int waitTimer;
  bool operator==(const Page&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Page& p) {
  return out << "{arm " << p.armButton << ", arrows " << p.arrowsShown << ", hint \"" << p.hint << "\" #"
             << std::hex << p.hintColour << std::dec << ", countdown " << p.countdownShown << ", 秒 "
             << p.secondsShown << ", timers " << p.countdownTimer << "/" << p.waitTimer << "}";
}

Page PageOf(const Rig& r) {
  const WindowModel& w = r.window;
  int arrows = 0;
  for (Ctl arrow : {Ctl::图形按钮_小时加, Ctl::图形按钮_分钟减, Ctl::图形按钮_分钟加, Ctl::图形按钮_小时减})
    arrows += w.Visible(arrow) ? 1 : 0;
  return {w.Visible(Ctl::图形按钮_立即启用), arrows,
          w.Caption(Ctl::透明标签_提示), w.TextColour(Ctl::透明标签_提示),
          w.Visible(Ctl::透明标签_倒计时), w.Visible(Ctl::透明标签_秒),
          w.Interval(Ctl::时钟_定时关机短), w.Interval(Ctl::时钟_定时关机长)};
}

const Page kIdle{true, 4, kIdleHint, 0, false, false, 0, 0};
const Page kCountingDown{false, 0, kCountdownHint, kWhite, true, true, 1000, 0};
const Page kCountdownOver{false, 0, kCountdownHint, kWhite, true, true, 0, 0};
Page Waiting(const Text& message) { return {false, 0, message, kWhite, false, false, 0, 1000}; }

TEST(Scheduler, ThePresentMinuteCountsThirtySecondsAndThenAsksOnceToPowerOff) {
  for (std::int64_t intoTheSecond : {0, 999}) {
    SCOPED_TRACE(intoTheSecond);
    Rig r(At(9, 0, 0), intoTheSecond);
    r.Start();
    r.SetLabels("09", "00");
    r.Arm();
    EXPECT_EQ(PageOf(r), kCountingDown);
    EXPECT_EQ(r.Countdown(), "30");
    EXPECT_EQ(r.Stored("每天都执行此关机设置"), "假");

    std::vector<Text> shown;
    for (int tick = 1; tick <= 30; ++tick) {
      EXPECT_TRUE(r.sys.shutdownRequests.empty()) << "before tick " << tick;
      r.Tick();
      shown.push_back(r.Countdown());
    }
    std::vector<Text> expected;
    for (int left = 29; left >= 0; --left) expected.push_back(TwoDigitText(left));
    EXPECT_EQ(shown, expected);
    ASSERT_EQ(r.sys.shutdownRequests.size(), 1u);
    EXPECT_EQ(r.sys.shutdownRequests[0], Moment(At(9, 0, 30)));
    EXPECT_EQ(r.sys.forced, std::vector<bool>{false});

    // The page stays at "00" until the system goes down or the user cancels.
    r.loop.RunFor(Seconds(90));
    EXPECT_EQ(r.sys.shutdownRequests.size(), 1u);
    EXPECT_EQ(PageOf(r), kCountdownOver);
    EXPECT_EQ(r.Countdown(), "00");
  }
}

TEST(Scheduler, ATimeLaterTodayCountsTheSecondsToItAtThePresentSecond) {
  struct Case {
    DateTime armedAt;
    const char* hour;
    const char* minute;
    const char* first;
    int seconds;
    DateTime request;
  };
  const Case cases[] = {
      {At(9, 0, 7), "09", "02", "120", 120, At(9, 2, 7)},
      {At(9, 0, 0), "10", "00", "3600", 3600, At(10, 0, 0)},
      {At(9, 0, 0), "09", "5", "300", 300, At(9, 5, 0)},  // one character still parses as a time
      {At(23, 58, 59), "23", "59", "60", 60, At(23, 59, 59)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.hour) + ":" + c.minute);
    Rig r(c.armedAt);
    r.Start();
    r.SetLabels(c.hour, c.minute);
    r.Arm();
    EXPECT_EQ(PageOf(r), kCountingDown);
    EXPECT_EQ(r.Countdown(), c.first);
    EXPECT_EQ(r.Stored("每天都执行此关机设置"), "假");

    r.Tick();
    EXPECT_EQ(r.Countdown(), TwoDigitText(c.seconds - 1));
    r.loop.RunFor(Seconds(c.seconds - 2));
    EXPECT_EQ(r.Countdown(), "01");
    EXPECT_TRUE(r.sys.shutdownRequests.empty());
    r.Tick();
    EXPECT_EQ(r.Countdown(), "00");
    EXPECT_EQ(PageOf(r), kCountdownOver);
    ASSERT_EQ(r.sys.shutdownRequests.size(), 1u);
    EXPECT_EQ(r.sys.shutdownRequests[0], Moment(c.request));
  }
}

TEST(Scheduler, ATimeEarlierTodayWaitsForTheClockToShowItAndAsksEverySecondOfThatMinute) {
  struct Case {
    DateTime armedAt;
    const char* hour;
    const char* minute;
    const char* message;
    std::optional<DateTime> firstRequest;  // none: the clock never shows such a time
  };
  const Case cases[] = {
      {At(9, 0), "07", "30", "将在 07：30 关机！", At(7, 30, 0, 14)},
      {At(23, 59), "00", "00", "将在 00：00 关机！", At(0, 0, 0, 14)},  // today's 00:00 is past
      {At(9, 0), "24", "00", "将在 24：00 关机！", std::nullopt},       // not a time at all
      {At(9, 10), "09", "5", "将在 09：5 关机！", std::nullopt},        // never equals the clock's "05"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Rig r(c.armedAt);
    r.Start();
    r.SetLabels(c.hour, c.minute);
    r.Arm();
    EXPECT_EQ(PageOf(r), Waiting(c.message));
    EXPECT_EQ(r.Stored("每天都执行此关机设置"), "假");

    if (!c.firstRequest) {
      r.loop.RunFor(Hours(25));
      EXPECT_TRUE(r.sys.shutdownRequests.empty());
      EXPECT_EQ(PageOf(r), Waiting(c.message));
      continue;
    }
    const std::int64_t untilThen =
        static_cast<std::int64_t>(TimeDifference(Moment(*c.firstRequest), Moment(c.armedAt), kSeconds)) * 1000;
    r.loop.RunFor(untilThen - 1);
    EXPECT_TRUE(r.sys.shutdownRequests.empty());
    r.loop.RunFor(Seconds(90));
    ASSERT_EQ(r.sys.shutdownRequests.size(), 60u);
    EXPECT_EQ(r.sys.shutdownRequests.front(), Moment(*c.firstRequest));
    DateTime lastSecond = *c.firstRequest;
    lastSecond.second = 59;
    EXPECT_EQ(r.sys.shutdownRequests.back(), Moment(lastSecond));
    EXPECT_EQ(r.sys.forced, std::vector<bool>(60, false));
    EXPECT_EQ(PageOf(r), Waiting(c.message));
  }
}

TEST(Scheduler, ACountdownThatStartsAtOrBelowZeroAsksOnItsFirstTickAndStops) {
  struct Case {
    const char* what;
    DateTime armedAt;
    std::int64_t intoTheSecond;
    std::int64_t driftPerReading;
    const char* hour;
    const char* minute;
  };
  const Case cases[] = {
      // "9" never equals the clock's "09", so the present minute is counted from the set second: 0.
      {"one-character hour", At(9, 5, 0), 0, 0, "9", "05"},
      // The minute turns between taking the clock and building the target.
      {"minute turns while arming", At(9, 0, 59), 500, 500, "09", "01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r(c.armedAt, c.intoTheSecond);
    r.Start();
    r.SetLabels(c.hour, c.minute);
    r.sys.driftPerReading = c.driftPerReading;
    r.Arm();
    r.sys.driftPerReading = 0;
    EXPECT_EQ(PageOf(r), kCountingDown);
    EXPECT_LE(TextToInt(r.Countdown()), 0) << r.Countdown();

    r.Tick();
    EXPECT_EQ(r.Countdown(), "00");
    EXPECT_EQ(PageOf(r), kCountdownOver);
    EXPECT_EQ(r.sys.shutdownRequests.size(), 1u);

    r.loop.RunFor(Seconds(10));
    EXPECT_EQ(r.Countdown(), "00");
    EXPECT_EQ(r.sys.shutdownRequests.size(), 1u);
  }
}

TEST(Scheduler, AnHourTurningBetweenReadingsIsNotTakenForTheSetMinute) {
  // Each reading of the clock lands half a second after the one before it.
  Rig r(At(9, 59, 59), 600);
  r.Start();
  r.SetLabels("09", "00");
  r.sys.driftPerReading = 500;
  r.Arm();
  EXPECT_EQ(PageOf(r), Waiting("将在 09：00 关机！"));

  // Waiting for 09:00, the next day's tick at 09:59:59.6 must not ask either.
  r.sys.driftPerReading = 0;
  r.sys.clock.Set(At(9, 59, 59, 14));
  r.sys.clock.Advance(600);
  r.sys.driftPerReading = 500;
  r.loop.RunFor(1);
  EXPECT_TRUE(r.sys.shutdownRequests.empty());
}

TEST(Scheduler, ACountdownWithLateTicksEndsAtTheSetSecond) {
  // Windows' one-second timer runs about 1 % slow; a busy program makes it slower still.
  for (std::int64_t lateness : {10, 250}) {
    SCOPED_TRACE(lateness);
    Rig r(At(9, 0, 0));
    r.Start();
    r.SetLabels("12", "00");
    r.loop.SetLatenessPerTick(lateness);
    r.Arm();
    EXPECT_EQ(r.Countdown(), "10800");

    r.loop.RunFor(Hours(1));
    const TimeValue now = r.sys.clock.Now();
    const double left = TimeDifference(Moment(At(12, 0)), now, kSeconds);
    // The caption shows the clock's count as of the last tick, at most one late tick ago.
    EXPECT_GE(TextToInt(r.Countdown()), left);
    EXPECT_LE(TextToInt(r.Countdown()), left + 2);

    r.loop.RunFor(Hours(2) + Seconds(10));
    ASSERT_EQ(r.sys.shutdownRequests.size(), 1u);
    const double late = TimeDifference(r.sys.shutdownRequests[0], Moment(At(12, 0)), kSeconds);
    EXPECT_GE(late, 0);
    EXPECT_LE(late, 1);
  }
}

TEST(Scheduler, ATickFarPastTheTargetWaitsForTheSetMinuteInsteadOfShuttingDown) {
  struct Case {
    const char* what;
    const char* hour;
    const char* minute;
    DateTime target;
    int ticksAfterTarget;  // seconds past the target when the next tick comes
    bool asksNow;
  };
  const Case cases[] = {
      {"reached on time", "09", "02", At(9, 2, 0), 0, true},
      {"a modal box held the loop", "09", "02", At(9, 2, 0), 30, true},
      {"a minute late", "09", "02", At(9, 2, 0), 60, true},
      {"just over a minute late", "09", "02", At(9, 2, 0), 61, false},
      {"slept for hours", "09", "02", At(9, 2, 0), 5 * 3600, false},
      {"slept through the 30 seconds", "09", "00", At(9, 0, 30), 3600, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r(At(9, 0, 0));
    r.Start();
    r.SetLabels(c.hour, c.minute);
    r.Arm();
    r.loop.RunFor(Seconds(5));
    ASSERT_TRUE(r.sys.shutdownRequests.empty());

    // The computer sleeps, or the loop is held: the clock jumps, then the pending tick comes.
    r.sys.clock.SetMilliseconds(Seconds(static_cast<std::int64_t>(c.target.hour) * 3600 + c.target.minute * 60 +
                                        c.target.second + c.ticksAfterTarget));
    r.loop.RunFor(1);

    if (c.asksNow) {
      EXPECT_EQ(r.Countdown(), "00");
      EXPECT_EQ(PageOf(r), kCountdownOver);
      EXPECT_EQ(r.sys.shutdownRequests.size(), 1u);
      continue;
    }
    const Text message = std::string("将在 ") + c.hour + "：" + c.minute + " 关机！";
    EXPECT_EQ(PageOf(r), Waiting(message));
    EXPECT_TRUE(r.sys.shutdownRequests.empty());
    // The wait asks when the clock next shows the set minute, the next day.
    r.loop.RunFor(Hours(24));
    ASSERT_FALSE(r.sys.shutdownRequests.empty());
    EXPECT_EQ(r.sys.shutdownRequests.front(), Moment(At(9, std::stoi(c.minute), 0, 14)));
    r.Cancel();
    EXPECT_EQ(PageOf(r), kIdle);
  }
}

TEST(Scheduler, CancelReturnsToIdleFromEveryStateAndLeavesTheSettingsAlone) {
  struct Case {
    const char* what;
    const char* hour;
    const char* minute;
    std::int64_t runBeforeCancel;
  };
  const Case cases[] = {
      {"counting the present minute", "09", "00", Seconds(10)},
      {"counting to later today", "09", "02", Seconds(10)},
      {"countdown over, shutdown refused", "09", "00", Seconds(40)},
      {"waiting", "07", "30", Seconds(10)},
      {"waiting, inside the set minute", "07", "30", Hours(22) + Seconds(30 * 60 + 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r(At(9, 0, 0));
    r.Start();
    r.sys.shutdownAccepted = false;
    r.SetLabels("06", "15");
    r.window.UserClick(Ctl::选择框1);  // stores the daily shutdown at 06:15
    r.SetLabels(c.hour, c.minute);
    r.Arm();
    r.loop.RunFor(c.runBeforeCancel);
    const std::optional<std::string> file = r.sys.SettingsFile();
    const int writes = r.sys.Count("WriteIniValue");
    const std::optional<Text> capturedHour = r.program.capturedHourText;
    const std::optional<Text> capturedMinute = r.program.capturedMinuteText;
    const std::size_t requests = r.sys.shutdownRequests.size();

    r.Cancel();
    EXPECT_EQ(PageOf(r), kIdle);
    EXPECT_EQ(r.sys.Count("WriteIniValue"), writes);
    EXPECT_EQ(r.sys.SettingsFile(), file);
    EXPECT_TRUE(r.window.Checked(Ctl::选择框1));
    EXPECT_EQ(r.program.capturedHourText, capturedHour);
    EXPECT_EQ(r.program.capturedMinuteText, capturedMinute);
    EXPECT_EQ(r.Stored("每天都执行此关机设置"), "真");
    EXPECT_EQ(r.Stored("时钟"), c.hour);

    r.loop.RunFor(Hours(48));
    EXPECT_EQ(r.sys.shutdownRequests.size(), requests);
  }
}

TEST(Scheduler, ArmingAgainAfterCancelStartsAfresh) {
  Rig r(At(9, 0, 0));
  r.Start();
  r.SetLabels("09", "02");
  r.Arm();
  r.loop.RunFor(Seconds(10));
  r.Cancel();
  r.loop.RunFor(Seconds(5));
  r.Arm();
  EXPECT_EQ(PageOf(r), kCountingDown);
  EXPECT_EQ(r.Countdown(), "120");
  EXPECT_EQ(r.program.capturedMinuteText, "00");

  r.loop.RunFor(Seconds(120));
  ASSERT_EQ(r.sys.shutdownRequests.size(), 1u);
  EXPECT_EQ(r.sys.shutdownRequests[0], Moment(At(9, 2, 15)));
}

TEST(Scheduler, ArmingStoresTheSetTimeOnlyWhenTheDailyBoxIsTicked) {
  Rig r(At(9, 0, 0));
  r.Start();
  r.SetLabels("06", "15");
  r.window.UserClick(Ctl::选择框1);
  r.SetLabels("07", "30");  // changing the time alone stores nothing
  EXPECT_EQ(r.Stored("时钟"), "06");

  r.Arm();  // earlier today: waits
  EXPECT_EQ(r.Stored("每天都执行此关机设置"), "真");
  EXPECT_EQ(r.Stored("时钟"), "07");
  EXPECT_EQ(r.Stored("分钟"), "30");

  r.Cancel();
  r.window.UserClick(Ctl::选择框1);  // untick
  r.SetLabels("09", "00");
  r.Arm();  // the present minute: counts down
  EXPECT_EQ(PageOf(r), kCountingDown);
  EXPECT_EQ(r.Stored("每天都执行此关机设置"), "假");
  EXPECT_EQ(r.Stored("时钟"), "07");
  EXPECT_EQ(r.Stored("分钟"), "30");
}

TEST(Scheduler, AStoredDailyShutdownIsArmedAtStartBeforeTheTuneAndTheTrayIcon) {
  struct Case {
    const char* daily;
    const char* hour;
    const char* minute;
    Page expected;
  };
  const Case cases[] = {
      {"真", "09", "00", kCountingDown},
      {"真", "07", "30", Waiting("将在 07：30 关机！")},
      {"假", "07", "30", kIdle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.daily) + c.hour + c.minute);
    Rig r(At(9, 0, 0));
    r.Store("每天都执行此关机设置", c.daily);
    r.Store("时钟", c.hour);
    r.Store("分钟", c.minute);
    std::vector<std::string> armedAt;
    r.sys.onLaterStartStep = [&](const char* step) {
      const bool armed = r.window.Interval(Ctl::时钟_定时关机短) > 0 || r.window.Interval(Ctl::时钟_定时关机长) > 0;
      armedAt.push_back(std::string(step) + (armed ? " armed" : " idle"));
    };
    r.Start();
    EXPECT_EQ(PageOf(r), c.expected);
    const std::string state = c.expected == kIdle ? " idle" : " armed";
    EXPECT_EQ(armedAt, (std::vector<std::string>{"tune" + state, "tray" + state}));
  }

  // Armed within the stored minute, the request comes 30 ticks after the start.
  Rig r(At(9, 0, 0));
  r.Store("每天都执行此关机设置", "真");
  r.Store("时钟", "09");
  r.Store("分钟", "00");
  r.Start();
  r.loop.RunFor(Seconds(29));
  EXPECT_TRUE(r.sys.shutdownRequests.empty());
  r.Tick();
  EXPECT_EQ(r.sys.shutdownRequests, std::vector<TimeValue>{Moment(At(9, 0, 30))});
}

TEST(Scheduler, TheExitHookReleasesTheCapturedTexts) {
  Rig r(At(9, 0, 0));
  r.Start();
  r.SetLabels("07", "30");
  r.Arm();
  EXPECT_EQ(r.program.capturedHourText, "09");
  EXPECT_EQ(r.program.capturedMinuteText, "00");
  EndProgram(r.program);
  EXPECT_FALSE(r.program.capturedHourText);
  EXPECT_FALSE(r.program.capturedMinuteText);
}

}  // namespace
}  // namespace xiuhe
