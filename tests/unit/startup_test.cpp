#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/program_harness.h"

namespace xiuhe {
namespace {

using testing::ProgramHarness;

std::ptrdiff_t Position(const std::vector<std::string>& calls, const std::string& name) {
  return std::find(calls.begin(), calls.end(), name) - calls.begin();
}

TEST(StartUp, RunsGuardSettingsTuneAndTrayInThatOrder) {
  ProgramHarness h;
  h.Start();
  const auto& calls = h.sys.calls;
  EXPECT_EQ(calls.front(), "OpenInstanceMark");
  EXPECT_LT(Position(calls, "CreateInstanceMark"), Position(calls, "FileExists"));
  EXPECT_LT(Position(calls, "WriteIniValue"), Position(calls, "SeedRandom"));
  EXPECT_LT(Position(calls, "SeedRandom"), Position(calls, "RandomInRange"));
  EXPECT_EQ(calls.back(), "SetTrayIcon");
  EXPECT_EQ(h.sys.trayTip, Text("岫禾小助理"));
  ASSERT_TRUE(h.sys.seed);
  EXPECT_FALSE(*h.sys.seed);  // seeded from the clock
}

TEST(StartUp, AStoredDailyShutdownIsArmedBeforeTheTuneIsChosen) {
  ProgramHarness h;
  h.sys.files.files[h.sys.documents + "配置.ini"] = "[定时关机]\r\n每天都执行此关机设置=真\r\n时钟=23\r\n分钟=00\r\n";
  int armedAtSeeding = -1, armedAtTray = -1;
  h.sys.onCall = [&h, &armedAtSeeding, &armedAtTray](const std::string& operation) {
    int armed = h.window.Interval(Ctl::时钟_定时关机短) + h.window.Interval(Ctl::时钟_定时关机长);
    if (operation == "SeedRandom") armedAtSeeding = armed;
    if (operation == "SetTrayIcon") armedAtTray = armed;
  };
  h.Start();
  EXPECT_EQ(armedAtSeeding, 1000);
  EXPECT_EQ(armedAtTray, 1000);
}

struct RefusedCase {
  const char* name;
  bool markExists;
  bool markAppearsAtCreate;
};

class RefusedStart : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedStart, ShowsTheMessageClosesAndTouchesNothing) {
  ProgramHarness h;
  h.sys.markExists = GetParam().markExists;
  h.sys.markAppearsAtCreate = GetParam().markAppearsAtCreate;
  h.Start();
  ASSERT_EQ(h.sys.messageBoxes.size(), 1u);
  EXPECT_EQ(h.sys.messageBoxes[0].text, "程序已经运行！（桌面右下角）");
  EXPECT_EQ(h.sys.messageBoxes[0].buttonCode, 0);
  EXPECT_FALSE(h.sys.messageBoxes[0].caption);  // the default caption
  EXPECT_EQ(h.sys.Count("CloseForm"), 1);
  EXPECT_EQ(h.sys.Count("FileExists") + h.sys.Count("ReadIniValue") + h.sys.Count("WriteIniValue"), 0);
  EXPECT_EQ(h.sys.Count("SeedRandom") + h.sys.Count("SetTrayIcon"), 0);
  EXPECT_FALSE(h.sys.SettingsFile());
}

// Two copies started at the same instant: the second's open misses, its create finds the mark.
INSTANTIATE_TEST_SUITE_P(, RefusedStart,
                         ::testing::Values(RefusedCase{"MarkAlreadyThere", true, false},
                                           RefusedCase{"MarkCreatedMeanwhile", false, true}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(StartUp, ExitHooksRunOnceHoweverTheProgramEnds) {
  ProgramHarness h;
  h.Start();
  h.program.capturedHourText = "09";
  h.program.capturedMinuteText = "00";
  EndProgram(h.program);
  EXPECT_FALSE(h.program.capturedHourText);
  EXPECT_FALSE(h.program.capturedMinuteText);
  EXPECT_EQ(h.sys.Count("StopPlaying"), 1);

  h.program.capturedHourText = "10";
  EndProgram(h.program);  // a second way of ending in the same run: the hooks have run already
  EXPECT_EQ(h.program.capturedHourText, Text("10"));
}

TEST(StartUp, EndingBeforeAnythingWasArmedReleasesNothing) {
  ProgramHarness h;
  h.Start();
  EndProgram(h.program);
  EXPECT_FALSE(h.program.capturedHourText);
  EXPECT_TRUE(h.exitHooks.HasRun());
}

}  // namespace
}  // namespace xiuhe
