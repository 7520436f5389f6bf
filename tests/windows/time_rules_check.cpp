// Compares our text and time rules with the system's own: OLE Automation dates
// (SystemTimeToVariantTime, VariantTimeToSystemTime), file times for exact second counts, the C
// runtime's "%.13g", and code page 936 (MultiByteToWideChar, WideCharToMultiByte).
//
// Where our rules differ from the system on purpose, the difference is checked as such:
// - VariantTimeToSystemTime may cut a fraction of a second where we go to the nearest second
//   (Wine rounds as we do); that is counted and noted, not failed.
// - msvcrt writes an exponent with at least three digits ("1e+013"); we write two, as C does.
// - Our full-width mapping works on the byte pair: 0xA3 0xA4 (U+FFE5, the full-width yen sign)
//   becomes "$" and 0xA3 0xFE (U+FFE3, the full-width macron) becomes "~". Neither is a digit,
//   sign, space or separator, so no number or time read changes.
// - Every byte from 0x80 up starts a two-byte character; code page 936 has 0x80 (the euro sign)
//   and 0xFF as single bytes. Neither is a digit, sign or space either.
#include <windows.h>
#include <oleauto.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/text.h"
#include "platform/time_value.h"

namespace {

using namespace xiuhe;

int passed = 0;
int failed = 0;

template <typename... Args>
void Expect(bool same, const char* format, Args... args) {
  if (same) {
    ++passed;
    return;
  }
  ++failed;
  std::printf("DIFFERENT ");
  std::printf(format, args...);
  std::printf("\n");
}

// The system adds the time of day to the date in its own order, so its values may differ from
// ours in the last bit; that is the same second, and no part taken apart changes.
bool SameTime(double system, double ours) {
  return system == ours || std::nextafter(system, ours) == ours;
}

std::string Hex(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    char code[8];
    std::snprintf(code, sizeof code, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
    shown += code;
  }
  return shown;
}

// A deterministic stream of numbers, so every run checks the same values.
struct Sequence {
  std::uint64_t state = 0x2545F4914F6CDD1DULL;
  std::uint32_t Next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state >> 33);
  }
  int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<std::uint32_t>(high - low + 1)); }
};

int DaysInMonth(int year, int month) {
  if (year == 9999 && month == 12) return 31;
  SYSTEMTIME first{};
  first.wYear = static_cast<WORD>(year);
  first.wMonth = static_cast<WORD>(month);
  first.wDay = 1;
  double start = 0;
  SystemTimeToVariantTime(&first, &start);
  if (month == 12) {
    first.wYear = static_cast<WORD>(year + 1);
    first.wMonth = 1;
  } else {
    first.wMonth = static_cast<WORD>(month + 1);
  }
  double next = 0;
  SystemTimeToVariantTime(&first, &next);
  return static_cast<int>(next - start + 0.5);  // both non-negative or both whole
}

SYSTEMTIME SystemTime(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return t;
}

Text Gbk(const std::wstring& wide) {
  int size = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  Text bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::wstring Wide(const Text& gbk) {
  int size = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), size);
  return wide;
}

// Full-width digits, signs and separators, as a Chinese input method types them.
std::wstring FullWidth(const std::wstring& ascii) {
  std::wstring wide;
  for (wchar_t c : ascii) wide += c > 0x20 && c < 0x7F ? static_cast<wchar_t>(c + 0xFEE0) : c == L' ' ? L'\x3000' : c;
  return wide;
}

// One date and time: the system's value, our value, both taken apart, and the time text read back.
void CheckDateTime(const SYSTEMTIME& when) {
  double system = 0;
  Expect(SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&when), &system) != 0, "SystemTimeToVariantTime refused %d-%d-%d",
         when.wYear, when.wMonth, when.wDay);
  DateTime parts{when.wYear, when.wMonth, when.wDay, when.wHour, when.wMinute, when.wSecond};
  TimeValue ours = MakeTimeValue(parts);
  Expect(SameTime(system, ours), "MakeTimeValue %04d-%02d-%02d %02d:%02d:%02d: system %.17g, ours %.17g", parts.year, parts.month,
         parts.day, parts.hour, parts.minute, parts.second, system, ours);

  SYSTEMTIME back{};
  VariantTimeToSystemTime(ours, &back);
  DateTime taken = DateTimeOf(ours);
  bool same = taken.year == back.wYear && taken.month == back.wMonth && taken.day == back.wDay &&
              taken.hour == back.wHour && taken.minute == back.wMinute && taken.second == back.wSecond;
  Expect(same, "taking apart %.17g: system %04d-%02d-%02d %02d:%02d:%02d, ours %04d-%02d-%02d %02d:%02d:%02d", ours,
         back.wYear, back.wMonth, back.wDay, back.wHour, back.wMinute, back.wSecond, taken.year, taken.month, taken.day,
         taken.hour, taken.minute, taken.second);
  Expect(WeekdayOf(ours) == back.wDayOfWeek + 1, "WeekdayOf %.17g: system %d, ours %d", ours, back.wDayOfWeek + 1,
         WeekdayOf(ours));

  // The text the scheduler builds: year, month, day and second plain, hour and minute two digits.
  wchar_t text[64];
  std::swprintf(text, 64, L"%d\x5E74%d\x6708%d\x65E5%02d\x65F6%02d\x5206%d\x79D2", when.wYear, when.wMonth, when.wDay,
                when.wHour, when.wMinute, when.wSecond);
  Text gbk = Gbk(text);
  Expect(SameTime(system, TextToTime(gbk)), "TextToTime %s: system %.17g, ours %.17g", Hex(gbk).c_str(), system, TextToTime(gbk));
  Text fullWidth = Gbk(FullWidth(text));
  Expect(SameTime(system, TextToTime(fullWidth)), "TextToTime full-width %s gave %.17g", Hex(fullWidth).c_str(),
         TextToTime(fullWidth));
}

void CheckDatesAcrossTheRange() {
  for (int year = 100; year <= 9999; year += year < 2200 ? 1 : 7) {
    CheckDateTime(SystemTime(year, 1, 1, 0, 0, 0));
    CheckDateTime(SystemTime(year, 2, DaysInMonth(year, 2), 23, 59, 59));
    CheckDateTime(SystemTime(year, 12, 31, 12, 0, 1));
  }
  CheckDateTime(SystemTime(9999, 12, 31, 23, 59, 59));
  CheckDateTime(SystemTime(1899, 12, 29, 6, 0, 0));
  CheckDateTime(SystemTime(1899, 12, 30, 0, 0, 0));
  Sequence random;
  for (int i = 0; i < 20000; ++i) {
    int year = random.Between(100, 9999);
    int month = random.Between(1, 12);
    CheckDateTime(SystemTime(year, month, random.Between(1, DaysInMonth(year, month)), random.Between(0, 23),
                             random.Between(0, 59), random.Between(0, 59)));
  }
}

// Values between whole seconds go to the nearest second. An exact half second is left out:
// there the last bit decides. A system that cuts instead of rounding is noted, not failed.
void CheckFractionsOfASecond() {
  Sequence random;
  int rounded = 0;
  for (int i = 0; i < 5000; ++i) {
    int year = random.Between(100, 9999);
    SYSTEMTIME when = SystemTime(year, random.Between(1, 12), random.Between(1, 28), random.Between(0, 23),
                                 random.Between(0, 59), random.Between(0, 59));
    double whole = 0;
    SystemTimeToVariantTime(&when, &whole);
    double milliseconds = random.Between(1, 999);
    if (milliseconds > 499 && milliseconds < 501) continue;
    double forward = milliseconds / 1000 / 86400;
    TimeValue value = whole < 0 ? whole - forward : whole + forward;
    SYSTEMTIME back{};
    VariantTimeToSystemTime(value, &back);
    double systemSeconds = 0;
    SystemTimeToVariantTime(&back, &systemSeconds);
    TimeValue ours = MakeTimeValue(DateTimeOf(value));
    if (!SameTime(systemSeconds, ours)) {
      // The system may cut where we round; then it lands on the second we left.
      bool cutInstead = milliseconds > 500 && systemSeconds == whole;
      if (cutInstead) {
        ++rounded;
        continue;
      }
    }
    Expect(SameTime(systemSeconds, ours), "nearest second of %.17g (+%g ms): system %.17g, ours %.17g", value, milliseconds,
           systemSeconds, ours);
  }
  if (rounded) std::printf("note: VariantTimeToSystemTime cut %d values we round up\n", rounded);
}

// Differences in seconds against the exact 100-nanosecond file times.
void CheckDifferences() {
  Sequence random;
  for (int i = 0; i < 20000; ++i) {
    bool sameDay = i % 2 == 0;  // half of them on one day, half years apart
    SYSTEMTIME t1 = SystemTime(random.Between(1601, 9999), random.Between(1, 12), random.Between(1, 28),
                               random.Between(0, 23), random.Between(0, 59), random.Between(0, 59));
    SYSTEMTIME t2 = sameDay ? t1 : SystemTime(random.Between(1601, 9999), random.Between(1, 12), random.Between(1, 28), 0, 0, 0);
    t2.wHour = static_cast<WORD>(random.Between(0, 23));
    t2.wMinute = static_cast<WORD>(random.Between(0, 59));
    t2.wSecond = static_cast<WORD>(random.Between(0, 59));
    FILETIME f1{}, f2{};
    SystemTimeToFileTime(&t1, &f1);
    SystemTimeToFileTime(&t2, &f2);
    auto ticks = [](const FILETIME& f) {
      return static_cast<std::int64_t>((static_cast<std::uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
    };
    std::int64_t seconds = (ticks(f1) - ticks(f2)) / 10000000;
    auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
    double v1 = 0, v2 = 0;
    SystemTimeToVariantTime(&t1, &v1);
    SystemTimeToVariantTime(&t2, &v2);
    double ours = TimeDifference(v1, v2, kSeconds);
    Expect(ours == wrapped, "TimeDifference %.17g - %.17g: file times %lld s (wrapped %ld), ours %.17g", v1, v2,
           static_cast<long long>(seconds), static_cast<long>(wrapped), ours);
  }
}

void CheckRealTexts() {
  Sequence random;
  auto compare = [](double value) {
    char system[64];
    _snprintf(system, sizeof system, "%.13g", value);  // msvcrt's own, not MinGW's printf
    std::string expected = system;
    // msvcrt's three-digit exponent, written as C writes it.
    size_t e = expected.find('e');
    if (e != std::string::npos && expected.size() - e == 5 && expected[e + 2] == '0') expected.erase(e + 2, 1);
    Text ours = ToText(value);
    Expect(ours == expected, "ToText %.17g: msvcrt %s, ours %s", value, system, ours.c_str());
  };
  for (int n = -100000; n <= 100000; ++n) compare(n);
  for (int n = 1; n <= 3000; ++n) {
    compare(1.0 / n);
    compare(-2.0 / n);
    compare(n / 3.0);
  }
  for (double p = 1; p < 1e300; p *= 10) {
    compare(p);
    compare(p - 1);
    compare(1 / p);
  }
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = (static_cast<std::uint64_t>(random.Next()) << 32) | random.Next();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (value == value && value - value == 0) compare(value);  // finite only: msvcrt writes "1.#INF"
  }

  // A decimal comma in the user's locale does not reach our texts.
  if (std::setlocale(LC_NUMERIC, "German_Germany.1252") || std::setlocale(LC_NUMERIC, "German")) {
    char system[64];
    _snprintf(system, sizeof system, "%.13g", 0.5);
    std::printf("note: msvcrt writes 0.5 as %s under a German locale\n", system);
    Expect(ToText(0.5) == "0.5", "ToText under a German locale (msvcrt wrote %s): %s", system, ToText(0.5).c_str());
    std::setlocale(LC_NUMERIC, "C");
  } else {
    std::printf("note: no German locale, decimal comma not checked\n");
  }
}

void CheckGbkRules() {
  // The texts compiled into the program are code page 936.
  const struct {
    Text gbk;
    const wchar_t* wide;
  } literals[] = {{ToText(true), L"\x771F"}, {ToText(false), L"\x5047"}, {"年月日时分秒", L"\x5E74\x6708\x65E5\x65F6\x5206\x79D2"}};
  for (const auto& l : literals) Expect(Wide(l.gbk) == l.wide, "literal %s is not the expected characters", Hex(l.gbk).c_str());

  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    Text pair{'\xA3', static_cast<char>(trail)};
    std::wstring wide = Wide(pair);
    Text ascii = FullWidthToAscii(pair);
    wchar_t expected = static_cast<wchar_t>(trail - 0x80 + 0xFEE0);
    if (trail == 0xA4) expected = L'\xFFE5';
    if (trail == 0xFE) expected = L'\xFFE3';
    Expect(wide.size() == 1 && wide[0] == expected && ascii.size() == 1 && ascii[0] == trail - 0x80,
           "0xA3 0x%02X is U+%04X in code page 936 and becomes %s", trail, wide.empty() ? 0 : wide[0], Hex(ascii).c_str());
  }
  const struct {
    const wchar_t* character;
    const char* ascii;
  } others[] = {{L"\x3000", " "}, {L"\xFF5E", "~"}, {L"\x2606", "*"}, {L"\x2605", "*"}};
  for (const auto& o : others) {
    Text gbk = Gbk(o.character);
    Expect(FullWidthToAscii(gbk) == o.ascii, "U+%04X (%s) becomes %s", o.character[0], Hex(gbk).c_str(),
           Hex(FullWidthToAscii(gbk)).c_str());
  }

  // Every lead byte of code page 936 starts a pair for us too; 0x80 and 0xFF do as well (above).
  for (int byte = 0x81; byte <= 0xFE; ++byte) {
    Expect(IsDBCSLeadByteEx(936, static_cast<BYTE>(byte)) != 0, "0x%02X is no lead byte in code page 936", byte);
  }

  // Numbers as a Chinese input method types them, in full width and with ideographic spaces.
  Sequence random;
  for (int i = 0; i < 20000; ++i) {
    auto n = static_cast<std::int32_t>(random.Next());
    std::wstring ascii = (i % 3 == 0 ? L"  " : L"") + std::to_wstring(n) + (i % 5 == 0 ? L"x1" : L"");
    for (const std::wstring& typed : {ascii, FullWidth(ascii)}) {
      Text gbk = Gbk(typed);
      Expect(TextToInt(gbk) == n, "TextToInt %s: %d, ours %d", Hex(gbk).c_str(), n, TextToInt(gbk));
    }
  }
}

}  // namespace

int main() {
  CheckDatesAcrossTheRange();
  CheckFractionsOfASecond();
  CheckDifferences();
  CheckRealTexts();
  CheckGbkRules();
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
