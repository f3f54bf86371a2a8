#include "content/delete_lines.h"

#include "content/delimited_list.h"
#include "platform/engine_text.h"

namespace content {

using By = DeleteLinesSettings::By;

DeleteLinesPlan PlanDeleteLines(const DeleteLinesSettings& settings) {
  DeleteLinesPlan plan;
  plan.by = settings.by;
  plan.table = ParseLineNumbers(settings.lineNumbers);
  plan.interval = ReadInterval(settings.groupSize, settings.position);
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
      pacer.Step(line);
      if (keep[i++]) output.Add(line);
    }
    return;
  }
  IntervalLines interval(plan.interval);
  KeywordLines keywords(plan.keywords, source.text());
  for (const std::string_view line : source) {
    pacer.Step(line);
    const bool inInterval = interval.Next();
    bool drop = false;
    switch (plan.by) {
      case By::Interval:
        drop = inInterval;
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
  if (settings.by == By::Interval && plan.interval.groupSize < 1)
    return fileset::Refusal{kIntervalBelowOne, "edtLines"};
  return std::make_unique<PlannedMode<DeleteLinesPlan, &DeleteLines>>(
      std::move(plan), settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunDeleteLines(fileset::FileList& files, const DeleteLinesSettings& settings,
                               platform::Host& host) {
  return RunContentFrame(files, host, PrepareDeleteLines(settings));
}

}  // namespace content
