#pragma once
// The item typed into the field of a conversion page, "${XlsTo(csv)}" or "${ToUtf8()}",
// read as those pages read it: cut at fixed places rather than parsed.

#include <optional>
#include <string>
#include <string_view>

namespace content {

struct PageItem {
  std::string name;            // lowered
  std::string_view arguments;  // a view into the field
};

// With "${" in the field, the item is the field from its third byte to its second-last;
// with "(" in the item, the name is the text before its first "(", lowered, and the
// arguments the text after it without the item's last byte (the expected ")"). Nothing
// when either is missing.
std::optional<PageItem> ReadPageItem(std::string_view field);

}  // namespace content
