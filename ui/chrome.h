#pragma once
#include "app/program.h"

namespace xiuhe {

inline constexpr const char* kTrayIconFile = "program.ico";
// Opens a chat with the maker in a desktop XMPP messenger.
inline constexpr const char* kContactLink = "xmpp:xiuhe@jabber.org?message";

void PutUpTrayIcon(Program& program);  // last step of start-up
void CloseClicked(Program& program);
void MinimiseClicked(Program& program);
void MenuClicked(Program& program);
void TrayEvent(Program& program);
void HintPressed(Program& program);  // drags the window by the hint line

}  // namespace xiuhe
