#include "platform/ini_file.h"

#include "platform/ini_rules.h"

namespace xiuhe {
namespace {

// A caller's text as the system's functions receive it: a C string in the ANSI code page.
Text AsSystemText(std::string_view text) {
  text = ini::CutAtNul(text);
  return ini::ReadsAsItStands(text) ? Text(text) : ini::AsSystemReadsIt(text);
}

std::string_view SkipControlBytes(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) >= 1 && static_cast<unsigned char>(text[i]) <= 32) ++i;
  return text.substr(i);
}

enum class FileState { Missing, Ansi, Foreign };

// The file's text as the system reads it. Files with a byte-order mark hold no ANSI text:
// they are not this engine's to read, and rewriting them with ANSI bytes would spoil them.
FileState ReadFileText(FileAccess& files, const Text& path, std::string& text) {
  std::optional<std::string> bytes = files.Read(path);
  if (!bytes) return FileState::Missing;
  if (ini::DetectEncoding(*bytes) != ini::Encoding::Ansi) return FileState::Foreign;
  text = ini::ReadsAsItStands(*bytes) ? std::move(*bytes) : ini::AsSystemReadsIt(*bytes);
  return FileState::Ansi;
}

}  // namespace

Text ReadIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue) {
  // Leading control bytes and spaces of the three names are skipped; an empty one reads nothing.
  const std::string_view path = SkipControlBytes(ini::CutAtNul(file));
  const Text sectionName = AsSystemText(SkipControlBytes(ini::CutAtNul(section)));
  const Text keyName = AsSystemText(SkipControlBytes(ini::CutAtNul(key)));
  if (path.empty() || sectionName.empty() || keyName.empty()) return {};

  const Text defaultText = AsSystemText(defaultValue);
  const std::string_view fallback = ini::TrimDefault(defaultText);
  std::string text;
  if (ReadFileText(files, Text(path), text) != FileState::Ansi) return Text(ini::StripQuotes(fallback));
  const std::optional<std::string_view> value = ini::FindValue(text, sectionName, keyName);
  // The whole value, however long: the system's own call would cut it at 10239 bytes.
  return Text(ini::StripQuotes(value ? *value : fallback));
}

bool WriteIniValue(FileAccess& files, const Text& file, const Text& section, const Text& key,
                   const Text& value) {
  const Text path(ini::CutAtNul(file));
  if (path.empty()) return false;
  std::string text;
  if (ReadFileText(files, path, text) == FileState::Foreign) return false;
  const std::optional<std::string> updated =
      ini::WithValue(text, AsSystemText(section), AsSystemText(key), AsSystemText(value));
  if (!updated) return true;
  return files.Replace(path, *updated);
}

}  // namespace xiuhe
