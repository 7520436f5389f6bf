#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

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

std::optional<std::string> ReadBytes(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
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

// Files saved as Unicode text, which the profile functions read and write in their own
// encoding; the engine gets and gives their text in the ANSI code page.
enum class Encoding { Ansi, Utf8, Utf16, Utf16BigEndian };

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

Encoding EncodingOf(std::string_view bytes) {
  if (bytes.substr(0, 3) == kUtf8Mark) return Encoding::Utf8;
  if (bytes.substr(0, 2) == kUtf16Mark) return Encoding::Utf16;
  if (bytes.substr(0, 2) == kUtf16BigEndianMark) return Encoding::Utf16BigEndian;
  return Encoding::Ansi;
}

std::wstring DecodeUnicode(std::string_view bytes, Encoding encoding) {
  if (encoding == Encoding::Utf8) {
    bytes.remove_prefix(kUtf8Mark.size());
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
  }
  bytes.remove_prefix(2);
  std::wstring wide(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    wide[i] = static_cast<wchar_t>(encoding == Encoding::Utf16 ? first | second << 8 : second | first << 8);
  }
  return wide;
}

std::string EncodeUnicode(const std::wstring& wide, Encoding encoding) {
  if (encoding == Encoding::Utf8) {
    std::string bytes(kUtf8Mark);
    if (wide.empty()) return bytes;
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    bytes.resize(kUtf8Mark.size() + length);
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data() + kUtf8Mark.size(),
                        length, nullptr, nullptr);
    return bytes;
  }
  std::string bytes(encoding == Encoding::Utf16 ? kUtf16Mark : kUtf16BigEndianMark);
  for (wchar_t c : wide) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
    bytes += encoding == Encoding::Utf16 ? low : high;
    bytes += encoding == Encoding::Utf16 ? high : low;
  }
  return bytes;
}

// The ANSI text of a Unicode file; none when some character has no place in the code page.
std::optional<std::string> ToAnsi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  BOOL lost = FALSE;
  const int length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, &lost);
  std::string ansi(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr, &lost);
  if (lost) return std::nullopt;
  return ansi;
}

}  // namespace

std::optional<std::string> Win32FileAccess::Read(const Text& path) {
  std::optional<std::string> bytes = ReadBytes(ProfilePath(path));
  if (!bytes) return std::nullopt;
  const Encoding encoding = EncodingOf(*bytes);
  if (encoding == Encoding::Ansi) return bytes;
  // Characters the code page lacks cannot be read; such a file is left to its owner.
  return ToAnsi(DecodeUnicode(*bytes, encoding));
}

// The new file is written whole beside the old one and renamed over it, so an interrupted
// write leaves either the old file or the new one, never a torn one.
bool Win32FileAccess::Replace(const Text& path, const std::string& text) {
  const std::wstring target = ProfilePath(path);
  // A Unicode file stays in its encoding; one holding characters that the ANSI text could
  // not carry is not rewritten, or they would be lost.
  std::string bytes = text;
  const std::optional<std::string> old = ReadBytes(target);
  const Encoding encoding = old ? EncodingOf(*old) : Encoding::Ansi;
  if (encoding != Encoding::Ansi) {
    if (!ToAnsi(DecodeUnicode(*old, encoding))) return false;
    bytes = EncodeUnicode(Widen(text), encoding);
  }
  wchar_t temporary[MAX_PATH];
  if (!GetTempFileNameW(FolderOf(target).c_str(), L"ini", 0, temporary)) return false;
  FileHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  const bool written = file.valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) && file.Close();
  // The new file keeps what the user set on the old one, such as hiding it.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (written && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept))
    SetFileAttributesW(temporary, attributes & kKept);
  if (!written || !MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    if (file.valid()) file.Close();
    DeleteFileW(temporary);
    return false;
  }
  return true;
}

}  // namespace xiuhe::win32
