// native_text.h: text of today's dats (UTF-8) in the character set the platform's file and
// window functions take.
#pragma once

// Converts a UTF-8 text in place: unchanged where the platform takes UTF-8 (POSIX); in the
// ANSI code page on Windows, where a character the code page cannot hold, or a byte that is
// no UTF-8, becomes "_". The result is never longer than the text.
void ToNativeText(char* text);
