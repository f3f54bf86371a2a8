#pragma once
// The function table of the template language: each entry takes the source text and up
// to three argument texts and gives the new source text.

#include <cstdint>
#include <string>
#include <string_view>

#include "template/clock.h"
#include "template/text_primitives.h"
#include "template/text_budget.h"

namespace tmpl {

// The three argument slots of an item; slots left out are empty. The third keeps every
// comma after the second.
class Arguments {
 public:
  Arguments() = default;
  Arguments(std::string_view first, std::string_view second, std::string_view third)
      : first(first), second(second), third(third) {}

  // Set once: Number keeps what it read from them.
  std::string_view first, second, third;

  // NumericArgument of a slot (0, 1 or 2), read once however often it is asked for:
  // an item applied to many lines reads its numbers once.
  std::int64_t Number(int slot) const;

 private:
  mutable std::int64_t numbers_[3] = {};
  mutable unsigned known_ = 0;  // bit n: numbers_[n] has been read
};

// What a function may use besides its text: the clock of Date and Time, and the room
// that replacements may grow into.
struct Environment {
  const Clock& clock;
  TextBudget budget;
};

using Function = Result (*)(std::string_view source, const Arguments& args,
                            const Environment& environment);

// The function `name` (already lower-cased; compared exactly) of the table; a name
// that is not in the table gives a function that returns `source` unchanged.
Function FindFunction(std::string_view name);

inline std::string ApplyFunction(std::string_view name, std::string_view source,
                                 const Arguments& args, const Environment& environment) {
  return FindFunction(name)(source, args, environment).ToString();
}

}  // namespace tmpl
