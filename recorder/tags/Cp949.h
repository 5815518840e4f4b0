// Text in the Korean double-byte code page 949 (UHC), the code page of ID3v1 tags written on
// Korean systems, converted with the C library's iconv.
#pragma once

#include <string>

namespace tags {

// UTF-8 to code page 949. Characters the code page lacks become '?'; invalid UTF-8 is skipped.
std::string Utf8ToCp949(const std::string& utf8);
// Code page 949 to UTF-8. Bytes that form no character become U+FFFD.
std::string Cp949ToUtf8(const std::string& cp949);
// The longest prefix of a code-page-949 text that fits in maxBytes without splitting a
// double-byte character (scanned from the start: a byte of 0x81 or more leads two bytes).
std::string CutCp949(const std::string& cp949, size_t maxBytes);
// The first maxChars characters of a UTF-8 text.
std::string FirstUtf8Chars(const std::string& utf8, size_t maxChars);

} // namespace tags
