#include "platform/win32/system_calls.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>
#include <wininet.h>

#include <chrono>
#include <future>
#include <system_error>
#include <thread>

namespace xiuhe::win32 {
namespace {

constexpr int kDocumentsFolder = 1;

// The page IsOnline asks for: a large public site, over plain HTTP.
constexpr const wchar_t* kProbeAddress = L"http://www.baidu.com/";
constexpr DWORD kNetworkTimeoutMs = 5000;
constexpr auto kLongestOnlineWait = std::chrono::milliseconds(5000);

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

bool OpenProbePage() {
  InternetHandle session(InternetOpenW(L"XiuheAssistant", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session.get()) return false;
  DWORD timeout = kNetworkTimeoutMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    InternetSetOptionW(session.get(), option, &timeout, sizeof timeout);
  InternetHandle page(InternetOpenUrlW(session.get(), kProbeAddress, nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE,
                                       0));
  return page.get() != nullptr;
}

bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                 AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  // AdjustTokenPrivileges succeeds even when the privilege was not granted; only the last error says so.
  enabled = enabled && GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return enabled;
}

}  // namespace

Text GetSpecialFolder(int kind) {
  if (kind != kDocumentsFolder) return {};
  wchar_t folder[MAX_PATH];
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE)) return {};
  std::wstring path = folder;
  // Tested on the wide text: in GBK the last byte 0x5C may be half of a character, not "\".
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return Narrow(path);
}

bool FileExists(const Text& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

int ShellOpen(const ShellRequest& request) {
  static constexpr const wchar_t* kVerbs[] = {L"edit", L"explore", L"find", L"open", L"print"};
  const wchar_t* verb = request.verb && *request.verb >= 1 && *request.verb <= 5 ? kVerbs[*request.verb - 1] : nullptr;
  const std::wstring target = Widen(request.target);
  const std::wstring parameters = Widen(request.parameters.value_or(Text()));
  const std::wstring directory = Widen(request.directory.value_or(Text()));
  const HINSTANCE result =
      ShellExecuteW(nullptr, verb, target.c_str(), request.parameters ? parameters.c_str() : nullptr,
                    directory.c_str(), request.showMode.value_or(SW_SHOWNORMAL));
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool ShutDownSystem(int mode, bool force) {
  if (mode != kShutDownAndPowerOff) return false;
  if (!EnableShutdownPrivilege()) return false;
  const UINT flags = EWX_POWEROFF | (force ? EWX_FORCE : 0);
  return ExitWindowsEx(flags, 0) != FALSE;
}

// The request runs on a worker thread so that a slow network holds the window for at most
// five seconds; a request still running then ends on its own and its answer is dropped.
bool IsOnline() {
  DWORD state = 0;
  if (!InternetGetConnectedState(&state, 0)) return false;
  std::packaged_task<bool()> request(OpenProbePage);
  std::future<bool> answer = request.get_future();
  try {
    std::thread(std::move(request)).detach();
  } catch (const std::system_error&) {
    return false;
  }
  if (answer.wait_for(kLongestOnlineWait) != std::future_status::ready) return false;
  return answer.get();
}

std::wstring Widen(const Text& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

Text Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  Text narrow(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace xiuhe::win32
