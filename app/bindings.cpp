#include "alarms/alarm_clock.h"
#include "app/program.h"
#include "settings/settings_file.h"
#include "shutdown/scheduler.h"
#include "shutdown/time_setter.h"
#include "tools/tools_launcher.h"
#include "ui/chrome.h"

namespace xiuhe {
namespace {

using Routine = void (*)(Program&, Ctl);

struct HandlerRow {
  Ctl id;  // the control's own event (Def(id).event) is the one bound
  Routine routine;
};

void Store(Program& p, Ctl id) { StoreAlarmValue(p, id); }
void Tool(Program& p, Ctl id) { OpenTool(p, id); }
void Step(Program& p, Ctl id) { StepTimeLabel(p, id); }

constexpr HandlerRow kHandlers[] = {
    {Ctl::时钟_闹钟2, [](Program& p, Ctl) { AlarmTick(p, 2); }},
    {Ctl::时钟_闹钟1, [](Program& p, Ctl) { AlarmTick(p, 1); }},
    {Ctl::按钮3, Tool}, {Ctl::按钮2, Tool}, {Ctl::按钮6, Tool}, {Ctl::按钮4, Tool},
    {Ctl::按钮5, Tool}, {Ctl::按钮8, Tool}, {Ctl::按钮9, Tool}, {Ctl::按钮1, Tool},
    {Ctl::组合框_闹钟2小时, Store}, {Ctl::组合框_闹钟2分钟, Store},
    {Ctl::组合框_闹钟1分钟, Store}, {Ctl::组合框_闹钟1小时, Store},
    {Ctl::选择框_闹钟2开, [](Program& p, Ctl) { AlarmSwitchClicked(p, 2); }},
    {Ctl::选择框_闹钟1开, [](Program& p, Ctl) { AlarmSwitchClicked(p, 1); }},
    {Ctl::编辑框_闹钟2提醒, Store},
    {Ctl::选择框_闹钟2周一, Store}, {Ctl::选择框_闹钟2周二, Store}, {Ctl::选择框_闹钟2周三, Store},
    {Ctl::选择框_闹钟2周四, Store}, {Ctl::选择框_闹钟2周五, Store}, {Ctl::选择框_闹钟2周六, Store},
    {Ctl::选择框_闹钟2周日, Store},
    {Ctl::编辑框_闹钟1提醒, Store},
    {Ctl::选择框_闹钟1周一, Store}, {Ctl::选择框_闹钟1周二, Store}, {Ctl::选择框_闹钟1周三, Store},
    {Ctl::选择框_闹钟1周四, Store}, {Ctl::选择框_闹钟1周五, Store}, {Ctl::选择框_闹钟1周六, Store},
    {Ctl::选择框_闹钟1周日, Store},
    {Ctl::时钟_定时关机长, [](Program& p, Ctl) { WaitTick(p); }},
    {Ctl::时钟_定时关机短, [](Program& p, Ctl) { CountdownTick(p); }},
    {Ctl::图形按钮_立即启用, [](Program& p, Ctl) { ArmShutdown(p); }},
    {Ctl::图形按钮_取消关机, [](Program& p, Ctl) { CancelShutdown(p); }},
    {Ctl::透明标签_提示, [](Program& p, Ctl) { HintPressed(p); }},
    {Ctl::选择框1, [](Program& p, Ctl) { SaveDailyShutdown(p); }},
    {Ctl::图形按钮_小时加, Step}, {Ctl::图形按钮_分钟减, Step}, {Ctl::图形按钮_分钟加, Step},
    {Ctl::图形按钮_小时减, Step},
    {Ctl::图形按钮_关闭, [](Program& p, Ctl) { CloseClicked(p); }},
    {Ctl::图形按钮_最小化, [](Program& p, Ctl) { MinimiseClicked(p); }},
    {Ctl::图形按钮_菜单, [](Program& p, Ctl) { MenuClicked(p); }},
};

}  // namespace

void BindHandlers(Program& program) {
  for (const HandlerRow& row : kHandlers) {
    Routine routine = row.routine;
    Ctl id = row.id;
    program.window.Bind(id, Def(id).event, [&program, routine, id] { routine(program, id); });
  }
  program.window.BindWindow(Event::Created, [&program] { RunStartUp(program); });
  program.window.BindWindow(Event::TrayEvent, [&program] { TrayEvent(program); });
}

}  // namespace xiuhe
