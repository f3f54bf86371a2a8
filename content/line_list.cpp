#include "content/line_list.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace content {
std::uint64_t LineBreakMask(const char* block, const char* end) {
  constexpr std::ptrdiff_t kBlock = 64;
  std::uint64_t mask = 0;
#if defined(__SSE2__)
  if (end - block >= kBlock) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    for (int part = 0; part < 4; ++part) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
      const __m128i hits =
          _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)),
                       _mm_cmpeq_epi8(bytes, zero));
      mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits)))
              << (16 * part);
    }
    return mask;
  }
#endif
  const std::ptrdiff_t size = end - block < kBlock ? end - block : kBlock;
  for (std::ptrdiff_t i = 0; i < size; ++i)
    if (block[i] == '\r' || block[i] == '\n' || block[i] == '\0') mask |= std::uint64_t{1} << i;
  return mask;
}

LineList::Iterator::Iterator(const char* at, const char* end, const char** textEnd)
    : end_(end), block_(at), textEnd_(textEnd) {
  if (at != nullptr && at < end) mask_ = LineBreakMask(at, end);
  Read(at);
}

LineList LineList::Over(std::string_view bytes, LineList list) {
  list.bytes_ = bytes;
  list.text_ =
      bytes.starts_with(kUtf8ByteOrderMark) ? bytes.substr(kUtf8ByteOrderMark.size()) : bytes;
  return list;
}

LineList LineList::Load(const platform::NativePath& path) {
  LineList list;
  list.file_ = platform::FileBytes(path);
  const std::string_view bytes = list.file_.bytes();
  return Over(bytes, std::move(list));
}

LineList LineList::FromBytes(std::string_view bytes) {
  LineList list;
  list.copy_ = platform::LargeBuffer(bytes.size());
  if (!bytes.empty()) std::memcpy(list.copy_.data(), bytes.data(), bytes.size());
  const std::string_view copy(list.copy_.data(), bytes.size());
  return Over(copy, std::move(list));
}

LineList::Iterator LineList::begin() const {
  return Iterator(text_.data(), text_.data() + text_.size(), &textEnd_);
}

bool LineList::HoldsZeroByte() const {
  if (textEnd_ == nullptr)
    return !text_.empty() && std::memchr(text_.data(), 0, text_.size()) != nullptr;
  return textEnd_ != text_.data() + text_.size();
}

LineList::Iterator LineList::end() const { return Iterator(); }

bool LineList::empty() const { return begin() == end(); }

std::size_t LineList::size() const {
  if (count_ == kNotCounted) count_ = static_cast<std::size_t>(std::distance(begin(), end()));
  return count_;
}

}  // namespace content
