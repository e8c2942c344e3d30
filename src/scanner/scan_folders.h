// scan_folders.h: one Scan, Rename or Move over a source folder and its direct sub-folders:
// the folder list, the counting pass and the main pass.
#pragma once

#include "scanner/placement.h"

// How a run ended. Every outcome but kDone stopped it where it says; what was done to files,
// have flags and the haves file before then stays done.
enum class ScanOutcome {
  kDone,
  kNoSource,             // the source text is empty: nothing was done
  kNoDestination,        // Rename or Move without a destination: nothing was done
  kDestinationNotFound,  // Rename or Move to a destination that is no existing folder: nothing
  kUnreadableFolder,     // the source, or a listed folder, cannot be read
};

// Told each file's progress position (0 to 100) before the file is identified.
using ScanProgressHook = void (*)(int position, void* context);

// Runs mode over the files of source and of its direct sub-folders, in the order the file system
// lists them; dest is read only by Rename and Move. Both texts are the run's own copies, at
// most 259 characters; a drive root ("C:\", "D:\") keeps its one separator.
ScanOutcome ScanFolders(ScanMode mode, const char* source, const char* dest,
                        ScanProgressHook progress, void* context);

// The folder list's limits: folders beyond them are passed over.
constexpr int kMaxFolders = 8096;
constexpr int kFolderPathSize = 512;
