// settings.cpp: the process-wide option values.
#include "settings/settings.h"

Settings g_settings;

void ResetSettings() { g_settings = Settings(); }
