// resource.h: resource numbers shared by tarnwick.rc and the dialog code. Control numbers of
// the main window are in app/controls.h; the option dialogs' own numbers are here.
#pragma once

#define IDI_TARNWICK 102

// Include/Exclude dialog: one check box per special category.
#define IDC_INC_ALT 1023
#define IDC_INC_BETA 1024
#define IDC_INC_DEVKIT 1025
#define IDC_INC_HARDWARE 1026
#define IDC_INC_PIRATE 1027
#define IDC_INC_PNES_HACKS 1028
#define IDC_INC_PRE_TRAINED 1029
#define IDC_INC_SCENE 1030

// Naming Options dialog.
#define IDC_NAME_NORMAL 1055
#define IDC_NAME_FRIENDLY 1056
#define IDC_NAME_SCENE 1057
#define IDC_NAMING_NUM 1012
#define IDC_NAMING_GRP 1035
#define IDC_NAMING_PUB 1052
#define IDC_NAMING_CODE 1023
#define IDC_NAMING_SIZE 1036
#define IDC_NAMING_CRC 1037

// Renaming Options dialog.
#define IDC_RENAMING_SUB 1010
#define IDC_RENAMING_TYPE 1051
#define IDC_RENAMING_DELBAD 1011
#define IDC_RENAMING_DELDUPE 1012
#define IDC_RENAMING_FIX 1023
#define IDC_RENAMING_INZIP 1027
#define IDC_RENAMING_CLEAN 1028
#define IDC_RENAMING_LOG 1038
