// ini_file.cpp: key=value lines; flags are on exactly when their key is present.
#include "settings/ini_file.h"

#include <cstdio>
#include <cstring>

#include "base/text.h"
#include "database/dat_loader.h"
#include "platform/file_system.h"
#include "reports/rom_list.h"
#include "settings/settings.h"
#include "ui/controls.h"
#include "ui/program_dir.h"
#include "ui/window.h"

namespace {

struct OptionKey {
  const char* key;
  int32_t Settings::*value;
};

// Matched in this order when reading; NAME and TYPE take one digit, the rest are flags.
const OptionKey kOptionKeys[] = {
    {"NAME", &Settings::NAME},
    {"NUM", &Settings::NUM},
    {"PUB", &Settings::PUB},
    {"GRP", &Settings::GRP},
    {"SIZE", &Settings::SIZE},
    {"CRC", &Settings::CRC},
    {"CODE", &Settings::CODE},
    {"SUB", &Settings::SUB},
    {"TYPE", &Settings::TYPE},
    {"DELBAD", &Settings::DELBAD},
    {"DELDUPE", &Settings::DELDUPE},
    {"FIX", &Settings::FIX},
    {"CLEAN", &Settings::CLEAN},
    {"INZIP", &Settings::INZIP},
    {"LOG", &Settings::LOG},
    {"IncAlt", &Settings::IncAlt},
    {"IncBeta", &Settings::IncBeta},
    {"IncDevKit", &Settings::IncDevKit},
    {"IncHardware", &Settings::IncHardware},
    {"IncPirate", &Settings::IncPirate},
    {"IncPnesHacks", &Settings::IncPnesHacks},
    {"IncPreTrained", &Settings::IncPreTrained},
    {"IncScene", &Settings::IncScene},
};

const struct {
  const char* key;
  int id;
} kPathKeys[] = {
    {"DB", ctl::kDatabaseField}, {"SRC", ctl::kSourceField}, {"DEST", ctl::kDestField}};

// One line of the file, split at its first "=". Lines are read whole (a path of 259
// characters must come back whole); beyond kLineSize the rest of a line is dropped.
struct IniLine {
  static constexpr size_t kLineSize = 1024;
  char text[kLineSize];
  bool has_line_feed;
  const char* value;  // after the "=", or nullptr when the line has none
};

// Reads the next line; a CR right before the LF is part of the line end, not of the value.
bool ReadIniLine(FILE* file, IniLine* line) {
  size_t used = 0;
  int c = EOF;
  bool any = false;
  while ((c = fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (used + 1 < IniLine::kLineSize) line->text[used++] = static_cast<char>(c);
  }
  if (!any) return false;
  if (c == '\n' && used > 0 && line->text[used - 1] == '\r') --used;
  line->text[used] = '\0';
  line->has_line_feed = c == '\n';
  char* equals = strchr(line->text, '=');
  if (equals != nullptr) *equals = '\0';
  line->value = equals != nullptr ? equals + 1 : nullptr;
  return true;
}

// A line without "=" is its own key, line feed included, so only a last line without a line
// feed can match.
bool KeyMatches(const IniLine& line, const char* key) {
  if (line.value == nullptr && line.has_line_feed) return false;
  return strcmp(line.text, key) == 0;
}

// The single digit after "=": '0' to '9', anything else (or nothing) 0.
int32_t DigitValue(const IniLine& line) {
  char c = line.value != nullptr ? line.value[0] : '\0';
  return (c >= '0' && c <= '9') ? c - '0' : 0;
}

void ReadPaths(FILE* file) {
  IniLine line;
  while (ReadIniLine(file, &line)) {
    for (const auto& path : kPathKeys) {
      if (!KeyMatches(line, path.key)) continue;
      const char* value = line.value != nullptr ? line.value : "";
      // A path longer than a field holds would be used cut, naming another file or folder:
      // such a line is passed over as if it were not there.
      if (strlen(value) < static_cast<size_t>(kPathFieldSize)) MainWindow().SetControlText(path.id, value);
      break;
    }
  }
}

void ReadOptions(FILE* file) {
  IniLine line;
  while (ReadIniLine(file, &line)) {
    for (const OptionKey& option : kOptionKeys) {
      if (!KeyMatches(line, option.key)) continue;
      bool digit = option.value == &Settings::NAME || option.value == &Settings::TYPE;
      g_settings.*option.value = digit ? DigitValue(line) : 1;
      break;
    }
  }
}

bool WriteText(FILE* file, const char* text) { return fputs(text, file) != EOF; }

bool WriteIniLines(FILE* file) {
  char line[512];
  bool ok = Format(line, "# QVX GBA v%s INI\n", kVersion) && WriteText(file, line) &&
            WriteText(file, "\n# Paths\n\n");
  for (const auto& path : kPathKeys) {
    char value[kPathFieldSize];
    ReadPathField(path.id, value);
    ok = ok && Format(line, "%s=%s\n", path.key, value) && WriteText(file, line);
  }
  auto flag = [&](int32_t value, const char* text) {
    if (value != 0) ok = ok && WriteText(file, text);
  };
  const Settings& s = g_settings;
  ok = ok && WriteText(file, "\n# Naming Options\n\n");
  flag(s.CODE, "CODE=1\n");
  flag(s.CRC, "CRC=1\n");
  flag(s.GRP, "GRP=1\n");
  flag(s.NUM, "NUM=1\n");
  flag(s.PUB, "PUB=1\n");
  flag(s.SIZE, "SIZE=1\n");
  ok = ok && Format(line, "NAME=%i\n", static_cast<int>(s.NAME)) && WriteText(file, line);
  ok = ok && WriteText(file, "\n# Renaming Options\n\n");
  flag(s.CLEAN, "CLEAN=1\n");
  flag(s.DELBAD, "DELBAD=1\n");
  flag(s.DELDUPE, "DELDUPE=1\n");
  flag(s.FIX, "FIX=1\n");
  flag(s.LOG, "LOG=1\n");
  flag(s.INZIP, "INZIP=1\n");
  flag(s.SUB, "SUB=1\n");
  ok = ok && Format(line, "TYPE=%i\n", static_cast<int>(s.TYPE)) && WriteText(file, line);
  ok = ok && WriteText(file, "\n# IncludeList\n\n");
  flag(s.IncAlt, "IncAlt=1\n");
  flag(s.IncBeta, "IncBeta=1\n");
  flag(s.IncDevKit, "IncDevKit=1\n");
  flag(s.IncHardware, "IncHardware=1\n");
  flag(s.IncPirate, "IncPirate=1\n");
  flag(s.IncPnesHacks, "IncPnesHacks=1\n");
  flag(s.IncPreTrained, "IncPreTrained=1\n");
  flag(s.IncScene, "IncScene=1\n");
  return ok;
}

}  // namespace

int LoadIni() {
  char path[kProgramFilePathSize];
  if (!ProgramFilePath(path, kIniFileName)) return 0;
  // Read as bytes: CR LF and LF lines read alike, and no byte ends the file early.
  FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return 0;
  ReadPaths(file);
  char database[kPathFieldSize];
  ReadPathField(ctl::kDatabaseField, database);
  // The options are restored also when the load fails (a drive not plugged in, a renamed
  // file): the INI written at close would otherwise put the defaults over the user's choices.
  // They come after the load, which names its records in the title under the default naming.
  int loaded = LoadDatabase(database);
  rewind(file);
  ReadOptions(file);
  if (loaded) RefreshRomList();
  CloseFile(file);
  return 1;
}

int SaveIni() {
  char path[kProgramFilePathSize], fresh[kProgramFilePathSize];
  bool ok = ProgramFilePath(path, kIniFileName) && Format(fresh, "%s.new", path);
  FILE* file = ok ? OpenFile(fresh, "wt") : nullptr;
  if (file != nullptr) {
    ok = WriteIniLines(file) && FlushFile(file);
    ok = CloseFile(file) && ok;
    // The old file is replaced in one step, and only by a complete new one.
    ok = ok && ReplacePath(fresh, path);
    if (!ok) RemovePath(fresh);
  } else {
    ok = false;
  }
  if (!ok) MainWindow().ShowMessage("Error Saving Ini!", "Save Error");
  return ok ? 1 : 0;
}
