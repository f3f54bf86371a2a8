#include "template/template_functions.h"

#include <optional>

#include "template/chinese_digits.h"
#include "template/chinese_script.h"
#include "template/date_format.h"
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

using Handler = std::string (*)(const Call&);

std::string Unchanged(const Call& c) { return std::string(c.s); }
std::int64_t N(std::string_view argument) { return NumericArgument(argument); }

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

std::string Date(const Call& c) {
  return FormatDatePattern(c.a.first, DatePart(c.environment.clock.Now()));
}
std::string Time(const Call& c) {
  return FormatDatePattern(c.a.first, TimePart(c.environment.clock.Now()));
}
std::string RepStr(const Call& c) {
  return c.environment.budget.ReplaceAll(c.s, c.a.first, c.a.second);
}

std::string DelStr(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Remove(c.s, p, Length(c.a.first)) : Unchanged(c);
}

std::string DelRange(const Call& c) {
  const std::optional<Range> r = KeywordRange(c.s, c.a.first, c.a.second);
  return r ? Remove(c.s, r->pos, r->count) : Unchanged(c);
}

std::string GetStr2(const Call& c) {
  const std::optional<Range> r = KeywordRange(c.s, c.a.first, c.a.second);
  return r ? Copy(c.s, r->pos, r->count) : Unchanged(c);
}

std::string DelLeft(const Call& c) {
  const std::int64_t n = N(c.a.first);
  return n > 0 ? Remove(c.s, 1, n) : Unchanged(c);
}

std::string DelRight(const Call& c) {
  const std::int64_t n = N(c.a.first);
  return n > 0 ? Remove(c.s, Length(c.s) - n + 1, n) : Unchanged(c);
}

std::string DelMid(const Call& c) {
  const std::int64_t pos = N(c.a.first), count = N(c.a.second);
  return pos > 0 && count > 0 ? Remove(c.s, pos, count) : Unchanged(c);
}

std::string AddLeft(const Call& c) { return std::string(c.a.first).append(c.s); }
std::string AddRight(const Call& c) { return std::string(c.s).append(c.a.first); }

std::string AddMid(const Call& c) {
  const std::int64_t pos = N(c.a.first);
  return pos > 0 ? Insert(c.s, pos, c.a.second) : Unchanged(c);
}

std::string GetLeft(const Call& c) {
  const std::int64_t n = N(c.a.first);
  return n > 0 ? Copy(c.s, 1, n) : Unchanged(c);
}

std::string GetRight(const Call& c) {
  const std::int64_t n = N(c.a.first);
  return n > 0 ? Copy(c.s, Length(c.s) - n + 1, n) : Unchanged(c);
}

std::string GetMid(const Call& c) {
  const std::int64_t pos = N(c.a.first), count = N(c.a.second);
  return pos > 0 && count > 0 ? Copy(c.s, pos, count) : Unchanged(c);
}

std::string GetStr(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s), count = N(c.a.second);
  return p > 0 && count > 0 ? Copy(c.s, p, count) : Unchanged(c);
}

// The offset is added to the keyword's position without any test; Insert holds the
// result inside the text.
std::string AddMid2(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Insert(c.s, SaturatingAdd(p, N(c.a.second)), c.a.third) : Unchanged(c);
}

std::string NewLine(const Call& c) { return BreakLines(c.s, N(c.a.first)); }

// The swap goes through a marker text; a marker already in S is swapped as well.
std::string Xchg(const Call& c) {
  constexpr std::string_view kMarker = "(!@#$%^&*)";
  const TextBudget& budget = c.environment.budget;
  const std::string marked = budget.ReplaceAll(c.s, c.a.first, kMarker);
  return budget.ReplaceAll(budget.ReplaceAll(marked, c.a.second, c.a.first), kMarker, c.a.second);
}

std::string DelStrL(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Remove(c.s, 1, p + Length(c.a.first) - 1) : Unchanged(c);
}

std::string DelStrR(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s);
  return p > 0 ? Remove(c.s, p, Length(c.s) - p + 1) : Unchanged(c);
}

std::string Pos(const Call& c) { return std::to_string(Find(c.a.first, c.s)); }

// The offset counts from the keyword's first byte; a start that falls below 1 leaves S.
std::string GetMid2(const Call& c) {
  const std::int64_t p = Find(c.a.first, c.s), count = N(c.a.third);
  if (p > 0 && count > 0) {
    const std::int64_t start = SaturatingAdd(p, N(c.a.second));
    if (start > 0) return Copy(c.s, start, count);
  }
  return Unchanged(c);
}

std::string Gb2Big(const Call& c) { return GbToBig5(c.s); }
std::string Big2Gb(const Call& c) { return Big5ToGb(c.s); }
std::string Len(const Call& c) { return std::to_string(c.a.first.size()); }
std::string Chs2Num(const Call& c) { return ChineseToDigits(c.a.first); }

struct Entry {
  std::string_view name;
  Handler handler;
};

constexpr Entry kTable[] = {
    {"date", Date},         {"time", Time},         {"repstr", RepStr},     {"delstr", DelStr},
    {"delrange", DelRange}, {"delleft", DelLeft},   {"delright", DelRight}, {"delmid", DelMid},
    {"addleft", AddLeft},   {"addright", AddRight}, {"addmid", AddMid},     {"getleft", GetLeft},
    {"getright", GetRight}, {"getmid", GetMid},     {"getstr", GetStr},     {"getstr2", GetStr2},
    {"addmid2", AddMid2},   {"newline", NewLine},   {"xchg", Xchg},         {"delstrl", DelStrL},
    {"delstrr", DelStrR},   {"pos", Pos},           {"getmid2", GetMid2},   {"gb2big", Gb2Big},
    {"big2gb", Big2Gb},     {"len", Len},           {"lineorg", Unchanged}, {"chs2num", Chs2Num},
};

}  // namespace

std::string ApplyFunction(std::string_view name, std::string_view source, const Arguments& args,
                          const Environment& environment) {
  const Call call{source, args, environment};
  for (const Entry& entry : kTable)
    if (entry.name == name) return entry.handler(call);
  return std::string(source);
}

}  // namespace tmpl
