#pragma once
#include <optional>
#include <string>

#include "platform/text.h"

namespace xiuhe {

// Whole-file access for the INI engine: the Win32 layer uses the real file system,
// the tests an in-memory one.
class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // The whole file as ANSI text; nullopt when it is missing or cannot be read.
  virtual std::optional<std::string> Read(const Text& path) = 0;
  // Writes the whole new file beside the old one and replaces it in one step, so a write
  // that is cut short leaves the old file or the new one.
  virtual bool Replace(const Text& path, const std::string& bytes) = 0;
};

// The INI rules of the system's profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA), on files read and written whole. Unlike them, a value is
// never cut short, and a write is all or nothing.
Text ReadIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue);
bool WriteIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                   const Text& value);

}  // namespace xiuhe
