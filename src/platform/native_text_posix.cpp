// native_text_posix.cpp: POSIX file and window names are UTF-8 bytes already.
#include "platform/native_text.h"

void ToNativeText(char*) {}
