// native_text_win32.cpp: UTF-8 into the ANSI code page, which the program's A functions use
// for names in windows, lists and paths.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>

#include "platform/native_text.h"

void ToNativeText(char* text) {
  constexpr int kMaxUnits = 1024;
  size_t length = strlen(text);
  bool ascii = true;
  for (size_t i = 0; i < length && ascii; ++i) ascii = static_cast<unsigned char>(text[i]) < 0x80;
  // A system whose ANSI code page is UTF-8 takes the text as it is.
  if (ascii || length >= kMaxUnits || GetACP() == CP_UTF8) return;
  // A character of n UTF-8 bytes takes at most n ANSI bytes (two in a double-byte code page),
  // so the result fits where the text was. An invalid byte becomes U+FFFD, which no ANSI code
  // page holds, and so "_" too.
  wchar_t wide[kMaxUnits];
  int units = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(length), wide, kMaxUnits);
  BOOL defaulted = FALSE;
  int bytes = units <= 0 ? 0
                         : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, units, text,
                                               static_cast<int>(length), "_", &defaulted);
  text[bytes > 0 ? bytes : 0] = '\0';
}
