// dat_parser.cpp: the QVX dat, expanded in memory and parsed line by line. The dat is never
// written to disk, so no file of the user's can be touched by a load.
#include "database/dat_parser.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "database/rom_table.h"

namespace {

// Reads the expanded dat as a text-mode stream would: CR LF reads as LF, and a line longer
// than a chunk arrives in pieces, each taken as a line of its own.
class DatLines {
 public:
  DatLines(const char* text, size_t length) : text_(text), end_(text + length) {}

  // Fills chunk with at most N - 1 characters, stopping after a LF; false at the end.
  template <size_t N>
  bool Next(char (&chunk)[N], size_t* length) {
    if (text_ == end_) return false;
    size_t used = 0;
    while (used + 1 < N && text_ != end_) {
      char c = *text_++;
      if (c == '\r' && text_ != end_ && *text_ == '\n') c = *text_++;
      chunk[used++] = c;
      if (c == '\n') break;
    }
    chunk[used] = '\0';
    *length = used;
    return true;
  }

 private:
  const char* text_;
  const char* end_;
};

// A marker counts only as a whole line of exactly its text and its line end.
template <size_t N>
bool IsMarker(const char* chunk, size_t length, const char (&marker)[N]) {
  return length == N - 1 && memcmp(chunk, marker, N - 1) == 0;
}

// Copies one ":"-separated field, cut to the field's width; the record is already zeroed.
template <size_t N>
const char* CopyField(const char* from, char (&to)[N]) {
  size_t i = 0;
  for (; *from && *from != ':'; ++from)
    if (i + 1 < N) to[i++] = *from;
  return *from == ':' ? from + 1 : from;
}

void SplitRomLine(const char* line, RomRecord& rom) {
  char size_text[1024] = {};
  const char* at = line;
  at = CopyField(at, rom.crc);
  at = CopyField(at, size_text);
  rom.size = ParseDatSize(size_text);
  at = CopyField(at, rom.name);
  at = CopyField(at, rom.number);
  at = CopyField(at, rom.category);
  at = CopyField(at, rom.group);
  at = CopyField(at, rom.friendly_name);
  CopyField(at, rom.scene_name);
}

}  // namespace

// Clamped instead of overflowing, where atoi would leave the result undefined.
int32_t ParseDatSize(const char* text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1) value = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return static_cast<int32_t>(value);
}

int ParseDat(const char* text, size_t length, DatRecordHook hook, void* context) {
  DatLines lines(text, length);
  char chunk[200];
  size_t used = 0;
  if (!lines.Next(chunk, &used) || !IsMarker(chunk, used, "[QVXDAT]\n")) return 0;
  // Everything up to "[COMMENT]" and on to "[ROMS]" is passed over; the end of the dat
  // ends either section quietly.
  while (lines.Next(chunk, &used) && !IsMarker(chunk, used, "[COMMENT]\n")) {
  }
  while (lines.Next(chunk, &used) && !IsMarker(chunk, used, "[ROMS]\n")) {
  }
  char line[1024];
  int32_t index = 0;
  while (lines.Next(line, &used) && !IsMarker(line, used, "[END]\n")) {
    if (index == kMaxRoms) continue;  // the table is full: later lines are ignored
    char* line_end = strchr(line, '\n');
    if (line_end != nullptr) *line_end = '\0';
    RomRecord& rom = g_roms[index];
    rom.have = 0;
    SplitRomLine(line, rom);
    if (hook != nullptr) hook(index, context);
    ++index;
  }
  rom_count = index;
  return 1;
}
