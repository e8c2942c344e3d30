// controls.h: the main window's control numbers, the one list of them: the resource script,
// the program, the end-to-end tests and the benchmark's driver all include it. Plain macros,
// so the resource compiler reads it too. Every command is dispatched on these numbers alone.
#pragma once

#define IDC_DATABASE_FIELD 1008
#define IDC_LOAD 1009
#define IDC_RENAME 1013
#define IDC_SCAN 1014
#define IDC_MOVE 1015
#define IDC_SOURCE_FIELD 1016
#define IDC_PICK_SOURCE 1017
#define IDC_DEST_FIELD 1018
#define IDC_PICK_DEST 1019
#define IDC_ROM_LIST 1021
#define IDC_SHOW_MISS 1022
#define IDC_SAVE_LISTS 1024
#define IDC_SHOW_ALL 1025
#define IDC_SHOW_HAVE 1026
#define IDC_KNOWN_COUNTER 1028  // a static text: it sends no command
#define IDC_MISS_COUNTER 1029
#define IDC_HAVE_COUNTER 1030
#define IDC_PROGRESS 1033
#define IDC_RESET_HAVES 1034
#define IDC_INCLUDE_OPTIONS 1054
#define IDC_NAMING_OPTIONS 1055
#define IDC_RENAMING_OPTIONS 1056
#define IDC_PROGRESS_GROUP 1060

// Sent by the scan worker, never by a control: 1028 as a command always means this.
#define CMD_SCAN_FINISHED 1028
