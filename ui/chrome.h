#pragma once
#include "app/program.h"

namespace xiuhe {

void PutUpTrayIcon(Program& program);  // last step of start-up
void CloseClicked(Program& program);
void MinimiseClicked(Program& program);
void MenuClicked(Program& program);
void TrayEvent(Program& program);
void HintPressed(Program& program);  // drags the window by the hint line

}  // namespace xiuhe
