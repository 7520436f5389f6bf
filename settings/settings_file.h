#pragma once
#include "app/program.h"

namespace xiuhe {

// The documents folder's "配置.ini", computed afresh at each use.
Text SettingsPath(Program& program);

// Click of 选择框1, and the last step of arming a shutdown.
void SaveDailyShutdown(Program& program);
// The writer of one alarm-page control (list, reminder, switch or weekday box).
void StoreAlarmValue(Program& program, Ctl control);

void ApplyStoredSettings(Program& program);
void WriteFirstRunSettings(Program& program);
// Start-up: the stored settings when the file exists, else the first-run values.
void LoadSettings(Program& program);

}  // namespace xiuhe
