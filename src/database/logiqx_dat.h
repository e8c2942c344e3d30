// logiqx_dat.h: a Logiqx XML datafile (No-Intro's "Standard" and "Parent-Clone" downloads)
// into the ROM table.
#pragma once

#include <cstddef>

#include "database/dat_parser.h"

// Parses the whole document with pugixml (no DTD processing, no external entities), in place,
// then its <game> or <machine> elements into the cleared table. kMalformed with error set when
// it is not well formed, not a datafile, or a rom with a crc has no size.
DatParse ParseLogiqxDat(char* text, size_t length, DatRecordHook hook, void* context,
                        DatError* error);
