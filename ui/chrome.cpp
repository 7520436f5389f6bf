#include "ui/chrome.h"

namespace xiuhe {
namespace {

constexpr unsigned kNonClientLeftButtonDown = 161;  // WM_NCLBUTTONDOWN
constexpr unsigned kCaptionHit = 2;                 // HTCAPTION

ShellRequest ContactRequest() {
  ShellRequest request;
  request.target = kContactLink;
  return request;
}

}  // namespace

void PutUpTrayIcon(Program& program) { program.sys.SetTrayIcon(AssetBytes(kTrayIconFile), kTrayTip); }

void CloseClicked(Program& program) {
  program.sys.RemoveTrayIcon();
  program.sys.ExitProgram(0);
}

// Hidden, not minimised: the tray icon stays and every timer goes on.
void MinimiseClicked(Program& program) { program.window.SetWindowVisible(false); }

void TrayEvent(Program& program) { program.window.SetWindowVisible(true); }

void MenuClicked(Program& program) {
  program.window.SetVisible(Ctl::图形按钮_菜单, false);
  if (program.sys.IsOnline()) program.sys.ShellOpen(ContactRequest());
}

// The system moves the window with the pointer until the button is released.
void HintPressed(Program& program) { program.sys.SendWindowMessage(kNonClientLeftButtonDown, kCaptionHit, 0); }

}  // namespace xiuhe
