#pragma once
// Locale-aware text comparison: an ICU collator of the user's locale.

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace platform {

class Collator {
 public:
  // The user's locale as the environment gives it (LC_ALL, LC_COLLATE, LANG); tests fix it.
  Collator();
  explicit Collator(const char* locale);
  ~Collator();
  // A second collator with the same rules, for another thread: one collator's buffers
  // must not be shared between threads.
  std::unique_ptr<Collator> Clone() const;
  Collator(const Collator&) = delete;
  Collator& operator=(const Collator&) = delete;

  // Appends the lower-cased text's sort key to `keys`: two keys compare byte by byte (as
  // strings) the way the texts compare. `engine` is engine text. Not thread-safe: it
  // reuses buffers, because a sort makes one key per row.
  void AppendLowerSortKey(std::string_view engine, std::string& keys) const;

  // <0, 0 or >0 as `a` sorts before, with or after `b` (engine texts, letter case kept).
  int Compare(std::string_view a, std::string_view b) const;

 private:
  explicit Collator(UCollator* collator) : collator_(collator) {}

  UCollator* collator_ = nullptr;
  mutable std::u16string text_, lower_;
};

}  // namespace platform
