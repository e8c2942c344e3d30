// text.cpp: bounded formatting and the folded comparison used for CRC texts and sort keys.
#include "base/text.h"

bool FormatIntoV(char* out, size_t size, const char* format, va_list args) {
  if (size == 0) return false;
  int written = vsnprintf(out, size, format, args);
  if (written < 0) {
    out[0] = '\0';
    return false;
  }
  return static_cast<size_t>(written) < size;
}

bool FormatInto(char* out, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  bool fitted = FormatIntoV(out, size, format, args);
  va_end(args);
  return fitted;
}

int CompareFolded(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
  for (;; ++x, ++y) {
    unsigned char cx = FoldByte(*x), cy = FoldByte(*y);
    if (cx != cy) return cx < cy ? -1 : 1;
    if (cx == '\0') return 0;
  }
}
