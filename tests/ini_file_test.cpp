// The INI format on bytes: key matching, path lines, and the exact file written.
#include "settings/ini_file.h"

#include <cstring>
#include <tuple>

#include "support/core_test.h"

namespace {

// The value ParseIniOptions gives key from bytes, over all-zero settings.
int32_t Option(const std::string& bytes, const char* key) {
  Settings settings = Settings();
  ParseIniOptions(bytes.data(), bytes.size(), &settings);
  for (const OptionKey& option : kOptionKeys)
    if (strcmp(option.key, key) == 0) return settings.*option.value;
  return -99;
}

}  // namespace

TEST(IniOptions, KeyMatchingEdges) {
  const std::tuple<const char*, const char*, int> rows[] = {
      {"SIZE=1\n", "SIZE", 1},       {"SIZE=0\n", "SIZE", 1},       {"SIZE=\n", "SIZE", 1},
      {"SIZE=1\r\n", "SIZE", 1},     {"size=1\n", "SIZE", 0},       {" SIZE=1\n", "SIZE", 0},
      {"SIZE =1\n", "SIZE", 0},      {"NAME=2\n", "NAME", 2},       {"NAME=12\n", "NAME", 1},
      {"NAME=x\n", "NAME", 0},       {"NAME=9\n", "NAME", 9},       {"TYPE=-1\n", "TYPE", 0},
      {"TYPE=4\nTYPE=1", "TYPE", 1}, {"NAME=2\nNAME", "NAME", 0},   {"LOG", "LOG", 1},
      {"LOG\n", "LOG", 0},           {"LOG\r\n", "LOG", 0},         {"# LOG=1\n", "LOG", 0},
      {"[LOG]=1\n", "LOG", 0},       {"IncScene=1", "IncScene", 1}, {"incbeta=1\n", "IncBeta", 0}};
  for (const auto& [bytes, key, value] : rows) EXPECT_EQ(value, Option(bytes, key)) << bytes;
  // Lines of any length: the tail of a long line is never read as a line of its own.
  const std::string mb(1 << 20, '7');
  EXPECT_EQ(0, Option("# " + mb + "LOG=1\n", "LOG"));
  EXPECT_EQ(1, Option("# " + mb + "\nNAME=" + mb + "\nLOG=1\n", "LOG"));
}

TEST(IniPaths, LaterLinesWinAndLongValuesArePassedOver) {
  // The SRC field after the lines; "-" when no line gave it.
  auto source = [](const std::string& bytes) {
    IniPaths paths = {};
    ParseIniPaths(bytes.data(), bytes.size(), &paths);
    EXPECT_FALSE(paths.present[0] || paths.present[2]) << bytes;
    return std::string(paths.present[1] ? paths.value[1] : "-");
  };
  const char* rows[][2] = {{"SRC=C:\\a=b\n", "C:\\a=b"},
                           {"SRC=C:\\x\r\n", "C:\\x"},
                           {"SRC=a\nSRC=b\n", "b"},
                           {"SRC=a\nSRC=\n", ""},
                           {"SRC=a\nSRC", ""},
                           {"SRC=a\nSRC\n", "a"},
                           {"src=a\n", "-"}};
  for (const auto& [bytes, value] : rows) EXPECT_EQ(value, source(bytes)) << bytes;
  const std::string p260 = "C:\\" + std::string(257, 'p');
  // A line one character too long leaves the value before it (259 and 260 through the program
  // and its fields: the end-to-end start-up tests).
  EXPECT_EQ("a", source("SRC=a\nSRC=" + p260));
}

class IniFileTest : public CoreTest {};

TEST_F(IniFileTest, WritesEveryLineInItsPlace) {
  const std::string ini = SystemPath("x.ini");
  Settings s = Settings();
  for (const OptionKey& option : kOptionKeys) s.*option.value = 5;  // any nonzero flag is on
  s.NAME = 2;
  s.TYPE = -1;
  const char* const paths[kIniPathCount] = {"C:\\db\\x (QVX).zip", "C:\\", "D:\\out=here"};
  ASSERT_EQ(1, WriteIniFile(ini.c_str(), paths, s));
  EXPECT_EQ(
      "# QVX GBA v0.3a INI\n\n# Paths\n\nDB=C:\\db\\x (QVX).zip\nSRC=C:\\\nDEST=D:\\out=here\n\n"
      "# Naming Options\n\nCODE=1\nCRC=1\nGRP=1\nNUM=1\nPUB=1\nSIZE=1\nNAME=2\n\n"
      "# Renaming Options\n\nCLEAN=1\nDELBAD=1\nDELDUPE=1\nFIX=1\nLOG=1\nINZIP=1\nSUB=1\n"
      "TYPE=-1\n\n# IncludeList\n\nIncAlt=1\nIncBeta=1\nIncDevKit=1\nIncHardware=1\n"
      "IncPirate=1\nIncPnesHacks=1\nIncPreTrained=1\nIncScene=1\n",
      ReadTextFile(NativePath("x.ini")));
  EXPECT_FALSE(FileExists(NativePath("x.ini.new")));
}
