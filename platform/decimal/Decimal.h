// Decimal text as the C library's atoi reads it: leading blanks, an optional sign, then digits;
// text without them gives 0 ("" → 0, "1.0.2.1" → 1). Values beyond int saturate instead of
// overflowing. Shared by the update checks and the splitter's media query; no Qt.
#pragma once

#include <string_view>

int DecimalValue(std::string_view text);
