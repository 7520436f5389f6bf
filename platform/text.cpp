#include "platform/text.h"

#include <charconv>
#include <climits>
#include <cstdint>

namespace xiuhe {

Text ToText(int value) {
  char buffer[16];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return Text(buffer, end);
}

// to_chars with a precision behaves as printf does in the C locale, so a decimal comma
// set by the user's locale can never reach the settings file.
Text ToText(double value) {
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13).ptr;
  return Text(buffer, end);
}

Text ToText(bool value) { return value ? "真" : "假"; }

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string FullWidthToAscii(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += text[i];
      continue;
    }
    if (i + 1 == text.size()) break;  // a lead byte with nothing after it
    auto trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

namespace {
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

int TextToInt(std::string_view text) {
  std::string ascii = FullWidthToAscii(UpToNul(text));
  std::size_t i = 0;
  while (i < ascii.size() && IsCSpace(ascii[i])) ++i;
  bool negative = false;
  if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) negative = ascii[i++] == '-';
  std::uint32_t value = 0;  // unsigned, so that overflow wraps instead of being undefined
  for (; i < ascii.size() && IsDigit(ascii[i]); ++i) value = value * 10u + static_cast<std::uint32_t>(ascii[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

int TextLength(std::string_view text) {
  return text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

Text TwoDigitText(int value) {
  Text text = ToText(value);
  return TextLength(text) == 1 ? "0" + text : text;
}

Text TwoDigitText(double value) {
  Text text = ToText(value);
  return TextLength(text) == 1 ? "0" + text : text;
}

}  // namespace xiuhe
