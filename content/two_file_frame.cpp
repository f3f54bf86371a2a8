#include "content/two_file_frame.h"

#include <string>

#include "platform/error.h"
#include "platform/file_identity.h"
#include "platform/rewrite_in_place.h"

namespace content {
namespace {

// The run of the two files: the count of them that are no text (then nothing was
// written).
int RunTwoFiles(const fileset::FileList& files, int sourceRow, int targetRow, platform::Host& host,
                TwoFileMode& mode, std::int64_t& records) {
  // A rewrite that a killed run left halfway is finished before any file is read.
  platform::CompleteInterruptedRewrites();
  const platform::NativePath sourcePath = files.NativeFullPath(sourceRow);
  const platform::NativePath targetPath = files.NativeFullPath(targetRow);
  const LineList source = LineList::Load(sourcePath);
  const LineList target = LineList::Load(targetPath);
  LineFileWriter output(targetPath);
  if (target.HasByteOrderMark()) output.AddByteOrderMark();
  host.RunFileText(source.text());
  records = mode.Build(source, target, output, host);
  // What was carried over must be the source's text as it stands, not a mix.
  if (!source.Intact()) platform::ThrowCannotOpen(sourcePath);
  if (source.HoldsZeroByte()) {
    const bool sameFile = platform::IdentityOf(sourcePath) == platform::IdentityOf(targetPath);
    return target.HoldsZeroByte() && !sameFile ? 2 : 1;
  }
  return SaveRewrite(targetPath, target, output, mode.backup()) ? 0 : 1;
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
    int notText = 0;
    try {
      platform::CommandScope running(host, 1);
      host.RunAt(0, files.Cell(marked.second, fileset::kNameColumn));
      notText = RunTwoFiles(files, marked.first, marked.second, host, mode, records);
    } catch (const platform::RunStopped&) {
      host.ShowInfo(fileset::StoppedMessage(0));
      return;
    }
    std::string text(kClosingBefore);
    text += std::to_string(notText == 0 ? records : 0);
    text += kRecordsUnit;
    if (notText != 0) text += "\n" + NotTextLine(notText);
    host.ShowInfo(text);
  });
}

}  // namespace content
