#include "shutdown/time_setter.h"

namespace xiuhe {

void StepTimeLabel(Program&, Ctl) {}

}  // namespace xiuhe
