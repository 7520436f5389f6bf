#pragma once
#include "platform/ini_file.h"

namespace xiuhe::win32 {

// The real file system for the INI engine; paths are ANSI texts. Files saved as UTF-8 or
// UTF-16 with a byte-order mark are read as ANSI text and written back in their encoding.
class Win32FileAccess : public FileAccess {
 public:
  std::optional<std::string> Read(const Text& path) override;
  bool Replace(const Text& path, const std::string& bytes) override;
};

}  // namespace xiuhe::win32
