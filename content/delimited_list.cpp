#include "content/delimited_list.h"

#include <cstdint>
#include <limits>

#include "platform/code_page.h"
#include "platform/error.h"

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

int ParseInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos == text.size()) platform::ThrowInvalidInteger(text);
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') platform::ThrowInvalidInteger(text);
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<int>::max()} + 1)
      platform::ThrowInvalidInteger(text);
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max()) platform::ThrowInvalidInteger(text);
  return static_cast<int>(value);
}

}  // namespace content
