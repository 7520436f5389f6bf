#include <gtest/gtest.h>

#include "tests/support/program_harness.h"

namespace xiuhe {
namespace {

using testing::ProgramHarness;

constexpr DateTime kMonday{2016, 1, 11, 7, 29, 0};
constexpr DateTime kTuesday{2016, 1, 12, 7, 29, 0};
constexpr DateTime kSunday{2016, 1, 17, 7, 29, 0};

// The form's alarm 1 (Monday to Friday, 7 o'clock) set to 07:30 and switched on at 07:29:00.
struct AlarmAt0730 : ProgramHarness {
  explicit AlarmAt0730(const DateTime& now = kMonday) : ProgramHarness(now) {
    Start();
    window.UserPick(Ctl::组合框_闹钟1分钟, 30);
    window.UserClick(Ctl::选择框_闹钟1开);
  }
  void RunMinutes(int minutes) { loop.RunFor(minutes * 60'000LL); }
};

TEST(AlarmClock, FiresOnItsWeekdayAtItsMinuteWithTheTuneLooping) {
  AlarmAt0730 h;
  h.RunMinutes(3);
  ASSERT_EQ(h.sys.plays.size(), 1u);
  EXPECT_EQ(h.sys.plays[0].count, -1);
  EXPECT_EQ(h.sys.plays[0].pause, 0);
  ASSERT_EQ(h.sys.messageBoxes.size(), 1u);
  EXPECT_EQ(h.sys.messageBoxes[0].text, "早上好");
  EXPECT_EQ(h.sys.messageBoxes[0].buttonCode, 0);
  EXPECT_FALSE(h.sys.messageBoxes[0].caption);
  EXPECT_EQ(h.sys.calls.back(), "StopPlaying");  // the tune stops when the box is closed
}

TEST(AlarmClock, TheWeekdayGateFollowsTheTickedBoxes) {
  struct Case {
    const char* name;
    DateTime day;
    std::vector<Ctl> untick, tick;
    bool fires;
  };
  const std::vector<Ctl> kWorkdays = {Ctl::选择框_闹钟1周一, Ctl::选择框_闹钟1周二, Ctl::选择框_闹钟1周三,
                                      Ctl::选择框_闹钟1周四, Ctl::选择框_闹钟1周五};
  const Case cases[] = {
      {"Tuesday with Monday only", kTuesday, {Ctl::选择框_闹钟1周二, Ctl::选择框_闹钟1周三, Ctl::选择框_闹钟1周四,
                                              Ctl::选择框_闹钟1周五}, {}, false},
      {"Sunday with its box", kSunday, {}, {Ctl::选择框_闹钟1周日}, true},
      {"Sunday without its box", kSunday, {}, {}, false},
      {"no box ticked", kMonday, kWorkdays, {}, false},
  };
  for (const Case& c : cases) {
    AlarmAt0730 h(c.day);
    for (Ctl box : c.untick) h.window.UserClick(box);
    for (Ctl box : c.tick) h.window.UserClick(box);
    h.RunMinutes(3);
    EXPECT_EQ(h.sys.plays.size(), c.fires ? 1u : 0u) << c.name;
  }
}

TEST(AlarmClock, ALateTickStillFiresOnceInItsMinute) {
  ProgramHarness h(kMonday);
  h.Start();
  h.window.UserPick(Ctl::组合框_闹钟1分钟, 30);
  h.sys.clock.Advance(59'500);  // on at 07:29:59.5; the next tick comes at 07:30:01.1
  h.loop.SetLatenessPerTick(600);
  h.window.UserClick(Ctl::选择框_闹钟1开);
  h.loop.RunFor(3 * 60'000);
  EXPECT_EQ(h.sys.plays.size(), 1u);
  EXPECT_EQ(h.sys.messageBoxes.size(), 1u);
}

TEST(AlarmClock, ChangesWhileOnTakeEffectAtTheNextTick) {
  AlarmAt0730 h;
  h.window.UserPick(Ctl::组合框_闹钟1小时, 8);
  h.window.UserEdit(Ctl::编辑框_闹钟1提醒, "开会");
  h.RunMinutes(3);
  EXPECT_TRUE(h.sys.plays.empty());
  h.loop.RunFor(60 * 60'000);
  ASSERT_EQ(h.sys.messageBoxes.size(), 1u);
  EXPECT_EQ(h.sys.messageBoxes[0].text, "开会");
}

TEST(AlarmClock, AListWithNoSelectionNeverMatches) {
  AlarmAt0730 h;
  h.window.SetSelectedIndex(Ctl::组合框_闹钟1分钟, -1);
  h.RunMinutes(3);
  EXPECT_TRUE(h.sys.plays.empty());
}

TEST(AlarmClock, TheOtherAlarmFiresInsideAnOpenBox) {
  AlarmAt0730 h;
  h.window.UserPick(Ctl::组合框_闹钟2小时, 7);
  h.window.UserPick(Ctl::组合框_闹钟2分钟, 30);
  h.window.UserClick(Ctl::选择框_闹钟2周一);
  h.window.UserClick(Ctl::选择框_闹钟2开);
  h.sys.whileMessageBoxOpen = [&h](const testing::FakeServices::MessageBox&) { h.loop.RunFor(20'000); };
  h.RunMinutes(3);
  ASSERT_EQ(h.sys.messageBoxes.size(), 2u);
  std::vector<std::string> sound;
  for (const std::string& call : h.sys.calls)
    if (call == "PlayMidi" || call == "StopPlaying" || call == "ShowMessageBox") sound.push_back(call);
  EXPECT_EQ(sound, (std::vector<std::string>{"PlayMidi", "ShowMessageBox", "PlayMidi", "ShowMessageBox",
                                             "StopPlaying", "StopPlaying"}));
  EXPECT_FALSE(h.sys.playing);
}

TEST(AlarmClock, EachSwitchStartsAndStopsOnlyItsOwnTimer) {
  AlarmAt0730 h;
  h.window.UserClick(Ctl::选择框_闹钟2开);
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟2), 1000);
  h.window.UserClick(Ctl::选择框_闹钟2开);
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟2), 0);
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟1), 1000);
  EXPECT_NE(h.sys.SettingsFile()->find("闹钟2开=假\r\n"), std::string::npos);
  h.RunMinutes(3);
  EXPECT_EQ(h.sys.plays.size(), 1u);
}

TEST(AlarmClock, PlaysTheTuneDrawnAtStartUp) {
  struct Case { int drawn; const char* tune; };
  for (Case c : {Case{1, "tune1.mid"}, Case{3, "tune3.mid"}, Case{5, "tune5.mid"}}) {
    ProgramHarness h(kMonday);
    h.sys.randomAnswer = c.drawn;
    h.Start();
    EXPECT_EQ(h.program.selectedTune, c.drawn);
    h.window.UserPick(Ctl::组合框_闹钟1分钟, 30);
    h.window.UserClick(Ctl::选择框_闹钟1开);
    h.loop.RunFor(3 * 60'000);
    ASSERT_EQ(h.sys.plays.size(), 1u);
    ASSERT_EQ(h.sys.plays[0].sequences.size(), 1u);
    EXPECT_EQ(h.sys.plays[0].sequences[0].data, AssetBytes(c.tune).data) << c.tune;
  }
}

}  // namespace
}  // namespace xiuhe
