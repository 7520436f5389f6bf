#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "tests/support/memory_files.h"

namespace xiuhe {
namespace {

const Text kPath = "C:\\users\\me\\Documents\\\\配置.ini";

struct ReadCase {
  const char* what;
  std::string file;
  Text section;
  Text key;
  Text defaultValue;
  Text expected;
};

// Every row agrees with what Wine's GetPrivateProfileStringA gives for the same file.
const std::vector<ReadCase> kReadCases = {
    {"a written key", "[闹钟]\r\n闹钟1开=真\r\n", "闹钟", "闹钟1开", "", "真"},
    {"LF line ends", "[a]\nk=1\nj = 2 \n", "a", "j", "", "2"},
    {"names in any case with spaces around", "[Sec]\r\nKey=1\r\n", " sec ", "KEY ", "", "1"},
    {"spaces inside a header", "  [ spaced ]  \r\n  key one  =  value one  \r\n", "spaced", "key one", "",
     "value one"},
    {"double quotes stripped", "[a]\r\nq=\"quoted\"\r\n", "a", "q", "", "quoted"},
    {"single quotes stripped", "[a]\r\nq='single'\r\n", "a", "q", "", "single"},
    {"one pair only", "[a]\r\nq=\"a\"b\"\r\n", "a", "q", "", "a\"b"},
    {"an unmatched quote stays", "[a]\r\nq=\"open\r\n", "a", "q", "", "\"open"},
    {"a lone quote stays", "[a]\r\nq=\"\r\n", "a", "q", "", "\""},
    {"an empty value", "[a]\r\nk=\r\n", "a", "k", "dflt", ""},
    {"a line without = reads as missing", "[a]\r\nk\r\n", "a", "k", "dflt", "dflt"},
    {"a missing key", "[a]\r\nk=1\r\n", "a", "j", "", ""},
    {"a missing section", "[a]\r\nk=1\r\n", "b", "k", "", ""},
    {"the first of two keys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "", "1"},
    {"only the first of two sections", "[s]\r\nk=1\r\n[S]\r\nj=2\r\n", "s", "j", "", ""},
    {"a header named like a key", "[k=v]\r\nk=1\r\n", "k=v", "k", "", "1"},
    {"the last ] ends the header", "[a]b]\r\nz=3\r\n", "a]b", "z", "", "3"},
    {"a header without ] is a key of the section before", "[a]\r\n[abc\r\ny=2\r\n", "a", "y", "", "2"},
    {"comments stay out of the way", "; c\r\n[a]\r\n; k=0\r\nk=1\r\n", "a", "k", "", "1"},
    {"a lone CR ends a line", "[a]\rk=1\rj=2\r\n", "a", "j", "", "2"},
    {"^Z counts as a space", "[a]\r\nk=1\x1A\r\n", "a", "k", "", "1"},
    {"tabs count as spaces", "[a]\r\n\tk\t=\tv\t\r\n", "a", "k", "", "v"},
    {"ideographic spaces are not spaces", "[a]\r\n　k　=　v　\r\n", "a", "　k　", "", "　v　"},
    {"GBK trail bytes ] and \\ belong to their characters", "[\x81\x5D]\r\n\x81\x5C=1\r\n", "\x81\x5D", "\x81\x5C",
     "", "1"},
    {"a trail byte that is a letter keeps its case", "[a]\r\n\x81\x41=3\r\n", "a", "\x81\x61", "", ""},
    {"letters beyond ASCII keep their case", "[a]\r\nА=1\r\n", "a", "а", "", ""},
    {"a pair GBK does not have reads as ?", "[a]\r\nk=\x81\x30x\r\n", "a", "k", "", "?x"},
    {"a lead byte left alone reads as ?", "[a]\r\nk=end\x81", "a", "k", "", "end?"},
    {"single bytes above 0x7F stay", "[a]\r\nk=\x80\xFF\r\n", "a", "k", "", "\x80\xFF"},
    {"a NUL ends a value", Bytes("[a]\r\nk=1\0x\r\n"), "a", "k", "", "1"},
    {"a NUL ends a name", Bytes("[a]\r\nn\0m=2\r\n"), "a", "n", "", "2"},
    {"no final line end", "[a]\r\nk=1", "a", "k", "", "1"},
    {"leading control bytes of the names are skipped", "[a]\r\nk=1\r\n", "\x01\x1F a", "\t\x02k", "", "1"},
    {"a name of control bytes only reads nothing", "[a]\r\nk=1\r\n", "\x01 ", "k", "dflt", ""},
    {"a default loses its trailing spaces", "[a]\r\n", "a", "k", "  dflt  ", "  dflt"},
    {"a default loses its quotes", "[a]\r\n", "a", "k", "\"q\"", "q"},
    {"a default of one space stays", "[a]\r\n", "a", "k", " ", " "},
};

TEST(IniRead, FollowsTheProfileFunctionsRules) {
  for (const ReadCase& c : kReadCases) {
    MemoryFiles files;
    files.files[kPath] = c.file;
    EXPECT_EQ(ReadIniValue(files, kPath, c.section, c.key, c.defaultValue), c.expected) << c.what;
  }
}

TEST(IniRead, AMissingFileGivesTheDefault) {
  MemoryFiles files;
  EXPECT_EQ(ReadIniValue(files, kPath, "a", "k", ""), "");
  EXPECT_EQ(ReadIniValue(files, kPath, "a", "k", "dflt"), "dflt");
}

TEST(IniRead, TheFileNameLosesItsLeadingSpacesAndAnEmptyOneReadsNothing) {
  MemoryFiles files;
  files.files[kPath] = "[a]\r\nk=1\r\n";
  EXPECT_EQ(ReadIniValue(files, "  " + kPath, "a", "k", ""), "1");
  EXPECT_EQ(ReadIniValue(files, " \t", "a", "k", "dflt"), "");
  EXPECT_EQ(files.reads, 1);
}

TEST(IniRead, AValueIsNeverCut) {
  MemoryFiles files;
  const Text longValue = std::string(20000, 'x') + "末";
  files.files[kPath] = "[a]\r\nk=" + longValue + "\r\n";
  EXPECT_EQ(ReadIniValue(files, kPath, "a", "k", ""), longValue);
}

}  // namespace
}  // namespace xiuhe
