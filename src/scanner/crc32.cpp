// crc32.cpp: the reflected CRC-32 with polynomial 0xEDB88320, one table lookup per byte.
#include "scanner/crc32.h"

static uint32_t g_crc_table[256];

void BuildCrcTable() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    g_crc_table[i] = value;
  }
}

uint32_t CrcOfStream(FILE* stream) {
  // Read in blocks from the buffered stream: the file is never held whole.
  unsigned char block[1 << 15];
  uint32_t crc = 0xFFFFFFFFu;
  size_t got;
  while ((got = fread(block, 1, sizeof block, stream)) > 0) {
    for (size_t i = 0; i < got; ++i) crc = g_crc_table[(crc ^ block[i]) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFu;
}
