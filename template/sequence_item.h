#pragma once
// The running-number item ${sn(start,width)} of the rename and insert templates: each
// file (rename) or worked line (insert) puts its number, zero-filled to the width, in
// place of the item's exact text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tmpl {

struct SequenceItem {
  std::string text;  // the exact text that each number replaces, in its own letter case
  std::int64_t start = 0;
  std::int64_t width = 0;
};

// The first "${sn(" item, letter case ignored, from "${sn(" up to and including the
// first "}" after it that is a character of its own (the rest of the template when there
// is none); its arguments lie between "${sn(" and the item's last two characters, the
// start before the first "," and the width after it, each trimmed of blanks. Empty
// without "${sn(". Throws CommandError "'%s' is not a valid integer value" when the start
// or the width is not a decimal integer (%s the trimmed text, empty when the comma is
// missing); the start is read first.
std::optional<SequenceItem> ReadSequenceItem(std::string_view templateText);

}  // namespace tmpl
