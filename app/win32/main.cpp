#include <windows.h>

// A bare frameless window until the real one lands.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.lpszClassName = L"XiuheMain";
  RegisterClassW(&cls);
  RECT area{0, 0, 430, 330};
  int x = (GetSystemMetrics(SM_CXSCREEN) - 430) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 330) / 2;
  HWND window = CreateWindowExW(0, L"XiuheMain", L"\x5cab\x79be\x5c0f\x52a9\x7406", WS_POPUP | WS_MINIMIZEBOX | WS_VISIBLE,
                                x, y, area.right, area.bottom, nullptr, nullptr, instance, nullptr);
  (void)window;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
