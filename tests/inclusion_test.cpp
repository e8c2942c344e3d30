// The category filter: "Roms" always counts; special dumps count when their flag is on.
#include "naming/inclusion.h"

#include <gtest/gtest.h>

#include <tuple>

#include "settings/settings.h"

TEST(InclusionFilter, CategoryKeywords) {
  int32_t Settings::*const flags[] = {&Settings::IncAlt,        &Settings::IncBeta,
                                      &Settings::IncDevKit,     &Settings::IncHardware,
                                      &Settings::IncPirate,     &Settings::IncPnesHacks,
                                      &Settings::IncPreTrained, &Settings::IncScene};
  // Each category with the flags (one bit each, in the order above) that take it in.
  const std::tuple<const char*, int> rows[] = {{"Roms", 0},
                                               {"BetaRoms", 0},
                                               {"Alternative", 1},
                                               {"Beta", 2},
                                               {"DevKitDemos", 4},
                                               {"Hardware", 8},
                                               {"Pirate", 16},
                                               {"PnesHacks", 32},
                                               {"PreTrainedScene", 64 | 128},
                                               {"SceneIntro", 128},
                                               {"DevKit", -1},
                                               {"roms", -1},
                                               {"", -1}};
  for (const auto& [category, takers] : rows) {
    for (int bit = -1; bit < 8; ++bit) {  // no flag, then each flag alone
      for (int b = 0; b < 8; ++b) g_settings.*flags[b] = b == bit ? 7 : 0;  // nonzero is on
      bool expected = takers == 0 || (bit >= 0 && takers > 0 && (takers >> bit & 1));
      EXPECT_EQ(expected, IsCategoryIncluded(category)) << category << " flag " << bit;
    }
  }
  ResetSettings();
}
