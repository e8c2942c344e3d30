// The category filter: "Roms" always counts; a special dump counts when its flag is on.
#include "naming/inclusion.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

// Each flag taking in its own category and no other is the end-to-end include test's; here,
// a keyword inside a longer category, and the case of the keywords.
TEST(InclusionFilter, KeywordsInsideACategory) {
  g_settings.IncScene = g_settings.IncDevKit = 7;  // any nonzero value is on
  // "DevKit" is short of its keyword, "DevKitDemos".
  const std::pair<const char*, bool> rows[] = {
      {"PreTrainedScene", true}, {"SceneIntro", true}, {"BetaRoms", true}, {"PreTrained", false},
      {"scene", false},          {"roms", false},      {"DevKit", false},  {"", false}};
  for (const auto& [category, included] : rows)
    EXPECT_EQ(included, IsCategoryIncluded(category)) << category;
  ResetSettings();
}
