#include "template/text_primitives.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/engine_text.h"

namespace tmpl {

std::int64_t Find(std::string_view key, std::string_view s) {
  if (key.empty() || s.empty()) return 0;
  const std::size_t pos = s.find(key);
  return pos == std::string_view::npos ? 0 : static_cast<std::int64_t>(pos) + 1;
}

std::size_t Result::size() const {
  return owned_ ? own_.size() : pieces_[0].size() + pieces_[1].size() + pieces_[2].size();
}

void Result::AppendTo(std::string& out) const {
  if (owned_) {
    out += own_;
    return;
  }
  // One growth and plain copies: this runs once per line of a large file.
  std::size_t at = out.size();
  out.resize(at + size());
  for (const std::string_view piece : pieces_) {
    if (piece.empty()) continue;
    std::memcpy(out.data() + at, piece.data(), piece.size());
    at += piece.size();
  }
}

std::string_view Result::TakeView(std::string& scratch) {
  if (owned_) {
    scratch = std::move(own_);
    return scratch;
  }
  if (pieces_[1].empty() && pieces_[2].empty()) return pieces_[0];
  scratch.clear();
  AppendTo(scratch);
  return scratch;
}

std::string Result::ToString() const {
  if (owned_) return own_;
  std::string out;
  AppendTo(out);
  return out;
}

bool Result::operator==(std::string_view text) const {
  if (owned_) return own_ == text;
  if (size() != text.size()) return false;
  for (const std::string_view piece : pieces_) {
    if (text.substr(0, piece.size()) != piece) return false;
    text.remove_prefix(piece.size());
  }
  return true;
}

std::string_view Copy(std::string_view s, std::int64_t pos, std::int64_t count) {
  if (count < 1 || pos > Length(s)) return {};
  pos = std::max<std::int64_t>(pos, 1);
  count = std::min(count, Length(s) - pos + 1);
  return s.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(count));
}

Result Remove(std::string_view s, std::int64_t pos, std::int64_t count) {
  if (pos < 1 || pos > Length(s) || count < 1) return Result(s);
  count = std::min(count, Length(s) - pos + 1);
  return Result(s.substr(0, static_cast<std::size_t>(pos - 1)),
                s.substr(static_cast<std::size_t>(pos - 1 + count)));
}

Result Insert(std::string_view s, std::int64_t pos, std::string_view text) {
  pos = std::clamp<std::int64_t>(pos, 1, Length(s) + 1);
  const auto at = static_cast<std::size_t>(pos - 1);
  return Result(s.substr(0, at), text, s.substr(at));
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
