#pragma once
#include <string>
#include <string_view>

namespace xiuhe {

// A text of the program: bytes in the system ANSI code page (GBK for Chinese), lengths in bytes.
// The empty text and a missing text are one value; texts compare byte for byte and join with +.
using Text = std::string;

Text ToText(int value);     // "%d"
Text ToText(double value);  // "%.13g" in the C locale, whatever the process locale is
Text ToText(bool value);    // "真" or "假"

// Full-width characters become ASCII first; then optional white space, sign and decimal
// digits, computed in wrapping 32-bit arithmetic. No digits give 0. Like the C string it
// stands for, the text ends at its first NUL byte.
int TextToInt(std::string_view text);

int TextLength(std::string_view text);  // bytes, an embedded NUL included

// ToText of the number, with "0" put in front when that text is one byte long.
Text TwoDigitText(int value);
Text TwoDigitText(double value);

// The full-width-to-ASCII mapping shared by TextToInt and TextToTime: GBK 0xA3 0xA1..0xFE
// become ASCII 0x21..0x7E, the ideographic space a space, the full-width tilde "~", the two
// stars "*"; other two-byte characters pass unchanged, and a lead byte at the very end is dropped.
std::string FullWidthToAscii(std::string_view text);

// The part of a text before its first NUL byte: where the C functions would stop reading.
std::string_view UpToNul(std::string_view text);

}  // namespace xiuhe
