#include "platform/file_time.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>
#include <span>

#include "platform/ascii.h"
#include "platform/code_page.h"
#include "platform/decimal.h"

namespace platform {
namespace {

enum class Kind { Number, ShortYear, Hour, MonthName, LongDayName, ShortDayName, HalfDay };

struct Token {
  std::string_view text;
  Kind kind;
  int LocalDateTime::*field = nullptr;  // for numbers
  int width = 0;                        // digits at least
};

// Longer tokens before their prefixes, so that the longest one at a position wins.
constexpr Token kTokens[] = {
    {"am/pm", Kind::HalfDay},
    {"yyyy", Kind::Number, &LocalDateTime::year, 4},
    {"yy", Kind::ShortYear},
    {"mmmm", Kind::MonthName},
    {"mmm", Kind::MonthName},
    {"mm", Kind::Number, &LocalDateTime::month, 2},
    {"m", Kind::Number, &LocalDateTime::month, 1},
    {"dddd", Kind::LongDayName},
    {"ddd", Kind::ShortDayName},
    {"dd", Kind::Number, &LocalDateTime::day, 2},
    {"d", Kind::Number, &LocalDateTime::day, 1},
    {"hh", Kind::Hour, nullptr, 2},
    {"h", Kind::Hour, nullptr, 1},
    {"nn", Kind::Number, &LocalDateTime::minute, 2},
    {"n", Kind::Number, &LocalDateTime::minute, 1},
    {"ss", Kind::Number, &LocalDateTime::second, 2},
    {"s", Kind::Number, &LocalDateTime::second, 1},
    {"zzz", Kind::Number, &LocalDateTime::millisecond, 3},
};

// Where the tokens of each initial letter stand in kTokens: a pattern is read once for
// every row of a list, and most of its characters begin no token.
struct TokenRange {
  std::uint8_t begin = 0;
  std::uint8_t count = 0;
};
constexpr std::array<TokenRange, 128> kTokensByInitial = [] {
  std::array<TokenRange, 128> ranges{};
  for (std::size_t i = 0; i < std::size(kTokens); ++i) {
    TokenRange& range = ranges[static_cast<unsigned char>(kTokens[i].text.front())];
    if (range.count == 0) range.begin = static_cast<std::uint8_t>(i);
    // Tokens of one initial must stand together; otherwise this does not compile.
    if (range.begin + range.count != i) throw "tokens of one initial are not together";
    ++range.count;
  }
  return ranges;
}();

// Engine (GB18030) bytes of the names. A Chinese system gives the same text for the
// long and the short month name.
constexpr std::string_view kMonthNames[12] = {
    "\xD2\xBB\xD4\xC2",          // 一月
    "\xB6\xFE\xD4\xC2",          // 二月
    "\xC8\xFD\xD4\xC2",          // 三月
    "\xCB\xC4\xD4\xC2",          // 四月
    "\xCE\xE5\xD4\xC2",          // 五月
    "\xC1\xF9\xD4\xC2",          // 六月
    "\xC6\xDF\xD4\xC2",          // 七月
    "\xB0\xCB\xD4\xC2",          // 八月
    "\xBE\xC5\xD4\xC2",          // 九月
    "\xCA\xAE\xD4\xC2",          // 十月
    "\xCA\xAE\xD2\xBB\xD4\xC2",  // 十一月
    "\xCA\xAE\xB6\xFE\xD4\xC2",  // 十二月
};
constexpr std::string_view kLongDayNames[7] = {
    "\xD0\xC7\xC6\xDA\xC8\xD5",  // 星期日
    "\xD0\xC7\xC6\xDA\xD2\xBB",  // 星期一
    "\xD0\xC7\xC6\xDA\xB6\xFE",  // 星期二
    "\xD0\xC7\xC6\xDA\xC8\xFD",  // 星期三
    "\xD0\xC7\xC6\xDA\xCB\xC4",  // 星期四
    "\xD0\xC7\xC6\xDA\xCE\xE5",  // 星期五
    "\xD0\xC7\xC6\xDA\xC1\xF9",  // 星期六
};
constexpr std::string_view kShortDayNames[7] = {
    "\xD6\xDC\xC8\xD5",  // 周日
    "\xD6\xDC\xD2\xBB",  // 周一
    "\xD6\xDC\xB6\xFE",  // 周二
    "\xD6\xDC\xC8\xFD",  // 周三
    "\xD6\xDC\xCB\xC4",  // 周四
    "\xD6\xDC\xCE\xE5",  // 周五
    "\xD6\xDC\xC1\xF9",  // 周六
};
constexpr std::string_view kMorning = "\xC9\xCF\xCE\xE7";    // 上午
constexpr std::string_view kAfternoon = "\xCF\xC2\xCE\xE7";  // 下午

constexpr std::string_view kShortDate = "yyyy/m/d";
constexpr std::string_view kLongTime = "h:nn:ss";

// The tokens that begin with the letter `lower`, longest first.
std::span<const Token> TokensStartingWith(char lower) {
  const auto byte = static_cast<unsigned char>(lower);
  if (byte >= kTokensByInitial.size()) return {};
  return std::span<const Token>(kTokens).subspan(kTokensByInitial[byte].begin,
                                                 kTokensByInitial[byte].count);
}

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view token) {
  if (text.size() - pos < token.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i)
    if (AsciiLower(text[pos + i]) != token[i]) return false;
  return true;
}

// One piece of a pattern: a token, or text that passes through.
struct Piece {
  const Token* token = nullptr;
  std::string_view literal;
};

// Reads the piece at `pos` and moves `pos` past it.
Piece NextPiece(std::string_view pattern, std::size_t& pos) {
  const char c = pattern[pos];
  if (c == '"' || c == '\'') {
    const std::size_t close = pattern.find(c, pos + 1);
    const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
    Piece piece{nullptr, pattern.substr(pos + 1, end - pos - 1)};
    pos = std::min(end + 1, pattern.size());
    return piece;
  }
  for (const Token& token : TokensStartingWith(AsciiLower(c)))
    if (StartsWithNoCase(pattern, pos, token.text)) {
      pos += token.text.size();
      return Piece{&token, {}};
    }
  const std::size_t length = static_cast<unsigned char>(c) < 0x80 ? 1 : CharLength(pattern, pos);
  Piece piece{nullptr, pattern.substr(pos, length)};
  pos += length;
  return piece;
}

bool HasHalfDay(std::string_view pattern) {
  if (std::none_of(pattern.begin(), pattern.end(), [](char c) { return AsciiLower(c) == 'a'; }))
    return false;
  for (std::size_t pos = 0; pos < pattern.size();) {
    const Piece piece = NextPiece(pattern, pos);
    if (piece.token != nullptr && piece.token->kind == Kind::HalfDay) return true;
  }
  return false;
}

std::string_view MonthName(int month) { return kMonthNames[std::clamp(month, 1, 12) - 1]; }

void AppendToken(std::string& out, const Token& token, const LocalDateTime& t, bool twelveHour) {
  switch (token.kind) {
    case Kind::Number:
      return AppendZeroFilled(out, t.*token.field, token.width);
    case Kind::ShortYear:
      return AppendZeroFilled(out, t.year % 100, 2);
    case Kind::Hour:
      // On the twelve-hour clock 0 and 12 are both 12.
      return AppendZeroFilled(out, twelveHour ? (t.hour + 11) % 12 + 1 : t.hour, token.width);
    case Kind::MonthName:
      out += MonthName(t.month);
      return;
    case Kind::LongDayName:
      out += kLongDayNames[DayOfWeek(t.year, t.month, t.day)];
      return;
    case Kind::ShortDayName:
      out += kShortDayNames[DayOfWeek(t.year, t.month, t.day)];
      return;
    case Kind::HalfDay:
      out += t.hour < 12 ? kMorning : kAfternoon;
      return;
  }
}

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

std::string FormatDateTime(std::string_view pattern, const LocalDateTime& t) {
  if (pattern.empty()) {
    std::string out = FormatDateTime(kShortDate, t);
    if (t.hour != 0 || t.minute != 0 || t.second != 0) out += ' ' + FormatDateTime(kLongTime, t);
    return out;
  }
  const bool twelveHour = HasHalfDay(pattern);
  std::string out;
  out.reserve(pattern.size() + 8);
  for (std::size_t pos = 0; pos < pattern.size();) {
    const Piece piece = NextPiece(pattern, pos);
    if (piece.token != nullptr) {
      AppendToken(out, *piece.token, t, twelveHour);
    } else {
      out += piece.literal;
    }
  }
  return out;
}

std::string FormatFileTime(FileTime utc, std::string_view format) {
  return FormatDateTime(format, ToLocal(utc));
}

int DayOfWeek(int year, int month, int day) {
  // The weekday shift each month adds, counting the year from March so that a leap day
  // comes last.
  constexpr int kMonthOffsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  month = std::clamp(month, 1, 12);
  if (month < 3) --year;
  const int sum = year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + day;
  return ((sum % 7) + 7) % 7;
}

}  // namespace platform
