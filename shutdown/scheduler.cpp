#include "shutdown/scheduler.h"

namespace xiuhe {

void ArmShutdown(Program&) {}
void CancelShutdown(Program&) {}
void CountdownTick(Program&) {}
void WaitTick(Program&) {}
void ReleaseCapturedTexts(Program& program) {
  program.capturedHourText.reset();
  program.capturedMinuteText.reset();
}

}  // namespace xiuhe
