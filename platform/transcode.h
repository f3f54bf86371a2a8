#pragma once
// Whole-file conversions between GB18030 (the engine code page) and UTF-8, near the speed
// of reading the file. ICU goes through UTF-16 a character at a time, some four times
// slower: on a large file it, not the disk, would set the pace. Here ASCII bytes are
// copied a word at a time and every other character costs one table look-up. The tables are made
// from ICU's own mapping, so the results are ICU's, and a conversion never substitutes:
// bytes that do not convert make it fail, as converting them would lose them.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Appends the UTF-8 form of the GB18030 text `gb18030` to `out`; true then. False when
// some bytes form no character (a lone 0x80 or 0xFF, a lead byte without a valid trail, a
// sequence cut off by the end of the text, a four-byte code outside the assigned ranges):
// `out` then holds the conversion of the characters before them.
bool Gb18030ToUtf8(std::string_view gb18030, std::string& out);

// Appends the GB18030 form of the UTF-8 text `utf8` to `out`; every Unicode character
// has one, four-byte UTF-8 sequences included. False when the text is no well-formed UTF-8
// (as IsUtf8 judges): `out` then holds the conversion of the characters before the fault.
bool Utf8ToGb18030(std::string_view utf8, std::string& out);

// The number of bytes below 0x80 that `text` starts with; its size when it is all ASCII.
std::size_t AsciiLength(std::string_view text);

}  // namespace platform
