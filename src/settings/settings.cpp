// settings.cpp: the process-wide option values and their keys.
#include "settings/settings.h"

Settings g_settings;

void ResetSettings() { g_settings = Settings(); }

const OptionKey kOptionKeys[kOptionCount] = {
    {"CODE", &Settings::CODE, OptionKind::kFlag, OptionSection::kNaming},
    {"CRC", &Settings::CRC, OptionKind::kFlag, OptionSection::kNaming},
    {"GRP", &Settings::GRP, OptionKind::kFlag, OptionSection::kNaming},
    {"NUM", &Settings::NUM, OptionKind::kFlag, OptionSection::kNaming},
    {"PUB", &Settings::PUB, OptionKind::kFlag, OptionSection::kNaming},
    {"SIZE", &Settings::SIZE, OptionKind::kFlag, OptionSection::kNaming},
    {"NAME", &Settings::NAME, OptionKind::kNumber, OptionSection::kNaming},
    {"CLEAN", &Settings::CLEAN, OptionKind::kFlag, OptionSection::kRenaming},
    {"DELBAD", &Settings::DELBAD, OptionKind::kFlag, OptionSection::kRenaming},
    {"DELDUPE", &Settings::DELDUPE, OptionKind::kFlag, OptionSection::kRenaming},
    {"FIX", &Settings::FIX, OptionKind::kFlag, OptionSection::kRenaming},
    {"LOG", &Settings::LOG, OptionKind::kFlag, OptionSection::kRenaming},
    {"INZIP", &Settings::INZIP, OptionKind::kFlag, OptionSection::kRenaming},
    {"SUB", &Settings::SUB, OptionKind::kFlag, OptionSection::kRenaming},
    {"TYPE", &Settings::TYPE, OptionKind::kNumber, OptionSection::kRenaming},
    {"IncAlt", &Settings::IncAlt, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncBeta", &Settings::IncBeta, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncDevKit", &Settings::IncDevKit, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncHardware", &Settings::IncHardware, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncPirate", &Settings::IncPirate, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncPnesHacks", &Settings::IncPnesHacks, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncPreTrained", &Settings::IncPreTrained, OptionKind::kFlag, OptionSection::kIncludeList},
    {"IncScene", &Settings::IncScene, OptionKind::kFlag, OptionSection::kIncludeList},
};
