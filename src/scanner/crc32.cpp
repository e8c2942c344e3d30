// crc32.cpp: the reflected CRC-32 with polynomial 0xEDB88320, eight bytes per table step and
// four independent lanes per block, so the processor overlaps the lanes' lookups.
#include "scanner/crc32.h"

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

// Slicing by eight: g_tables[0] is the classic byte table; g_tables[k][b] is the register
// after byte b and k zero bytes, so eight lookups advance the register by eight bytes at once
// and give the same value as eight byte steps.
uint32_t g_tables[8][256];

// A whole block is cut into four lanes of this many bytes each.
constexpr size_t kLaneSize = 16384;
constexpr size_t kBlockSize = 4 * kLaneSize;
// x^(8 * kLaneSize) modulo the polynomial: multiplying a register by it appends a lane's
// worth of zero bytes, which is how the lanes are joined.
uint32_t g_lane_shift;

// Four bytes as a little-endian word, whatever the machine's byte order.
inline uint32_t LittleWord(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint32_t EightBytes(uint32_t crc, const unsigned char* p) {
  const uint32_t(&t)[8][256] = g_tables;
  uint32_t low = crc ^ LittleWord(p), high = LittleWord(p + 4);
  return t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
         t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^
         t[0][high >> 24];
}

uint32_t Serial(uint32_t crc, const unsigned char* p, size_t size) {
  for (; size >= 8; p += 8, size -= 8) crc = EightBytes(crc, p);
  for (; size > 0; ++p, --size) crc = g_tables[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return crc;
}

// a times b modulo the polynomial, both in the reflected order the register uses (the
// highest bit is x^0).
uint32_t MultiplyModulo(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (uint32_t bit = 1u << 31; bit != 0; bit >>= 1) {
    if (a & bit) product ^= b;
    b = (b & 1) ? (b >> 1) ^ kPolynomial : b >> 1;
  }
  return product;
}

// One whole block: the lanes start from 0 except the first, which carries the register;
// each lane's result is then moved past the next lane and joined to it. The register is
// linear in its input, so this equals one pass over the block.
uint32_t Block(uint32_t crc, const unsigned char* p) {
  uint32_t a = crc, b = 0, c = 0, d = 0;
  for (size_t i = 0; i < kLaneSize; i += 8) {
    a = EightBytes(a, p + i);
    b = EightBytes(b, p + kLaneSize + i);
    c = EightBytes(c, p + 2 * kLaneSize + i);
    d = EightBytes(d, p + 3 * kLaneSize + i);
  }
  crc = MultiplyModulo(a, g_lane_shift) ^ b;
  crc = MultiplyModulo(crc, g_lane_shift) ^ c;
  return MultiplyModulo(crc, g_lane_shift) ^ d;
}

}  // namespace

void BuildCrcTable() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ kPolynomial : value >> 1;
    g_tables[0][i] = value;
  }
  for (uint32_t i = 0; i < 256; ++i) {
    for (int k = 1; k < 8; ++k) {
      uint32_t previous = g_tables[k - 1][i];
      g_tables[k][i] = g_tables[0][previous & 0xFF] ^ (previous >> 8);
    }
  }
  // The register x^0 pushed through a lane of zero bytes.
  static const unsigned char kZeros[kLaneSize] = {};
  g_lane_shift = Serial(1u << 31, kZeros, kLaneSize);
}

uint32_t CrcOfStream(FILE* stream) {
  // Read in blocks from the buffered stream: the file is never held whole.
  static_assert(kBlockSize == 1 << 16, "one read fills one block of lanes");
  unsigned char block[kBlockSize];
  uint32_t crc = 0xFFFFFFFFu;
  size_t got;
  while ((got = fread(block, 1, sizeof block, stream)) > 0)
    crc = got == kBlockSize ? Block(crc, block) : Serial(crc, block, got);
  return crc ^ 0xFFFFFFFFu;
}
