#pragma once
// The engine code page and the conversions at its edge. Engine text is a byte string
// in GB18030: identical to code page 936 for every character that code page has, and
// able to hold every other Unicode character, so names survive the trip both ways.
//
// A character is one byte (0x00-0x7F), two bytes (lead 0x81-0xFE, trail 0x40-0x7E or
// 0x80-0xFE) or four bytes (0x81-0xFE, 0x30-0x39, 0x81-0xFE, 0x30-0x39).

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Conversions. Text that does not convert becomes the converter's substitute character.
std::string Utf8ToEngine(std::string_view utf8);
std::string EngineToUtf8(std::string_view engine);
std::string Utf16ToEngine(std::u16string_view utf16);
std::u16string EngineToUtf16(std::string_view engine);

// As EngineToUtf8, but every byte that does not form a character is written as "\xHH".
std::string EngineToUtf8Escaped(std::string_view engine);

// Code page 936 strictly (characters outside it become its substitute) and 950 (Big5).
std::string Utf16ToCodePage936(std::u16string_view utf16);
std::u16string CodePage936ToUtf16(std::string_view bytes);
std::string Utf16ToCodePage950(std::u16string_view utf16);
std::u16string CodePage950ToUtf16(std::string_view bytes);

// Number of bytes of the character that starts at `pos` (0-based) of `text`: 1, 2 or 4.
// A lead byte whose sequence is cut off by the end of the text counts as 1; a lead byte
// followed by a byte that is no valid trail counts as 2. 0 when `pos` is at or past the end.
std::size_t CharLength(std::string_view text, std::size_t pos);

// True when `bytes` are well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsUtf8(std::string_view bytes);

inline bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace platform
