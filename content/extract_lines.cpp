#include "content/extract_lines.h"

#include <algorithm>

#include "content/delimited_list.h"
#include "platform/engine_text.h"

namespace content {
namespace {

using By = ExtractLinesSettings::By;

// Entries that each start after the one before ends take the lines in file order.
bool InFileOrder(const std::vector<LineRange>& table) {
  for (std::size_t i = 1; i < table.size(); ++i)
    if (table[i].first <= table[i - 1].last) return false;
  return true;
}

void ExtractByNumbers(const LineList& source, const std::vector<LineRange>& table, LineSink& output,
                      platform::MessagePacer& pacer) {
  int lastAsked = 0;
  for (const LineRange& range : table) lastAsked = std::max(lastAsked, range.last);
  if (lastAsked < 1) return;
  const auto wanted = static_cast<std::size_t>(lastAsked);
  if (InFileOrder(table)) {
    auto range = table.begin();
    std::size_t number = 0;
    for (const std::string_view line : source) {
      pacer.Step(line);
      ++number;
      while (range != table.end() && static_cast<std::int64_t>(number) > range->last) ++range;
      if (range == table.end()) return;
      if (static_cast<std::int64_t>(number) >= range->first) output.Add(line);
    }
    return;
  }
  // Any other order: the lines up to the last one asked for, found once.
  std::vector<std::string_view> lines;
  for (const std::string_view line : source) {
    pacer.Step(line);
    lines.push_back(line);
    if (lines.size() == wanted) break;
  }
  for (const LineRange& range : table) {
    const std::int64_t first = std::max<std::int64_t>(range.first, 1);
    const std::int64_t last = std::min<std::int64_t>(range.last, std::ssize(lines));
    for (std::int64_t n = first; n <= last; ++n) {
      pacer.Step();
      output.Add(lines[static_cast<std::size_t>(n - 1)]);
    }
  }
}

}  // namespace

ExtractLinesPlan PlanExtractLines(const ExtractLinesSettings& settings) {
  ExtractLinesPlan plan;
  plan.by = settings.by;
  plan.table = ParseLineNumbers(settings.lineNumbers);
  plan.interval = ReadInterval(settings.groupSize, settings.position);
  plan.keywords = SplitDelimitedList(settings.keywords, ';', '^');
  plan.blankLines = settings.blankLines;
  return plan;
}

void ExtractLines(const LineList& source, const ExtractLinesPlan& plan, LineSink& output,
                  platform::Host* host) {
  platform::MessagePacer pacer(host);
  if (plan.by == By::LineNumbers) {
    ExtractByNumbers(source, plan.table, output, pacer);
    return;
  }
  if (plan.by == By::Keywords) {
    LinesHoldingKeywords keywords(plan.keywords, source.text());
    for (std::string_view line; keywords.Next(line);) {
      pacer.Step(line);
      if (plan.blankLines || !platform::TrimBlanks(line).empty()) output.Add(line);
    }
    return;
  }
  IntervalLines interval(plan.interval);
  for (const std::string_view line : source) {
    pacer.Step(line);
    const bool inInterval = interval.Next();
    if (!plan.blankLines && platform::TrimBlanks(line).empty()) continue;
    if (inInterval) output.Add(line);
  }
}

fileset::Prepared<ContentMode> PrepareExtractLines(const ExtractLinesSettings& settings) {
  if (settings.by == By::Keywords && settings.keywords.empty())
    return fileset::Refusal{kExtractKeywordsEmpty, "edtGetKeys"};
  ExtractLinesPlan plan = PlanExtractLines(settings);
  if (settings.by == By::Interval && plan.interval.groupSize < 1)
    return fileset::Refusal{kIntervalBelowOne, "edtGetLines"};
  return std::make_unique<PlannedMode<ExtractLinesPlan, &ExtractLines>>(
      std::move(plan), settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunExtractLines(fileset::FileList& files, const ExtractLinesSettings& settings,
                                platform::Host& host) {
  return RunContentFrame(files, host, PrepareExtractLines(settings));
}

}  // namespace content
