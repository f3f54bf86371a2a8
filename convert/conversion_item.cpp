#include "convert/conversion_item.h"

#include "platform/engine_text.h"

namespace convert {

ConversionItem ParseConversionItem(std::string_view field) {
  ConversionItem item;
  if (field.find("${") == std::string_view::npos) return item;
  // From the third character to the second-last: the field is meant to be "${...}".
  const std::string_view inner = field.size() > 3 ? field.substr(2, field.size() - 3) : "";
  const std::size_t open = inner.find('(');
  if (open == std::string_view::npos) return item;
  item.converts = true;
  item.name = platform::ToLower(inner.substr(0, open));
  // The arguments end before the item's last character, the expected ")".
  const std::string_view arguments =
      open + 2 <= inner.size() ? inner.substr(open + 1, inner.size() - open - 2) : "";
  item.extension = std::string(arguments.substr(0, arguments.find(',')));
  return item;
}

std::string ExtensionOf(std::string_view argument) {
  std::string extension = platform::ToLower(platform::TrimBlanks(argument));
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  return extension;
}

platform::NativePath NewPathFor(const platform::NativePath& source, std::string_view extension) {
  const std::string& path = source.bytes();
  const std::size_t nameStart = path.rfind('/') + 1;  // npos + 1 == 0: no folder
  // A "." is never part of a multi-byte character, in UTF-8 and GBK names alike.
  const std::size_t dot = path.rfind('.');
  std::string bytes =
      dot != std::string::npos && dot >= nameStart ? path.substr(0, dot + 1) : path + ".";
  bytes += platform::NativeBytesOf(extension);
  return platform::NativePath(std::move(bytes));
}

}  // namespace convert
