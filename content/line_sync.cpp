#include "content/line_sync.h"

#include "content/delimited_list.h"
#include "content/line_choice.h"
#include "platform/error.h"

namespace content {

std::int64_t SyncLines(const LineList& source, const LineList& target,
                       const std::vector<std::string>& keywords, LineSink& output,
                       platform::Host* host) {
  platform::MessagePacer pacer(host);
  FoldedKeywordLines matches(keywords, source.text());
  auto targetLine = target.begin();
  const auto targetEnd = target.end();
  std::int64_t records = 0;
  std::int64_t index = 0;
  for (const std::string_view line : source) {
    pacer.Step(line);
    const bool holds = matches.Holds(line);
    if (targetLine == targetEnd) {
      if (holds)
        throw platform::CommandError("List index out of bounds (" + std::to_string(index) + ")");
    } else {
      output.Add(holds ? line : *targetLine);
      ++targetLine;
    }
    records += holds ? 1 : 0;
    ++index;
  }
  for (; targetLine != targetEnd; ++targetLine) output.Add(*targetLine);
  return records;
}

namespace {

class LineSyncMode final : public TwoFileMode {
 public:
  LineSyncMode(std::vector<std::string> keywords, Backup backup)
      : TwoFileMode(backup, kSyncNeedsTwoFiles), keywords_(std::move(keywords)) {}
  std::int64_t Build(const LineList& source, const LineList& target, LineSink& output,
                     platform::Host& host) override {
    return SyncLines(source, target, keywords_, output, &host);
  }

 private:
  const std::vector<std::string> keywords_;
};

}  // namespace

fileset::Prepared<TwoFileMode> PrepareLineSync(const LineSyncSettings& settings) {
  if (settings.keywords.empty()) return fileset::Refusal{kSyncKeywordsEmpty, "edtLineKeys"};
  return std::make_unique<LineSyncMode>(SplitDelimitedList(settings.keywords, ';', '^'),
                                        settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunLineSync(fileset::FileList& files, const LineSyncSettings& settings,
                            platform::Host& host) {
  return RunTwoFileFrame(files, host, PrepareLineSync(settings));
}

}  // namespace content
