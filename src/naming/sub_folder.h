// sub_folder.h: the destination sub-folder of a ROM, chosen by the TYPE option.
#pragma once

#include "naming/display_name.h"

// The sub-folder name of record index: category, country, size, extra text or group.
// A TYPE outside 0 to 4 gives an empty name (the file goes to the destination itself).
NameText BuildSubFolderName(int index);

// The country sub-folder for a normal release name of a QVX dat, "UNKNOWN" when it carries no
// tag.
const char* CountryOfName(const char* name);

// The same for a name of a Logiqx or clrmamepro dat, by its region tag ("(USA, Europe)").
void RegionOfName(const char* name, char (&folder)[1024]);
