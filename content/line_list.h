#pragma once
// A text file as the content modes see it: an ordered list of byte-string lines without
// their line breaks. The lines are views into one buffer that holds the file's bytes,
// so loading a large file costs one read and one pass, not an allocation per line.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace content {

class LineList {
 public:
  LineList() = default;

  // Reads the whole file at `path` (engine text) and splits it (see FromBytes).
  // Throws CommandError "Cannot open file %s" when it cannot be read.
  static LineList Load(std::string_view path);

  // Splits at every CR LF, lone LF and lone CR; a final line break adds no empty line;
  // the text ends at the first zero byte. No byte-order mark is recognised: the bytes
  // are taken as they are.
  static LineList FromBytes(std::string_view bytes);

  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  std::string_view operator[](std::size_t index) const { return lines_[index]; }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

 private:
  void Split(const char* text, std::size_t size);

  std::unique_ptr<char[]> buffer_;
  std::vector<std::string_view> lines_;
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
// by CR LF, the last one too (no lines: an empty file). The new text goes to a
// temporary sibling first and replaces the file only at Commit(), so a failed or
// interrupted save leaves the file as it was. Opening refuses a read-only file with
// "Cannot create file %s" before anything is written.
class LineFileWriter final : public LineSink {
 public:
  explicit LineFileWriter(std::string_view path);
  ~LineFileWriter() override;
  void Add(std::string_view line) override;
  void Commit();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace content
