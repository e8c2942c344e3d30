// ini_file.cpp: key=value lines; flags are on exactly when their key is present.
#include "settings/ini_file.h"

#include <cstdio>
#include <cstring>

#include "base/text.h"
#include "base/version.h"
#include "platform/file_system.h"

const char* const kIniPathKeys[kIniPathCount] = {"DB", "SRC", "DEST"};

namespace {

// One line of the file, split at its first "=". Lines are read whole (a path of 259
// characters must come back whole); beyond kLineSize the rest of a line is dropped.
struct IniLine {
  static constexpr size_t kLineSize = 1024;
  char text[kLineSize];
  bool has_line_feed;
  const char* value;  // after the "=", or nullptr when the line has none
};

class IniLines {
 public:
  IniLines(const char* bytes, size_t length) : at_(bytes), end_(bytes + length) {}

  // The next line; a CR right before the LF is part of the line end, not of the value.
  bool Next(IniLine* line) {
    if (at_ == end_) return false;
    size_t used = 0;
    bool line_feed = false;
    while (at_ != end_) {
      char c = *at_++;
      if (c == '\n') {
        line_feed = true;
        break;
      }
      if (used + 1 < IniLine::kLineSize) line->text[used++] = c;
    }
    if (line_feed && used > 0 && line->text[used - 1] == '\r') --used;
    line->text[used] = '\0';
    line->has_line_feed = line_feed;
    char* equals = strchr(line->text, '=');
    if (equals != nullptr) *equals = '\0';
    line->value = equals != nullptr ? equals + 1 : nullptr;
    return true;
  }

 private:
  const char* at_;
  const char* end_;
};

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

bool WriteText(FILE* file, const char* text) { return fputs(text, file) != EOF; }

const char* SectionHeading(OptionSection section) {
  switch (section) {
    case OptionSection::kNaming:
      return "\n# Naming Options\n\n";
    case OptionSection::kRenaming:
      return "\n# Renaming Options\n\n";
    case OptionSection::kIncludeList:
      return "\n# IncludeList\n\n";
  }
  return "";
}

bool WriteIniLines(FILE* file, const char* const (&paths)[kIniPathCount], const Settings& s) {
  char line[512];
  bool ok = Format(line, "# QVX GBA v%s INI\n", kVersion) && WriteText(file, line) &&
            WriteText(file, "\n# Paths\n\n");
  for (int i = 0; i < kIniPathCount; ++i)
    ok = ok && Format(line, "%s=%s\n", kIniPathKeys[i], paths[i]) && WriteText(file, line);
  for (int i = 0; i < kOptionCount; ++i) {
    const OptionKey& option = kOptionKeys[i];
    if (i == 0 || kOptionKeys[i - 1].section != option.section)
      ok = ok && WriteText(file, SectionHeading(option.section));
    int value = static_cast<int>(s.*option.value);
    if (option.kind == OptionKind::kNumber) {
      ok = ok && Format(line, "%s=%i\n", option.key, value) && WriteText(file, line);
    } else if (value != 0) {
      ok = ok && Format(line, "%s=1\n", option.key) && WriteText(file, line);
    }
  }
  return ok;
}

}  // namespace

void ParseIniPaths(const char* bytes, size_t length, IniPaths* paths) {
  IniLines lines(bytes, length);
  IniLine line;
  while (lines.Next(&line)) {
    for (int i = 0; i < kIniPathCount; ++i) {
      if (!KeyMatches(line, kIniPathKeys[i])) continue;
      const char* value = line.value != nullptr ? line.value : "";
      if (strlen(value) >= static_cast<size_t>(kPathFieldSize)) break;
      CopyText(paths->value[i], value);
      paths->present[i] = true;
      break;
    }
  }
}

void ParseIniOptions(const char* bytes, size_t length, Settings* settings) {
  IniLines lines(bytes, length);
  IniLine line;
  while (lines.Next(&line)) {
    for (const OptionKey& option : kOptionKeys) {
      if (!KeyMatches(line, option.key)) continue;
      settings->*option.value = option.kind == OptionKind::kNumber ? DigitValue(line) : 1;
      break;
    }
  }
}

int WriteIniFile(const char* path, const char* const (&paths)[kIniPathCount],
                 const Settings& settings) {
  char fresh[4096];
  if (!Format(fresh, "%s.new", path)) return 0;
  FILE* file = OpenFile(fresh, "wt");
  if (file == nullptr) return 0;
  bool ok = WriteIniLines(file, paths, settings) && FlushFile(file);
  ok = CloseFile(file) && ok;
  // The old file is replaced in one step, and only by a complete new one.
  ok = ok && ReplacePath(fresh, path);
  if (!ok) RemovePath(fresh);
  return ok ? 1 : 0;
}
