#pragma once
#include "app/program.h"

namespace xiuhe {

// Click of one of the four arrow buttons: steps its label by one, with wrap-around.
void StepTimeLabel(Program& program, Ctl arrowButton);

}  // namespace xiuhe
