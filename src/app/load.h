// load.h: the Load command, and the load at start-up.
#pragma once

// Loads the database at path (a zip whose first entry is the dat, or a plain Logiqx or
// clrmamepro dat): the commands disabled, the table and the list emptied, the dat read and
// parsed while the title names the ROMs, the commands enabled, the haves marked and the list
// refreshed. Returns 1 when the dat was read to its end (also with no ROM lines); 0 after a
// failure, which it shows captioned "Database Error" and which leaves the table empty and the
// commands disabled.
int LoadDatabase(const char* path);
