// crc32.h: the CRC-32 of zip, zlib and IEEE 802.3, by which loose ROM images are known.
#pragma once

#include <cstdint>
#include <cstdio>

// Fills the table; called once at start-up, before any scan can run.
void BuildCrcTable();

// The CRC-32 of everything left in stream (opened "rb"); 0 for an empty stream.
uint32_t CrcOfStream(FILE* stream);
