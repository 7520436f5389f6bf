#include <gtest/gtest.h>

#include "tests/support/fake_loop.h"
#include "ui/window_model.h"

namespace xiuhe {
namespace {

class WindowModelTest : public ::testing::Test {
 protected:
  WindowModelTest() {
    clock.Set({2016, 1, 13, 9, 0, 0});
    window.SetTimerHost(&loop);
    window.SetWindowVisible(true);
  }

  WindowModel window;
  testing::FakeClock clock;
  testing::FakeLoop loop{window, clock};
};

TEST_F(WindowModelTest, StartsWithTheFormValues) {
  EXPECT_EQ(window.SelectedIndex(Ctl::组合框_闹钟1小时), 7);
  EXPECT_EQ(window.SelectedIndex(Ctl::组合框_闹钟2分钟), 0);
  EXPECT_EQ(window.Content(Ctl::编辑框_闹钟1提醒), "早上好");
  EXPECT_TRUE(window.Checked(Ctl::选择框_闹钟1周五));
  EXPECT_FALSE(window.Checked(Ctl::选择框_闹钟1周六));
  EXPECT_EQ(window.Caption(Ctl::透明标签_倒计时), "30");
  EXPECT_EQ(window.Interval(Ctl::时钟_定时关机短), 0);
  EXPECT_FALSE(window.Visible(Ctl::透明标签_秒));
  EXPECT_TRUE(window.Visible(Ctl::图形按钮_立即启用));
  EXPECT_EQ(window.ItemCount(Ctl::组合框_闹钟1小时), 24);
  EXPECT_EQ(WindowModel::ItemText(Ctl::组合框_闹钟1小时, 7), "7");
  EXPECT_EQ(WindowModel::ItemText(Ctl::组合框_闹钟1分钟, 7), "07");
}

TEST_F(WindowModelTest, SelectedIndexIsClampedToTheList) {
  struct Case { int written, read; };
  for (Case c : {Case{99, 23}, Case{-7, -1}, Case{7, 7}, Case{23, 23}, Case{24, 23}, Case{-1, -1}}) {
    window.SetSelectedIndex(Ctl::组合框_闹钟1小时, c.written);
    EXPECT_EQ(window.SelectedIndex(Ctl::组合框_闹钟1小时), c.read) << c.written;
  }
  window.SetSelectedIndex(Ctl::组合框_闹钟1分钟, 99);
  EXPECT_EQ(window.SelectedIndex(Ctl::组合框_闹钟1分钟), 59);
}

TEST_F(WindowModelTest, IntervalWritesKeepOrRestartThePhase) {
  window.SetInterval(Ctl::时钟_闹钟1, 1000);
  clock.Advance(400);
  window.SetInterval(Ctl::时钟_闹钟1, 1000);  // equal: the next tick keeps its due time
  EXPECT_EQ(loop.DueTime(Ctl::时钟_闹钟1), 9 * 3600 * 1000 + 1000);
  window.SetInterval(Ctl::时钟_闹钟1, 500);  // new value: restarted from now
  EXPECT_EQ(loop.DueTime(Ctl::时钟_闹钟1), 9 * 3600 * 1000 + 400 + 500);
  window.SetInterval(Ctl::时钟_闹钟1, -5);
  EXPECT_EQ(window.Interval(Ctl::时钟_闹钟1), 0);
  EXPECT_FALSE(loop.DueTime(Ctl::时钟_闹钟1));
}

TEST_F(WindowModelTest, OnlyUserActionsAndContentWritesRaiseEvents) {
  int clicked = 0, picked = 0, changed = 0;
  window.Bind(Ctl::选择框_闹钟1周六, Event::Clicked, [&] { ++clicked; });
  window.Bind(Ctl::组合框_闹钟1小时, Event::ListItemSelected, [&] { ++picked; });
  window.Bind(Ctl::编辑框_闹钟1提醒, Event::TextChanged, [&] { ++changed; });

  window.SetChecked(Ctl::选择框_闹钟1周六, true);
  window.SetSelectedIndex(Ctl::组合框_闹钟1小时, 3);
  EXPECT_EQ(clicked + picked, 0);

  bool tickSeenByHandler = false;
  window.Bind(Ctl::选择框_闹钟1周六, Event::Clicked,
              [&] { tickSeenByHandler = !window.Checked(Ctl::选择框_闹钟1周六); });
  window.UserClick(Ctl::选择框_闹钟1周六);
  EXPECT_EQ(clicked, 1);
  EXPECT_TRUE(tickSeenByHandler);  // the tick changed before the handler ran

  window.UserPick(Ctl::组合框_闹钟1小时, 12);
  EXPECT_EQ(picked, 1);
  EXPECT_EQ(window.SelectedIndex(Ctl::组合框_闹钟1小时), 12);

  window.SetContent(Ctl::编辑框_闹钟1提醒, "早上好");  // the same text still raises it, once
  EXPECT_EQ(changed, 1);
  window.UserEdit(Ctl::编辑框_闹钟1提醒, "早上好!");
  EXPECT_EQ(changed, 2);
}

TEST_F(WindowModelTest, ContentWriteRunsTheHandlerInsideTheWrite) {
  Text seen;
  window.Bind(Ctl::编辑框_闹钟2提醒, Event::TextChanged, [&] { seen = window.Content(Ctl::编辑框_闹钟2提醒); });
  window.SetContent(Ctl::编辑框_闹钟2提醒, "起床");
  EXPECT_EQ(seen, "起床");
}

TEST_F(WindowModelTest, VisibleOfAPageControlWaitsForItsPage) {
  window.UserSelectPage(1);
  EXPECT_FALSE(window.Visible(Ctl::图形按钮_立即启用));
  EXPECT_TRUE(window.Visible(Ctl::选择框_闹钟1开));
  window.SetVisible(Ctl::图形按钮_立即启用, false);
  window.SetVisible(Ctl::图形按钮_立即启用, true);
  EXPECT_FALSE(window.Visible(Ctl::图形按钮_立即启用));
  window.SetVisible(Ctl::图形按钮_小时加, false);
  window.UserSelectPage(0);
  EXPECT_TRUE(window.Visible(Ctl::图形按钮_立即启用));
  EXPECT_FALSE(window.Visible(Ctl::图形按钮_小时加));  // the flag written on another page holds
  EXPECT_FALSE(window.Visible(Ctl::选择框_闹钟1开));
  EXPECT_FALSE(window.Visible(Ctl::时钟_闹钟1));  // timers are never on screen

  window.SetWindowVisible(false);
  EXPECT_FALSE(window.Visible(Ctl::图形按钮_立即启用));
  window.SetWindowVisible(true);
  EXPECT_TRUE(window.Visible(Ctl::图形按钮_立即启用));
}

TEST_F(WindowModelTest, TicksReachTheirTimerOnlyWhileItRuns) {
  int ticks = 0;
  window.Bind(Ctl::时钟_闹钟2, Event::Periodic, [&] { ++ticks; });
  window.SetInterval(Ctl::时钟_闹钟2, 1000);
  loop.RunFor(3500);
  EXPECT_EQ(ticks, 3);
  window.SetInterval(Ctl::时钟_闹钟2, 0);
  loop.RunFor(3000);
  window.Tick(Ctl::时钟_闹钟2);  // a tick already queued when the timer stopped
  EXPECT_EQ(ticks, 3);
}

TEST_F(WindowModelTest, AHandlerWaitingInALoopMergesMissedTicks) {
  int ticks = 0, nested = 0;
  window.Bind(Ctl::时钟_闹钟1, Event::Periodic, [&] {
    ++ticks;
    if (ticks == 1) {  // as a modal box would: the loop runs on inside the handler
      loop.RunFor(2500);
      nested = ticks - 1;
      clock.Advance(5000);  // then the handler holds the loop without running it
    }
  });
  window.SetInterval(Ctl::时钟_闹钟1, 1000);
  loop.RunFor(1000);
  EXPECT_EQ(nested, 2);  // ticks went on inside the wait
  int before = ticks;
  loop.RunFor(1);  // the five missed seconds come as one pending tick
  EXPECT_EQ(ticks, before + 1);
}

}  // namespace
}  // namespace xiuhe
