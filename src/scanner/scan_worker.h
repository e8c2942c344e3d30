// scan_worker.h: the body of the scan worker thread, and the scan mode it runs in.
#pragma once

#include <cstdint>

class Window;

// The scan mode, set by the main window just before it starts the worker:
// Rename 1/0, Scan 0/0, Move 0/1.
extern int32_t g_rename_flag;
extern int32_t g_move_flag;

// Runs one Scan, Rename or Move over the source folder in the window's path fields and its
// direct sub-folders. Ends, on success and on every error, with the scan-finished command
// sent to window; the thread entry returns after it.
void ScanWorker(Window& window);

// The main window's handling of the scan-finished command: the controls a scan disabled
// are enabled again and the idle title restored.
void OnScanFinished();

// The folder list's limits: folders beyond them are passed over.
constexpr int kMaxFolders = 8096;
constexpr int kFolderPathSize = 512;
