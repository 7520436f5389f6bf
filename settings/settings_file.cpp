#include "settings/settings_file.h"

namespace xiuhe {

Text SettingsPath(Program& program) { return program.sys.GetSpecialFolder(1) + "\\配置.ini"; }
void SaveDailyShutdown(Program&) {}
void StoreAlarmValue(Program&, Ctl) {}
void ApplyStoredSettings(Program&) {}
void WriteFirstRunSettings(Program&) {}
void LoadSettings(Program&) {}

}  // namespace xiuhe
