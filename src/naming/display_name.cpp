// display_name.cpp: number, name, group, size and CRC pieces, always in that order.
#include "naming/display_name.h"

#include "base/text.h"
#include "database/rom_table.h"
#include "settings/settings.h"

int32_t MbitFigure(int32_t size) {
  // The shift is done unsigned so the wrap above 256 MiB is defined, then read as signed.
  int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(size) << 3);
  return bits / 1048576;
}

NameText BuildDisplayName(int index) {
  const RomRecord& rom = g_roms[index];
  NameText result;
  result.text[0] = '\0';
  if (g_settings.NUM) Append(result.text, "%s", rom.number);
  switch (g_settings.NAME) {
    case 0:
      Append(result.text, "%s", rom.name);
      break;
    case 1:
      Append(result.text, "%s", rom.friendly_name);
      break;
    case 2:
      Append(result.text, "%s", rom.scene_name);
      break;
    default:
      break;
  }
  if (g_settings.GRP) Append(result.text, " (%s)", rom.group);
  if (g_settings.SIZE) Append(result.text, " (%imbit)", static_cast<int>(MbitFigure(rom.size)));
  if (g_settings.CRC) Append(result.text, " (%s)", rom.crc);
  return result;
}
