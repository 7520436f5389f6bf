#pragma once
#include "platform/text.h"

namespace xiuhe {

// The argument of the window's tray event for a mouse message reported by the tray icon:
// 1 left released, 2 left double-click, 3 right released or context menu; 0 raises nothing.
int TrayEventArgument(unsigned mouseMessage);

inline constexpr int kTrayTipLimit = 62;
// The tip as the tray takes it: at most 62 bytes, never ending inside a double-byte character.
Text CutTrayTip(const Text& tip);

}  // namespace xiuhe
