#include "template/template_functions.h"

#include <optional>

#include "template/chinese_digits.h"
#include "template/chinese_script.h"
#include "template/line_break.h"
#include "template/number_expression.h"
#include "template/text_primitives.h"

namespace tmpl {
namespace {

// One call: the source text S, the arguments, the clock and the room to grow.
struct Call {
  std::string_view s;
  const Arguments& a;
  const Environment& environment;
};

using Handler = Result (*)(const Call&);

Result Unchanged(const Call& c) { return Result(c.s); }

// The range from the first `first` through the end of the first `last` that begins
// after it, as a position and a count; nothing when either keyword is missing.
struct Range {
  std::int64_t pos, count;
};
std::optional<Range> KeywordRange(std::string_view s, std::string_view first,
                                  std::string_view last) {
  const std::int64_t p = Find(first, s);
  if (p == 0) return std::nullopt;
  const std::int64_t restStart = p - 1 + Length(first);
  const std::int64_t q = Find(last, s.substr(static_cast<std::size_t>(restStart)));
  if (q == 0) return std::nullopt;
  const std::int64_t end = q + restStart + Length(last) - 1;
  return Range{p, end - p + 1};
}

// Date() is the day at midnight; Time() the time of day on the day that time values
// count from, 30 December 1899.
Result Date(const Call& c) {
  const platform::LocalDateTime now = c.environment.clock.Now();
  return platform::FormatDateTime(c.a.first, {now.year, now.month, now.day, 0, 0, 0, 0});
}
Result Time(const Call& c) {
  const platform::LocalDateTime now = c.environment.clock.Now();
  return platform::FormatDateTime(
      c.a.first, {1899, 12, 30, now.hour, now.minute, now.second, now.millisecond});
}
Result RepStr(const Call& c) { return c.environment.budget.ReplaceAll(c.s, c.a.first, c.a.second); }

Result DelStr(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Remove(c.s, p, Length(c.a.first)) : Unchanged(c);
}

Result DelRange(const Call& c) {
  const std::optional<Range> r = KeywordRange(c.s, c.a.first, c.a.second);
  return r ? Remove(c.s, r->pos, r->count) : Unchanged(c);
}

Result GetStr2(const Call& c) {
  const std::optional<Range> r = KeywordRange(c.s, c.a.first, c.a.second);
  return r ? Copy(c.s, r->pos, r->count) : Unchanged(c);
}

Result DelLeft(const Call& c) {
  const std::int64_t n = c.a.Number(0);
  return n > 0 ? Remove(c.s, 1, n) : Unchanged(c);
}

Result DelRight(const Call& c) {
  const std::int64_t n = c.a.Number(0);
  return n > 0 ? Remove(c.s, Length(c.s) - n + 1, n) : Unchanged(c);
}

Result DelMid(const Call& c) {
  const std::int64_t pos = c.a.Number(0), count = c.a.Number(1);
  return pos > 0 && count > 0 ? Remove(c.s, pos, count) : Unchanged(c);
}

Result AddLeft(const Call& c) { return Result(c.a.first, c.s); }
Result AddRight(const Call& c) { return Result(c.s, c.a.first); }

Result AddMid(const Call& c) {
  const std::int64_t pos = c.a.Number(0);
  return pos > 0 ? Insert(c.s, pos, c.a.second) : Unchanged(c);
}

Result GetLeft(const Call& c) {
  const std::int64_t n = c.a.Number(0);
  return n > 0 ? Copy(c.s, 1, n) : Unchanged(c);
}

Result GetRight(const Call& c) {
  const std::int64_t n = c.a.Number(0);
  return n > 0 ? Copy(c.s, Length(c.s) - n + 1, n) : Unchanged(c);
}

Result GetMid(const Call& c) {
  const std::int64_t pos = c.a.Number(0), count = c.a.Number(1);
  return pos > 0 && count > 0 ? Copy(c.s, pos, count) : Unchanged(c);
}

Result GetStr(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s), count = c.a.Number(1);
  return p > 0 && count > 0 ? Copy(c.s, p, count) : Unchanged(c);
}

// The offset is added to the keyword's position without any test; Insert holds the
// result inside the text.
Result AddMid2(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Insert(c.s, SaturatingAdd(p, c.a.Number(1)), c.a.third) : Unchanged(c);
}

Result NewLine(const Call& c) { return BreakLines(c.s, c.a.Number(0)); }

// The swap goes through a marker text; a marker already in S is swapped as well.
Result Xchg(const Call& c) {
  constexpr std::string_view kMarker = "(!@#$%^&*)";
  const TextBudget& budget = c.environment.budget;
  const std::string marked = budget.ReplaceAll(c.s, c.a.first, kMarker);
  return budget.ReplaceAll(budget.ReplaceAll(marked, c.a.second, c.a.first), kMarker, c.a.second);
}

Result DelStrL(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Remove(c.s, 1, p + Length(c.a.first) - 1) : Unchanged(c);
}

Result DelStrR(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Remove(c.s, p, Length(c.s) - p + 1) : Unchanged(c);
}

Result Pos(const Call& c) { return std::to_string(Find(c.a.first, c.s)); }

// The offset counts from the keyword's first byte; a start that falls below 1 leaves S.
Result GetMid2(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s), count = c.a.Number(2);
  if (p > 0 && count > 0) {
    const std::int64_t start = SaturatingAdd(p, c.a.Number(1));
    if (start > 0) return Copy(c.s, start, count);
  }
  return Unchanged(c);
}

Result Gb2Big(const Call& c) { return GbToBig5(c.s); }
Result Big2Gb(const Call& c) { return Big5ToGb(c.s); }
Result Len(const Call& c) { return std::to_string(c.a.first.size()); }
Result Chs2Num(const Call& c) { return ChineseToDigits(c.a.first); }

template <Handler handler>
Result Adapted(std::string_view source, const Arguments& args, const Environment& environment) {
  return handler(Call{source, args, environment});
}

struct Entry {
  std::string_view name;
  Function function;
};

constexpr Entry kTable[] = {
    {"date", Adapted<Date>},         {"time", Adapted<Time>},
    {"repstr", Adapted<RepStr>},     {"delstr", Adapted<DelStr>},
    {"delrange", Adapted<DelRange>}, {"delleft", Adapted<DelLeft>},
    {"delright", Adapted<DelRight>}, {"delmid", Adapted<DelMid>},
    {"addleft", Adapted<AddLeft>},   {"addright", Adapted<AddRight>},
    {"addmid", Adapted<AddMid>},     {"getleft", Adapted<GetLeft>},
    {"getright", Adapted<GetRight>}, {"getmid", Adapted<GetMid>},
    {"getstr", Adapted<GetStr>},     {"getstr2", Adapted<GetStr2>},
    {"addmid2", Adapted<AddMid2>},   {"newline", Adapted<NewLine>},
    {"xchg", Adapted<Xchg>},         {"delstrl", Adapted<DelStrL>},
    {"delstrr", Adapted<DelStrR>},   {"pos", Adapted<Pos>},
    {"getmid2", Adapted<GetMid2>},   {"gb2big", Adapted<Gb2Big>},
    {"big2gb", Adapted<Big2Gb>},     {"len", Adapted<Len>},
    {"lineorg", Adapted<Unchanged>}, {"chs2num", Adapted<Chs2Num>},
};

}  // namespace

std::int64_t Arguments::Number(int slot) const {
  const unsigned bit = 1u << slot;
  if ((known_ & bit) == 0) {
    const std::string_view texts[] = {first, second, third};
    numbers_[slot] = NumericArgument(texts[slot]);
    known_ |= bit;
  }
  return numbers_[slot];
}

Function FindFunction(std::string_view name) {
  for (const Entry& entry : kTable)
    if (entry.name == name) return entry.function;
  return Adapted<Unchanged>;
}

}  // namespace tmpl
