// clrmamepro_dat.h: a clrmamepro text dat into the ROM table.
#pragma once

#include <cstddef>

#include "database/dat_parser.h"

// "clrmamepro ( ... )", then game, machine and resource blocks holding "name", "description"
// and "rom ( name .. size .. crc .. )"; values quoted (with backslash escapes) or bare, "crc32"
// for "crc", "//" comments, any layout over lines; other keys and blocks are passed over.
// kMalformed with error set when it is not well formed or a rom with a crc has no size.
DatParse ParseClrmameproDat(const char* text, size_t length, DatRecordHook hook, void* context,
                            DatError* error);
