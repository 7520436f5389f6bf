#include "settings/settings_file.h"

#include <algorithm>
#include <iterator>

#include "platform/time_value.h"
#include "shutdown/scheduler.h"

namespace xiuhe {
namespace {

constexpr const char* kShutdownSection = "定时关机";
constexpr const char* kAlarmSection = "闹钟";
constexpr const char* kDailyKey = "每天都执行此关机设置";
constexpr const char* kHourKey = "时钟";
constexpr const char* kMinuteKey = "分钟";
constexpr const char* kTrue = "真";

enum class ValueKind { Flag, Index, FreeText };

struct AlarmKey {
  Ctl control;
  const char* key;
  ValueKind kind;
};

// The alarm page's 22 keys, in the order a start reads them back.
constexpr AlarmKey kAlarmKeys[] = {
    {Ctl::组合框_闹钟1小时, "闹钟1小时", ValueKind::Index},
    {Ctl::组合框_闹钟1分钟, "闹钟1分钟", ValueKind::Index},
    {Ctl::编辑框_闹钟1提醒, "闹钟1提醒", ValueKind::FreeText},
    {Ctl::选择框_闹钟1开, "闹钟1开", ValueKind::Flag},
    {Ctl::选择框_闹钟1周一, "闹钟1周一", ValueKind::Flag},
    {Ctl::选择框_闹钟1周二, "闹钟1周二", ValueKind::Flag},
    {Ctl::选择框_闹钟1周三, "闹钟1周三", ValueKind::Flag},
    {Ctl::选择框_闹钟1周四, "闹钟1周四", ValueKind::Flag},
    {Ctl::选择框_闹钟1周五, "闹钟1周五", ValueKind::Flag},
    {Ctl::选择框_闹钟1周六, "闹钟1周六", ValueKind::Flag},
    {Ctl::选择框_闹钟1周日, "闹钟1周日", ValueKind::Flag},
    {Ctl::组合框_闹钟2小时, "闹钟2小时", ValueKind::Index},
    {Ctl::组合框_闹钟2分钟, "闹钟2分钟", ValueKind::Index},
    {Ctl::编辑框_闹钟2提醒, "闹钟2提醒", ValueKind::FreeText},
    {Ctl::选择框_闹钟2开, "闹钟2开", ValueKind::Flag},
    {Ctl::选择框_闹钟2周一, "闹钟2周一", ValueKind::Flag},
    {Ctl::选择框_闹钟2周二, "闹钟2周二", ValueKind::Flag},
    {Ctl::选择框_闹钟2周三, "闹钟2周三", ValueKind::Flag},
    {Ctl::选择框_闹钟2周四, "闹钟2周四", ValueKind::Flag},
    {Ctl::选择框_闹钟2周五, "闹钟2周五", ValueKind::Flag},
    {Ctl::选择框_闹钟2周六, "闹钟2周六", ValueKind::Flag},
    {Ctl::选择框_闹钟2周日, "闹钟2周日", ValueKind::Flag},
};
static_assert(std::size(kAlarmKeys) == 22);

// The writers a first start runs, in this order, each storing its control's form value.
constexpr Ctl kFirstRunWriters[] = {
    Ctl::组合框_闹钟1小时, Ctl::组合框_闹钟1分钟, Ctl::编辑框_闹钟1提醒, Ctl::编辑框_闹钟2提醒,
    Ctl::选择框_闹钟1周一, Ctl::选择框_闹钟1周二, Ctl::选择框_闹钟1周三, Ctl::选择框_闹钟1周四,
    Ctl::选择框_闹钟1周五,
};

const AlarmKey* FindAlarmKey(Ctl control) {
  auto found = std::find_if(std::begin(kAlarmKeys), std::end(kAlarmKeys),
                            [control](const AlarmKey& row) { return row.control == control; });
  return found == std::end(kAlarmKeys) ? nullptr : found;
}

Text Encode(Program& program, const AlarmKey& row) {
  switch (row.kind) {
    case ValueKind::Flag: return ToText(program.window.Checked(row.control));
    case ValueKind::Index: return ToText(program.window.SelectedIndex(row.control));
    case ValueKind::FreeText: break;
  }
  return program.window.Content(row.control);
}

void Decode(Program& program, const AlarmKey& row, const Text& stored) {
  switch (row.kind) {
    case ValueKind::Flag: program.window.SetChecked(row.control, stored == kTrue); return;
    case ValueKind::Index: program.window.SetSelectedIndex(row.control, TextToInt(stored)); return;
    case ValueKind::FreeText: program.window.SetContent(row.control, stored); return;
  }
}

Text Read(Program& program, const char* section, const char* key) {
  return program.sys.ReadIniValue(SettingsPath(program), section, key, Text());
}

void Write(Program& program, const char* section, const char* key, const Text& value) {
  program.sys.WriteIniValue(SettingsPath(program), section, key, value);
}

void ShowPresentTime(Program& program) {
  program.window.SetCaption(Ctl::标签_小时, TwoDigitText(HourOf(program.sys.CurrentTime())));
  program.window.SetCaption(Ctl::标签_分钟, TwoDigitText(MinuteOf(program.sys.CurrentTime())));
}

}  // namespace

Text SettingsPath(Program& program) { return program.sys.GetSpecialFolder(1) + "\\配置.ini"; }

void SaveDailyShutdown(Program& program) {
  if (!program.window.Checked(Ctl::选择框1)) {
    Write(program, kShutdownSection, kDailyKey, ToText(false));
    return;
  }
  Write(program, kShutdownSection, kDailyKey, ToText(true));
  Write(program, kShutdownSection, kHourKey, program.window.Caption(Ctl::标签_小时));
  Write(program, kShutdownSection, kMinuteKey, program.window.Caption(Ctl::标签_分钟));
}

void StoreAlarmValue(Program& program, Ctl control) {
  if (const AlarmKey* row = FindAlarmKey(control)) Write(program, kAlarmSection, row->key, Encode(program, *row));
}

void ApplyStoredSettings(Program& program) {
  if (Read(program, kShutdownSection, kDailyKey) == kTrue) {
    program.window.SetChecked(Ctl::选择框1, true);
    program.window.SetCaption(Ctl::标签_小时, Read(program, kShutdownSection, kHourKey));
    program.window.SetCaption(Ctl::标签_分钟, Read(program, kShutdownSection, kMinuteKey));
    ArmShutdown(program);
  } else {
    ShowPresentTime(program);
  }
  for (const AlarmKey& row : kAlarmKeys) Decode(program, row, Read(program, kAlarmSection, row.key));
  // The switches' own click handlers store their flags again and start or stop the alarm timers.
  program.window.Raise(Ctl::选择框_闹钟1开, Event::Clicked);
  program.window.Raise(Ctl::选择框_闹钟2开, Event::Clicked);
}

void WriteFirstRunSettings(Program& program) {
  ShowPresentTime(program);
  for (Ctl writer : kFirstRunWriters) StoreAlarmValue(program, writer);
}

void LoadSettings(Program& program) {
  if (program.sys.FileExists(SettingsPath(program)))
    ApplyStoredSettings(program);
  else
    WriteFirstRunSettings(program);
}

}  // namespace xiuhe
