// Start-up and close: the INI read into the window and the options, and written back.
#include "app/startup.h"

#include "app/controls.h"
#include "database/rom_table.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/core_test.h"

class StartupTest : public CoreTest {
 protected:
  void StartUp() { ::StartUp(window_, SystemPath("tarnwick.exe").c_str()); }
};

TEST_F(StartupTest, SavedOptionsAndPathsComeBack) {
  WriteZip(NativePath("db.zip"),
           {{"db.dat", "[QVXDAT]\n[COMMENT]\n[ROMS]\naa:1:A:1:Roms\nbb:1:B:2:Beta\n"}});
  g_settings.NAME = 2;
  g_settings.LOG = g_settings.IncBeta = 1;
  window_.SetControlText(IDC_DATABASE_FIELD, SystemPath("db.zip").c_str());
  window_.SetControlText(IDC_SOURCE_FIELD, "C:\\roms");
  ASSERT_EQ(1, SaveIni());
  Settings saved = g_settings;
  ResetSettings();
  window_.SetControlText(IDC_DATABASE_FIELD, "");
  window_.SetControlText(IDC_SOURCE_FIELD, "");
  StartUp();
  EXPECT_EQ(0, memcmp(&saved, &g_settings, sizeof(Settings)));
  EXPECT_EQ(SystemPath("db.zip") + " C:\\roms",
            window_.text(IDC_DATABASE_FIELD) + " " + window_.text(IDC_SOURCE_FIELD));
  EXPECT_EQ("2 (2)", window_.text(IDC_KNOWN_COUNTER));  // refreshed with IncBeta restored
}

// An unplugged drive or a renamed database keeps the user's options, so the INI written at
// close carries them on. (A save that fails is the fault sweeps' and the e2e tests'.)
TEST_F(StartupTest, OptionsSurviveAFailedLoad) {
  for (const std::string& db_line : {std::string(""), "DB=" + SystemPath("missing.zip") + "\n"}) {
    WriteFile(NativePath(kIniFileName), db_line + "SRC=C:\\roms\nLOG=1\nNAME=2\n");
    ASSERT_EQ(1, LoadIni());
    EXPECT_EQ("C:\\roms", window_.text(IDC_SOURCE_FIELD));
    ASSERT_EQ(1, SaveIni());
    EXPECT_NE(std::string::npos, ReadTextFile(NativePath(kIniFileName))
                                     .find("NAME=2\n\n# Renaming Options\n\nLOG=1\nTYPE=0"));
    ASSERT_EQ(1u, window_.messages().size());
    EXPECT_EQ("Unable To Load Dat File!", window_.messages()[0].text);
    window_.ClearRecord();
  }
}
