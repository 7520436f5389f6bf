#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The rules by which the system's profile functions read and write an INI file, applied
// to the file's bytes. Characters are those of the ANSI code page 936 (GBK): a byte
// 0x81..0xFE followed by a non-zero byte is one two-byte character, so trail bytes such
// as 0x5C or 0x5D are never taken for "\" or "]".
namespace xiuhe::ini {

std::size_t CharLength(std::string_view text, std::size_t at);  // 1 or 2

// The text as the system holds it after its round trip through UTF-16: a two-byte
// character that GBK does not have, and a lead byte left alone, each become one "?".
std::string AsSystemReadsIt(std::string_view text);
bool ReadsAsItStands(std::string_view text);  // AsSystemReadsIt would change nothing
bool IsBlank(char c);  // the profile functions' white space: tab to carriage return, ^Z, space

std::string_view CutAtNul(std::string_view text);  // the system sees C strings
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimLeadingBlanks(std::string_view text);
bool NamesMatch(std::string_view stored, std::string_view wanted);  // ASCII letters in any case
std::string_view StripQuotes(std::string_view value);  // one pair of matching ' or "
std::string_view TrimDefault(std::string_view value);  // trailing spaces, keeping the first character

enum class Encoding { Ansi, Utf8, Utf16 };
Encoding DetectEncoding(std::string_view file);  // by the byte-order mark

struct Entry {
  bool isSection = false;
  std::string_view name;                   // a section name or a key name
  std::optional<std::string_view> value;   // keys only; none on a line without "="
};

// Visits the section headers and key lines of an ANSI file in order, until visit answers false.
// Keys before the first header belong to a nameless section.
void ForEachEntry(std::string_view file, const std::function<bool(const Entry&)>& visit);

// The value of a key: none when the section, the key or its "=" is missing.
std::optional<std::string_view> FindValue(std::string_view file, std::string_view section,
                                          std::string_view key);

// The whole file with the key set to value, as the system writes it; none when the key
// already holds that value and the file is to stay untouched.
std::optional<std::string> WithValue(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value);

}  // namespace xiuhe::ini
