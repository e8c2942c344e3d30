// dat_games.cpp: the games of a Logiqx or clrmamepro dat into ROM records. One record per rom
// that carries a crc, in file order; the category comes from the name's tags, so that the
// include options mean for these dats what they mean for QVX dats.
#include "database/dat_games.h"

#include <cstring>
#include <initializer_list>

#include "base/text.h"
#include "database/rom_table.h"
#include "platform/native_text.h"

namespace {

// A dat text as the table holds it: escapes resolved, in the platform's own character set,
// cut to the field. Converted whole before it is cut, so a cut never splits a character.
template <size_t N>
void CopyDatText(const DatText& from, char (&to)[N]) {
  char text[1024];
  size_t used = 0;
  for (size_t i = 0; i < from.length && used + 1 < sizeof(text); ++i) {
    if (from.escaped && from.text[i] == '\\' && i + 1 < from.length) ++i;
    text[used++] = from.text[i];
  }
  text[used] = '\0';
  ToNativeText(text);
  CopyText(to, text);
}

// How much of a number prefix to take off a name: "0001 - " when the dat is numbered.
constexpr size_t kReleaseNumberLength = 7;

bool StartsWith(const char* text, const char* prefix) {
  return strncmp(text, prefix, strlen(prefix)) == 0;
}

// The first pass: every game checked, and whether every game that gives records is numbered.
class GameCheck final : public DatGameSink {
 public:
  GameCheck(const char* text, DatError* error) : text_(text), error_(error) {}
  bool Game(const DatGame& game) override {
    if (game.name.text == nullptr || game.name.length == 0) {
      SetDatError(error_, text_, game.offset, "a game without a name");
      return false;
    }
    if (game.roms > 0) {
      ++games_;
      if (!HasReleaseNumber(game.name.text, game.name.length)) numbered_ = false;
    }
    return true;
  }
  bool Rom(const DatGameRom& rom) override {
    if (rom.size.text != nullptr) return true;
    SetDatError(error_, text_, rom.offset, "a rom without a size");
    return false;
  }
  bool numbered() const { return numbered_ && games_ > 0; }

 private:
  const char* text_;
  DatError* error_;
  int games_ = 0;
  bool numbered_ = true;
};

// The second pass: the records, in file order, as many as the table holds.
class RecordWriter final : public DatGameSink {
 public:
  RecordWriter(bool numbered, DatRecordHook hook, void* context)
      : numbered_(numbered), hook_(hook), context_(context) {}
  bool Game(const DatGame& game) override {
    roms_ = game.roms;
    CopyDatText(game.name, name_);
    CategoryOfName(name_, category_);
    number_[0] = '\0';
    if (numbered_) {
      memcpy(number_, name_, kReleaseNumberLength);
      number_[kReleaseNumberLength] = '\0';
    }
    if (game.description.text != nullptr)
      CopyDatText(game.description, friendly_);
    else
      CopyText(friendly_, name_);
    return true;
  }
  bool Rom(const DatGameRom& rom) override {
    if (count_ == kMaxRoms) return true;  // the table is full: later roms are ignored
    RomRecord& record = g_roms[count_];
    record.have = 0;
    CopyDatText(rom.crc, record.crc);
    char size[32];
    CopyDatText(rom.size, size);
    record.size = ParseDatSize(size);
    char name[1024];
    if (roms_ > 1) {
      CopyDatText(rom.name, name);
      char* extension = strrchr(name, '.');
      if (extension != nullptr) *extension = '\0';
    } else {
      CopyText(name, name_);
    }
    // The number goes to its own field, off the name and the description alike.
    CopyText(record.name, Unnumbered(name));
    CopyText(record.friendly_name, Unnumbered(friendly_));
    CopyText(record.number, number_);
    CopyText(record.category, category_);
    int index = count_++;
    if (hook_ != nullptr) hook_(index, context_);
    return true;
  }
  int count() const { return count_; }

 private:
  const char* Unnumbered(const char* text) const {
    return number_[0] != '\0' && StartsWith(text, number_) ? text + kReleaseNumberLength : text;
  }

  bool numbered_;
  DatRecordHook hook_;
  void* context_;
  int roms_ = 0, count_ = 0;
  char name_[1024] = "", friendly_[1024] = "", number_[kReleaseNumberLength + 1] = "";
  char category_[128] = "";
};

}  // namespace

bool HasReleaseNumber(const char* name, size_t length) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return length >= kReleaseNumberLength && (digit(name[0]) || name[0] == 'x' || name[0] == 'z') &&
         (digit(name[1]) || name[1] == 'B') && digit(name[2]) && digit(name[3]) &&
         memcmp(name + 4, " - ", 3) == 0;
}

void CategoryOfName(const char* name, char (&category)[128]) {
  enum Kind { kHardware, kBeta, kDevKit, kPirate, kAlt, kKinds };
  static const char* const kKeywords[kKinds] = {"Hardware", "Beta", "DevKitDemos", "Pirate", "Alt"};
  bool found[kKinds] = {};
  found[kHardware] = strstr(name, "[BIOS]") != nullptr;
  for (const char* open = strchr(name, '('); open != nullptr; open = strchr(open + 1, '(')) {
    const char* close = strchr(open, ')');
    if (close == nullptr) break;
    char tag[128];
    size_t length = static_cast<size_t>(close - open) + 1;
    if (length >= sizeof(tag)) continue;
    memcpy(tag, open, length);
    tag[length] = '\0';
    if (StartsWith(tag, "(Beta") || StartsWith(tag, "(Proto") || StartsWith(tag, "(Debug"))
      found[kBeta] = true;
    if (StartsWith(tag, "(Demo") || StartsWith(tag, "(Kiosk") || StartsWith(tag, "(Sample"))
      found[kDevKit] = true;
    for (const char* pirate : {"(Pirate)", "(Unl)", "(Aftermarket)", "(Homebrew)"})
      if (strcmp(tag, pirate) == 0) found[kPirate] = true;
    if (StartsWith(tag, "(Alt") || strcmp(tag, "(Virtual Console)") == 0) found[kAlt] = true;
  }
  category[0] = '\0';
  for (int kind = 0; kind < kKinds; ++kind)
    if (found[kind]) Append(category, "%s%s", category[0] != '\0' ? " " : "", kKeywords[kind]);
  if (category[0] == '\0') CopyText(category, "Roms");
}

void SetDatError(DatError* error, const char* text, size_t offset, const char* what) {
  int line = 1;
  for (const char* at = text; at != text + offset; ++at)
    if (*at == '\n') ++line;
  error->line = line;
  CopyText(error->what, what);
}

DatParse StoreDatGames(DatGameWalk walk, void* reader, const char* text, DatRecordHook hook,
                       void* context, DatError* error) {
  GameCheck check(text, error);
  if (!walk(reader, check, error)) return DatParse::kMalformed;
  RecordWriter writer(check.numbered(), hook, context);
  if (!walk(reader, writer, error)) {
    ClearRomTable();  // the check passed, so this cannot happen; an empty table all the same
    return DatParse::kMalformed;
  }
  rom_count = writer.count();
  g_name_tags = NameTags::kRegions;
  return DatParse::kParsed;
}
