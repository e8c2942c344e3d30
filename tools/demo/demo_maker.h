// demo_maker.h: a sample database, a folder of ROM files to scan and an INI that points at
// them, so a first start shows a loaded list and Scan, Rename and Move can be tried at once.
#pragma once

#include <string>

enum class DemoResult {
  kMade,
  kIniExists,   // the program folder is in use: nothing was written
  kDemoExists,  // a Demo folder is there already: nothing was written
  kBadPath,     // the folder cannot be named in the INI file: nothing was written
  kFailed,      // a write failed: no INI was written, the partial demo removed
};

// What the demo holds, for the user and for checks.
constexpr char kDemoFolder[] = "Demo";
constexpr char kDemoDatabase[] = "Sample (QVX).zip";
constexpr char kDemoSource[] = "Source";
constexpr char kDemoDestination[] = "Destination";

// Makes program_dir/Demo (the database, Source/ and an empty Destination/) and
// program_dir/qvxgba.ini, unless either exists already. program_dir is a native path;
// program_dir_as_seen is the same folder as the program will see it, in its own format
// ("Z:\work\app" under Wine), and prefixes the paths in the INI file. message receives a line
// for the user on every result but kMade.
DemoResult MakeDemo(const std::string& program_dir, const std::string& program_dir_as_seen,
                    std::string* message);
