#include "content/line_list.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/file_write.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace content {
namespace {

// The first CR or LF in [p, end), or end. Lines are short and files large, so the
// scan looks at sixteen bytes at a time where the processor allows.
const char* FindBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int hits =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    if (hits != 0) return p + __builtin_ctz(static_cast<unsigned>(hits));
    p += 16;
  }
#endif
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

LineList LineList::Load(std::string_view path) {
  const std::string native = platform::EngineToUtf8(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(native, error)) platform::ThrowCannotOpen(path);
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(native.c_str(), "rb"));
  if (!file) platform::ThrowCannotOpen(path);
  if (fseeko(file.get(), 0, SEEK_END) != 0) platform::ThrowCannotOpen(path);
  const off_t size = ftello(file.get());
  if (size < 0 || fseeko(file.get(), 0, SEEK_SET) != 0) platform::ThrowCannotOpen(path);

  LineList list;
  const auto bytes = static_cast<std::size_t>(size);
  list.buffer_ = std::make_unique_for_overwrite<char[]>(bytes == 0 ? 1 : bytes);
  const std::size_t got = std::fread(list.buffer_.get(), 1, bytes, file.get());
  if (got < bytes && std::ferror(file.get())) platform::ThrowCannotOpen(path);
  list.Split(list.buffer_.get(), got);  // a file that shrank meanwhile: what was read
  return list;
}

LineList LineList::FromBytes(std::string_view bytes) {
  LineList list;
  list.buffer_ = std::make_unique_for_overwrite<char[]>(bytes.empty() ? 1 : bytes.size());
  std::memcpy(list.buffer_.get(), bytes.data(), bytes.size());
  list.Split(list.buffer_.get(), bytes.size());
  return list;
}

void LineList::Split(const char* text, std::size_t size) {
  if (const void* zero = std::memchr(text, 0, size))
    size = static_cast<std::size_t>(static_cast<const char*>(zero) - text);
  // Room for lines of 32 bytes on average, so that a large file's views are not copied
  // again and again as the list grows; pages the list never fills are never touched.
  lines_.reserve(size / 32 + 1);
  const char* p = text;
  const char* const end = text + size;
  while (p < end) {
    const char* stop = FindBreak(p, end);
    lines_.emplace_back(p, static_cast<std::size_t>(stop - p));
    if (stop == end) break;
    p = stop + 1;
    if (*stop == '\r' && p < end && *p == '\n') ++p;
  }
}

struct LineFileWriter::Impl {
  explicit Impl(std::string_view path) : file(path) {}
  platform::FileReplacement file;
};

LineFileWriter::LineFileWriter(std::string_view path) : impl_(std::make_unique<Impl>(path)) {}

LineFileWriter::~LineFileWriter() = default;

void LineFileWriter::Add(std::string_view line) {
  impl_->file.Append(line);
  impl_->file.Append("\r\n");
}

void LineFileWriter::Commit() { impl_->file.Commit(); }

}  // namespace content
