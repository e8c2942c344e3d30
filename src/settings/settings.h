// settings.h: the 23 option values, named by their INI keys, all zero at start.
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
