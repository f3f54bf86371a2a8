#pragma once
// A text file as the content modes see it: an ordered list of byte-string lines without
// their line breaks. The lines are views into one buffer that holds the file's bytes,
// so loading a large file costs one read and one pass, not an allocation per line.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_bytes.h"
#include "platform/file_write.h"
#include "platform/large_memory.h"

namespace content {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

class LineList {
 public:
  class Iterator;

  LineList() = default;

  // The whole file at `path`, see FromBytes. Throws CommandError "Cannot open file %s"
  // when it cannot be read or is no regular file (a symbolic link is not followed).
  static LineList Load(const platform::NativePath& path);

  // Splits at every CR LF, lone LF and lone CR; a final line break adds no empty line;
  // the lines end at the first zero byte. A leading UTF-8 byte-order mark is set aside:
  // it is no part of line 1.
  static LineList FromBytes(std::string_view bytes);

  // The lines are found as they are walked, in order; counting them walks them once
  // (the count is kept).
  Iterator begin() const;
  Iterator end() const;
  std::size_t size() const;
  bool empty() const;
  // The bytes every line is a view into, in order: the file as it was read, without a
  // byte-order mark.
  std::string_view text() const { return text_; }
  // The whole file as it was read, byte-order mark included.
  std::string_view bytes() const { return bytes_; }
  bool HasByteOrderMark() const { return bytes_.size() != text_.size(); }

  // True when the text holds a zero byte: it is then no text (a UTF-16 file, a binary
  // file), and the lines end before it. Free once the lines have been walked to their
  // end; before that it searches the text.
  bool HoldsZeroByte() const;

  // False when the file was changed by another program while it was read: what was
  // made of its lines must not be saved.
  bool Intact() const { return file_.Intact(); }

 private:
  static LineList Over(std::string_view bytes, LineList list);

  platform::FileBytes file_;
  platform::LargeBuffer copy_;  // the bytes of FromBytes
  std::string_view bytes_;
  std::string_view text_;
  mutable std::size_t count_ = kNotCounted;
  mutable const char* textEnd_ = nullptr;  // where a walk found the lines' end; null: not yet
  static constexpr std::size_t kNotCounted = static_cast<std::size_t>(-1);
};

// Bit i: block[i] is CR, LF or zero, for the 64 bytes at `block`; only bytes before `end`
// count. What the line lists find their lines by.
std::uint64_t LineBreakMask(const char* block, const char* end);

// Finds the line breaks a block of 64 bytes at a time: a mask of the break bytes (CR,
// LF and zero) of each block is made at once, and each line then costs a few bit
// operations.
class LineList::Iterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = std::string_view;
  using difference_type = std::ptrdiff_t;
  using pointer = const std::string_view*;
  using reference = const std::string_view&;

  Iterator() = default;
  // `textEnd`, when given, learns where the lines end (the end, or a zero byte) once the
  // walk gets there.
  Iterator(const char* at, const char* end, const char** textEnd = nullptr);

  reference operator*() const { return line_; }
  pointer operator->() const { return &line_; }
  Iterator& operator++() {
    Read(next_);
    return *this;
  }
  Iterator operator++(int) {
    Iterator before = *this;
    Read(next_);
    return before;
  }
  // Iterators of one list are equal when they stand at the same line.
  bool operator==(const Iterator& other) const { return line_.data() == other.line_.data(); }

 private:
  static constexpr std::ptrdiff_t kBlock = 64;

  void Read(const char* at) {
    if (at == nullptr || at == end_ || *at == '\0') {  // the text has ended
      if (at != nullptr) Ended(at);
      line_ = {};
      next_ = nullptr;
      return;
    }
    const char* stop = NextBreak();
    line_ = std::string_view(at, static_cast<std::size_t>(stop - at));
    if (stop == end_ || *stop == '\0') {
      Ended(stop);
      next_ = nullptr;
      return;
    }
    next_ = stop + 1;
    if (*stop == '\r' && next_ < end_ && *next_ == '\n') ++next_;
    SkipTo(next_);
  }
  // The first break byte at or after the scan position, or end_.
  const char* NextBreak() {
    while (mask_ == 0) {
      block_ += kBlock;
      if (block_ >= end_) return end_;
      mask_ = LineBreakMask(block_, end_);
    }
    return block_ + std::countr_zero(mask_);
  }
  // Moves the scan position to `at`, which is at most two bytes past the last break.
  void SkipTo(const char* at) {
    if (at - block_ >= kBlock) {
      block_ += kBlock;
      mask_ = block_ < end_ ? LineBreakMask(block_, end_) : 0;
    }
    const auto offset = static_cast<unsigned>(at - block_);
    mask_ &= offset == 0 ? ~std::uint64_t{0} : ~std::uint64_t{0} << offset;
  }
  void Ended(const char* at) const {
    if (textEnd_ != nullptr) *textEnd_ = at;
  }

  std::string_view line_;  // data() is null past the last line
  const char* next_ = nullptr;
  const char* end_ = nullptr;
  const char* block_ = nullptr;
  std::uint64_t mask_ = 0;
  const char** textEnd_ = nullptr;
};

// Where a mode puts its output lines, one at a time and in order.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void Add(std::string_view line) = 0;
};

// Output lines kept in memory, for previews and tests.
class CollectedLines final : public LineSink {
 public:
  std::vector<std::string> lines;
  void Add(std::string_view line) override { lines.emplace_back(line); }
};

// The save of a line list: the file at `path` is replaced by every added line followed
// by CR LF, the last one too (no lines: an empty file), after a UTF-8 byte-order mark
// when one is asked for. The new text goes to a
// temporary sibling first and replaces the file only at Commit(), so a failed or
// interrupted save leaves the file as it was. Opening refuses a read-only file with
// "Cannot create file %s" before anything is written.
class LineFileWriter final : public LineSink {
 public:
  explicit LineFileWriter(const platform::NativePath& path) : file_(path) {}
  void Add(std::string_view line) override {
    file_.Append(line);
    file_.Append("\r\n");
  }
  // Puts a UTF-8 byte-order mark first; before any line.
  void AddByteOrderMark() { file_.Append(kUtf8ByteOrderMark); }
  void Commit() { file_.Commit(); }

 private:
  platform::FileReplacement file_;
};

}  // namespace content
