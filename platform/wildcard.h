#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/engine_text.h"

namespace platform {

// File-name wildcards: "*" matches any run of characters, "?" exactly one character,
// letter case is ignored, and "*.*" matches every name (one without a "." too).
// Both texts are engine text.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// A pattern prepared once for testing many names, as a search tests every entry of
// every folder against the same pattern. Same rules as MatchesWildcard.
class Wildcard {
 public:
  explicit Wildcard(std::string_view pattern);
  bool Matches(std::string_view name) const;

 private:
  enum class Kind : std::uint8_t { Char, AnyChar, AnyRun };
  struct Item {
    Kind kind = Kind::Char;
    FoldedChar ch;
  };
  std::vector<Item> items_;
  bool matchesEverything_ = false;
};

}  // namespace platform
