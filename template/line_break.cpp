#include "template/line_break.h"

#include "platform/code_page.h"

namespace tmpl {
namespace {

// End of the longest run of whole characters from `start` that is at most `width` bytes
// long; past the first character when even that one is wider.
std::size_t PieceEnd(std::string_view text, std::size_t start, std::size_t width) {
  std::size_t end = start;
  while (end < text.size()) {
    const std::size_t length = platform::CharLength(text, end);
    if (end + length - start > width) break;
    end += length;
  }
  return end > start ? end : start + platform::CharLength(text, start);
}

}  // namespace

std::string BreakLines(std::string_view text, std::int64_t width) {
  if (width < 1 || static_cast<std::uint64_t>(width) >= text.size()) return std::string(text);
  const auto limit = static_cast<std::size_t>(width);
  std::string out;
  out.reserve(text.size() + 2 * (text.size() / limit + 1));
  std::size_t start = 0;
  while (text.size() - start > limit) {
    const std::size_t end = PieceEnd(text, start, limit);
    if (start > 0) out += "\r\n";
    out.append(text, start, end - start);
    start = end;
  }
  // A last wide character may have ended the text exactly: no empty line after it.
  if (start < text.size()) {
    if (start > 0) out += "\r\n";
    out.append(text, start, std::string_view::npos);
  }
  return out;
}

}  // namespace tmpl
