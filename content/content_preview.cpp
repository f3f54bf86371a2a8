#include "content/content_preview.h"

#include <optional>
#include <string>

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

PreviewRow PreviewFile(const FileContext& file, platform::Host& host, ContentMode& mode) {
  PreviewRow shown{file.row, PreviewStatus::Change, file.fullPath, {}, {}};
  try {
    const LineList source = LineList::Load(file.path);
    if (platform::IsReadOnly(file.path)) {
      shown.status = PreviewStatus::Stop;
      shown.reason = platform::CannotCreateText(file.path);
      return shown;
    }
    ComparingSink output(source.bytes());
    if (source.HasByteOrderMark() && mode.KeepsByteOrderMark()) output.Compare(kUtf8ByteOrderMark);
    const FileResult result = mode.Build(file, source, output, host);
    if (result == FileResult::Save && source.HoldsZeroByte()) {
      shown.status = PreviewStatus::Skip;
      shown.reason = fileset::kNotText;
      return shown;
    }
    const std::int64_t before = static_cast<std::int64_t>(source.size());
    const std::int64_t after = result == FileResult::Leave ? before : output.lines();
    shown.after = std::to_string(before) + " -> " + std::to_string(after);
    if (result == FileResult::Leave || output.SameAsFile()) shown.status = PreviewStatus::Same;
  } catch (const platform::CommandError& error) {
    shown.status = PreviewStatus::Stop;
    shown.reason = error.what();
  }
  return shown;
}

}  // namespace

fileset::Preview PreviewContentFrame(const fileset::FileList& files, platform::Host& host,
                                     ContentMode& mode) {
  fileset::Preview preview;
  mode.Begin();
  const auto visit = [&](int row) {
    preview.rows.push_back(PreviewFile(ContextOf(files, row), host, mode));
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
