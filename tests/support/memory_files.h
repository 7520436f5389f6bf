#pragma once
#include <map>

#include "platform/ini_file.h"

namespace xiuhe::testing {

// Files held in memory by path; a path in `unwritable` refuses every write.
class MemoryFiles : public FileAccess {
 public:
  std::optional<std::string> Read(const Text& path) override {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool Replace(const Text& path, const std::string& bytes) override {
    if (readOnly) return false;
    files[path] = bytes;
    return true;
  }

  std::map<Text, std::string> files;
  bool readOnly = false;
};

}  // namespace xiuhe::testing
