// controls.h: the main window's control numbers; every command is dispatched on these alone.
#pragma once

namespace ctl {
constexpr int kDatabaseField = 1008;
constexpr int kLoad = 1009;
constexpr int kRename = 1013;
constexpr int kScan = 1014;
constexpr int kMove = 1015;
constexpr int kSourceField = 1016;
constexpr int kPickSource = 1017;
constexpr int kDestField = 1018;
constexpr int kPickDest = 1019;
constexpr int kRomList = 1021;
constexpr int kShowMiss = 1022;
constexpr int kSaveLists = 1024;
constexpr int kShowAll = 1025;
constexpr int kShowHave = 1026;
constexpr int kKnownCounter = 1028;  // as a command, 1028 means "scan finished"
constexpr int kMissCounter = 1029;
constexpr int kHaveCounter = 1030;
constexpr int kProgress = 1033;
constexpr int kResetHaves = 1034;
constexpr int kIncludeOptions = 1054;
constexpr int kNamingOptions = 1055;
constexpr int kRenamingOptions = 1056;
constexpr int kProgressGroup = 1060;

constexpr int kScanFinished = 1028;
}  // namespace ctl
