#pragma once
#include <map>
#include <optional>
#include <string>

#include "platform/ini_file.h"

namespace xiuhe {

// The bytes of a string literal, NUL bytes inside it included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// Files held in memory, for the INI engine's tests.
class MemoryFiles : public FileAccess {
 public:
  std::optional<std::string> Read(const Text& path) override {
    ++reads;
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool Replace(const Text& path, const std::string& bytes) override {
    ++replacements;
    if (refuseWrites) return false;
    files[path] = bytes;
    return true;
  }

  std::map<Text, std::string> files;
  bool refuseWrites = false;
  int reads = 0;
  int replacements = 0;
};

}  // namespace xiuhe
