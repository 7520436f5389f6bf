// Prints what a person sees of the running assistant's window, one control a line, for the
// end-to-end tests: name, whether it is on screen, its text, its check state and its place.
//   clock|2016-01-13 09:00:07
//   图形按钮_立即启用|1|立即启用|-|176,137,78,26
// Places are in the main window's client coordinates. Exits with 1 when no window is found.
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/controls.h"
#include "ui/win32/control_slot.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The control names are compiled as GBK text.
std::string Utf8FromGbk(const char* text) {
  int size = MultiByteToWideChar(936, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(936, 0, text, -1, wide.data(), size);
  wide.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
  return Utf8(wide);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK FindMain(HWND window, LPARAM found) {
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (IsWindowVisible(window) && std::wstring(cls) == L"XiuheMainWindow") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

struct Walk {
  HWND main;
  std::string out;
};

BOOL CALLBACK Describe(HWND control, LPARAM context) {
  Walk& walk = *reinterpret_cast<Walk*>(context);
  const int index = GetDlgCtrlID(control) - xiuhe::win32::kFirstControlId;
  if (index < 0 || index >= xiuhe::kControlCount) return TRUE;

  wchar_t cls[64] = {};
  GetClassNameW(control, cls, 64);
  const char* checked = "-";
  if (std::wstring(cls) == L"Button" && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) != BS_PUSHBUTTON)
    checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";

  RECT box;
  GetWindowRect(control, &box);
  MapWindowPoints(HWND_DESKTOP, walk.main, reinterpret_cast<POINT*>(&box), 2);
  char place[64];
  std::snprintf(place, sizeof place, "%ld,%ld,%ld,%ld", box.left, box.top, box.right - box.left,
                box.bottom - box.top);

  walk.out += Utf8FromGbk(xiuhe::kControls[static_cast<std::size_t>(index)].name) + "|" +
              (IsWindowVisible(control) ? "1" : "0") + "|" + Utf8(TextOf(control)) + "|" + checked + "|" + place +
              "\n";
  return TRUE;
}

}  // namespace

int main() {
  HWND main = nullptr;
  EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
  if (!main) {
    std::fputs("no window\n", stdout);
    return 1;
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  char clock[64];
  std::snprintf(clock, sizeof clock, "clock|%04d-%02d-%02d %02d:%02d:%02d\n", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  Walk walk{main, clock};
  EnumChildWindows(main, Describe, reinterpret_cast<LPARAM>(&walk));
  std::fwrite(walk.out.data(), 1, walk.out.size(), stdout);
  return 0;
}
