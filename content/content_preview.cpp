#include "content/content_preview.h"

#include <optional>
#include <string>
#include <vector>

#include "content/line_diff.h"
#include "platform/error.h"
#include "platform/file_system.h"

namespace content {
namespace {

// Takes the lines a mode makes and tells whether, saved, they would be the file's bytes:
// each is compared as it comes, so no second copy of a large file is held.
class ComparingSink final : public LineSink {
 public:
  explicit ComparingSink(std::string_view file) : file_(file) {}
  void Add(std::string_view line) override {
    ++lines_;
    Compare(line);
    Compare("\r\n");
  }
  void Compare(std::string_view bytes) {
    if (same_ && file_.substr(at_, bytes.size()) == bytes)
      at_ += bytes.size();
    else
      same_ = false;
  }
  bool SameAsFile() const { return same_ && at_ == file_.size(); }
  std::int64_t lines() const { return lines_; }

 private:
  std::string_view file_;
  std::size_t at_ = 0;
  bool same_ = true;
  std::int64_t lines_ = 0;
};

using fileset::PreviewRow;
using fileset::PreviewStatus;

// The row of a file that `build` rewrites from its text: the counts, and whether the
// new text is the file's bytes.
template <typename Build>
PreviewRow PreviewRewrite(int row, const std::string& fullPath, const platform::NativePath& path,
                          bool keepsMark, Build&& build) {
  PreviewRow shown{row, PreviewStatus::Change, fullPath, {}, {}};
  try {
    const LineList text = LineList::Load(path);
    if (platform::IsReadOnly(path)) {
      shown.status = PreviewStatus::Stop;
      shown.reason = platform::CannotCreateText(path);
      return shown;
    }
    ComparingSink output(text.bytes());
    if (text.HasByteOrderMark() && keepsMark) output.Compare(kUtf8ByteOrderMark);
    const std::optional<FileResult> result = build(text, output);
    if (!result) {  // another file read is no text
      shown.status = PreviewStatus::Skip;
      shown.reason = fileset::kNotText;
      return shown;
    }
    if (*result == FileResult::Save && text.HoldsZeroByte()) {
      shown.status = PreviewStatus::Skip;
      shown.reason = fileset::kNotText;
      return shown;
    }
    const auto before = static_cast<std::int64_t>(text.size());
    const std::int64_t after = *result == FileResult::Leave ? before : output.lines();
    shown.after = std::to_string(before) + " -> " + std::to_string(after);
    if (*result == FileResult::Leave || output.SameAsFile()) shown.status = PreviewStatus::Same;
  } catch (const platform::CommandError& error) {
    shown.status = PreviewStatus::Stop;
    shown.reason = error.what();
  }
  return shown;
}

// The differences `build` makes to the file at `path`; none when it leaves the file or
// the file is no text.
template <typename Build>
LineDiff DiffRewrite(const platform::NativePath& path, Build&& build) {
  const LineList text = LineList::Load(path);
  if (text.HoldsZeroByte()) return {};
  DiffingSink output(text);
  const std::optional<FileResult> result = build(text, output);
  if (result != FileResult::Save) return {};
  return output.Finish();
}

}  // namespace

fileset::Preview PreviewTwoFileFrame(const fileset::FileList& files, platform::Host& host,
                                     TwoFileMode& mode) {
  fileset::Preview preview;
  const fileset::FileList::TwoMarked marked = files.FindFirstTwoMarked();
  if (!marked.found) {
    host.ShowError(mode.fewerThanTwo());
    preview.refused = true;
    return preview;
  }
  const platform::NativePath sourcePath = files.NativeFullPath(marked.first);
  std::optional<LineList> source;
  try {
    source.emplace(LineList::Load(sourcePath));
  } catch (const platform::CommandError& error) {
    preview.rows.push_back(
        {marked.first, PreviewStatus::Stop, files.FullPath(marked.first), {}, error.what()});
    return preview;
  }
  preview.rows.push_back(PreviewRewrite(
      marked.second, files.FullPath(marked.second), files.NativeFullPath(marked.second), true,
      [&](const LineList& target, LineSink& output) -> std::optional<FileResult> {
        mode.Build(*source, target, output, host);
        if (source->HoldsZeroByte()) return std::nullopt;
        return FileResult::Save;
      }));
  return preview;
}

namespace {

// The rows a combine joins, in run order, the last being its target: each file that is
// no text gets a 跳过 row in `preview`, and one that cannot be read a 停止 row, which
// ends the walk (then none are joined).
std::vector<int> JoinedRows(const fileset::FileList& files, platform::Host& host,
                            fileset::Preview& preview) {
  std::vector<int> joined;
  fileset::WalkMarkedRows(
      files, host, fileset::MarkedRowsRun::SameFile::Never,
      [&](int row) {
        try {
          if (LineList::Load(files.NativeFullPath(row)).HoldsZeroByte())
            preview.rows.push_back({row,
                                    PreviewStatus::Skip,
                                    files.FullPath(row),
                                    {},
                                    std::string(fileset::kNotText)});
          else
            joined.push_back(row);
          return true;
        } catch (const platform::CommandError& error) {
          preview.rows.push_back({row, PreviewStatus::Stop, files.FullPath(row), {}, error.what()});
          joined.clear();
          return false;
        }
      },
      {});
  return joined;
}

// The target's new lines: every joined file's, its own last.
std::optional<FileResult> Join(const fileset::FileList& files, const std::vector<int>& joined,
                               const LineList& own, LineSink& output) {
  for (std::size_t i = 0; i + 1 < joined.size(); ++i)
    for (const std::string_view line : LineList::Load(files.NativeFullPath(joined[i])))
      output.Add(line);
  for (const std::string_view line : own) output.Add(line);
  return FileResult::Save;
}

}  // namespace

fileset::Preview PreviewCombine(const fileset::FileList& files, platform::Host& host) {
  fileset::Preview preview;
  const std::vector<int> joined = JoinedRows(files, host, preview);
  if (joined.empty()) return preview;
  const int target = joined.back();
  preview.rows.push_back(PreviewRewrite(
      target, files.FullPath(target), files.NativeFullPath(target), true,
      [&](const LineList& own, LineSink& output) { return Join(files, joined, own, output); }));
  return preview;
}

LineDiff DiffCombine(const fileset::FileList& files, platform::Host& host, int row) {
  fileset::Preview preview;
  const std::vector<int> joined = JoinedRows(files, host, preview);
  if (joined.empty() || joined.back() != row) return {};
  return DiffRewrite(files.NativeFullPath(row), [&](const LineList& own, LineSink& output) {
    return Join(files, joined, own, output);
  });
}

fileset::Preview PreviewContentFrame(const fileset::FileList& files, platform::Host& host,
                                     ContentMode& mode) {
  fileset::Preview preview;
  mode.Begin();
  const auto visit = [&](int row) {
    const FileContext file = ContextOf(files, row);
    bool left = false;
    preview.rows.push_back(
        PreviewRewrite(row, file.fullPath, file.path, mode.KeepsByteOrderMark(),
                       [&](const LineList& text, LineSink& output) -> std::optional<FileResult> {
                         const FileResult result = mode.Build(file, text, output, host);
                         left = result == FileResult::Leave;
                         return result;
                       }));
    if (left) preview.rows.back().reason = mode.LeaveReason();
    return preview.rows.back().status != PreviewStatus::Stop;
  };
  const auto repeated = [&](int row) {
    preview.rows.push_back(
        {row, PreviewStatus::Skip, files.FullPath(row), {}, std::string(fileset::kRepeatedFile)});
  };
  fileset::WalkMarkedRows(files, host, fileset::MarkedRowsRun::SameFile::ByIdentity, visit,
                          repeated);
  return preview;
}

LineDiff DiffTwoFileFrame(const fileset::FileList& files, platform::Host& host, TwoFileMode& mode,
                          int row) {
  const fileset::FileList::TwoMarked marked = files.FindFirstTwoMarked();
  if (!marked.found) {
    host.ShowError(mode.fewerThanTwo());
    return {};
  }
  if (row != marked.second) return {};
  const LineList source = LineList::Load(files.NativeFullPath(marked.first));
  if (source.HoldsZeroByte()) return {};
  return DiffRewrite(files.NativeFullPath(row),
                     [&](const LineList& target, LineSink& output) -> std::optional<FileResult> {
                       mode.Build(source, target, output, host);
                       return FileResult::Save;
                     });
}

LineDiff DiffContentFrame(const fileset::FileList& files, platform::Host& host, ContentMode& mode,
                          int row) {
  LineDiff diff;
  mode.Begin();
  fileset::WalkMarkedRows(
      files, host, fileset::MarkedRowsRun::SameFile::ByIdentity,
      [&](int visited) {
        if (visited != row) return true;
        const FileContext file = ContextOf(files, row);
        diff = DiffRewrite(file.path, [&](const LineList& text, LineSink& output) {
          return std::optional<FileResult>(mode.Build(file, text, output, host));
        });
        return false;
      },
      {});
  return diff;
}

}  // namespace content
