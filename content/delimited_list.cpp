#include "content/delimited_list.h"

#include "platform/code_page.h"

namespace content {
namespace {

bool IsSeparatingByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

}  // namespace

std::vector<std::string> SplitDelimitedList(std::string_view text, char delimiter, char quote) {
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos)
    text = text.substr(0, zero);
  std::vector<std::string> items;
  std::size_t pos = 0;
  const std::size_t size = text.size();
  auto skipBlanks = [&] {
    while (pos < size && IsSeparatingByte(text[pos])) ++pos;
  };
  skipBlanks();
  while (pos < size) {
    std::string item;
    if (text[pos] == quote) {
      ++pos;
      while (pos < size) {
        if (text[pos] == quote) {
          ++pos;
          if (pos < size && text[pos] == quote) {
            item += quote;
            ++pos;
            continue;
          }
          break;
        }
        const std::size_t length = platform::CharLength(text, pos);
        item.append(text.substr(pos, length));
        pos += length;
      }
    } else {
      const std::size_t start = pos;
      while (pos < size && !IsSeparatingByte(text[pos]) && text[pos] != delimiter)
        pos += platform::CharLength(text, pos);
      item.assign(text.substr(start, pos - start));
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (pos < size && text[pos] == delimiter) {
      if (pos + 1 == size) items.emplace_back();
      ++pos;
      skipBlanks();
    }
  }
  return items;
}

}  // namespace content
