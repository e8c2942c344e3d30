// logiqx_dat.cpp: the Logiqx reader, a walk over pugixml's document of the dat.
#include "database/logiqx_dat.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>

#include "base/text.h"
#include "database/dat_games.h"

namespace {

struct LogiqxReader {
  pugi::xml_node root;
  size_t length;  // of the dat as read: an offset into a converted copy may lie beyond it
};

// Where each line of the dat ends, noted before the parse in place changes the text (escapes
// and line ends inside values are shortened there).
class LineEnds {
 public:
  LineEnds(const char* text, size_t length) : text_(text) {
    size_t count = 0;
    for (const char* at = text; (at = Next(at, length)) != nullptr; ++at) ++count;
    ends_ = static_cast<uint32_t*>(malloc((count + 1) * sizeof(uint32_t)));
    if (ends_ == nullptr) return;
    for (const char* at = text; (at = Next(at, length)) != nullptr; ++at)
      ends_[count_++] = static_cast<uint32_t>(at - text);
  }
  ~LineEnds() { free(ends_); }
  LineEnds(const LineEnds&) = delete;
  LineEnds& operator=(const LineEnds&) = delete;

  // The line of offset, counted from 1; without memory for the index, counted in the text as
  // it now stands.
  int LineOf(size_t offset) const {
    if (ends_ == nullptr) return LineOfOffset(text_, offset);
    return static_cast<int>(std::lower_bound(ends_, ends_ + count_, offset) - ends_) + 1;
  }

 private:
  const char* Next(const char* at, size_t length) const {
    return static_cast<const char*>(memchr(at, '\n', length - static_cast<size_t>(at - text_)));
  }

  const char* text_;
  uint32_t* ends_ = nullptr;
  size_t count_ = 0;
};

size_t OffsetOf(const pugi::xml_node& node, size_t length) {
  ptrdiff_t offset = node.offset_debug();
  return offset < 0                             ? 0
         : static_cast<size_t>(offset) < length ? static_cast<size_t>(offset)
                                                : length;
}

DatText Text(const char* value) { return {value, strlen(value), false}; }

bool Named(const pugi::xml_node& node, const char* name) {
  const char* own = node.name();
  return own[0] == name[0] && strcmp(own, name) == 0;
}

// A rom's name, size and crc in one look at its attributes (a Standard dat's rom has eight,
// most of them beginning with "s"; the second letter tells them apart first).
DatGameRom RomOf(const pugi::xml_node& rom, size_t length) {
  DatGameRom entry;
  entry.offset = OffsetOf(rom, length);
  for (pugi::xml_attribute a = rom.first_attribute(); a; a = a.next_attribute()) {
    const char* name = a.name();
    DatText* field = nullptr;
    if (name[0] == 'n' && strcmp(name, "name") == 0)
      field = &entry.name;
    else if (name[0] == 's' && name[1] == 'i' && strcmp(name, "size") == 0)
      field = &entry.size;
    else if (name[0] == 'c' && strcmp(name, "crc") == 0)
      field = &entry.crc;
    if (field != nullptr && field->text == nullptr) *field = Text(a.value());
  }
  return entry;
}

bool WalkGames(void* context, DatGameSink& sink) {
  const LogiqxReader& reader = *static_cast<const LogiqxReader*>(context);
  constexpr int kKeptRoms = 16;
  DatGameRom kept[kKeptRoms];
  for (pugi::xml_node node = reader.root.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element || !(Named(node, "game") || Named(node, "machine")))
      continue;
    DatGame game;
    game.offset = OffsetOf(node, reader.length);
    if (pugi::xml_attribute name = node.attribute("name")) game.name = Text(name.value());
    // The description may follow the roms: the game is read whole before its roms are told,
    // which are kept, or looked up again when there are too many to keep.
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
      if (Named(child, "rom")) {
        DatGameRom rom = RomOf(child, reader.length);
        if (rom.crc.text == nullptr) continue;  // a nodump: nothing to identify it by
        if (game.roms++ < kKeptRoms) kept[game.roms - 1] = rom;
      } else if (Named(child, "description") && game.description.text == nullptr) {
        game.description = Text(child.child_value());
      }
    }
    if (!sink.Game(game)) return false;
    if (game.roms <= kKeptRoms) {
      for (int i = 0; i < game.roms; ++i)
        if (!sink.Rom(kept[i])) return false;
      continue;
    }
    for (pugi::xml_node rom = node.child("rom"); rom; rom = rom.next_sibling("rom")) {
      DatGameRom entry = RomOf(rom, reader.length);
      if (entry.crc.text != nullptr && !sink.Rom(entry)) return false;
    }
  }
  return true;
}

}  // namespace

DatParse ParseLogiqxDat(char* text, size_t length, DatRecordHook hook, void* context,
                        DatError* error) {
  LineEnds lines(text, length);
  // The default options: entities and character references resolved, CR LF read as LF,
  // comments, the DOCTYPE and processing instructions passed over. In place: a copy of a few
  // megabytes cost more than the parse.
  pugi::xml_document document;
  pugi::xml_parse_result parsed =
      document.load_buffer_inplace(text, length, pugi::parse_default, pugi::encoding_auto);
  DatParse result = DatParse::kMalformed;
  pugi::xml_node root = document.document_element();
  if (parsed.status == pugi::status_out_of_memory) return DatParse::kNoMemory;
  if (!parsed) {
    size_t offset = parsed.offset < 0 ? 0 : static_cast<size_t>(parsed.offset);
    FailAt(error, offset < length ? offset : length, parsed.description());
  } else if (strcmp(root.name(), "datafile") != 0 && strcmp(root.name(), "mame") != 0) {
    char what[sizeof(error->what)];
    Format(what, "<%.64s> where a <datafile> was expected", root.name());
    FailAt(error, OffsetOf(root, length), what);
  } else {
    LogiqxReader reader{root, length};
    result = StoreDatGames(WalkGames, &reader, hook, context, error);
  }
  if (result == DatParse::kMalformed) error->line = lines.LineOf(error->offset);
  return result;
}
