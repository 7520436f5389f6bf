#pragma once
#include "app/program.h"

namespace xiuhe {

// Click of one of the eight buttons of the tools page: one shell request.
void OpenTool(Program& program, Ctl button);

}  // namespace xiuhe
