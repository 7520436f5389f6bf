#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/controls.h"
#include "ui/picture_button.h"

namespace xiuhe::win32 {

// Control ids (and timer ids) are the table index plus this, clear of IDOK and IDCANCEL.
inline constexpr int kFirstControlId = 1000;

// Messages the window's own controls send to the main window.
inline constexpr UINT kLabelPressedMessage = WM_APP + 2;  // wParam: control index, lParam: point
inline constexpr UINT kPickMessage = WM_APP + 3;          // wParam: control index; the queued pick

// One real control and what it needs to draw itself; owned by the main window.
struct ControlSlot {
  const ControlDef* def = nullptr;
  const ControlSlot* parent = nullptr;  // nullptr for a direct child of the main window
  HWND window = nullptr;
  HFONT font = nullptr;
  HBITMAP normal = nullptr, hover = nullptr, disabled = nullptr;
  std::uint32_t textColour = 0;
  PictureButton pointer;  // the picture button's pointer state

  Ctl id() const { return def->id; }
  HBITMAP PictureNamed(const char* name) const;
};

std::wstring WindowText(HWND window);
// Edit boxes and drop-down lists keep what they show in buffers of their own; this stores it as the
// window text too, where other programs (screen readers, test probes) read it.
void PublishShownText(HWND control);

}  // namespace xiuhe::win32
