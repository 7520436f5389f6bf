#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/system_calls.h"

namespace xiuhe::win32 {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A bare file name lives in the Windows folder, as the profile functions have it.
std::wstring ProfilePath(const Text& path) {
  const std::wstring wide = Widen(path);
  const bool bare = wide.find_first_of(L"\\/") == std::wstring::npos && !(wide.size() >= 2 && wide[1] == L':');
  if (!bare) return wide;
  wchar_t folder[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return wide;
  return std::wstring(folder, length) + L"\\" + wide;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  return path.substr(0, slash + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return true;
}

constexpr LONGLONG kLargestFile = 1LL << 30;

}  // namespace

std::optional<std::string> Win32FileAccess::Read(const Text& path) {
  FileHandle file(CreateFileW(ProfilePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestFile) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t read = 0;
  while (read < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - read, 1u << 20));
    DWORD done = 0;
    if (!ReadFile(file.get(), bytes.data() + read, chunk, &done, nullptr)) return std::nullopt;
    if (done == 0) break;  // the file shrank meanwhile
    read += done;
  }
  bytes.resize(read);
  return bytes;
}

// The new file is written whole beside the old one and renamed over it, so an interrupted
// write leaves either the old file or the new one, never a torn one.
bool Win32FileAccess::Replace(const Text& path, const std::string& bytes) {
  const std::wstring target = ProfilePath(path);
  wchar_t temporary[MAX_PATH];
  if (!GetTempFileNameW(FolderOf(target).c_str(), L"ini", 0, temporary)) return false;
  FileHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  const bool written = file.valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) && file.Close();
  if (!written || !MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (file.valid()) file.Close();
    DeleteFileW(temporary);
    return false;
  }
  return true;
}

}  // namespace xiuhe::win32
