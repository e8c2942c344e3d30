// dat_games.cpp: the games of a Logiqx or clrmamepro dat into ROM records. One record per rom
// that carries a crc, in file order; the category comes from the name's tags, so that the
// include options mean for these dats what they mean for QVX dats. Its one array of release
// numbers is process-wide, beside the table it serves.
#include "database/dat_games.h"

#include <cstring>
#include <initializer_list>

#include "base/text.h"
#include "database/rom_table.h"
#include "platform/native_text.h"

namespace {

// length bytes of a dat's text, cut to the array and terminated (the text has no terminator
// of its own).
template <size_t N>
void CopyBytes(char (&to)[N], const char* from, size_t length) {
  if (length > N - 1) length = N - 1;
  if (length != 0) memcpy(to, from, length);  // from may be null when there is nothing
  to[length] = '\0';
}

// A dat text as the table holds it: escapes resolved, in the platform's own character set,
// cut to the field. Converted whole before it is cut, so a cut never splits a character.
template <size_t N>
void CopyDatText(const DatText& from, char (&to)[N]) {
  bool plain = true;  // ASCII without escapes, as nearly every text is: taken as it stands
  for (size_t i = 0; i < from.length && plain; ++i)
    plain =
        static_cast<unsigned char>(from.text[i]) < 0x80 && !(from.escaped && from.text[i] == '\\');
  if (plain) {
    CopyBytes(to, from.text, from.length);
    return;
  }
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

// Each record's release number until the load knows whether the dat is numbered, and whether
// it was taken off the record's name and friendly name; beside the table, and like it
// process-wide, as only a load on the UI thread uses it.
struct PendingNumber {
  char text[kReleaseNumberLength + 1];
  bool off_name, off_friendly;
};
PendingNumber g_numbers[kMaxRoms];

// One pass over the games: every game checked and its roms stored, in file order, as many as
// the table holds. A number is taken off a name as it is stored, so that a numbered dat's names
// keep all they can hold; whether the dat is numbered is known only at its end, when Finish
// gives each record its number, or puts the numbers back on the names.
class RecordWriter final : public DatGameSink {
 public:
  RecordWriter(DatError* error, DatRecordHook hook, void* context)
      : error_(error), hook_(hook), context_(context) {}

  bool Game(const DatGame& game) override {
    if (game.name.text == nullptr || game.name.length == 0)
      return FailAt(error_, game.offset, "a game without a name");
    roms_ = game.roms;
    CopyDatText(game.name, name_);
    CategoryOfName(name_, category_);
    if (game.description.text != nullptr)
      CopyDatText(game.description, friendly_);
    else
      CopyText(friendly_, name_);
    number_[0] = '\0';
    if (HasReleaseNumber(name_, strlen(name_)))
      CopyBytes(number_, name_, kReleaseNumberLength);
    else if (roms_ > 0)
      numbered_ = false;
    return true;
  }

  bool Rom(const DatGameRom& rom) override {
    if (rom.size.text == nullptr) return FailAt(error_, rom.offset, "a rom without a size");
    if (count_ == kMaxRoms) return true;  // the table is full: later roms are ignored
    RomRecord& record = g_roms[count_];
    PendingNumber& number = g_numbers[count_];
    record.have = 0;
    CopyDatText(rom.crc, record.crc);
    char size[32];
    CopyDatText(rom.size, size);
    record.size = ParseDatSize(size);
    const char* name = name_;
    char file_name[1024];
    if (roms_ > 1 && rom.name.text != nullptr) {  // a rom without a name keeps the game's
      CopyDatText(rom.name, file_name);
      char* extension = strrchr(file_name, '.');
      if (extension != nullptr) *extension = '\0';
      name = file_name;
    }
    CopyText(number.text, number_);
    number.off_name = Unnumbered(record.name, name);
    number.off_friendly = Unnumbered(record.friendly_name, friendly_);
    CopyText(record.category, category_);
    int index = count_++;
    if (hook_ != nullptr) hook_(index, context_);
    return true;
  }

  // Returns the number of records.
  int Finish() {
    for (int i = 0; i < count_; ++i) {
      RomRecord& record = g_roms[i];
      const PendingNumber& number = g_numbers[i];
      if (numbered_) {
        CopyText(record.number, number.text);
      } else {
        if (number.off_name) Renumbered(record.name, number.text);
        if (number.off_friendly) Renumbered(record.friendly_name, number.text);
      }
    }
    return count_;
  }

 private:
  // Stores text without the game's number where it starts with it; true when it did.
  bool Unnumbered(char (&field)[kTextFieldSize], const char* text) const {
    bool numbered = number_[0] != '\0' && StartsWith(text, number_);
    CopyText(field, numbered ? text + kReleaseNumberLength : text);
    return numbered;
  }
  static void Renumbered(char (&field)[kTextFieldSize], const char* number) {
    char text[kReleaseNumberLength + kTextFieldSize];
    memcpy(text, number, kReleaseNumberLength);
    memcpy(text + kReleaseNumberLength, field, sizeof(field));
    CopyText(field, text);
  }

  DatError* error_;
  DatRecordHook hook_;
  void* context_;
  int roms_ = 0, count_ = 0;
  bool numbered_ = true;
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
  // At most "Hardware Beta DevKitDemos Pirate Alt", well inside the field.
  size_t used = 0;
  for (int kind = 0; kind < kKinds; ++kind) {
    if (!found[kind]) continue;
    if (used != 0) category[used++] = ' ';
    size_t length = strlen(kKeywords[kind]);
    memcpy(category + used, kKeywords[kind], length);
    used += length;
  }
  if (used == 0)
    CopyText(category, "Roms");
  else
    category[used] = '\0';
}

bool FailAt(DatError* error, size_t offset, const char* what) {
  error->offset = offset;
  CopyText(error->what, what);
  return false;
}

int LineOfOffset(const char* text, size_t offset) {
  int line = 1;
  for (const char* at = text;
       (at = static_cast<const char*>(memchr(at, '\n', offset - (at - text)))); ++at)
    ++line;
  return line;
}

DatParse StoreDatGames(DatGameWalk walk, void* reader, DatRecordHook hook, void* context,
                       DatError* error) {
  RecordWriter writer(error, hook, context);
  bool walked = walk(reader, writer);
  int count = writer.Finish();
  if (!walked) {
    ClearRomTable();  // whatever was stored before the fault
    return DatParse::kMalformed;
  }
  rom_count = count;
  g_name_tags = NameTags::kRegions;
  return DatParse::kParsed;
}
