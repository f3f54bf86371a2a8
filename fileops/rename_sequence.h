#pragma once
// The running number of a rename template: its one ${sn(start,width)} item and the
// zero fill of the numbers that replace it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fileops {

struct SequenceItem {
  std::string item;  // the exact text that each number replaces
  std::int64_t start = 0;
  std::int64_t width = 0;
};

// The first "${sn(" item of a lower-cased template, from "${sn(" up to and including
// the first "}" after it (the rest of the template when there is none); its arguments
// lie between "${sn(" and the item's last two characters. Empty without "${sn(".
// Throws CommandError "'%s' is not a valid integer value" when the start (the text
// before the first ",") or the width (the text after it), trimmed, is not a decimal
// integer; %s is empty when the comma is missing.
std::optional<SequenceItem> ReadSequenceItem(std::string_view nameTemplate);

// `number` in decimal, zero-filled to `width` digits with sixteen zeros at most; a
// width no larger than the digits (zero and negative widths too) leaves the number as
// it is, so a number is never cut.
std::string ZeroFill(std::int64_t number, std::int64_t width);

// The position of the first "}" at or after `from` (a character boundary) that is a
// character of its own: the byte 0x7D can also be the second byte of a Chinese
// character. npos when there is none.
std::size_t FindClosingBrace(std::string_view text, std::size_t from);

// A decimal integer as the integer conversion reads it: blanks around it, an optional
// sign, digits, and a value that fits 32 bits; empty otherwise.
std::optional<std::int32_t> ReadInteger(std::string_view text);

}  // namespace fileops
