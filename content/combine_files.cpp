#include "content/combine_files.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "content/content_frame.h"
#include "content/line_list.h"
#include "platform/error.h"
#include "platform/rewrite_in_place.h"

namespace content {
namespace {

// The last marked row as the marks stand; 0 when none is.
int LastMarkedRow(const fileset::FileList& files) {
  for (int row = files.RowCount() - 1; row >= 1; --row)
    if (files.IsMarked(row)) return row;
  return 0;
}

// Appends the lines of `text` to `output`, letting the host's messages run.
void Append(const LineList& text, LineSink& output, platform::MessagePacer& pacer) {
  for (const std::string_view line : text) {
    pacer.Step(line);
    output.Add(line);
  }
}

class Combination {
 public:
  Combination(const fileset::FileList& files, Backup backup, platform::Host& host)
      : files_(files), backup_(backup), host_(host), pacer_(&host) {}

  // The new text goes into the copy of the file that is the target if the marks stay as
  // they are, with that file's byte-order mark first.
  void Begin() {
    platform::CompleteInterruptedRewrites();
    host_.WriteCounter(platform::Counter::Change, 0);
    if (const int row = LastMarkedRow(files_); row != 0) {
      plannedTarget_ = files_.NativeFullPath(row);
      output_.emplace(*plannedTarget_);
      if (LineList::Load(*plannedTarget_).HasByteOrderMark()) output_->AddByteOrderMark();
    }
  }

  void Visit(int row) {
    platform::NativePath path = files_.NativeFullPath(row);
    auto text = std::make_unique<LineList>(LineList::Load(path));
    if (text->HoldsZeroByte()) {
      ++notText_;
      return;
    }
    host_.RunFileText(text->text());
    if (output_) Append(*text, *output_, pacer_);
    if (!text->Intact()) platform::ThrowCannotOpen(path);
    platform::AddToCounter(host_, platform::Counter::Change, 1);
    read_.push_back(std::move(path));
    last_ = std::move(text);
  }

  void End() {
    if (!last_) return;
    const platform::NativePath& target = read_.back();
    if (plannedTarget_ && target.bytes() == plannedTarget_->bytes()) {
      SaveRewrite(target, *last_, *output_, backup_);
      return;
    }
    // The marks changed during the run, or the planned target was no text: the files are
    // read again into the copy of the file that did come last.
    LineFileWriter output(target);
    if (last_->HasByteOrderMark()) output.AddByteOrderMark();
    for (std::size_t i = 0; i + 1 < read_.size(); ++i) {
      const LineList text = LineList::Load(read_[i]);
      Append(text, output, pacer_);
      if (!text.Intact()) platform::ThrowCannotOpen(read_[i]);
    }
    Append(*last_, output, pacer_);
    SaveRewrite(target, *last_, output, backup_);
  }

  std::string FurtherLine() const { return NotTextLine(notText_); }

 private:
  const fileset::FileList& files_;
  const Backup backup_;
  platform::Host& host_;
  platform::MessagePacer pacer_;
  std::optional<platform::NativePath> plannedTarget_;
  std::optional<LineFileWriter> output_;
  std::vector<platform::NativePath> read_;  // the files joined, in order
  std::unique_ptr<LineList> last_;          // the last of them, held for its ".bak" copy
  std::int64_t notText_ = 0;
};

}  // namespace

fileset::RunEnd RunCombineFiles(fileset::FileList& files, const CombineSettings& settings,
                                platform::Host& host) {
  Combination combination(files, settings.backup ? Backup::Yes : Backup::No, host);
  fileset::RunMarkedRows(
      files, host,
      {[&] { combination.Begin(); },
       [&](int row) {
         combination.Visit(row);
         return true;
       },
       [&] { combination.End(); }, kClosingBefore, kFilesUnit,
       [&] { return combination.FurtherLine(); }, fileset::MarkedRowsRun::SameFile::Never});
  return {};
}

}  // namespace content
