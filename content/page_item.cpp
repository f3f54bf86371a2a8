#include "content/page_item.h"

#include "platform/engine_text.h"

namespace content {

std::optional<PageItem> ReadPageItem(std::string_view field) {
  if (field.find("${") == std::string_view::npos) return std::nullopt;
  const std::string_view inner = field.size() > 3 ? field.substr(2, field.size() - 3) : "";
  const std::size_t open = inner.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  return PageItem{platform::ToLower(inner.substr(0, open)),
                  open + 2 <= inner.size() ? inner.substr(open + 1, inner.size() - open - 2)
                                           : std::string_view()};
}

}  // namespace content
