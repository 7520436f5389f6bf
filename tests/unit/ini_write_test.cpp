#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "tests/support/memory_files.h"

namespace xiuhe {
namespace {

const Text kPath = "C:\\users\\me\\Documents\\\\配置.ini";

struct WriteCase {
  const char* what;
  std::optional<std::string> file;  // none: no file yet
  Text section;
  Text key;
  Text value;
  std::string expected;
};

// Every row agrees with the file that Wine's WritePrivateProfileStringA leaves.
const std::vector<WriteCase> kWriteCases = {
    {"the first write makes the file", std::nullopt, "闹钟", "闹钟1小时", "7", "[闹钟]\r\n闹钟1小时=7\r\n"},
    {"a new key goes to the end of its section", "[a]\r\nk=1\r\n[b]\r\nk=2\r\n", "a", "j", "3",
     "[a]\r\nk=1\r\nj=3\r\n[b]\r\nk=2\r\n"},
    {"a new section goes to the end, with no blank line", "[a]\r\nk=1\r\n", "b", "k", "2",
     "[a]\r\nk=1\r\n[b]\r\nk=2\r\n"},
    {"a rewrite keeps the key in place and its spelling", "[A]\r\nKey=1\r\nz=2\r\n", "a", "key", "9",
     "[A]\r\nKey=9\r\nz=2\r\n"},
    {"an empty value leaves key=", "[a]\r\nk=1\r\n", "a", "k", "", "[a]\r\nk=\r\n"},
    {"leading spaces of the value are dropped", std::nullopt, "a", "k", "  padded  ", "[a]\r\nk=padded  \r\n"},
    {"names lose their leading spaces only", std::nullopt, " s ", " k ", "v", "[s ]\r\nk =v\r\n"},
    {"LF becomes CRLF, blank lines go, comments and trimmed lines stay", "; c\n\n[a]\n  k = 1  \n\n", "a", "j", "2",
     "; c\r\n[a]\r\nk=1\r\nj=2\r\n"},
    {"a new key follows the section's last line, comments included", "[a]\r\nk=1\r\n;end\r\n[b]\r\n", "a", "j", "v",
     "[a]\r\nk=1\r\n;end\r\nj=v\r\n[b]\r\n"},
    {"a second key line of empty name in a row is dropped", "=1\r\n=2\r\n[a]\r\n=3\r\nk=4\r\n=5\r\n=6\r\n", "a", "k",
     "x", "=1\r\n[a]\r\n=3\r\nk=x\r\n=5\r\n"},
    {"a NUL ends what is written back", Bytes("[a]\r\nk=1\0x\r\n"), "a", "j", "2", "[a]\r\nk=1\r\nj=2\r\n"},
    {"an empty header is not written back", "[]\r\nx=1\r\n", "s", "k", "v", "x=1\r\n[s]\r\nk=v\r\n"},
    {"an empty section name is the part before the first header", "[a]\r\nk=1\r\n", "", "n", "v",
     "n=v\r\n[a]\r\nk=1\r\n"},
    {"only the first of two sections takes the key", "[s]\r\nk=1\r\n[s]\r\nj=2\r\n", "s", "j", "3",
     "[s]\r\nk=1\r\nj=3\r\n[s]\r\nj=2\r\n"},
    {"GBK trail bytes ] and \\ belong to their characters", "[\x81\x5D]\r\n\x81\x5C=1\r\n", "\x81\x5D", "\x81\x5C", "2",
     "[\x81\x5D]\r\n\x81\x5C=2\r\n"},
    {"what GBK does not have is written back as ?", "[a]\r\nk=\x81\x30x\r\nl=end\x81", "a", "j", "v",
     "[a]\r\nk=?x\r\nl=end?\r\nj=v\r\n"},
    {"a lone CR splits lines", "[a]\rk=1\rj=2\r\n", "a", "j", "3", "[a]\r\nk=1\r\nj=3\r\n"},
};

TEST(IniWrite, LeavesTheFileAsTheProfileFunctionsDo) {
  for (const WriteCase& c : kWriteCases) {
    MemoryFiles files;
    if (c.file) files.files[kPath] = *c.file;
    EXPECT_TRUE(WriteIniValue(files, kPath, c.section, c.key, c.value)) << c.what;
    EXPECT_EQ(files.files[kPath], c.expected) << c.what;
  }
}

TEST(IniWrite, WritingTheValueAlreadyThereLeavesTheFileUntouched) {
  MemoryFiles files;
  files.files[kPath] = "[a]\n  k = 1\n\n";
  EXPECT_TRUE(WriteIniValue(files, kPath, "A", "K", "1"));
  EXPECT_TRUE(WriteIniValue(files, kPath, "a", "k", "   1"));
  EXPECT_EQ(files.replacements, 0);
  EXPECT_EQ(files.files[kPath], "[a]\n  k = 1\n\n");
}

TEST(IniWrite, WhatIsWrittenReadsBack) {
  MemoryFiles files;
  const std::vector<std::pair<Text, Text>> values = {
      {"闹钟1提醒", "早上好"}, {"闹钟1开", "真"}, {"空", ""}, {"长", std::string(30000, 'z')}, {"闹钟1提醒", "改了"}};
  for (const auto& [key, value] : values) EXPECT_TRUE(WriteIniValue(files, kPath, "闹钟", key, value));
  EXPECT_EQ(ReadIniValue(files, kPath, "闹钟", "闹钟1提醒", ""), "改了");
  EXPECT_EQ(ReadIniValue(files, kPath, "闹钟", "闹钟1开", ""), "真");
  EXPECT_EQ(ReadIniValue(files, kPath, "闹钟", "空", "dflt"), "");
  EXPECT_EQ(ReadIniValue(files, kPath, "闹钟", "长", ""), std::string(30000, 'z'));
}

TEST(IniWrite, AFailedReplacementReportsFalseAndKeepsTheOldFile) {
  MemoryFiles files;
  files.files[kPath] = "[a]\r\nk=1\r\n";
  files.refuseWrites = true;
  EXPECT_FALSE(WriteIniValue(files, kPath, "a", "k", "2"));
  EXPECT_EQ(files.files[kPath], "[a]\r\nk=1\r\n");
  EXPECT_FALSE(WriteIniValue(files, "", "a", "k", "2"));
}

}  // namespace
}  // namespace xiuhe
