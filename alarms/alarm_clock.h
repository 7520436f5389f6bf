#pragma once
#include "app/program.h"

namespace xiuhe {

// alarm is 1 or 2.
void AlarmSwitchClicked(Program& program, int alarm);  // click of the alarm's on switch
void AlarmTick(Program& program, int alarm);           // periodic event of the alarm's timer
// Start-up: seeds the generator and draws SelectedTune from 1 to 5.
void ChooseTune(Program& program);

}  // namespace xiuhe
