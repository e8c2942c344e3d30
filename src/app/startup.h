// startup.h: what the program does when its main window opens and when it is destroyed.
#pragma once

class Window;

// The main window's initialisation once the window exists: the show filter on Show All, the
// idle title, the program directory from the executable's path, LoadIni.
void StartUp(Window& window, const char* executable_path);

// Reads qvxgba.ini beside the executable: restores the paths, loads the database they name,
// restores the options whether or not that load succeeded, and after a good load refreshes the
// list. Returns 1 when the file was opened, 0 when it is absent (then nothing is done at all).
int LoadIni();

// Writes the paths and options to qvxgba.ini; on any failure shows "Error Saving Ini!"
// (captioned "Save Error"), leaves the old file as it was, and returns 0.
int SaveIni();
