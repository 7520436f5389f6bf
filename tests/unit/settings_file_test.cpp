#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "tests/support/program_harness.h"

namespace xiuhe {
namespace {

using testing::ProgramHarness;

const std::string kFirstRunFile =
    "[闹钟]\r\n"
    "闹钟1小时=7\r\n"
    "闹钟1分钟=0\r\n"
    "闹钟1提醒=早上好\r\n"
    "闹钟2提醒=闹钟\r\n"
    "闹钟1周一=真\r\n"
    "闹钟1周二=真\r\n"
    "闹钟1周三=真\r\n"
    "闹钟1周四=真\r\n"
    "闹钟1周五=真\r\n";

// A harness whose settings file already holds the given text.
struct StartedWith : ProgramHarness {
  explicit StartedWith(const std::string& file, const DateTime& now = {2016, 1, 13, 9, 0, 0}) : ProgramHarness(now) {
    sys.files.files[sys.documents + "配置.ini"] = file;
    Start();
  }
};

TEST(SettingsFile, FirstStartWritesTheNineFormValues) {
  ProgramHarness h({2016, 1, 13, 8, 5, 0});
  h.Start();
  EXPECT_EQ(h.sys.SettingsFile(), kFirstRunFile);
  EXPECT_EQ(h.window.Caption(Ctl::标签_小时), "08");
  EXPECT_EQ(h.window.Caption(Ctl::标签_分钟), "05");
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟1), 0);
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟2), 0);
}

TEST(SettingsFile, SecondStartShowsTheSamePageAndAddsTheSwitches) {
  StartedWith h(kFirstRunFile, {2016, 1, 13, 21, 47, 0});
  EXPECT_EQ(h.window.SelectedIndex(Ctl::组合框_闹钟1小时), 7);
  EXPECT_EQ(h.window.SelectedIndex(Ctl::组合框_闹钟2小时), 0);
  EXPECT_EQ(h.window.Content(Ctl::编辑框_闹钟1提醒), "早上好");
  EXPECT_EQ(h.window.Content(Ctl::编辑框_闹钟2提醒), "闹钟");
  EXPECT_TRUE(h.window.Checked(Ctl::选择框_闹钟1周五));
  EXPECT_FALSE(h.window.Checked(Ctl::选择框_闹钟1周六));
  EXPECT_FALSE(h.window.Checked(Ctl::选择框1));
  EXPECT_EQ(h.window.Caption(Ctl::标签_小时), "21");
  EXPECT_EQ(h.window.Caption(Ctl::标签_分钟), "47");
  EXPECT_EQ(h.sys.SettingsFile(), kFirstRunFile + "闹钟1开=假\r\n闹钟2开=假\r\n");
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟1), 0);
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟2), 0);
}

TEST(SettingsFile, EveryAlarmPageChangeIsWrittenAtOnce) {
  ProgramHarness h;
  h.Start();
  h.window.UserClick(Ctl::选择框_闹钟2周日);
  h.window.UserPick(Ctl::组合框_闹钟2分钟, 45);
  h.window.UserClick(Ctl::选择框_闹钟1周一);
  h.window.UserEdit(Ctl::编辑框_闹钟2提醒, "a");
  h.window.UserEdit(Ctl::编辑框_闹钟2提醒, "ab");
  h.window.UserEdit(Ctl::编辑框_闹钟2提醒, "");
  EXPECT_EQ(h.sys.SettingsFile(),
            "[闹钟]\r\n闹钟1小时=7\r\n闹钟1分钟=0\r\n闹钟1提醒=早上好\r\n闹钟2提醒=\r\n"
            "闹钟1周一=假\r\n闹钟1周二=真\r\n闹钟1周三=真\r\n闹钟1周四=真\r\n闹钟1周五=真\r\n"
            "闹钟2周日=真\r\n闹钟2分钟=45\r\n");

  StartedWith next(*h.sys.SettingsFile());
  EXPECT_TRUE(next.window.Checked(Ctl::选择框_闹钟2周日));
  EXPECT_FALSE(next.window.Checked(Ctl::选择框_闹钟1周一));
  EXPECT_EQ(next.window.SelectedIndex(Ctl::组合框_闹钟2分钟), 45);
  EXPECT_EQ(next.window.Content(Ctl::编辑框_闹钟2提醒), "");
}

TEST(SettingsFile, TypingWritesAtEveryChange) {
  ProgramHarness h;
  h.Start();
  int writes = h.sys.Count("WriteIniValue");
  for (const char* typed : {"a", "ab", "abc"}) h.window.UserEdit(Ctl::编辑框_闹钟1提醒, typed);
  EXPECT_EQ(h.sys.Count("WriteIniValue"), writes + 3);
  EXPECT_NE(h.sys.SettingsFile()->find("闹钟1提醒=abc\r\n"), std::string::npos);
}

TEST(SettingsFile, DailyBoxStoresTheTimeOnlyWhenTicked) {
  ProgramHarness h;
  h.Start();
  h.window.SetCaption(Ctl::标签_小时, "07");
  h.window.SetCaption(Ctl::标签_分钟, "30");
  h.window.UserClick(Ctl::选择框1);
  std::string file = *h.sys.SettingsFile();
  EXPECT_NE(file.find("[定时关机]\r\n每天都执行此关机设置=真\r\n时钟=07\r\n分钟=30\r\n"), std::string::npos);

  h.window.SetCaption(Ctl::标签_小时, "11");
  h.window.UserClick(Ctl::选择框1);
  file = *h.sys.SettingsFile();
  EXPECT_NE(file.find("每天都执行此关机设置=假\r\n时钟=07\r\n分钟=30\r\n"), std::string::npos);
}

TEST(SettingsFile, StoredDailyShutdownTicksTheBoxAndArms) {
  StartedWith h("[定时关机]\r\n每天都执行此关机设置=真\r\n时钟=07\r\n分钟=30\r\n");
  EXPECT_TRUE(h.window.Checked(Ctl::选择框1));
  EXPECT_EQ(h.window.Caption(Ctl::标签_小时), "07");
  EXPECT_EQ(h.window.Caption(Ctl::标签_分钟), "30");
  EXPECT_FALSE(h.window.VisibleFlag(Ctl::图形按钮_立即启用));  // armed: the cancel button shows
  EXPECT_EQ(h.window.Interval(Ctl::时钟_定时关机短) + h.window.Interval(Ctl::时钟_定时关机长), 1000);
}

TEST(SettingsFile, HandEditedValuesAreAppliedWithoutComplaint) {
  struct Case {
    const char* stored;
    bool flag;
    int hourIndex;
  };
  const Case cases[] = {
      {"真", true, 0},  {"1", false, 1},   {"true", false, 0}, {"abc", false, 0},
      {"30", false, 23}, {"-5", false, -1}, {"", false, 0},     {" 8", false, 8},
  };
  for (const Case& c : cases) {
    std::string file = std::string("[闹钟]\r\n闹钟1周六=") + c.stored + "\r\n闹钟1小时=" + c.stored + "\r\n";
    StartedWith h(file);
    EXPECT_EQ(h.window.Checked(Ctl::选择框_闹钟1周六), c.flag) << c.stored;
    EXPECT_EQ(h.window.SelectedIndex(Ctl::组合框_闹钟1小时), c.hourIndex) << c.stored;
  }
}

TEST(SettingsFile, AFileWithoutKeysGivesEmptyValuesNotTheFormValues) {
  StartedWith h("[闹钟]\r\n闹钟2开=假\r\n");
  EXPECT_EQ(h.window.SelectedIndex(Ctl::组合框_闹钟1小时), 0);
  EXPECT_FALSE(h.window.Checked(Ctl::选择框_闹钟1周一));
  EXPECT_EQ(h.window.Content(Ctl::编辑框_闹钟1提醒), "");
  std::string file = *h.sys.SettingsFile();
  EXPECT_NE(file.find("闹钟1提醒=\r\n"), std::string::npos);
  EXPECT_NE(file.find("闹钟2提醒=\r\n"), std::string::npos);
}

TEST(SettingsFile, AFileDeletedWhileRunningComesBackWithTheNextChange) {
  ProgramHarness h;
  h.Start();
  h.sys.files.files.clear();
  h.window.UserClick(Ctl::选择框_闹钟2周三);
  EXPECT_EQ(h.sys.SettingsFile(), "[闹钟]\r\n闹钟2周三=真\r\n");
}

TEST(SettingsFile, AnUnwritableFolderLeavesTheControlsAsTheUserSetThem) {
  ProgramHarness h;
  h.sys.files.refuseWrites = true;
  h.Start();
  EXPECT_FALSE(h.sys.SettingsFile());
  h.window.UserClick(Ctl::选择框_闹钟1开);
  EXPECT_TRUE(h.window.Checked(Ctl::选择框_闹钟1开));
  EXPECT_FALSE(h.sys.SettingsFile());
}

TEST(SettingsFile, TheAlarmSwitchesRunLastAtStart) {
  StartedWith h("[闹钟]\r\n闹钟1开=真\r\n闹钟2开=假\r\n");
  EXPECT_TRUE(h.window.Checked(Ctl::选择框_闹钟1开));
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟1), 1000);
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟2), 0);
}

}  // namespace
}  // namespace xiuhe
