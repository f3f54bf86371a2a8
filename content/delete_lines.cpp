#include "content/delete_lines.h"

#include "content/delimited_list.h"
#include "platform/decimal.h"
#include "platform/engine_text.h"

namespace content {
namespace {

using By = DeleteLinesSettings::By;

// Tells of each line, taken in order, whether it holds any of the keywords. Each
// keyword is searched for in the whole text from the line on, and the place found
// serves every line up to it, so a long file is searched once per keyword rather than
// once per line and keyword.
class KeywordLines {
 public:
  KeywordLines(const std::vector<std::string>& keywords, std::string_view text) : text_(text) {
    for (const std::string& keyword : keywords)
      if (!keyword.empty()) next_.push_back({keyword, 0, false});
  }
  // `line` is a view into the text, after the line of the previous call.
  bool Holds(std::string_view line) {
    const auto start = static_cast<std::size_t>(line.data() - text_.data());
    const std::size_t end = start + line.size();
    bool holds = false;
    for (Next& next : next_) {
      if (next.searched && next.at >= start) {
        // found before, from an earlier line: it still stands
      } else {
        next.at = text_.find(next.keyword, start);
        next.searched = true;
      }
      // A place that starts in the line but runs past its end is no match in it, and
      // neither is any later one in that line.
      if (next.at != std::string_view::npos && next.at + next.keyword.size() <= end) holds = true;
    }
    return holds;
  }

 private:
  struct Next {
    std::string_view keyword;
    std::size_t at;  // the first place at or after the last search start; npos: none
    bool searched;
  };
  std::string_view text_;
  std::vector<Next> next_;
};

class DeleteLinesMode final : public ContentMode {
 public:
  DeleteLinesMode(DeleteLinesPlan plan, Backup backup)
      : ContentMode(backup), plan_(std::move(plan)) {}
  FileResult Build(const FileContext&, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    DeleteLines(source, plan_, output, &host);
    return FileResult::Save;
  }

 private:
  const DeleteLinesPlan plan_;
};

}  // namespace

DeleteLinesPlan PlanDeleteLines(const DeleteLinesSettings& settings) {
  DeleteLinesPlan plan;
  plan.by = settings.by;
  plan.table = ParseLineNumbers(settings.lineNumbers);
  plan.groupSize = platform::ParseInteger(settings.groupSize);
  plan.position = platform::ParseInteger(settings.position);
  if (plan.position < 1) plan.position = 1;
  if (plan.position >= plan.groupSize) plan.position = 0;
  plan.keywords = SplitDelimitedList(settings.keywords, ';', '^');
  return plan;
}

void DeleteLines(const LineList& source, const DeleteLinesPlan& plan, LineSink& output,
                 platform::Host* host) {
  platform::MessagePacer pacer(host);
  if (plan.by == By::LineNumbers) {
    const std::vector<bool> keep = LinesKeptAfterDeleting(plan.table, source.size());
    std::size_t i = 0;
    for (const std::string_view line : source) {
      pacer.Step();
      if (keep[i++]) output.Add(line);
    }
    return;
  }
  const auto groupSize = static_cast<std::size_t>(plan.groupSize > 0 ? plan.groupSize : 1);
  const auto position = static_cast<std::size_t>(plan.position);
  std::size_t inGroup = 0;  // the line's place in its group of groupSize, from 1
  KeywordLines keywords(plan.keywords, source.text());
  for (const std::string_view line : source) {
    pacer.Step();
    if (++inGroup > groupSize) inGroup = 1;
    bool drop = false;
    switch (plan.by) {
      case By::Interval:
        drop = (inGroup == groupSize ? 0 : inGroup) == position;  // number % groupSize
        break;
      case By::Keywords:
        drop = keywords.Holds(line);
        break;
      case By::Empty:
        drop = platform::TrimBlanks(line).empty();
        break;
      case By::LineNumbers:
        break;
    }
    if (!drop) output.Add(line);
  }
}

fileset::Prepared<ContentMode> PrepareDeleteLines(const DeleteLinesSettings& settings) {
  if (settings.by == By::Keywords && settings.keywords.empty())
    return fileset::Refusal{kDeleteKeywordsEmpty, "edtDelKeys"};
  DeleteLinesPlan plan = PlanDeleteLines(settings);
  if (settings.by == By::Interval && plan.groupSize < 1)
    return fileset::Refusal{kIntervalBelowOne, "edtLines"};
  return std::make_unique<DeleteLinesMode>(std::move(plan),
                                           settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunDeleteLines(fileset::FileList& files, const DeleteLinesSettings& settings,
                               platform::Host& host) {
  return RunContentFrame(files, host, PrepareDeleteLines(settings));
}

}  // namespace content
