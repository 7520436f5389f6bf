#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "app/program.h"
#include "platform/exit_hooks.h"
#include "platform/win32/win32_services.h"
#include "ui/win32/main_window.h"
#include "ui/window_model.h"

namespace {

// Relative paths (the tools' working folder among them) start from the program's own folder.
void WorkInProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
    path.resize(path.size() * 2);
  path.resize(length);
  std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) SetCurrentDirectoryW(path.substr(0, slash + 1).c_str());
}

void RunMessageLoop(xiuhe::win32::MainWindow& window) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.HandleDialogKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  WorkInProgramFolder();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  xiuhe::win32::Win32Services services;
  xiuhe::WindowModel model;
  xiuhe::ExitHooks exitHooks;
  xiuhe::Program program{model, services, exitHooks};
  auto endProgram = [&program] { xiuhe::EndProgram(program); };
  services.SetEndRoutine(endProgram);
  xiuhe::PrepareProgram(program);
  {
    xiuhe::win32::MainWindow window(model, services, endProgram);
    if (window.Create(instance)) {
      window.Start();
      if (window.handle()) RunMessageLoop(window);
    }
  }
  xiuhe::EndProgram(program);
  OleUninitialize();
  return 0;
}
