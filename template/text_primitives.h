#pragma once
// The five primitives every template function is built from. Positions and counts are
// bytes from 1, as the language counts them; their behaviour at the edges is part of
// the language.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tmpl {

// What a template function gives back: up to three pieces of its inputs, read in
// order, or a text of its own. Most functions only pick and join parts of their source
// and arguments, so applying one to a line need not allocate. Pieces are views: a
// result must not outlive the texts it was made from.
class Result {
 public:
  Result(std::string own) : own_(std::move(own)), owned_(true) {}  // NOLINT: any text converts
  Result(std::string_view a, std::string_view b = {}, std::string_view c = {})
      : pieces_{a, b, c} {}

  std::size_t size() const;
  void AppendTo(std::string& out) const;
  std::string ToString() const;
  // The text as one view: a single piece as it is, anything else put together in
  // `scratch` (an own text is moved there). Valid while the inputs and `scratch` are.
  std::string_view TakeView(std::string& scratch);
  bool operator==(std::string_view text) const;

 private:
  std::string own_;
  std::string_view pieces_[3];
  bool owned_ = false;
};

// Position of the first occurrence of `key` in `s`, an exact byte search that may match
// inside a character; 0 when absent, and 0 when `key` or `s` is empty.
std::int64_t Find(std::string_view key, std::string_view s);

// The `count` bytes of `s` from `pos`. Empty when `pos` is beyond the end or `count` is
// below 1; a `pos` below 1 counts as 1 without shortening `count`; `count` is cut at the
// end.
std::string_view Copy(std::string_view s, std::int64_t pos, std::int64_t count);

// `s` without the `count` bytes from `pos`. Unchanged when `pos` is below 1 or beyond the
// end, or `count` is below 1; `count` is cut at the end.
Result Remove(std::string_view s, std::int64_t pos, std::int64_t count);

// `text` placed before `pos`; a `pos` below 1 counts as 1, one beyond the end appends.
Result Insert(std::string_view s, std::int64_t pos, std::string_view text);

// Every occurrence of `from` replaced by `to`, letter case ignored, whole characters
// only; an empty `from` changes nothing.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// a + b, held at the limits of the type instead of overflowing: offsets added to
// positions come from user arithmetic and may be as large as a count can be.
std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b);

inline std::int64_t Length(std::string_view s) { return static_cast<std::int64_t>(s.size()); }

}  // namespace tmpl
