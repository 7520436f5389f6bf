#include "platform/ini_rules.h"

#include <algorithm>

namespace xiuhe::ini {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Whether GBK has the character of that length at `at`.
bool IsSystemChar(std::string_view text, std::size_t at, std::size_t length) {
  if (length == 2) return IsTrailByte(static_cast<unsigned char>(text[at + 1]));
  return !IsLeadByte(static_cast<unsigned char>(text[at]));
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// One line's landmarks, as positions in the file; lines end at a CR or LF character.
struct Line {
  std::size_t first = kNone;  // first non-blank character
  std::size_t end = 0;        // end of the last non-blank character
  std::size_t equals = kNone; // first "="
  std::size_t nameEnd = 0;    // end of the last non-blank character before the first "="
  std::size_t bracket = kNone;  // last "]" after the first character
  std::size_t sectionEnd = 0;   // end of the last non-blank character before that "]"
  std::size_t next = 0;       // start of the following line
};

// The hot loop of every read and write: kept free of calls so that large files go quickly
// in any build.
Line ScanLine(std::string_view file, std::size_t at) {
  Line line;
  const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
  const std::size_t size = file.size();
  std::size_t i = at;
  while (i < size) {
    const unsigned char c = bytes[i];
    if (c >= 0x81 && c <= 0xFE && i + 1 < size && bytes[i + 1] != 0) {
      if (line.first == kNone) line.first = i;
      i += 2;
      line.end = i;
      continue;
    }
    if (c == '\r' || c == '\n') break;
    const bool blank = (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
    if (!blank) {
      if (line.first == kNone) line.first = i;
      if (c == '=' && line.equals == kNone) {
        line.equals = i;
        line.nameEnd = std::max(line.end, line.first);
      }
      if (c == ']' && i != line.first) {
        line.bracket = i;
        line.sectionEnd = line.end;
      }
      line.end = i + 1;
    }
    ++i;
  }
  while (i < size && (bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  line.next = i;
  return line;
}

void AppendKeyLine(std::string& out, std::string_view name, std::optional<std::string_view> value) {
  out += name;
  if (value) {
    out += '=';
    out += *value;
  }
  out += "\r\n";
}

}  // namespace

std::size_t CharLength(std::string_view text, std::size_t at) {
  if (IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() && text[at + 1] != '\0')
    return 2;
  return 1;
}

bool ReadsAsItStands(std::string_view text) {
  // Runs over whole files before every read and write, so without calls.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char b = bytes[i];
    if (b < 0x81 || b > 0xFE) continue;
    if (i + 1 >= size || bytes[i + 1] == 0) return false;
    ++i;
    if (bytes[i] < 0x40 || bytes[i] == 0x7F || bytes[i] == 0xFF) return false;
  }
  return true;
}

std::string AsSystemReadsIt(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i);
    if (IsSystemChar(text, i, length))
      result.append(text.substr(i, length));
    else
      result += '?';
    i += length;
  }
  return result;
}

bool IsBlank(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

std::string_view CutAtNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == kNone ? text : text.substr(0, nul);
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t start = kNone, end = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharLength(text, i);
    if (length == 2 || !IsBlank(text[i])) {
      if (start == kNone) start = i;
      end = i + length;
    }
    i += length;
  }
  return start == kNone ? std::string_view{} : text.substr(start, end - start);
}

std::string_view TrimLeadingBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;  // a blank byte is never half of a character
  return text.substr(i);
}

bool NamesMatch(std::string_view stored, std::string_view wanted) {
  std::size_t i = 0, j = 0;
  while (i < stored.size() && j < wanted.size()) {
    const std::size_t length = CharLength(stored, i);
    if (length != CharLength(wanted, j)) return false;
    if (length == 1) {
      if (AsciiLower(stored[i]) != AsciiLower(wanted[j])) return false;
    } else if (stored.substr(i, 2) != wanted.substr(j, 2)) {
      return false;
    }
    i += length;
    j += length;
  }
  return i == stored.size() && j == wanted.size();
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() < 2 || (value[0] != '"' && value[0] != '\'')) return value;
  std::size_t last = 0;
  for (std::size_t i = 0; i < value.size(); i += CharLength(value, i)) last = i;
  if (last == value.size() - 1 && value[last] == value[0]) return value.substr(1, value.size() - 2);
  return value;
}

std::string_view TrimDefault(std::string_view value) {
  std::size_t keep = 0;
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t length = CharLength(value, i);
    if (i == 0 || length == 2 || value[i] != ' ') keep = i + length;
    i += length;
  }
  return value.substr(0, keep);
}

Encoding DetectEncoding(std::string_view file) {
  if (file.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8;
  if (file.substr(0, 2) == "\xFF\xFE" || file.substr(0, 2) == "\xFE\xFF") return Encoding::Utf16;
  return Encoding::Ansi;
}

void ForEachEntry(std::string_view file, const std::function<bool(const Entry&)>& visit) {
  // A key line with an empty name right after another one is dropped, as the system does.
  bool hasPreviousKey = false;
  bool previousKeyNameEmpty = false;
  for (std::size_t at = 0; at < file.size();) {
    const Line line = ScanLine(file, at);
    at = line.next;
    if (line.first == kNone) continue;

    Entry entry;
    if (file[line.first] == '[' && line.bracket != kNone) {
      entry.isSection = true;
      const std::string_view inside = file.substr(line.first + 1, line.sectionEnd - line.first - 1);
      entry.name = CutAtNul(TrimLeadingBlanks(inside));
      hasPreviousKey = false;
      if (!visit(entry)) return;
      continue;
    }

    std::string_view name;
    if (line.equals != kNone) {
      name = file.substr(line.first, line.nameEnd - line.first);
      entry.value = CutAtNul(TrimLeadingBlanks(file.substr(line.equals + 1, line.end - line.equals - 1)));
    } else {
      name = file.substr(line.first, line.end - line.first);
    }
    if (name.empty() && hasPreviousKey && previousKeyNameEmpty) continue;
    entry.name = CutAtNul(name);
    hasPreviousKey = true;
    previousKeyNameEmpty = entry.name.empty();
    if (!visit(entry)) return;
  }
}

std::optional<std::string_view> FindValue(std::string_view file, std::string_view section,
                                          std::string_view key) {
  const std::string_view wantedSection = TrimBlanks(CutAtNul(section));
  const std::string_view wantedKey = TrimBlanks(CutAtNul(key));
  // Only the first section of the name counts, and in it the first key of the name.
  bool inSection = wantedSection.empty();
  std::optional<std::string_view> value;
  ForEachEntry(file, [&](const Entry& entry) {
    if (entry.isSection) {
      if (inSection) return false;
      inSection = NamesMatch(entry.name, wantedSection);
      return true;
    }
    if (inSection && NamesMatch(entry.name, wantedKey)) {
      value = entry.value;
      return false;
    }
    return true;
  });
  return value;
}

std::optional<std::string> WithValue(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value) {
  const std::string_view wantedSection = TrimBlanks(CutAtNul(section));
  const std::string_view wantedKey = TrimBlanks(CutAtNul(key));
  const std::string_view newSectionName = TrimLeadingBlanks(CutAtNul(section));
  const std::string_view newKeyName = TrimLeadingBlanks(CutAtNul(key));
  const std::string_view newValue = TrimLeadingBlanks(CutAtNul(value));

  // First pass: where the key stands, or after which entry a new key goes (-1: at the start).
  constexpr long kNowhere = -2;
  bool inSection = wantedSection.empty();
  bool sectionFound = inSection;
  long insertAfter = inSection ? -1 : kNowhere;
  long keyAt = kNowhere;
  std::optional<std::string_view> oldValue;
  long ordinal = -1;
  ForEachEntry(file, [&](const Entry& entry) {
    ++ordinal;
    if (entry.isSection) {
      if (inSection) return false;
      inSection = NamesMatch(entry.name, wantedSection);
      if (inSection) {
        sectionFound = true;
        insertAfter = ordinal;
      }
      return true;
    }
    if (!inSection) return true;
    if (NamesMatch(entry.name, wantedKey)) {
      keyAt = ordinal;
      oldValue = entry.value;
      return false;
    }
    insertAfter = ordinal;
    return true;
  });
  if (keyAt != kNowhere && oldValue == newValue) return std::nullopt;

  // Second pass: the whole file as the system writes it back.
  std::string out;
  out.reserve(file.size() + newSectionName.size() + newKeyName.size() + newValue.size() + 8);
  const bool insertKey = sectionFound && keyAt == kNowhere;
  if (insertKey && insertAfter == -1) AppendKeyLine(out, newKeyName, newValue);
  ordinal = -1;
  ForEachEntry(file, [&](const Entry& entry) {
    ++ordinal;
    if (entry.isSection) {
      if (!entry.name.empty()) {
        out += '[';
        out += entry.name;
        out += "]\r\n";
      }
    } else {
      AppendKeyLine(out, entry.name, ordinal == keyAt ? std::optional(newValue) : entry.value);
    }
    if (insertKey && ordinal == insertAfter) AppendKeyLine(out, newKeyName, newValue);
    return true;
  });
  if (!sectionFound) {
    if (!newSectionName.empty()) {
      out += '[';
      out += newSectionName;
      out += "]\r\n";
    }
    AppendKeyLine(out, newKeyName, newValue);
  }
  return out;
}

}  // namespace xiuhe::ini
