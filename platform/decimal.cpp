#include "platform/decimal.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "platform/error.h"

namespace platform {

std::optional<std::int32_t> ReadInteger(std::string_view text) {
  std::size_t pos = text.find_first_not_of(' ');
  if (pos == std::string_view::npos) return std::nullopt;
  // from_chars takes a "-" but no "+"; after a "+" a digit must follow, so "+-1" fails.
  if (text[pos] == '+' && pos + 1 < text.size() && text[pos + 1] != '-') ++pos;
  const char* const end = text.data() + text.size();
  std::int32_t value = 0;
  const auto [stop, error] = std::from_chars(text.data() + pos, end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::int32_t ParseInteger(std::string_view text) {
  const std::optional<std::int32_t> value = ReadInteger(text);
  if (!value) ThrowInvalidInteger(text);
  return *value;
}

void AppendZeroFilled(std::string& out, std::int64_t number, std::int64_t width) {
  constexpr std::int64_t kMostZeros = 16;
  char digits[24];
  const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), number);
  const auto length = static_cast<std::int64_t>(end - digits);
  if (length < width)
    out.append(static_cast<std::size_t>(std::min(width - length, kMostZeros)), '0');
  out.append(digits, end);
}

std::string ZeroFilled(std::int64_t number, std::int64_t width) {
  std::string out;
  AppendZeroFilled(out, number, width);
  return out;
}

}  // namespace platform
