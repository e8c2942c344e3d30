// The category filter: "Roms" always counts; special dumps count when their flag is on.
#include "naming/inclusion.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

TEST(InclusionFilter, CategoryKeywords) {
  int32_t Settings::*const flags[] = {&Settings::IncAlt,        &Settings::IncBeta,
                                      &Settings::IncDevKit,     &Settings::IncHardware,
                                      &Settings::IncPirate,     &Settings::IncPnesHacks,
                                      &Settings::IncPreTrained, &Settings::IncScene};
  // The category each flag above takes in; IncScene takes in "PreTrainedScene" as well.
  const char* own[] = {"Alternative", "Beta",      "DevKitDemos",     "Hardware",
                       "Pirate",      "PnesHacks", "PreTrainedScene", "SceneIntro"};
  for (int bit = -1; bit < 8; ++bit) {  // no flag, then each flag alone
    for (int b = 0; b < 8; ++b) g_settings.*flags[b] = b == bit ? 7 : 0;  // nonzero is on
    for (int c = 0; c < 8; ++c)
      EXPECT_EQ(c == bit || (c == 6 && bit == 7), IsCategoryIncluded(own[c])) << own[c] << bit;
    for (const char* category : {"Roms", "BetaRoms"}) EXPECT_TRUE(IsCategoryIncluded(category));
    for (const char* category : {"DevKit", "roms", ""})
      EXPECT_FALSE(IsCategoryIncluded(category)) << category << " flag " << bit;
  }
  ResetSettings();
}
