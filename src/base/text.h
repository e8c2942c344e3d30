// text.h: bounded text helpers; every write into a fixed buffer goes through these.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

// Formats into a fixed array. Returns false (with the text cut, still terminated)
// when the result did not fit, so callers can refuse a cut path.
bool FormatInto(char* out, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
bool FormatIntoV(char* out, size_t size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));

template <size_t N>
__attribute__((format(printf, 2, 3))) bool Format(char (&out)[N], const char* format, ...) {
  va_list args;
  va_start(args, format);
  bool fitted = FormatIntoV(out, N, format, args);
  va_end(args);
  return fitted;
}

// Appends formatted text to what the array already holds.
template <size_t N>
__attribute__((format(printf, 2, 3))) bool Append(char (&out)[N], const char* format, ...) {
  size_t used = strnlen(out, N - 1);
  va_list args;
  va_start(args, format);
  bool fitted = FormatIntoV(out + used, N - used, format, args);
  va_end(args);
  return fitted;
}

// Copies a text, cut to the array; returns false when it was cut. A plain copy rather than
// formatted printing: a load copies tens of thousands of texts.
template <size_t N>
bool CopyText(char (&out)[N], const char* from) {
  size_t length = strnlen(from, N);
  bool fitted = length < N;
  if (!fitted) length = N - 1;
  memcpy(out, from, length);
  out[length] = '\0';
  return fitted;
}

// A byte with A to Z folded to a to z, the only folding the system does.
inline unsigned char FoldByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Compares two texts folding only A to Z to a to z, bytes as unsigned; a prefix sorts first.
int CompareFolded(const char* a, const char* b);

// True when the texts are equal under the same folding.
inline bool EqualFolded(const char* a, const char* b) { return CompareFolded(a, b) == 0; }

// A path as the window's path fields, the INI file and a scan hold it: at most 259 characters
// and the terminator. A longer one is refused, never cut.
constexpr int kPathFieldSize = 260;
