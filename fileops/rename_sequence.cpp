#include "fileops/rename_sequence.h"

#include <limits>

#include "platform/code_page.h"
#include "platform/engine_text.h"
#include "platform/error.h"

namespace fileops {

std::optional<std::int32_t> ReadInteger(std::string_view text) {
  text = platform::TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::size_t FindClosingBrace(std::string_view text, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); pos += platform::CharLength(text, pos))
    if (text[pos] == '}') return pos;
  return std::string_view::npos;
}

std::optional<SequenceItem> ReadSequenceItem(std::string_view nameTemplate) {
  constexpr std::string_view kOpen = "${sn(";
  const std::size_t begin = nameTemplate.find(kOpen);
  if (begin == std::string_view::npos) return std::nullopt;
  const std::size_t close = FindClosingBrace(nameTemplate, begin + kOpen.size());
  const std::size_t end = close == std::string_view::npos ? nameTemplate.size() : close + 1;
  SequenceItem sequence;
  sequence.item = std::string(nameTemplate.substr(begin, end - begin));
  const std::size_t inner = sequence.item.size() - kOpen.size();
  const std::string_view arguments =
      std::string_view(sequence.item).substr(kOpen.size(), inner >= 2 ? inner - 2 : 0);
  const std::size_t comma = arguments.find(',');
  const std::string_view start = platform::TrimBlanks(
      comma == std::string_view::npos ? std::string_view() : arguments.substr(0, comma));
  const std::string_view width = platform::TrimBlanks(
      comma == std::string_view::npos ? std::string_view() : arguments.substr(comma + 1));
  const std::optional<std::int32_t> startValue = ReadInteger(start);
  if (!startValue) platform::ThrowInvalidInteger(start);
  const std::optional<std::int32_t> widthValue = ReadInteger(width);
  if (!widthValue) platform::ThrowInvalidInteger(width);
  sequence.start = *startValue;
  sequence.width = *widthValue;
  return sequence;
}

std::string ZeroFill(std::int64_t number, std::int64_t width) {
  std::string digits = std::to_string(number);
  if (width <= static_cast<std::int64_t>(digits.size())) return digits;
  constexpr std::string_view kZeros = "0000000000000000";
  const std::int64_t missing = width - static_cast<std::int64_t>(digits.size());
  digits.insert(0, kZeros.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(missing, 16))));
  return digits;
}

}  // namespace fileops
