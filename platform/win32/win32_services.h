#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>

#include "platform/midi_player.h"
#include "platform/random.h"
#include "platform/services.h"
#include "platform/win32/win32_files.h"

namespace xiuhe::win32 {

// The notification the tray icon sends to the main window; lParam carries the mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The real system behind the Services seam, on the one user-interface thread.
class Win32Services : public Services {
 public:
  Win32Services();
  ~Win32Services() override;

  // The main window, once it exists; the window operations act on it.
  void AttachWindow(HWND window) { window_ = window; }
  // The one routine every end of the program goes through (exit hooks, sound player).
  void SetEndRoutine(std::function<void()> routine) { endRoutine_ = std::move(routine); }
  bool CloseRequested() const { return closeRequested_; }
  // The taskbar came back (Explorer restarted): put the icon up again if one was up.
  void RestoreTrayIcon();
  // The window is going: its tray icon goes with it.
  void ForgetWindow();

  TimeValue CurrentTime() override;

  Text GetSpecialFolder(int kind) override;
  bool FileExists(const Text& path) override;
  Text ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue) override;
  bool WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value) override;

  int ShellOpen(const ShellRequest& request) override;
  bool ShutDownSystem(int mode, bool force) override;
  bool IsOnline() override;

  void PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) override;
  void StopPlaying() override;

  void SeedRandom(std::optional<int> seed) override;
  int RandomInRange(int low, int high) override;

  int ShowMessageBox(const Text& text, int buttonCode, const std::optional<Text>& caption) override;
  void SetTrayIcon(ByteBlock icon, const Text& tip) override;
  void RemoveTrayIcon() override;
  std::intptr_t SendWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void CloseForm() override;
  void ExitProgram(int exitCode) override;

  bool OpenInstanceMark(const Text& name) override;
  bool CreateInstanceMark(const Text& name) override;

 private:
  NOTIFYICONDATAW TrayRecord() const;

  HWND window_ = nullptr;
  HICON trayIcon_ = nullptr;
  std::wstring trayTip_;
  bool closeRequested_ = false;
  std::function<void()> endRoutine_;
  Win32FileAccess files_;
  RandomGenerator random_;
  std::unique_ptr<MidiPlayer> player_;
};

}  // namespace xiuhe::win32
