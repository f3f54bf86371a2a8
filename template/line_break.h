#pragma once
// The NewLine function: a text broken into lines of a given width in bytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace tmpl {

// `text` cut into pieces of at most `width` bytes, joined by CR LF. A cut never falls
// inside a character: the piece ends before a character that would straddle it. A
// character wider than `width` (a two-byte character at width 1) makes a piece of its
// own, so that every piece moves on. A width below 1, or a text no longer than the
// width, leaves the text as it is.
std::string BreakLines(std::string_view text, std::int64_t width);

}  // namespace tmpl
