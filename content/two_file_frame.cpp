#include "content/two_file_frame.h"

#include <string>

#include "platform/error.h"
#include "platform/rewrite_in_place.h"

namespace content {
namespace {

// The run of the two files; false when either is no text and nothing was written.
bool RunTwoFiles(const fileset::FileList& files, int sourceRow, int targetRow, platform::Host& host,
                 TwoFileMode& mode, std::int64_t& records) {
  // A rewrite that a killed run left halfway is finished before any file is read.
  platform::CompleteInterruptedRewrites();
  const platform::NativePath sourcePath = files.NativeFullPath(sourceRow);
  const platform::NativePath targetPath = files.NativeFullPath(targetRow);
  const LineList source = LineList::Load(sourcePath);
  const LineList target = LineList::Load(targetPath);
  LineFileWriter output(targetPath);
  if (target.HasByteOrderMark()) output.AddByteOrderMark();
  records = mode.Build(source, target, output, host);
  // What was carried over must be the source's text as it stands, not a mix.
  if (!source.Intact()) platform::ThrowCannotOpen(sourcePath);
  if (source.HoldsZeroByte()) return false;
  return SaveRewrite(targetPath, target, output, mode.backup());
}

}  // namespace

fileset::RunEnd RunTwoFileFrame(fileset::FileList& files, platform::Host& host,
                                fileset::Prepared<TwoFileMode> prepared) {
  return fileset::RunPrepared(std::move(prepared), host, [&](TwoFileMode& mode) {
    const fileset::FileList::TwoMarked marked = files.FindFirstTwoMarked();
    if (!marked.found) {
      host.ShowError(mode.fewerThanTwo());
      return;
    }
    std::int64_t records = 0;
    bool saved = false;
    {
      platform::CommandScope running(host);
      saved = RunTwoFiles(files, marked.first, marked.second, host, mode, records);
    }
    std::string text(kClosingBefore);
    text += std::to_string(saved ? records : 0);
    text += kRecordsUnit;
    if (!saved) text += "\n1" + std::string(kNotTextNote);
    host.ShowInfo(text);
  });
}

}  // namespace content
