// settings.h: the 23 option values, named by their INI keys, and the one table of those keys.
// The values are process-wide: read in place by naming, scanner and reports, written only by
// the option dialogs when they close and by the INI reader at start-up.
#pragma once

#include <cstdint>

struct Settings {
  // Naming
  int32_t NAME;  // 0 normal, 1 friendly, 2 scene release name; the INI file can give 0 to 9
  int32_t NUM;
  int32_t SIZE;
  int32_t CRC;
  int32_t GRP;
  int32_t PUB;   // shown and saved only
  int32_t CODE;  // shown and saved only
  // Renaming
  int32_t SUB;
  int32_t TYPE;  // 0 category, 1 country, 2 size, 3 extra text, 4 group; -1 when unselected
  int32_t LOG;
  int32_t CLEAN;    // shown and saved only
  int32_t DELBAD;   // shown and saved only
  int32_t DELDUPE;  // shown and saved only
  int32_t FIX;      // shown and saved only
  int32_t INZIP;    // shown and saved only
  // Which special categories count as part of the set
  int32_t IncAlt;
  int32_t IncBeta;
  int32_t IncDevKit;
  int32_t IncHardware;
  int32_t IncPirate;
  int32_t IncPnesHacks;
  int32_t IncPreTrained;
  int32_t IncScene;
};

extern Settings g_settings;

// Back to the start-up state: every option zero.
void ResetSettings();

// A flag is on exactly when its key is present in the INI file and is written as "KEY=1" only
// when set; NAME and TYPE take one digit when read and are always written, in decimal.
enum class OptionKind { kFlag, kNumber };
enum class OptionSection { kNaming, kRenaming, kIncludeList };

struct OptionKey {
  const char* key;
  int32_t Settings::*value;
  OptionKind kind;
  OptionSection section;
};

// Every option, in the order the INI file lists them.
constexpr int kOptionCount = 23;
extern const OptionKey kOptionKeys[kOptionCount];
