#include "alarms/alarm_clock.h"

namespace xiuhe {

void AlarmSwitchClicked(Program&, int) {}
void AlarmTick(Program&, int) {}
void ChooseTune(Program&) {}

}  // namespace xiuhe
