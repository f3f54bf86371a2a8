#pragma once
// The function table of the template language: each entry takes the source text and up
// to three argument texts and gives the new source text.

#include <string>
#include <string_view>

#include "template/clock.h"
#include "template/text_budget.h"

namespace tmpl {

// The three argument slots of an item; slots left out are empty. The third keeps every
// comma after the second.
struct Arguments {
  std::string_view first, second, third;
};

// What a function may use besides its text: the clock of Date and Time, and the room
// that replacements may grow into.
struct Environment {
  const Clock& clock;
  TextBudget budget;
};

// Applies the function `name` (already lower-cased; compared exactly) to `source`. A
// name that is not in the table gives `source` unchanged.
std::string ApplyFunction(std::string_view name, std::string_view source, const Arguments& args,
                          const Environment& environment);

}  // namespace tmpl
