#include "convert/conversion_item.h"

#include "content/page_item.h"
#include "platform/engine_text.h"

namespace convert {

ConversionItem ParseConversionItem(std::string_view field) {
  ConversionItem item;
  const std::optional<content::PageItem> read = content::ReadPageItem(field);
  if (!read) return item;
  item.converts = true;
  item.name = read->name;
  item.extension = std::string(read->arguments.substr(0, read->arguments.find(',')));
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
