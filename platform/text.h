#pragma once
#include <string>
#include <string_view>

namespace xiuhe {

// A text of the program: bytes in the system ANSI code page (GBK for Chinese), lengths in bytes.
// The empty text and a missing text are one value; texts compare byte for byte and join with +.
using Text = std::string;

Text ToText(int value);     // "%d"
Text ToText(double value);  // "%.13g"
Text ToText(bool value);    // "真" or "假"

// Full-width characters become ASCII first; then optional white space, sign and decimal
// digits, computed in wrapping 32-bit arithmetic. No digits give 0.
int TextToInt(std::string_view text);

int TextLength(std::string_view text);

// ToText of the number, with "0" put in front when that text is one byte long.
Text TwoDigitText(int value);
Text TwoDigitText(double value);

// The full-width-to-ASCII mapping shared by TextToInt and TextToTime.
std::string FullWidthToAscii(std::string_view text);

}  // namespace xiuhe
