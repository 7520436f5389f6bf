#pragma once
#include "platform/services.h"

namespace xiuhe::win32 {

Text GetSpecialFolder(int kind);
bool FileExists(const Text& path);
int ShellOpen(const ShellRequest& request);
bool ShutDownSystem(int mode, bool force);
bool IsOnline();
// GBK (the ANSI code page) to UTF-16 and back, at the edge of every W function.
std::wstring Widen(const Text& text);
Text Narrow(const std::wstring& text);

}  // namespace xiuhe::win32
