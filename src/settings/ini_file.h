// ini_file.h: the settings file beside the executable, read once at start, written at close.
#pragma once

constexpr char kIniFileName[] = "qvxgba.ini";

// Restores the paths (a value longer than 259 characters is passed over), loads the database
// they name, restores the options whether or not that load succeeded, and after a good load
// refreshes the list. Returns 1 when the file was opened, 0 when absent.
int LoadIni();

// Writes the paths and options. The old file is replaced only once the new one is complete;
// on any failure "Error Saving Ini!" is shown, the old file stays as it was, and 0 returned.
int SaveIni();
