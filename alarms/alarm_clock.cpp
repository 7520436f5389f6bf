#include "alarms/alarm_clock.h"

#include <array>
#include <string>

#include "platform/time_value.h"
#include "settings/settings_file.h"

namespace xiuhe {
namespace {

struct AlarmControls {
  Ctl onSwitch, hourList, minuteList, reminder, timer;
  std::array<Ctl, 7> weekdays;  // Monday to Sunday
};

constexpr AlarmControls kAlarms[] = {
    {Ctl::选择框_闹钟1开, Ctl::组合框_闹钟1小时, Ctl::组合框_闹钟1分钟, Ctl::编辑框_闹钟1提醒, Ctl::时钟_闹钟1,
     {Ctl::选择框_闹钟1周一, Ctl::选择框_闹钟1周二, Ctl::选择框_闹钟1周三, Ctl::选择框_闹钟1周四,
      Ctl::选择框_闹钟1周五, Ctl::选择框_闹钟1周六, Ctl::选择框_闹钟1周日}},
    {Ctl::选择框_闹钟2开, Ctl::组合框_闹钟2小时, Ctl::组合框_闹钟2分钟, Ctl::编辑框_闹钟2提醒, Ctl::时钟_闹钟2,
     {Ctl::选择框_闹钟2周一, Ctl::选择框_闹钟2周二, Ctl::选择框_闹钟2周三, Ctl::选择框_闹钟2周四,
      Ctl::选择框_闹钟2周五, Ctl::选择框_闹钟2周六, Ctl::选择框_闹钟2周日}},
};

// WeekdayOf numbers Sunday 1 to Saturday 7; the boxes run Monday to Sunday.
constexpr int kWeekdayNumbers[7] = {2, 3, 4, 5, 6, 7, 1};

constexpr int kAlarmPeriod = 1000;
constexpr int kLoopForever = -1;

const AlarmControls& ControlsOf(int alarm) { return kAlarms[alarm == 2 ? 1 : 0]; }

ByteBlock SelectedTuneBytes(int selectedTune) {
  int tune = selectedTune >= 1 && selectedTune <= 4 ? selectedTune : 5;
  return AssetBytes("tune" + std::to_string(tune) + ".mid");
}

// The minute the clock shows now, as a whole-minute time.
TimeValue PresentMinute(Services& sys) {
  DateTime now = DateTimeOf(sys.CurrentTime());
  now.second = 0;
  return MakeTimeValue(now);
}

void FireAlarm(Program& program, int alarm) {
  const AlarmControls& controls = ControlsOf(alarm);
  WindowModel& window = program.window;
  Services& sys = program.sys;
  if (HourOf(sys.CurrentTime()) != window.SelectedIndex(controls.hourList)) return;
  if (MinuteOf(sys.CurrentTime()) != window.SelectedIndex(controls.minuteList)) return;
  // Ticks drift against the clock's seconds, so the first tick in the set minute fires, once.
  std::optional<TimeValue>& lastFire = program.lastAlarmFire[alarm == 2 ? 1 : 0];
  TimeValue minute = PresentMinute(sys);
  if (lastFire == minute) return;
  lastFire = minute;

  sys.PlayMidi(kLoopForever, kDefaultPause, {SelectedTuneBytes(program.selectedTune)});
  sys.ShowMessageBox(window.Content(controls.reminder), 0, std::nullopt);
  sys.StopPlaying();
}

}  // namespace

void AlarmSwitchClicked(Program& program, int alarm) {
  const AlarmControls& controls = ControlsOf(alarm);
  StoreAlarmValue(program, controls.onSwitch);
  program.window.SetInterval(controls.timer, program.window.Checked(controls.onSwitch) ? kAlarmPeriod : 0);
}

void AlarmTick(Program& program, int alarm) {
  const AlarmControls& controls = ControlsOf(alarm);
  for (int day = 0; day < 7; ++day) {
    if (program.window.Checked(controls.weekdays[day]) &&
        WeekdayOf(program.sys.CurrentTime()) == kWeekdayNumbers[day]) {
      FireAlarm(program, alarm);
      return;
    }
  }
}

void ChooseTune(Program& program) {
  program.sys.SeedRandom(std::nullopt);
  program.selectedTune = program.sys.RandomInRange(1, 5);
}

}  // namespace xiuhe
