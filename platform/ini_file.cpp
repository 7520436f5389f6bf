#include "platform/ini_file.h"

#include "platform/ini_rules.h"

namespace xiuhe {
namespace {

// Names reach the system as C strings, with the leading control bytes and spaces skipped.
std::string_view SkipControlBytes(std::string_view text) {
  text = ini::CutAtNul(text);
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) >= 1 && static_cast<unsigned char>(text[i]) <= 32) ++i;
  return text.substr(i);
}

}  // namespace

Text ReadIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue) {
  const std::string_view path = SkipControlBytes(file);
  const std::string_view sectionName = SkipControlBytes(section);
  const std::string_view keyName = SkipControlBytes(key);
  if (path.empty() || sectionName.empty() || keyName.empty()) return {};

  const std::string_view fallback = ini::TrimDefault(ini::CutAtNul(defaultValue));
  const std::optional<std::string> bytes = files.Read(Text(path));
  // Files with a byte-order mark hold no ANSI text; their keys are not ours to read.
  if (!bytes || ini::DetectEncoding(*bytes) != ini::Encoding::Ansi) return Text(ini::StripQuotes(fallback));
  const std::optional<std::string_view> value = ini::FindValue(*bytes, sectionName, keyName);
  // The whole value, however long: the system's own call would cut it at 10239 bytes.
  return Text(ini::StripQuotes(value ? *value : fallback));
}

bool WriteIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                   const Text& value) {
  const Text path(ini::CutAtNul(file));
  if (path.empty()) return false;
  const std::optional<std::string> bytes = files.Read(path);
  const std::string_view current = bytes ? std::string_view(*bytes) : std::string_view{};
  // Rewriting a UTF-8 or UTF-16 file with ANSI bytes would spoil it; leave it as it is.
  if (ini::DetectEncoding(current) != ini::Encoding::Ansi) return false;
  const std::optional<std::string> updated = ini::WithValue(current, section, key, value);
  if (!updated) return true;
  return files.Replace(path, *updated);
}

}  // namespace xiuhe
