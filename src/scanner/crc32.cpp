// crc32.cpp: the CRC-32 of a stream through libdeflate, which takes a carry-less-multiplication
// path where the processor has one and tables where it has not.
#include "scanner/crc32.h"

#include <libdeflate.h>

uint32_t CrcOfStream(FILE* stream) {
  // Blocks from the buffered stream, so the file is never held whole; blocks larger than
  // 64 KiB measured no faster.
  unsigned char block[1 << 16];
  uint32_t crc = 0;  // libdeflate's running value starts at the CRC of nothing
  size_t got;
  while ((got = fread(block, 1, sizeof block, stream)) > 0) crc = libdeflate_crc32(crc, block, got);
  return crc;
}
