#pragma once
#include <windows.h>

#include <array>

#include "ui/win32/control_slot.h"
#include "ui/window_model.h"

namespace xiuhe::win32 {

using ControlSlots = std::array<ControlSlot, kControlCount>;

// Creates a real child window for every control of the table except the timers, each under its
// parent, stacked in table order within its parent, showing the model's present state.
bool CreateControls(HWND mainWindow, HINSTANCE instance, const WindowModel& model, ControlSlots& slots);

// Fonts and pictures of the controls, once their windows are gone.
void ReleaseControlResources(ControlSlots& slots);

}  // namespace xiuhe::win32
