#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/ini_file.h"
#include "tests/support/memory_files.h"

namespace xiuhe {
namespace {

const Text kPath = "C:\\settings.ini";

TEST(IniInput, GarbageNeverBreaksReadingOrWriting) {
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    MemoryFiles files;
    files.files[kPath] = garbage;
    ReadIniValue(files, kPath, "闹钟", "闹钟1开", "");
    EXPECT_TRUE(WriteIniValue(files, kPath, "岫禾独有的节", "键", "值"));
    EXPECT_EQ(ReadIniValue(files, kPath, "岫禾独有的节", "键", ""), "值");
  }
}

TEST(IniInput, FilesWithAByteOrderMarkAreLeftAlone) {
  for (const std::string mark : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"}) {
    MemoryFiles files;
    const std::string file = mark + std::string("[\0a\0]\0\r\0\n\0k\0=\0\x31\0", 18);
    files.files[kPath] = file;
    EXPECT_EQ(ReadIniValue(files, kPath, "a", "k", "dflt"), "dflt");
    EXPECT_FALSE(WriteIniValue(files, kPath, "a", "k", "2"));
    EXPECT_EQ(files.files[kPath], file);
  }
}

TEST(IniInput, ALineOfAMegabyteAndAFileOfFiftyMegabytes) {
  MemoryFiles files;
  const std::string longLine(1 << 20, 'q');
  files.files[kPath] = "[a]\r\n" + longLine + "\r\nk=" + longLine + "\r\n";
  EXPECT_EQ(ReadIniValue(files, kPath, "a", "k", ""), longLine);

  std::string block;
  for (int i = 0; block.size() < (1u << 20); ++i)
    block += "[s" + std::to_string(i % 97) + "]\r\nkey" + std::to_string(i) + "=value\r\n";
  std::string big;
  big.reserve(51u << 20);
  while (big.size() < (50u << 20)) big += block;
  big += "[end]\r\nlast=found\r\n";
  files.files[kPath] = big;
  EXPECT_EQ(ReadIniValue(files, kPath, "END", "last", ""), "found");
  EXPECT_TRUE(WriteIniValue(files, kPath, "end", "last", "changed"));
  EXPECT_EQ(files.files[kPath].size(), big.size() + 2);
  EXPECT_EQ(ReadIniValue(files, kPath, "end", "last", ""), "changed");
}

TEST(IniInput, NulBytesInTheCallersTextsEndThem) {
  MemoryFiles files;
  EXPECT_TRUE(WriteIniValue(files, kPath, std::string("a\0b", 3), std::string("k\0j", 3), std::string("v\0w", 3)));
  EXPECT_EQ(files.files[kPath], "[a]\r\nk=v\r\n");
  EXPECT_EQ(ReadIniValue(files, kPath, std::string("a\0z", 3), "k", ""), "v");
}

}  // namespace
}  // namespace xiuhe
