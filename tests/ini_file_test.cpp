// The INI file: exact lines written, key matching when read, options only after a good load.
#include "app/startup.h"
#include "settings/ini_file.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "database/rom_table.h"
#include "support/core_test.h"
#include "settings/settings.h"
#include "app/controls.h"
#include "platform/program_dir.h"

class IniFileTest : public CoreTest {
 protected:
  std::string IniPath() { return NativePath(kIniFileName); }
  // A loadable database beside the INI file; returns its path in the system's format.
  std::string MakeDatabase() {
    WriteZip(NativePath("db (QVX).zip"),
             {{"db.dat", "[QVXDAT]\n[COMMENT]\n[ROMS]\naa:1:A (E):1:Roms\nbb:1:B:2:Beta\n"}});
    return SystemPath("db (QVX).zip");
  }
  // Loads an INI made of a good DB line followed by lines.
  void LoadWith(const std::string& lines) {
    ResetSettings();
    WriteFile(IniPath(), "DB=" + MakeDatabase() + "\n" + lines);
    ASSERT_EQ(1, LoadIni());
  }
};

TEST_F(IniFileTest, NoFileMeansDefaultsAndSilence) {
  EXPECT_EQ(0, LoadIni());
  EXPECT_TRUE(window_.messages().empty());
  EXPECT_EQ("", window_.text(IDC_DATABASE_FIELD));
  const Settings zero = Settings();
  EXPECT_EQ(0, memcmp(&zero, &g_settings, sizeof(Settings)));
  EXPECT_EQ("Tarnwick", window_.title());  // nothing was loaded
}

TEST_F(IniFileTest, DefaultsAreEighteenLines) {
  ASSERT_EQ(1, SaveIni());
  EXPECT_EQ(
      "# QVX GBA v0.3a INI\n\n# Paths\n\nDB=\nSRC=\nDEST=\n\n# Naming Options\n\nNAME=0\n\n"
      "# Renaming Options\n\nTYPE=0\n\n# IncludeList\n\n",
      ReadTextFile(IniPath()));
  EXPECT_FALSE(FileExists(IniPath() + ".new"));
}

TEST_F(IniFileTest, EverySetFlagInItsPlace) {
  Settings& s = g_settings;
  s.CODE = s.CRC = s.GRP = s.NUM = s.PUB = s.SIZE = 1;
  s.CLEAN = s.DELBAD = s.DELDUPE = s.FIX = s.LOG = s.INZIP = s.SUB = 5;  // any nonzero is on
  s.IncAlt = s.IncBeta = s.IncDevKit = s.IncHardware = 1;
  s.IncPirate = s.IncPnesHacks = s.IncPreTrained = s.IncScene = 1;
  s.NAME = 2;
  s.TYPE = -1;
  window_.SetControlText(IDC_DATABASE_FIELD, "C:\\db\\x (QVX).zip");
  window_.SetControlText(IDC_SOURCE_FIELD, "C:\\");
  window_.SetControlText(IDC_DEST_FIELD, "D:\\out=here");
  ASSERT_EQ(1, SaveIni());
  EXPECT_EQ(
      "# QVX GBA v0.3a INI\n\n# Paths\n\nDB=C:\\db\\x (QVX).zip\nSRC=C:\\\nDEST=D:\\out=here\n\n"
      "# Naming Options\n\nCODE=1\nCRC=1\nGRP=1\nNUM=1\nPUB=1\nSIZE=1\nNAME=2\n\n"
      "# Renaming Options\n\nCLEAN=1\nDELBAD=1\nDELDUPE=1\nFIX=1\nLOG=1\nINZIP=1\nSUB=1\n"
      "TYPE=-1\n\n# IncludeList\n\nIncAlt=1\nIncBeta=1\nIncDevKit=1\nIncHardware=1\n"
      "IncPirate=1\nIncPnesHacks=1\nIncPreTrained=1\nIncScene=1\n",
      ReadTextFile(IniPath()));
}

TEST_F(IniFileTest, RoundTrip) {
  std::string database = MakeDatabase();
  for (int value = 0; value <= 2; ++value) {
    SCOPED_TRACE(value);
    ResetSettings();
    g_settings.NAME = value;
    g_settings.TYPE = 2 - value;
    g_settings.LOG = g_settings.IncBeta = g_settings.NUM = 1;
    window_.SetControlText(IDC_DATABASE_FIELD, database.c_str());
    window_.SetControlText(IDC_SOURCE_FIELD, "C:\\roms");
    window_.SetControlText(IDC_DEST_FIELD, "");
    ASSERT_EQ(1, SaveIni());
    Settings saved = g_settings;
    ResetSettings();
    window_.SetControlText(IDC_DATABASE_FIELD, "");
    window_.SetControlText(IDC_SOURCE_FIELD, "");
    ASSERT_EQ(1, LoadIni());
    EXPECT_EQ(0, memcmp(&saved, &g_settings, sizeof(Settings)));
    EXPECT_EQ(database, window_.text(IDC_DATABASE_FIELD));
    EXPECT_EQ("C:\\roms", window_.text(IDC_SOURCE_FIELD));
    EXPECT_EQ(2, rom_count);
    EXPECT_EQ("2 (2)", window_.text(IDC_KNOWN_COUNTER));  // refreshed with IncBeta restored
  }
}

TEST_F(IniFileTest, KeyMatchingEdges) {
  struct Row {
    const char* lines;
    int32_t Settings::*field;
    int32_t expected;
  } rows[] = {
      {"size=1\n", &Settings::SIZE, 0},
      {" SIZE=1\n", &Settings::SIZE, 0},
      {"SIZE =1\n", &Settings::SIZE, 0},
      {"SIZE=0\n", &Settings::SIZE, 1},
      {"SIZE=\n", &Settings::SIZE, 1},
      {"SIZE=1\r\n", &Settings::SIZE, 1},
      {"NAME=2\n", &Settings::NAME, 2},
      {"NAME=12\n", &Settings::NAME, 1},
      {"NAME=x\n", &Settings::NAME, 0},
      {"NAME=\n", &Settings::NAME, 0},
      {"NAME=9\n", &Settings::NAME, 9},
      {"TYPE=3\n", &Settings::TYPE, 3},
      {"TYPE=-1\n", &Settings::TYPE, 0},
      {"TYPE=4\nTYPE=1\n", &Settings::TYPE, 1},
      {"LOG", &Settings::LOG, 1},    // last line without "=" nor line feed
      {"LOG\n", &Settings::LOG, 0},  // with its line feed it is no key
      {"LOG\r\n", &Settings::LOG, 0},
      {"NAME=2\nNAME", &Settings::NAME, 0},
      {"# LOG=1\n", &Settings::LOG, 0},
      {"IncBeta=1\n", &Settings::IncBeta, 1},
      {"incbeta=1\n", &Settings::IncBeta, 0},
      {"[LOG]=1\n", &Settings::LOG, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lines);
    LoadWith(r.lines);
    EXPECT_EQ(r.expected, g_settings.*r.field);
  }
}

TEST_F(IniFileTest, PathLines) {
  struct Row {
    std::string lines;
    int id;
    std::string expected;
  } rows[] = {
      {"SRC=C:\\a=b\n", IDC_SOURCE_FIELD, "C:\\a=b"},
      {"DEST=C:\\one\nDEST=C:\\two\n", IDC_DEST_FIELD, "C:\\two"},
      {"SRC=C:\\x\r\n", IDC_SOURCE_FIELD, "C:\\x"},
      {"SRC=C:\\x\nSRC=\n", IDC_SOURCE_FIELD, ""},
      // Longer than a field holds: passed over rather than used cut.
      {"SRC=C:\\" + std::string(257, 'p') + "\n", IDC_SOURCE_FIELD, ""},
      {"DEST=C:\\x\nDEST=C:\\" + std::string(600, 'q') + "\n", IDC_DEST_FIELD, "C:\\x"},
      {"SRC=C:\\x\nSRC", IDC_SOURCE_FIELD, ""},  // a bare last line empties the field
      {"src=C:\\x\n", IDC_SOURCE_FIELD, ""},
      {"SRC=C:\\x\nSRC\n", IDC_SOURCE_FIELD, "C:\\x"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.lines);
    window_.SetControlText(IDC_SOURCE_FIELD, "");
    window_.SetControlText(IDC_DEST_FIELD, "");
    LoadWith(r.lines);
    EXPECT_EQ(r.expected, window_.text(r.id));
  }
}

TEST_F(IniFileTest, LongPathsComeBackWhole) {
  std::string source = "C:\\" + std::string(256, 'p');  // 259 characters
  std::string dest = "D:\\" + std::string(256, 'q');
  LoadWith("SRC=" + source + "\nDEST=" + dest + "\nLOG=1\n");
  EXPECT_EQ(source, window_.text(IDC_SOURCE_FIELD));
  EXPECT_EQ(dest, window_.text(IDC_DEST_FIELD));
  EXPECT_EQ(1, g_settings.LOG);
  // Whole lines of any length: the tail of a long line is never read as a line of its own.
  LoadWith("# " + std::string(5000, '#') + "LOG=1\n");
  EXPECT_EQ(0, g_settings.LOG);
}

TEST_F(IniFileTest, MegabyteLinesAreCutNotCarriedIntoTheNextLine) {
  const std::string megabyte(1 << 20, 'p');
  LoadWith("# " + megabyte + "\nSRC=" + megabyte + "\nDEST=D:\\roms\nLOG=1\nNAME=" + megabyte +
           "\n");
  EXPECT_EQ(1, g_settings.LOG);
  EXPECT_EQ(0, g_settings.NAME);
  EXPECT_EQ("D:\\roms", window_.text(IDC_DEST_FIELD));
  EXPECT_EQ("", window_.text(IDC_SOURCE_FIELD));
}

// A database that cannot be loaded (an unplugged drive, a renamed file) keeps the user's
// options: they are restored anyway, and the INI written at close carries them on.
TEST_F(IniFileTest, OptionsSurviveAFailedLoad) {
  const std::string too_long = "DB=C:\\" + std::string(300, 'd') + "\n";
  for (const std::string& db_line : std::vector<std::string>{
           "DB=\n", "DB=" + SystemPath("missing.zip") + "\n", "", too_long}) {
    SCOPED_TRACE(db_line.substr(0, 20));
    ResetSettings();
    window_.ClearRecord();
    window_.SetControlText(IDC_DATABASE_FIELD, "");
    WriteFile(IniPath(), db_line + "SRC=C:\\roms\nLOG=1\nNAME=2\nIncBeta=1\n");
    ASSERT_EQ(1, LoadIni());
    ASSERT_EQ(1u, window_.messages().size());
    EXPECT_EQ("Unable To Load Dat File!", window_.messages()[0].text);
    EXPECT_EQ(0, rom_count);
    EXPECT_FALSE(window_.enabled(IDC_SCAN));
    EXPECT_EQ("C:\\roms", window_.text(IDC_SOURCE_FIELD));
    EXPECT_EQ(1, g_settings.LOG);
    EXPECT_EQ(2, g_settings.NAME);
    ASSERT_EQ(1, SaveIni());
    std::string saved = ReadTextFile(IniPath());
    EXPECT_NE(std::string::npos, saved.find("\nNAME=2\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("\nLOG=1\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("\nIncBeta=1\n")) << saved;
  }
}

TEST_F(IniFileTest, SaveFailuresKeepTheOldFile) {
  WriteFile(IniPath(), "old contents\n");
#ifndef _WIN32  // a full disk is stood in for by a link to /dev/full, which Windows lacks
  if (FileExists("/dev/full")) {
    // The disk fills while the new file is written.
    ASSERT_EQ(0, symlink("/dev/full", (IniPath() + ".new").c_str()));
    EXPECT_EQ(0, SaveIni());
    EXPECT_EQ("old contents\n", ReadFile(IniPath()));
    ASSERT_EQ(1u, window_.messages().size());
    EXPECT_EQ("Error Saving Ini!", window_.messages()[0].text);
    EXPECT_EQ("Save Error", window_.messages()[0].caption);
    window_.ClearRecord();
  }
#endif
  // The file cannot be created at all.
  SetProgramDirectory("\\nonexistent-folder-for-tarnwick\\x.exe");
  EXPECT_EQ(0, SaveIni());
  ASSERT_EQ(1u, window_.messages().size());
  EXPECT_EQ("Error Saving Ini!", window_.messages()[0].text);
}
