// crc32.h: the CRC-32 of zip, zlib and IEEE 802.3, by which loose ROM images are known.
#pragma once

#include <cstdint>
#include <cstdio>

// The CRC-32 of everything left in stream (opened "rb"); 0 for an empty stream. A read error
// ends it early: the caller sees it through ferror.
uint32_t CrcOfStream(FILE* stream);
