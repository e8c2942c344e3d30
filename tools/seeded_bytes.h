// seeded_bytes.h: deterministic bytes for generated ROM images, different for every seed, so
// each image has a CRC of its own and every run writes the same files.
#pragma once

#include <cstddef>
#include <string>

inline std::string SeededBytes(int seed, size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 2166136261u ^ static_cast<unsigned>(seed);
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}
