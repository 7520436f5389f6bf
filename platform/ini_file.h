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
  virtual std::optional<std::string> Read(const Text& path) = 0;  // nullopt when the file cannot be read
  // Writes the whole new file beside the old one and replaces it in one step.
  virtual bool Replace(const Text& path, const std::string& bytes) = 0;
};

// The INI rules of the system's profile functions, on files read and written whole.
Text ReadIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue);
bool WriteIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                   const Text& value);

}  // namespace xiuhe
