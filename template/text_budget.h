#pragma once
// How far the evaluator lets text grow. Nested replacements multiply sizes: four
// RepStr items nested on a 60-byte source text already build 777 MB, five would need
// 46 GB, and a system that overcommits memory ends the whole program for that. Nesting
// adds up as well: a thousand nested AddLeft items on a 10 KB line each keep a result a
// little longer than the one inside, 5 GB in all. So every text the evaluator builds
// stays within a margin above the size of its two inputs, and so do all the nested
// results one evaluation keeps together; a template that needs more ends the command
// with the error that the application-wide error box shows for memory that ran out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tmpl {

// Room above the inputs: far beyond any name or line a template makes, and little
// enough that the program stays small whatever a template asks for.
inline constexpr std::size_t kTextGrowthLimit = std::size_t{64} << 20;

class TextBudget {
 public:
  // Held at the largest size rather than wrapping, so that a huge growth limit means none.
  TextBudget(std::size_t inputBytes, std::size_t growthLimit)
      : limit_(growthLimit > SIZE_MAX - inputBytes ? SIZE_MAX : inputBytes + growthLimit) {}

  // Throws platform::CommandError("Out of memory") when `a + b` bytes are beyond the
  // limit.
  void Check(std::size_t a, std::size_t b = 0) const;

  // Counts `bytes` more kept by the evaluation until it ends (the results of nested
  // items); throws as Check does when all it keeps is beyond the limit.
  void Keep(std::size_t bytes) const;

  // ReplaceAll (every occurrence, letter case ignored), after making sure that its
  // result fits.
  std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) const;

 private:
  std::size_t limit_;
  // What the evaluation keeps so far. The functions share the budget read-only; the
  // tally of kept results is the evaluator's alone.
  mutable std::size_t kept_ = 0;
};

}  // namespace tmpl
