// The category filter: "Roms" always counts; special dumps count when their flag is on.
#include "naming/inclusion.h"

#include "support/core_test.h"
#include "settings/settings.h"

namespace {

enum Flag {
  kAlt = 1,
  kBeta = 2,
  kDevKit = 4,
  kHardware = 8,
  kPirate = 16,
  kPnes = 32,
  kPreTrained = 64,
  kScene = 128,
  kAll = 255,
};

void SetFlags(int flags) {
  g_settings.IncAlt = (flags & kAlt) != 0;
  g_settings.IncBeta = (flags & kBeta) != 0;
  g_settings.IncDevKit = (flags & kDevKit) != 0;
  g_settings.IncHardware = (flags & kHardware) != 0;
  g_settings.IncPirate = (flags & kPirate) != 0;
  g_settings.IncPnesHacks = (flags & kPnes) != 0;
  g_settings.IncPreTrained = (flags & kPreTrained) != 0;
  g_settings.IncScene = (flags & kScene) != 0;
}

}  // namespace

TEST(InclusionFilter, CategoryKeywords) {
  struct Row {
    const char* category;
    int flags;
    bool included;
  } rows[] = {
      {"Roms", 0, true},
      {"Beta", 0, false},
      {"Beta", kBeta, true},
      {"Beta", kScene, false},
      {"BetaRoms", 0, true},
      {"Alternative", kAlt, true},
      {"SceneIntro", kScene, true},
      {"PreTrainedScene", kScene, true},
      {"PreTrainedScene", kPreTrained, true},
      {"PreTrainedScene", kAll & ~(kScene | kPreTrained), false},
      {"roms", 0, false},
      {"", kAll, false},
      {"DevKitDemos", kDevKit, true},
      {"DevKit", kDevKit, false},
      {"Hardware", kHardware, true},
      {"Pirate", kPirate, true},
      {"PnesHacks", kPnes, true},
      {"PnesHacks", kPirate, false},
      {"Hardware", kAll & ~kHardware, false},
  };
  for (const Row& r : rows) {
    SetFlags(r.flags);
    EXPECT_EQ(r.included, IsCategoryIncluded(r.category)) << r.category << " flags " << r.flags;
  }
  SetFlags(0);
}

TEST(InclusionFilter, AnyNonzeroValueIsOn) {
  g_settings.IncBeta = 7;
  EXPECT_TRUE(IsCategoryIncluded("Beta"));
  g_settings.IncBeta = 0;
  EXPECT_FALSE(IsCategoryIncluded("Beta"));
}
