// ini_file.h: the settings file beside the executable, read once at start, written at close.
#pragma once

constexpr char kIniFileName[] = "qvxgba.ini";

// Restores the paths, loads the database they name, and only if that load succeeds restores
// the options and refreshes the list. Returns 1 when the file was opened, 0 when absent.
int LoadIni();

// Writes the paths and options. The old file is replaced only once the new one is complete;
// on any failure "Error Saving Ini!" is shown, the old file stays as it was, and 0 returned.
int SaveIni();
