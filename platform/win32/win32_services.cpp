#include "platform/win32/win32_services.h"

#include <ole2.h>
#include <shellapi.h>

#include "platform/ini_file.h"
#include "platform/win32/system_calls.h"
#include "platform/win32/win32_midi.h"
#include "ui/tray_notification.h"
#include "ui/win32/skin.h"

namespace xiuhe::win32 {

Win32Services::Win32Services() : player_(MakeMidiPlayer()) {}

Win32Services::~Win32Services() { RemoveTrayIcon(); }

TimeValue Win32Services::CurrentTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return MakeTimeValue({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

Text Win32Services::GetSpecialFolder(int kind) { return win32::GetSpecialFolder(kind); }
bool Win32Services::FileExists(const Text& path) { return win32::FileExists(path); }

Text Win32Services::ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
  return xiuhe::ReadIniValue(files_, file, section, key, defaultValue);
}

bool Win32Services::WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value) {
  return xiuhe::WriteIniValue(files_, file, section, key, value);
}

int Win32Services::ShellOpen(const ShellRequest& request) { return win32::ShellOpen(request); }
bool Win32Services::ShutDownSystem(int mode, bool force) { return win32::ShutDownSystem(mode, force); }
bool Win32Services::IsOnline() { return win32::IsOnline(); }

void Win32Services::PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) {
  if (player_) player_->PlayMidi(count, pause, sequences);
}

void Win32Services::StopPlaying() {
  if (player_) player_->StopPlaying();
}

void Win32Services::SeedRandom(std::optional<int> seed) { random_.Seed(seed, GetTickCount()); }
int Win32Services::RandomInRange(int low, int high) { return random_.InRange(low, high); }

int Win32Services::ShowMessageBox(const Text& text, int buttonCode, const std::optional<Text>& caption) {
  UINT style = static_cast<UINT>(buttonCode);
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  int pressed = MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption.value_or(kDefaultMessageCaption)).c_str(),
                            style);
  // Buttons count from 0 for OK, one below the system's IDOK, IDCANCEL, ...
  return pressed - 1;
}

NOTIFYICONDATAW Win32Services::TrayRecord() const {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window_;
  record.uID = 1;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = trayIcon_;
  trayTip_.copy(record.szTip, std::size(record.szTip) - 1);
  return record;
}

void Win32Services::SetTrayIcon(ByteBlock icon, const Text& tip) {
  HICON made = window_ && !icon.empty() ? IconFromIcoBytes(icon) : nullptr;
  if (!made) {
    RemoveTrayIcon();
    return;
  }
  HICON old = trayIcon_;
  trayIcon_ = made;
  trayTip_ = Widen(CutTrayTip(tip));
  NOTIFYICONDATAW record = TrayRecord();
  Shell_NotifyIconW(old ? NIM_MODIFY : NIM_ADD, &record);
  if (old) DestroyIcon(old);
}

void Win32Services::RestoreTrayIcon() {
  if (!trayIcon_) return;
  NOTIFYICONDATAW record = TrayRecord();
  Shell_NotifyIconW(NIM_ADD, &record);
}

void Win32Services::RemoveTrayIcon() {
  if (!trayIcon_) return;
  NOTIFYICONDATAW record = TrayRecord();
  Shell_NotifyIconW(NIM_DELETE, &record);
  DestroyIcon(trayIcon_);
  trayIcon_ = nullptr;
}

void Win32Services::ForgetWindow() {
  RemoveTrayIcon();
  window_ = nullptr;
}

std::intptr_t Win32Services::SendWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  return window_ ? SendMessageW(window_, message, wParam, lParam) : 0;
}

void Win32Services::CloseForm() {
  if (closeRequested_ || !window_) return;
  closeRequested_ = true;
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32Services::ExitProgram(int exitCode) {
  if (endRoutine_) endRoutine_();
  RemoveTrayIcon();
  OleUninitialize();
  ExitProcess(static_cast<UINT>(exitCode));
}

bool Win32Services::OpenInstanceMark(const Text& name) {
  // The handle stays open for the life of the process, on purpose.
  return OpenEventW(EVENT_ALL_ACCESS, FALSE, Widen(name).c_str()) != nullptr;
}

bool Win32Services::CreateInstanceMark(const Text& name) {
  // Never closed: the mark lives exactly as long as this process.
  CreateEventW(nullptr, FALSE, FALSE, Widen(name).c_str());
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace xiuhe::win32
