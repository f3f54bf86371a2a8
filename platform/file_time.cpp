#include "platform/file_time.h"

#include <algorithm>
#include <ctime>

#include "platform/code_page.h"

namespace platform {
namespace {

// Appends `value` in decimal, padded with zeros to at least `width` digits.
void AppendNumber(std::string& out, int value, int width) {
  char digits[16];
  int count = 0;
  const bool negative = value < 0;
  unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count < width) digits[count++] = '0';
  if (negative) out += '-';
  while (count > 0) out += digits[--count];
}

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view token) {
  if (text.size() - pos < token.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    const char c = text[pos + i];
    if (((c >= 'A' && c <= 'Z') ? c + 0x20 : c) != token[i]) return false;
  }
  return true;
}

struct Token {
  std::string_view text;
  int LocalDateTime::*field;
  int width;
  int modulo;  // 0: the whole value
};

// Longer tokens first, so that the longest one at a position wins.
constexpr Token kTokens[] = {
    {"yyyy", &LocalDateTime::year, 4, 0},       {"yy", &LocalDateTime::year, 2, 100},
    {"mm", &LocalDateTime::month, 2, 0},        {"m", &LocalDateTime::month, 1, 0},
    {"dd", &LocalDateTime::day, 2, 0},          {"d", &LocalDateTime::day, 1, 0},
    {"hh", &LocalDateTime::hour, 2, 0},         {"h", &LocalDateTime::hour, 1, 0},
    {"nn", &LocalDateTime::minute, 2, 0},       {"n", &LocalDateTime::minute, 1, 0},
    {"ss", &LocalDateTime::second, 2, 0},       {"s", &LocalDateTime::second, 1, 0},
    {"zzz", &LocalDateTime::millisecond, 3, 0},
};

}  // namespace

LocalDateTime ToLocal(FileTime utc) {
  const std::time_t seconds = static_cast<std::time_t>(utc.seconds);
  std::tm local{};
  LocalDateTime t;
  if (localtime_r(&seconds, &local) == nullptr) return t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = utc.nanoseconds / 1'000'000;
  return t;
}

std::string FormatDateTime(std::string_view format, const LocalDateTime& t) {
  std::string out;
  out.reserve(format.size() + 8);
  std::size_t pos = 0;
  while (pos < format.size()) {
    const char c = format[pos];
    if (c == '"' || c == '\'') {
      // Quoted text passes through without its quotes; an unclosed quote runs to the end.
      std::size_t end = pos + 1;
      while (end < format.size() && format[end] != c) end += CharLength(format, end);
      end = std::min(end, format.size());
      out.append(format, pos + 1, end - pos - 1);
      pos = end + 1;
      continue;
    }
    const Token* match = nullptr;
    for (const Token& token : kTokens)
      if (StartsWithNoCase(format, pos, token.text)) {
        match = &token;
        break;
      }
    if (match != nullptr) {
      const int value = t.*(match->field);
      AppendNumber(out, match->modulo != 0 ? value % match->modulo : value, match->width);
      pos += match->text.size();
      continue;
    }
    // Whole characters, so that a trail byte such as 'm' or 'd' is never read as a token.
    const std::size_t length = CharLength(format, pos);
    out.append(format, pos, length);
    pos += length;
  }
  return out;
}

std::string FormatFileTime(FileTime utc, std::string_view format) {
  return FormatDateTime(format, ToLocal(utc));
}

}  // namespace platform
