#include <gtest/gtest.h>

#include "tests/support/program_harness.h"
#include "ui/chrome.h"
#include "ui/tray_notification.h"

namespace xiuhe {
namespace {

using testing::ProgramHarness;

struct Started : ProgramHarness {
  Started() { Start(); }
};

TEST(Chrome, CloseButtonTakesTheTrayIconDownThenEndsWithCodeZero) {
  Started h;
  ASSERT_TRUE(h.sys.trayTip);
  h.sys.calls.clear();
  h.window.UserClick(Ctl::图形按钮_关闭);
  EXPECT_EQ(h.sys.calls, (std::vector<std::string>{"RemoveTrayIcon", "ExitProgram"}));
  EXPECT_FALSE(h.sys.trayTip);
  EXPECT_EQ(h.sys.exitCode, 0);
}

TEST(Chrome, MinimiseHidesTheWindowWhileTimersGoOnAndTheTrayBringsItBackAsItWas) {
  Started h;
  h.window.UserClick(Ctl::选择框_闹钟1开);  // starts alarm 1's clock
  h.window.UserSelectPage(1);
  h.window.UserClick(Ctl::图形按钮_最小化);
  EXPECT_FALSE(h.window.WindowVisible());
  EXPECT_FALSE(h.window.Visible(Ctl::选择夹1));
  EXPECT_TRUE(h.sys.trayTip);  // the icon stays
  EXPECT_EQ(h.window.Interval(Ctl::时钟_闹钟1), 1000);
  EXPECT_TRUE(h.loop.DueTime(Ctl::时钟_闹钟1));

  h.window.RaiseWindow(Event::TrayEvent);
  EXPECT_TRUE(h.window.WindowVisible());
  EXPECT_EQ(h.window.SelectedPage(), 1);
  h.window.RaiseWindow(Event::TrayEvent);  // already shown: stays shown
  EXPECT_TRUE(h.window.WindowVisible());
}

TEST(Chrome, MenuButtonHidesItselfAndOpensTheContactLinkOnlyWhenOnline) {
  for (bool online : {false, true}) {
    SCOPED_TRACE(online ? "online" : "offline");
    Started h;
    h.sys.online = online;
    h.window.UserClick(Ctl::图形按钮_菜单);
    EXPECT_FALSE(h.window.VisibleFlag(Ctl::图形按钮_菜单));
    if (!online) {
      EXPECT_TRUE(h.sys.shellRequests.empty());
      continue;
    }
    ASSERT_EQ(h.sys.shellRequests.size(), 1u);
    // Everything but the link is left out, so the shell's defaults apply.
    ShellRequest linkOnly;
    linkOnly.target = kContactLink;
    EXPECT_EQ(h.sys.shellRequests[0], linkOnly);
    EXPECT_EQ(Text(kContactLink).rfind("xmpp:", 0), 0u);
  }
}

TEST(Chrome, PressingTheHintLineHandsTheWindowToTheSystemsMoveLoop) {
  Started h;
  h.window.Raise(Ctl::透明标签_提示, Event::LeftMousePressed);
  EXPECT_EQ(h.sys.sentMessages, (std::vector<std::intptr_t>{161, 2, 0}));
}

TEST(TrayNotification, OnlyReleasesDoubleClicksAndTheContextMenuRaiseTheTrayEvent) {
  struct Case {
    unsigned message;
    int argument;
  };
  const Case cases[] = {
      {0x0202, 1},                           // left released
      {0x0203, 2},                           // left double-click
      {0x0205, 3}, {0x007B, 3},              // right released, context menu
      {0x0200, 0}, {0x0201, 0}, {0x0204, 0}, // move, left and right pressed
      {0x0207, 0}, {0x0208, 0},              // middle button
  };
  for (const Case& c : cases) EXPECT_EQ(TrayEventArgument(c.message), c.argument) << std::hex << c.message;
}

TEST(TrayNotification, TipIsCutTo62BytesWithoutSplittingACharacter) {
  const Text chinese = "岫";  // two bytes
  Text thirtyOne, thirtyTwo;
  for (int i = 0; i < 31; ++i) thirtyOne += chinese;
  thirtyTwo = thirtyOne + chinese;
  EXPECT_EQ(CutTrayTip(kTrayTip), Text(kTrayTip));
  EXPECT_EQ(CutTrayTip(thirtyOne), thirtyOne);  // exactly 62 bytes
  EXPECT_EQ(CutTrayTip(thirtyTwo), thirtyOne);
  EXPECT_EQ(CutTrayTip("a" + thirtyOne), "a" + thirtyOne.substr(0, 60));  // 61 bytes, not a half character
  EXPECT_EQ(CutTrayTip(Text(70, 'x')), Text(62, 'x'));
  EXPECT_EQ(CutTrayTip(""), "");
}

}  // namespace
}  // namespace xiuhe
