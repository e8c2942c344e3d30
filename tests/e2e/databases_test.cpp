// Today's dats through the real program: a No-Intro Logiqx dat loaded at start-up, listed as
// a QVX dat would be, scanned and moved into region folders under names in the Windows code
// page. (Zipped and broken dats load through the same code: core_tests.exe.)
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

using DatabasesTest = ProgramTest;

TEST_F(DatabasesTest, ALogiqxDatLoadsAndPlacesByRegion) {
  const std::vector<DatGameOf> games = {
      GameOf(images_[0], "Alpha Quest (USA, Europe)"),
      GameOf(images_[1], "Beta Blaster (Japan) (Beta)"),
      GameOf(images_[2], "Pok\xC3\xA9mon Comet (Europe) (En,Fr,De)"),  // UTF-8, as XML gives it
      GameOf(images_[3], "Delta (World)")};
  const std::string pokemon = "Pok\xE9mon Comet (Europe) (En,Fr,De)";  // the same in cp1252
  WriteFile(Work("gba.xml"), TodayDat(games, DatStyle::kStandard));
  const std::string src = Work("src"), dest = Work("dest");
  ASSERT_TRUE(CreateDirectoryA(src.c_str(), nullptr) && CreateDirectoryA(dest.c_str(), nullptr));
  WriteFile(src + "\\a.gba", images_[0]);
  WriteZip(src + "\\b.zip", {{"x.gba", images_[1]}});
  WriteZip(src + "\\c.zip", {{"c.gba", images_[2]}});
  WriteFile(src + "\\d.gba", images_[3]);
  ASSERT_TRUE(Launch({"DB=" + Work("gba.xml"), "SRC=" + src, "DEST=" + dest, "SUB=1", "TYPE=1"}));

  // The beta is left out until its box is ticked, as in a QVX dat.
  EXPECT_EQ(app_.Rows(), (Lines{"Alpha Quest (USA, Europe)", "Delta (World)", pokemon}));
  EXPECT_EQ(Counters(), (Lines{"3 (4)", "0", "3"}));

  ASSERT_TRUE(app_.Press(IDC_RENAME));
  ASSERT_TRUE(app_.Answer("Scan", "Done!", kScanWaitMs));
  ASSERT_TRUE(app_.WaitIdle());
  EXPECT_EQ(Counters(), (Lines{"4 (4)", "4", "0"}));
  ASSERT_TRUE(app_.Close());
  EXPECT_EQ(Tree(work_ / "src"), Lines{});
  // The accented name is é on disk (the tree reads names as UTF-8), not UTF-8's bytes taken
  // as code-page characters ("PokÃ©mon").
  EXPECT_EQ(Tree(work_ / "dest"),
            (Lines{"Europe/", "Europe/Pok\xC3\xA9mon Comet (Europe) (En,Fr,De).zip", "Japan/",
                   "Japan/Beta Blaster (Japan) (Beta).zip", "USA/",
                   "USA/Alpha Quest (USA, Europe).gba", "World/", "World/Delta (World).gba"}));
}

}  // namespace
}  // namespace e2e
