// logiqx_dat.cpp: the Logiqx reader, a walk over pugixml's document of the dat.
#include "database/logiqx_dat.h"

#include <cstring>
#include <pugixml.hpp>

#include "base/text.h"
#include "database/dat_games.h"

namespace {

struct LogiqxReader {
  pugi::xml_node root;
  size_t length;  // of the dat as read: an offset into a converted copy may lie beyond it
};

size_t OffsetOf(const pugi::xml_node& node, size_t length) {
  ptrdiff_t offset = node.offset_debug();
  return offset < 0                             ? 0
         : static_cast<size_t>(offset) < length ? static_cast<size_t>(offset)
                                                : length;
}

DatText Text(const char* value) {
  DatText text;
  if (value != nullptr) {
    text.text = value;
    text.length = strlen(value);
  }
  return text;
}
DatText Attribute(const pugi::xml_node& node, const char* name) {
  pugi::xml_attribute attribute = node.attribute(name);
  return attribute ? Text(attribute.value()) : DatText{};
}

bool IsGame(const pugi::xml_node& node) {
  return strcmp(node.name(), "game") == 0 || strcmp(node.name(), "machine") == 0;
}

bool WalkGames(void* context, DatGameSink& sink, DatError*) {
  const LogiqxReader& reader = *static_cast<const LogiqxReader*>(context);
  for (pugi::xml_node node = reader.root.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_element || !IsGame(node)) continue;
    DatGame game;
    game.name = Attribute(node, "name");
    pugi::xml_node description = node.child("description");
    if (description) game.description = Text(description.child_value());
    game.offset = OffsetOf(node, reader.length);
    for (pugi::xml_node rom = node.child("rom"); rom; rom = rom.next_sibling("rom"))
      if (rom.attribute("crc")) ++game.roms;
    if (!sink.Game(game)) return false;
    for (pugi::xml_node rom = node.child("rom"); rom; rom = rom.next_sibling("rom")) {
      if (!rom.attribute("crc")) continue;  // a nodump: nothing to identify it by
      DatGameRom entry;
      entry.name = Attribute(rom, "name");
      entry.size = Attribute(rom, "size");
      entry.crc = Attribute(rom, "crc");
      entry.offset = OffsetOf(rom, reader.length);
      if (!sink.Rom(entry)) return false;
    }
  }
  return true;
}

}  // namespace

DatParse ParseLogiqxDat(const char* text, size_t length, DatRecordHook hook, void* context,
                        DatError* error) {
  // The default options: entities and character references resolved, CR LF read as LF,
  // comments, the DOCTYPE and processing instructions passed over. pugixml copies the text,
  // so offsets still point into ours.
  pugi::xml_document document;
  pugi::xml_parse_result parsed =
      document.load_buffer(text, length, pugi::parse_default, pugi::encoding_auto);
  if (!parsed) {
    size_t offset = parsed.offset < 0 ? 0 : static_cast<size_t>(parsed.offset);
    SetDatError(error, text, offset < length ? offset : length, parsed.description());
    return DatParse::kMalformed;
  }
  pugi::xml_node root = document.document_element();
  if (strcmp(root.name(), "datafile") != 0 && strcmp(root.name(), "mame") != 0) {
    char what[sizeof(error->what)];
    Format(what, "<%.64s> where a <datafile> was expected", root.name());
    SetDatError(error, text, OffsetOf(root, length), what);
    return DatParse::kMalformed;
  }
  LogiqxReader reader{root, length};
  return StoreDatGames(WalkGames, &reader, text, hook, context, error);
}
