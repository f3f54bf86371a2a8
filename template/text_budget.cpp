#include "template/text_budget.h"

#include <algorithm>

#include "platform/engine_text.h"
#include "platform/error.h"

namespace tmpl {

void TextBudget::Check(std::size_t a, std::size_t b) const {
  if (a > limit_ || b > limit_ - a) throw platform::CommandError("Out of memory");
}

void TextBudget::Keep(std::size_t bytes) const {
  Check(kept_, bytes);
  kept_ += bytes;
}

std::string TextBudget::ReplaceAll(std::string_view s, std::string_view from,
                                   std::string_view to) const {
  // Each match takes at least one byte of `s`; only when that many matches could pass
  // the limit are they counted, by what one more byte per match adds.
  if (!from.empty() && to.size() > 1 && s.size() > limit_ / to.size()) {
    const std::string without = platform::ReplaceAllNoCase(s, from, "");
    const std::size_t matches = platform::ReplaceAllNoCase(s, from, "x").size() - without.size();
    if (matches > (limit_ - std::min(limit_, without.size())) / to.size())
      throw platform::CommandError("Out of memory");
  }
  std::string out = platform::ReplaceAllNoCase(s, from, to);
  Check(out.size());
  return out;
}

}  // namespace tmpl
