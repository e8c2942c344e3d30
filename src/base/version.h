// version.h: the version string, shown in the title and written into the INI file and lists.
#pragma once

constexpr char kVersion[] = "0.3a";
