#include "template/text_primitives.h"

#include <algorithm>
#include <limits>

#include "platform/engine_text.h"

namespace tmpl {

std::int64_t Find(std::string_view key, std::string_view s) {
  if (key.empty() || s.empty()) return 0;
  const std::size_t pos = s.find(key);
  return pos == std::string_view::npos ? 0 : static_cast<std::int64_t>(pos) + 1;
}

std::string Copy(std::string_view s, std::int64_t pos, std::int64_t count) {
  if (count < 1 || pos > Length(s)) return std::string();
  pos = std::max<std::int64_t>(pos, 1);
  count = std::min(count, Length(s) - pos + 1);
  return std::string(s.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(count)));
}

std::string Remove(std::string_view s, std::int64_t pos, std::int64_t count) {
  if (pos < 1 || pos > Length(s) || count < 1) return std::string(s);
  count = std::min(count, Length(s) - pos + 1);
  std::string out(s.substr(0, static_cast<std::size_t>(pos - 1)));
  out += s.substr(static_cast<std::size_t>(pos - 1 + count));
  return out;
}

std::string Insert(std::string_view s, std::int64_t pos, std::string_view text) {
  pos = std::clamp<std::int64_t>(pos, 1, Length(s) + 1);
  const auto at = static_cast<std::size_t>(pos - 1);
  std::string out;
  out.reserve(s.size() + text.size());
  out.append(s.substr(0, at)).append(text).append(s.substr(at));
  return out;
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  return platform::ReplaceAllNoCase(s, from, to);
}

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max()
               : std::numeric_limits<std::int64_t>::min();
}

}  // namespace tmpl
