// inclusion.h: whether a ROM's category counts as part of the set under the include options.
#pragma once

bool IsRomIncluded(int index);

// The same test on a bare category text, for callers without a record.
bool IsCategoryIncluded(const char* category);
