#pragma once
// Decimal integers in typed text and in made names: the one reading of a number field
// and the one zero fill of a running number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A decimal integer as a number field holds it: spaces (0x20) before it, an optional
// "+" or "-", then the digits 0-9 and nothing else, with a value that fits 32 bits.
// Empty otherwise: an empty text, blanks after the digits, other blanks before them,
// a second sign, a full-width digit.
std::optional<std::int32_t> ReadInteger(std::string_view text);

// ReadInteger, throwing CommandError "'%s' is not a valid integer value" with the text
// as given when it holds no such integer.
std::int32_t ParseInteger(std::string_view text);

// `number` in decimal, appended to `out` with zeros in front of the whole text (sign
// included) until it is `width` characters long, sixteen zeros at most. A width no
// larger than the text (zero and negative widths too) leaves the number as it is, so a
// number is never cut.
void AppendZeroFilled(std::string& out, std::int64_t number, std::int64_t width);
std::string ZeroFilled(std::int64_t number, std::int64_t width);

}  // namespace platform
