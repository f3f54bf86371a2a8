#include "content/content_preview.h"

#include <optional>
#include <string>
#include <vector>

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

fileset::Preview PreviewCombine(const fileset::FileList& files, platform::Host& host) {
  fileset::Preview preview;
  std::vector<int> joined;  // the rows of text files, in run order
  bool stopped = false;
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
        } catch (const platform::CommandError& error) {
          preview.rows.push_back({row, PreviewStatus::Stop, files.FullPath(row), {}, error.what()});
          stopped = true;
        }
        return !stopped;
      },
      {});
  if (stopped || joined.empty()) return preview;
  const int target = joined.back();
  preview.rows.push_back(PreviewRewrite(
      target, files.FullPath(target), files.NativeFullPath(target), true,
      [&](const LineList& own, LineSink& output) -> std::optional<FileResult> {
        for (std::size_t i = 0; i + 1 < joined.size(); ++i)
          for (const std::string_view line : LineList::Load(files.NativeFullPath(joined[i])))
            output.Add(line);
        for (const std::string_view line : own) output.Add(line);
        return FileResult::Save;
      }));
  return preview;
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

}  // namespace content
