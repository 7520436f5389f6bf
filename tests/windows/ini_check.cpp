// Runs the same reads and writes through the system's profile functions on one file and
// through the INI engine on another, and compares results and file bytes after each step.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "platform/win32/system_calls.h"
#include "platform/win32/win32_files.h"

namespace {

using xiuhe::Text;

int passed = 0;
int failed = 0;

std::string Shown(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      shown += static_cast<char>(c);
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      shown += code;
    }
  }
  if (shown.size() > 400) shown = shown.substr(0, 400) + "...";
  return shown;
}

void Expect(bool same, const std::string& what, const std::string& system, const std::string& engine) {
  if (same) {
    ++passed;
    return;
  }
  ++failed;
  std::printf("DIFFERENT %s\n  system: %s\n  engine: %s\n", what.c_str(), Shown(system).c_str(),
              Shown(engine).c_str());
}

std::wstring Wide(const Text& path) { return xiuhe::win32::Widen(path); }

// "(missing)" stands for a file that does not exist.
std::string FileBytes(const Text& path) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(missing)";
  std::string bytes;
  char buffer[65536];
  DWORD done = 0;
  while (ReadFile(file, buffer, sizeof buffer, &done, nullptr) && done > 0) bytes.append(buffer, done);
  CloseHandle(file);
  return bytes;
}

void PutFile(const Text& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  DWORD done = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(file);
}

// The system's functions as the program's own operations call them. The profile functions
// keep files in a cache that can hold values other than those on disk; every call here goes
// through a fresh copy of the file, so each sees the file as a newly started program would.
class SystemProfile {
 public:
  void FileSetByTest() { fresh_ = false; }
  explicit SystemProfile(Text folder) : folder_(std::move(folder)) {}

  Text Read(const Text& path, Text section, Text key, const Text& defaultValue, std::size_t bufferSize) {
    for (Text* name : {&section, &key}) {
      std::size_t skip = 0;
      while (skip < name->size() && static_cast<unsigned char>((*name)[skip]) >= 1 &&
             static_cast<unsigned char>((*name)[skip]) <= 32)
        ++skip;
      name->erase(0, skip);
      if (name->empty()) return {};
    }
    // A file that only the test itself wrote holds on disk what the cache holds.
    const Text copy = fresh_ ? FreshCopy(path) : path;
    std::vector<char> buffer(bufferSize);
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.empty() ? nullptr : defaultValue.c_str(),
                             buffer.data(), static_cast<DWORD>(buffer.size()), copy.c_str());
    if (fresh_) DeleteFileW(Wide(copy).c_str());
    return buffer.data();
  }

  bool Write(const Text& path, const Text& section, const Text& key, const Text& value) {
    const Text copy = FreshCopy(path);
    const bool written = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), copy.c_str());
    fresh_ = true;
    if (GetFileAttributesW(Wide(copy).c_str()) != INVALID_FILE_ATTRIBUTES)
      MoveFileExW(Wide(copy).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING);
    return written;
  }

 private:
  Text FreshCopy(const Text& path) {
    const Text copy = folder_ + "probe" + std::to_string(++copies_) + ".ini";
    CopyFileW(Wide(path).c_str(), Wide(copy).c_str(), FALSE);
    return copy;
  }

  Text folder_;
  int copies_ = 0;
  bool fresh_ = true;
};

struct Files {
  Text system;
  Text engine;
};

class Comparison {
 public:
  Comparison(SystemProfile& profile, Files files) : profile_(profile), files_(std::move(files)) {}

  void Start(const std::string& bytes) {
    profile_.FileSetByTest();
    PutFile(files_.system, bytes);
    PutFile(files_.engine, bytes);
  }

  void Clear() {
    DeleteFileW(Wide(files_.system).c_str());
    DeleteFileW(Wide(files_.engine).c_str());
  }

  void Write(const std::string& label, const Text& section, const Text& key, const Text& value) {
    const bool system = profile_.Write(files_.system, section, key, value);
    const bool engine = xiuhe::WriteIniValue(access_, files_.engine, section, key, value);
    const std::string what = label + " write [" + Shown(section) + "] " + Shown(key) + "=" + Shown(value);
    Expect(system == engine, what + " result", system ? "true" : "false", engine ? "true" : "false");
    CompareFiles(what);
  }

  // The buffer is wide enough that the system's call returns the whole value.
  void Read(const std::string& label, const Text& section, const Text& key, const Text& defaultValue = {},
            std::size_t bufferSize = 1 << 16) {
    const Text system = profile_.Read(files_.system, section, key, defaultValue, bufferSize);
    const Text engine = xiuhe::ReadIniValue(access_, files_.engine, section, key, defaultValue);
    Expect(system == engine,
           label + " read [" + Shown(section) + "] " + Shown(key) + " default " + Shown(defaultValue), system,
           engine);
  }

  void CompareFiles(const std::string& what) {
    const std::string system = FileBytes(files_.system);
    const std::string engine = FileBytes(files_.engine);
    Expect(system == engine, what + " file bytes", system, engine);
  }

 private:
  SystemProfile& profile_;
  Files files_;
  xiuhe::win32::Win32FileAccess access_;
};

const std::vector<Text> kSections = {
    "闹钟", "定时关机", "Alarm", "ALARM", " alarm ", "a b", "\x81\x5C段", "节\x81\x5D", "x]y", "\tTabbed", "",
    "А",    "а",       "Ａ",    "ａ",    "　全角"};
const std::vector<Text> kKeys = {
    "闹钟1开", "闹钟1提醒", "Key", "KEY", " key ", "k=x", "\x81\x41", "\x81\x61", "\x81\x5C", "键\x81\x5D",
    ";note",   "",         "A",   "a",   "　k",   "Ｋ",   "ｋ"};
const std::vector<Text> kValues = {
    "",         "真",   "假",        "7",         "  padded  ", "\"quoted\"", "'single'", "\"open",
    "a=b",      "x]y",  "[s]",       "\x81\x5C\x81\x5D", "早上好", "\"",          "''",       "v\r\nnext=1",
    "\tTabbed", "a;b",  std::string(300, 'w') + "尾", "\"a\"b\"", "  ", "x\ry"};

void RandomSequences(Comparison& compare, int sequences, int steps) {
  for (int seed = 1; seed <= sequences; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&](const std::vector<Text>& pool) { return pool[random() % pool.size()]; };
    compare.Clear();
    const std::string label = "seed " + std::to_string(seed);
    for (int step = 0; step < steps; ++step) {
      if (random() % 10 < 6) {
        compare.Write(label, pick(kSections), pick(kKeys), pick(kValues));
      } else {
        const Text defaultValue = random() % 4 == 0 ? pick(kValues) : Text();
        compare.Read(label, pick(kSections), pick(kKeys), defaultValue);
        compare.CompareFiles(label + " after read");
      }
    }
  }
}

template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

struct Fixture {
  const char* name;
  std::string bytes;
};

const std::vector<Fixture> kFixtures = {
    {"LF lines", "[a]\nk=1\nj = 2 \n\n[b]\nk=3\n"},
    {"comments and blank lines", "; top\r\n\r\n[a]\r\n; note\r\nk=1\r\n\r\n\r\n[b]\r\n# hash\r\nk=2\r\n"},
    {"spaces and quotes",
     "  [ spaced ]  \r\n  key one  =  value one  \r\nq=\"quoted\"\r\ns='single'\r\nu=\"open\r\ne=\r\nn\r\n"},
    {"case and duplicates", "[Sec]\r\nKey=1\r\nkey=2\r\n[sec]\r\nKEY=3\r\nother=4\r\n"},
    {"keys before any section", "top=1\r\n[a]\r\nk=2\r\n"},
    {"odd headers", "[]\r\nx=1\r\n[abc\r\ny=2\r\n[a]b]\r\nz=3\r\n[q] trailing\r\nw=4\r\n"},
    {"empty names", "=1\r\n=2\r\n[a]\r\n=3\r\nk=4\r\n=5\r\n=6\r\n"},
    {"lone CR", "[a]\rk=1\rj=2\r\n"},
    {"NUL bytes", Bytes("[a]\r\nk=1\0x\r\nn\0m=2\r\nq=\0\r\n[b\0c]\r\nq=3\r\n")},
    {"GBK trail bytes", "[\x81\x5D]\r\n\x81\x5C=1\r\n[节]\r\n键=值\r\n"},
    {"ideographic spaces", "[a]\r\n　k　=　v　\r\n[　b　]\r\nk=2\r\n"},
    {"letters beyond ASCII", "[a]\r\nА=1\r\nＡ=2\r\n\x81\x41=3\r\n"},
    {"no final line end", "[a]\r\nk=1"},
    {"DOS end-of-file mark", "[a]\r\nk=1\x1A\r\n\x1A[b]\r\nk=2\r\n"},
    {"tabs", "[a]\r\n\tk\t=\tv\t\r\n"},
    {"empty file", ""},
    {"header named like a key", "[k=v]\r\nk=1\r\n"},
    {"two sections of one name", "[s]\r\nk=1\r\nK=2\r\n[S]\r\nj=2\r\n"},
    {"header without bracket", "[a]\r\n[abc\r\ny=2\r\n"},
    {"comment before keys", "; c\r\n[a]\r\n; k=0\r\nk=1\r\n"},
    {"comment at section end", "[a]\r\nk=1\r\n;end\r\n[b]\r\n"},
    {"quote corners", "[a]\r\nq=\"a\"b\"\r\nr=\"\r\ns=''\r\n"},
    {"UTF-8 with byte-order mark", "\xEF\xBB\xBF[a]\r\nk=1\r\n[\xE8\x8A\x82]\r\n\xE9\x94\xAE=\xE5\x80\xBC\r\n"},
    {"UTF-16", Bytes("\xFF\xFE[\0a\0]\0\r\0\n\0k\0=\0\x31\0\r\0\n\0\x82\x82=\0\x3C\x50")},
    {"UTF-16 big-endian", Bytes("\xFE\xFF\0[\0a\0]\0\r\0\n\0k\0=\0\x31")},
    {"not GBK", "[a]\r\nk=\x81\x30x\r\nj=\xFFy\r\nm=\x80z\r\nn=\x81\x7F\x81\xFF\xA1\x40\xFE\xFE\xAA\xA1\xA2\xAB\r\nl=end\x81"},
};

const std::vector<Text> kFixtureSections = {"a",  "A", " a ", "b", "Sec", "sec", "", "abc", "a]b", "q",
                                            "\x81\x5D", "节", "spaced", " spaced ", "　b　", "k=v", "s", "S"};
const std::vector<Text> kFixtureKeys = {"k",     "K",       "j",   "key one", "q",       "s",     "u",
                                        "e",     "n",       "Key", "KEY",     "other",   "top",   "x",
                                        "y",     "z",       "w",   "\x81\x5C", "键",     "А",     "а",
                                        "Ａ",    "ａ",      "\x81\x41", "\x81\x61", "; note", "# hash",
                                        "; top", "　k",     "[abc", "", "r", "m", "l", "; k", "\x81\x30", "?"};

void Fixtures(Comparison& compare) {
  for (const Fixture& fixture : kFixtures) {
    compare.Clear();
    compare.Start(fixture.bytes);
    for (const Text& section : kFixtureSections)
      for (const Text& key : kFixtureKeys) compare.Read(fixture.name, section, key);
    for (const char* defaultValue : {"dflt", "  dflt  ", "\"q\"", " "}) compare.Read(fixture.name, "a", "none", defaultValue);
    compare.Write(fixture.name, "a", "k", "new");
    compare.Write(fixture.name, "A", "K", "new");
    compare.Write(fixture.name, "b", "added", "v");
    compare.Write(fixture.name, "new section", "k", "v");
    compare.Write(fixture.name, "", "nameless", "v");
    compare.Write(fixture.name, " spaced ", " key one ", "x");
    compare.Write(fixture.name, "a  ", "trailing  ", "t");
    compare.Write(fixture.name, "s", "j", "3");
  }
}

void LongValues(Comparison& compare, const Files& files) {
  compare.Clear();
  const Text longValue = std::string(20000, 'x') + "末";
  compare.Write("long value", "闹钟", "长", longValue);
  compare.Read("long value", "闹钟", "长", {}, 1 << 20);

  // The system drops a value this long and still reports success; the engine keeps it whole.
  xiuhe::win32::Win32FileAccess access;
  const Text hugeValue = std::string(1 << 20, 'y');
  const bool written = xiuhe::WriteIniValue(access, files.engine, "闹钟", "大", hugeValue);
  const Text readBack = xiuhe::ReadIniValue(access, files.engine, "闹钟", "大", {});
  Expect(written && readBack == hugeValue, "1 MB value kept whole", "(whole value)", Shown(readBack));
}

void Failures(const Text& folder, Comparison& compare, const Files& files) {
  SystemProfile profile(folder);
  xiuhe::win32::Win32FileAccess access;
  const Text missing = folder + "没有\\配置.ini";
  const bool system = WritePrivateProfileStringA("s", "k", "v", missing.c_str());
  const bool engine = xiuhe::WriteIniValue(access, missing, "s", "k", "v");
  Expect(system == engine && !engine, "write into a missing folder", system ? "true" : "false",
         engine ? "true" : "false");

  compare.Clear();
  compare.Write("read-only", "s", "k", "v");
  SetFileAttributesW(Wide(files.system).c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(Wide(files.engine).c_str(), FILE_ATTRIBUTE_READONLY);
  const bool systemLocked = WritePrivateProfileStringA("s", "k", "changed", files.system.c_str());
  const bool engineLocked = xiuhe::WriteIniValue(access, files.engine, "s", "k", "changed");
  Expect(systemLocked == engineLocked, "write to a read-only file", systemLocked ? "true" : "false",
         engineLocked ? "true" : "false");
  compare.CompareFiles("read-only");
  SetFileAttributesW(Wide(files.system).c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesW(Wide(files.engine).c_str(), FILE_ATTRIBUTE_NORMAL);
  // The system keeps a character that GBK lacks; the engine, whose text is GBK, could not,
  // so it leaves such a file as it is and reports the write failed.
  const std::string unicode = "\xEF\xBB\xBF[s]\r\nname=\xC5\x91\r\n";
  PutFile(files.engine, unicode);
  const bool rewritten = xiuhe::WriteIniValue(access, files.engine, "s", "k", "v");
  Expect(!rewritten && FileBytes(files.engine) == unicode, "a Unicode file with a character GBK lacks stays",
         unicode, FileBytes(files.engine));

  // A file another program holds open without sharing: the write fails and the old file stays.
  compare.Clear();
  compare.Write("locked", "s", "k", "v");
  HANDLE systemLock = CreateFileW(Wide(files.system).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE engineLock = CreateFileW(Wide(files.engine).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool systemShared = WritePrivateProfileStringA("s", "k", "changed", files.system.c_str());
  const bool engineShared = xiuhe::WriteIniValue(access, files.engine, "s", "k", "changed");
  CloseHandle(systemLock);
  CloseHandle(engineLock);
  Expect(systemShared == engineShared && !engineShared, "write to a locked file", systemShared ? "true" : "false",
         engineShared ? "true" : "false");
  compare.CompareFiles("locked");

  // A hidden file stays hidden after the engine has replaced it.
  compare.Clear();
  compare.Write("hidden", "s", "k", "v");
  SetFileAttributesW(Wide(files.engine).c_str(), FILE_ATTRIBUTE_HIDDEN);
  xiuhe::WriteIniValue(access, files.engine, "s", "k", "changed");
  const DWORD attributes = GetFileAttributesW(Wide(files.engine).c_str());
  Expect(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN), "a hidden file stays hidden",
         "hidden", std::to_string(attributes));
  SetFileAttributesW(Wide(files.engine).c_str(), FILE_ATTRIBUTE_NORMAL);

  compare.Clear();
  compare.Read("missing file", "s", "k");
  compare.Read("missing file", "s", "k", "dflt");
}

// A bare file name means the Windows folder.
void BareNames() {
  xiuhe::win32::Win32FileAccess access;
  const Text system = "xiuhe_check_system.ini", engine = "xiuhe_check_engine.ini";
  WritePrivateProfileStringA("闹钟", "闹钟1开", "真", system.c_str());
  xiuhe::WriteIniValue(access, engine, "闹钟", "闹钟1开", "真");
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const Text folder = xiuhe::win32::Narrow(windows) + "\\";
  Expect(FileBytes(folder + system) == FileBytes(folder + engine), "a bare name is in the Windows folder",
         FileBytes(folder + system), FileBytes(folder + engine));
  DeleteFileW(Wide(folder + system).c_str());
  DeleteFileW(Wide(folder + engine).c_str());
}

// Every write went through a file of its own that was renamed over the old one; none is left.
void NoLeftovers(const Text& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(folder + "*.tmp").c_str(), &found);
  const bool none = search == INVALID_HANDLE_VALUE;
  if (!none) FindClose(search);
  Expect(none, "no temporary file is left behind", "", none ? "" : xiuhe::win32::Narrow(found.cFileName));
}

Text MakeFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const Text folder = xiuhe::win32::Narrow(temp) + "岫禾检查" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  return folder;
}

void RemoveFolder(const Text& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") {
        SetFileAttributesW((Wide(folder) + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((Wide(folder) + name).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Wide(folder).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int sequences = argc > 1 ? std::atoi(argv[1]) : 40;
  const Text folder = MakeFolder();
  // Two backslashes before the name, as the settings path has them.
  const Files files{folder + "\\系统.ini", folder + "\\引擎.ini"};
  SystemProfile profile(folder);
  Comparison compare(profile, files);

  Fixtures(compare);
  RandomSequences(compare, sequences, 60);
  LongValues(compare, files);
  Failures(folder, compare, files);
  BareNames();
  NoLeftovers(folder);

  RemoveFolder(folder);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
