#pragma once
// EvalTemplate: applies the one function item of a template item to a source text.
//
// The item goes through the escape step ("\t", "\r", "\n" in any letter case become
// TAB, CR, LF), then only its first "${" counts and its last character is taken to be
// the closing "}" without being looked at. Without "${" the item comes back as it is;
// without "(" its bare body ("${Ext}" gives "Ext"). Otherwise the name (lower-cased)
// picks the function, the text between "(" and the item's last two characters holds
// the arguments, and items nested in it are evaluated first, innermost first, against
// the same source text.
//
// Every input ends: a "}" that closes no item is plain text, and the text a nested
// item gives back is never read as template again. The evaluator has no state and
// reports nothing, with one exception: a template whose texts would grow more than
// `growthLimit` bytes beyond its two inputs (nested replacements multiply sizes) throws
// platform::CommandError("Out of memory"), which ends the command as running out of
// memory does.

#include <cstddef>
#include <string>
#include <string_view>

#include "template/clock.h"
#include "template/template_functions.h"
#include "template/text_budget.h"

namespace tmpl {

// Date and Time read the system clock.
std::string EvalTemplate(std::string_view source, std::string_view item);

std::string EvalTemplate(std::string_view source, std::string_view item, const Clock& clock);

std::string EvalTemplate(std::string_view source, std::string_view item, const Clock& clock,
                         std::size_t growthLimit);

// One item applied to many source texts (the lines of a file) gives what EvalTemplate
// gives for each, but is taken apart once. Not copyable: it refers to its own text.
class PreparedTemplate {
 public:
  // Date and Time read the system clock.
  explicit PreparedTemplate(std::string_view item, std::size_t growthLimit = kTextGrowthLimit);
  PreparedTemplate(std::string_view item, const Clock& clock,
                   std::size_t growthLimit = kTextGrowthLimit);
  PreparedTemplate(const PreparedTemplate&) = delete;
  PreparedTemplate& operator=(const PreparedTemplate&) = delete;

  // Takes another item apart in place of the first, for a template that changes from
  // line to line (a sequence number in it) without new memory for every line.
  void Reset(std::string_view item);

  std::string Apply(std::string_view source) const;
  // The same as a view, valid while `source`, the template and `scratch` are: a loop
  // over many lines keeps one scratch text, and a result that is one part of the line
  // or of the item is not copied at all. `source` must not lie in `scratch`.
  std::string_view Apply(std::string_view source, std::string& scratch) const;

 private:
  SystemClock system_;
  std::string item_;  // after the escape step
  std::size_t itemSize_ = 0;
  std::size_t growthLimit_;
  const Clock& clock_;
  bool nested_ = false;
  std::string fixed_;             // the result of an item that is no function
  Function function_ = nullptr;   // with its arguments, views into item_
  Arguments arguments_;
};

// The escape step alone: every "\t", "\r" and "\n" (letter case ignored, in that order)
// replaced by TAB, CR and LF.
std::string ReplaceEscapes(std::string_view item);

}  // namespace tmpl
