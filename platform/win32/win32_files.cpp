#include "platform/win32/win32_files.h"

namespace xiuhe::win32 {

// Placeholders until the file access lands.
std::optional<std::string> Win32FileAccess::Read(const Text&) { return std::nullopt; }
bool Win32FileAccess::Replace(const Text&, const std::string&) { return false; }

}  // namespace xiuhe::win32
