// Exercises the Win32 system calls the way the program uses them, on the real system.
// Unless told to on the command line, it never asks for a shutdown: only the modes that
// must be refused are tried.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/services.h"
#include "platform/win32/system_calls.h"

namespace {

using xiuhe::Text;
namespace sys = xiuhe::win32;

int passed = 0;
int failed = 0;

void Expect(bool ok, const std::string& what, const std::string& detail = {}) {
  if (ok) {
    ++passed;
    return;
  }
  ++failed;
  std::printf("FAILED %s %s\n", what.c_str(), detail.c_str());
}

void SpecialFolder() {
  const Text documents = sys::GetSpecialFolder(1);
  Expect(!documents.empty() && documents.back() == '\\', "documents folder ends in a backslash", documents);
  Expect(documents.size() < 2 || documents.substr(documents.size() - 2) != "\\\\", "only one backslash is added");
  // FindFirstFile takes no trailing backslash, so the folder is tested without it.
  Expect(sys::FileExists(documents.substr(0, documents.size() - 1)), "the documents folder exists", documents);
  Expect(sys::GetSpecialFolder(2).empty(), "other kinds give the empty text");
}

void Existence() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const Text folder = sys::Narrow(temp) + "岫禾存在" + std::to_string(GetCurrentProcessId());
  CreateDirectoryW(sys::Widen(folder).c_str(), nullptr);
  const Text file = folder + "\\\\配置.ini";
  HANDLE handle = CreateFileW(sys::Widen(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(handle);

  Expect(sys::FileExists(file), "a file behind two backslashes exists", file);
  Expect(sys::FileExists(folder), "a folder exists");
  Expect(sys::FileExists(folder + "\\*.ini"), "a wildcard that matches exists");
  Expect(!sys::FileExists(folder + "\\*.txt"), "a wildcard that matches nothing does not");
  Expect(!sys::FileExists(folder + "\\没有.ini"), "a missing file does not exist");
  Expect(!sys::FileExists(""), "the empty path does not exist");

  DeleteFileW(sys::Widen(file).c_str());
  RemoveDirectoryW(sys::Widen(folder).c_str());
}

void Shell() {
  xiuhe::ShellRequest request;
  request.target = "cmd.exe";
  request.parameters = Text("/c exit");
  request.directory = Text("C:\\Windows\\system32");
  request.showMode = SW_HIDE;
  const int started = sys::ShellOpen(request);
  Expect(started > 32, "a command starts through the shell", std::to_string(started));
  request.verb = 4;
  const int opened = sys::ShellOpen(request);
  Expect(opened > 32, "the open verb starts it too", std::to_string(opened));
}

void Shutdown() {
  for (int mode : {0, 2, -1}) Expect(!sys::ShutDownSystem(mode, false), "mode " + std::to_string(mode) + " is refused");
}

void Online() {
  const DWORD start = GetTickCount();
  const bool online = sys::IsOnline();
  const DWORD took = GetTickCount() - start;
  std::printf("IsOnline: %s after %lu ms\n", online ? "true" : "false", static_cast<unsigned long>(took));
  Expect(took < 6500, "the internet check gives up within about five seconds", std::to_string(took) + " ms");
}

}  // namespace

int main(int argc, char** argv) {
  // Only by hand, in a throwaway Wine prefix: there it ends that prefix's session and no more.
  if (argc > 1 && std::string(argv[1]) == "--shut-down-for-real") {
    std::printf("ShutDownSystem(1): ");
    std::fflush(stdout);
    const bool accepted = sys::ShutDownSystem(xiuhe::kShutDownAndPowerOff, false);
    std::printf("%s\n", accepted ? "accepted" : "refused");
    return accepted ? 0 : 1;
  }
  SpecialFolder();
  Existence();
  Shell();
  Shutdown();
  Online();
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
