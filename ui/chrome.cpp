#include "ui/chrome.h"

namespace xiuhe {

void PutUpTrayIcon(Program&) {}
void CloseClicked(Program&) {}
void MinimiseClicked(Program&) {}
void MenuClicked(Program&) {}
void TrayEvent(Program&) {}
void HintPressed(Program&) {}

}  // namespace xiuhe
