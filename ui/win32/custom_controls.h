#pragma once
#include <windows.h>

#include "ui/win32/control_slot.h"

namespace xiuhe::win32 {

// Window classes of the kinds no standard control provides: label, transparent label,
// picture box and picture button. Each window keeps its ControlSlot in GWLP_USERDATA.
bool RegisterControlClasses(HINSTANCE instance);
const wchar_t* ClassNameFor(Kind kind);

// Standard controls that hold other controls receive their children's notifications; this passes
// them on to the main window, which handles them all, and mends what each kind lacks as a container.
enum class Container { Tabs, GroupBox };
void AdaptContainer(HWND container, Container kind);

// Starts the system's move loop on the main window, as a press on a title bar would.
void StartWindowDrag(HWND control);

}  // namespace xiuhe::win32
