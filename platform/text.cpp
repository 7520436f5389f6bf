#include "platform/text.h"

#include <cstdio>

namespace xiuhe {

// Placeholder conversions; the full rules come with their tests.
Text ToText(int value) { return std::to_string(value); }
Text ToText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return buffer;
}
Text ToText(bool value) { return value ? "真" : "假"; }
int TextToInt(std::string_view) { return 0; }
int TextLength(std::string_view text) { return static_cast<int>(text.size()); }
Text TwoDigitText(int value) {
  Text text = ToText(value);
  return text.size() == 1 ? "0" + text : text;
}
Text TwoDigitText(double value) {
  Text text = ToText(value);
  return text.size() == 1 ? "0" + text : text;
}
std::string FullWidthToAscii(std::string_view text) { return std::string(text); }

}  // namespace xiuhe
