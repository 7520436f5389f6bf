#include "tools/tools_launcher.h"

namespace xiuhe {

void OpenTool(Program&, Ctl) {}

}  // namespace xiuhe
