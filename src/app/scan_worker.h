// scan_worker.h: the body of the scan worker thread, as the window shows a run.
#pragma once

#include "scanner/placement.h"

class Window;

// Runs one Scan, Rename or Move over the folders in the window's path fields: the eleven
// controls disabled, the scanning title, the progress bar moved, then "Done!" (after a list
// refresh on the UI thread) or the error captioned "Scan Error". Ends, either way, with the
// scan-finished command sent to window; the thread entry returns after it.
void ScanWorker(Window& window, ScanMode mode);

// The main window's handling of the scan-finished command: the controls a scan disabled
// are enabled again and the idle title restored.
void OnScanFinished(Window& window);

// Commands that must do nothing while a worker runs: a click queued before the worker
// disabled its button would start a second scan, or load, sort, reset or change options under
// the running one.
bool IsRefusedDuringScan(int command);
