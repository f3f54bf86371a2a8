#include "template/template_evaluator.h"

#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/engine_text.h"
#include "template/template_functions.h"

namespace tmpl {
namespace {

enum class Nested { Resolve, Keep };

std::string Evaluate(std::string_view source, std::string_view item, const Environment& environment,
                     Nested nested);

// Items already evaluated in one argument text, so that an item written twice (in any
// letter case) is evaluated once and gives the same text everywhere.
class EvaluatedItems {
 public:
  const std::string* Find(const std::string& lowered) const {
    for (const auto& [key, result] : items_)
      if (key == lowered) return &result;
    return nullptr;
  }
  void Add(std::string lowered, std::string result) {
    items_.emplace_back(std::move(lowered), std::move(result));
  }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

// Puts the result of the item that `out` holds from `start` on in its place. The item
// holds results of its own nested items, which are plain text: it goes through the
// escape step and the parse, but its argument text is not resolved again.
void ReplaceClosedItem(std::string& out, std::size_t start, std::string_view source,
                       const Environment& environment, EvaluatedItems& evaluated) {
  const std::string_view item = std::string_view(out).substr(start);
  std::string lowered = platform::ToLower(item);
  std::string result;
  if (const std::string* known = evaluated.Find(lowered)) {
    result = *known;
  } else {
    result = Evaluate(source, ReplaceEscapes(item), environment, Nested::Keep);
    environment.budget.Keep(lowered.size() + result.size());
    evaluated.Add(std::move(lowered), result);
  }
  environment.budget.Check(start, result.size());
  out.resize(start);
  out += result;
}

// Replaces each item nested in the argument text by its result, in the order of the
// closing braces from left to right, so innermost first. One pass from left to right:
// "${" opens an item, a "}" closes the innermost open one and a "}" with none open is
// plain text. Results go into the output and are not scanned again, so the loop ends
// whatever the source text or the results hold. Braces inside a character (a trail
// byte 0x7D) are no braces.
std::string ResolveNested(std::string_view source, std::string_view text,
                          const Environment& environment) {
  if (text.find('}') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::vector<std::size_t> open;  // where each open item starts in `out`
  EvaluatedItems evaluated;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text[pos] == '$' && pos + 1 < text.size() && text[pos + 1] == '{') {
      open.push_back(out.size());
      out += "${";
      pos += 2;
      continue;
    }
    const std::size_t length = platform::CharLength(text, pos);
    if (length == 1 && text[pos] == '}' && !open.empty()) {
      out += '}';
      ReplaceClosedItem(out, open.back(), source, environment, evaluated);
      open.pop_back();
      ++pos;
      continue;
    }
    out.append(text, pos, length);
    pos += length;
  }
  return out;
}

// The argument text split at its first two commas; the third slot keeps the rest.
Arguments SplitArguments(std::string_view text) {
  const std::size_t first = text.find(',');
  if (first == std::string_view::npos) return Arguments(text, {}, {});
  const std::size_t second = text.find(',', first + 1);
  if (second == std::string_view::npos)
    return Arguments(text.substr(0, first), text.substr(first + 1), {});
  return Arguments(text.substr(0, first), text.substr(first + 1, second - first - 1),
                   text.substr(second + 1));
}

// One item that has been through the escape step, taken apart: plain text (no "${"),
// a bare body (no "("), or a function with its argument text.
struct ParsedItem {
  enum class Kind { Plain, Body, Function } kind = Kind::Plain;
  std::string_view text;  // Plain: the item; Body: the body; Function: the argument text
  std::string name;       // Function: lower-cased
};

ParsedItem Parse(std::string_view item) {
  const std::size_t dollar = item.find("${");
  if (dollar == std::string_view::npos) return {ParsedItem::Kind::Plain, item, {}};
  const std::size_t bodyStart = dollar + 2;
  const std::size_t bodyEnd = item.size() - 1;  // the last character is never looked at
  const std::string_view body =
      bodyEnd > bodyStart ? item.substr(bodyStart, bodyEnd - bodyStart) : std::string_view();
  const std::size_t paren = body.find('(');
  if (paren == std::string_view::npos) return {ParsedItem::Kind::Body, body, {}};
  std::string_view argumentText = body.substr(paren + 1);
  if (!argumentText.empty()) argumentText.remove_suffix(1);  // taken to be the ")"
  return {ParsedItem::Kind::Function, argumentText, platform::ToLower(body.substr(0, paren))};
}

// Parses and applies one item that has been through the escape step. Nested items are
// resolved at the top level only: an item closed inside an argument text holds results
// already, which are plain text.
std::string Evaluate(std::string_view source, std::string_view item, const Environment& environment,
                     Nested nested) {
  const ParsedItem parsed = Parse(item);
  if (parsed.kind != ParsedItem::Kind::Function) return std::string(parsed.text);
  std::string_view argumentText = parsed.text;
  std::string resolved;
  if (nested == Nested::Resolve) {
    resolved = ResolveNested(source, argumentText, environment);
    argumentText = resolved;
  }
  return ApplyFunction(parsed.name, source, SplitArguments(argumentText), environment);
}

}  // namespace

std::string ReplaceEscapes(std::string_view item) {
  if (item.find('\\') == std::string_view::npos) return std::string(item);
  std::string out = platform::ReplaceAllNoCase(item, "\\t", "\t");
  out = platform::ReplaceAllNoCase(out, "\\r", "\r");
  return platform::ReplaceAllNoCase(out, "\\n", "\n");
}

std::string EvalTemplate(std::string_view source, std::string_view item, const Clock& clock,
                         std::size_t growthLimit) {
  return PreparedTemplate(item, clock, growthLimit).Apply(source);
}

std::string EvalTemplate(std::string_view source, std::string_view item, const Clock& clock) {
  return EvalTemplate(source, item, clock, kTextGrowthLimit);
}

std::string EvalTemplate(std::string_view source, std::string_view item) {
  const SystemClock clock;
  return EvalTemplate(source, item, clock);
}

}  // namespace tmpl

namespace tmpl {

PreparedTemplate::PreparedTemplate(std::string_view item, std::size_t growthLimit)
    : PreparedTemplate(item, system_, growthLimit) {}

PreparedTemplate::PreparedTemplate(std::string_view item, const Clock& clock,
                                   std::size_t growthLimit)
    : growthLimit_(growthLimit), clock_(clock) {
  Reset(item);
}

void PreparedTemplate::Reset(std::string_view item) {
  // The texts keep their room from item to item.
  if (item.find('\\') == std::string_view::npos)
    item_.assign(item);
  else
    item_ = ReplaceEscapes(item);
  itemSize_ = item.size();
  const ParsedItem parsed = Parse(item_);
  // Items nested in the argument text ("${" in it) depend on the source text.
  nested_ = parsed.kind == ParsedItem::Kind::Function &&
            parsed.text.find("${") != std::string_view::npos;
  function_ = nullptr;
  arguments_ = Arguments();
  if (parsed.kind != ParsedItem::Kind::Function) {
    fixed_.assign(parsed.text);
    return;
  }
  function_ = FindFunction(parsed.name);
  arguments_ = SplitArguments(parsed.text);
}

std::string PreparedTemplate::Apply(std::string_view source) const {
  std::string scratch;
  return std::string(Apply(source, scratch));
}

std::string_view PreparedTemplate::Apply(std::string_view source, std::string& scratch) const {
  if (function_ == nullptr) return fixed_;
  const Environment environment{clock_, TextBudget(source.size() + itemSize_, growthLimit_)};
  if (nested_) {
    scratch = Evaluate(source, item_, environment, Nested::Resolve);
    return scratch;
  }
  return function_(source, arguments_, environment).TakeView(scratch);
}

}  // namespace tmpl
