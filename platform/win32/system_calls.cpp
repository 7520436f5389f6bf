#include "platform/win32/system_calls.h"

#include <windows.h>

namespace xiuhe::win32 {

// Placeholders until the system calls land.
Text GetSpecialFolder(int) { return {}; }
bool FileExists(const Text&) { return false; }
int ShellOpen(const ShellRequest&) { return 0; }
bool ShutDownSystem(int, bool) { return false; }
bool IsOnline() { return false; }

std::wstring Widen(const Text& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

Text Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  Text narrow(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace xiuhe::win32
