#include "content/insert_lines.h"

#include "content/delimited_list.h"
#include "content/file_variables.h"
#include "platform/decimal.h"
#include "platform/engine_text.h"
#include "template/template_evaluator.h"

namespace content {
namespace {

using At = InsertLinesSettings::At;

constexpr std::string_view kLineStrOpening = "${linestr(";
constexpr std::string_view kLineStr2Opening = "${linestr2(";
constexpr std::string_view kLineRandStrOpening = "${linerandstr(";

// The first ten characters of a time cell: its date.
std::string_view DateOf(std::string_view cell) { return cell.substr(0, 10); }

// Line `number` (from 1) of the file; none past its last line.
std::optional<std::string_view> LineAt(const LineList& source, std::size_t number) {
  std::size_t at = 0;
  for (const std::string_view line : source)
    if (++at == number) return line;
  return std::nullopt;
}

// The first line that holds `text`, a case-sensitive byte search.
std::optional<std::string_view> FirstLineHolding(const LineList& source, std::string_view text,
                                                 platform::Host& host) {
  const std::vector<std::string> keyword{std::string(text)};
  KeywordLines holds(keyword, source.text());
  platform::MessagePacer pacer(&host);
  for (const std::string_view line : source) {
    pacer.Step(line);
    if (holds.Holds(line)) return line;
  }
  return std::nullopt;
}

void ReplaceItem(std::string& text, const LineItem& item, std::string_view value) {
  text = platform::ReplaceAllNoCase(text, item.text, value);
}

class InsertLinesMode final : public ContentMode {
 public:
  InsertLinesMode(InsertLinesPlan plan, InsertLinesSettings settings)
      : ContentMode(settings.backup ? Backup::Yes : Backup::No),
        plan_(std::move(plan)),
        settings_(std::move(settings)) {}
  void Begin() override { ReadInsertedText(settings_, plan_); }
  FileResult Build(const FileContext& file, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    InsertLines(source, plan_, BuildInsertedText(plan_, file, source, clock_, host), output, &host);
    return FileResult::Save;
  }

 private:
  InsertLinesPlan plan_;
  const InsertLinesSettings settings_;
  tmpl::SystemClock clock_;
};

}  // namespace

InsertLinesPlan PlanInsertLines(const InsertLinesSettings& settings) {
  InsertLinesPlan plan;
  plan.at = settings.at;
  plan.lineNumber = std::max(platform::ParseInteger(settings.lineNumber), 0);
  plan.interval = ReadInterval(settings.groupSize, settings.position);
  plan.format = platform::TrimBlanks(settings.format);
  return plan;
}

void ReadInsertedText(const InsertLinesSettings& settings, InsertLinesPlan& plan) {
  plan.keywords = SplitDelimitedList(settings.keywords, ';', '^');
  plan.lineStr = FindLineItem(settings.text, kLineStrOpening);
  plan.lineStr2 = FindLineItem(settings.text, kLineStr2Opening);
  plan.lineRandStr = FindLineItem(settings.text, kLineRandStrOpening);
  if (plan.lineStr) plan.lineStrNumber = platform::ParseInteger(plan.lineStr->argument);
  plan.text = tmpl::ReplaceEscapes(settings.text);
}

std::optional<LineItem> FindLineItem(std::string_view text, std::string_view opening) {
  const std::size_t start = platform::FindNoCase(text, opening);
  if (start == std::string_view::npos) return std::nullopt;
  const std::size_t close = platform::FindChar(text, '}', start + opening.size());
  if (close == std::string_view::npos) return std::nullopt;
  LineItem item;
  item.text = text.substr(start, close - start + 1);
  if (item.text.size() >= opening.size() + 2)
    item.argument = item.text.substr(opening.size(), item.text.size() - 2 - opening.size());
  return item;
}

std::string BuildInsertedText(const InsertLinesPlan& plan, const FileContext& file,
                              const LineList& source, const tmpl::Clock& clock,
                              platform::Host& host) {
  std::string text = FileTemplate(plan.text, file.fullPath, file.name);
  text = platform::ReplaceAllNoCase(text, "${createdate}", DateOf(file.created));
  text = platform::ReplaceAllNoCase(text, "${modifydate}", DateOf(file.modified));
  if (!plan.format.empty()) text = tmpl::EvalTemplate(text, plan.format, clock);
  if (plan.lineStr && plan.lineStrNumber >= 1)
    if (const auto line = LineAt(source, static_cast<std::size_t>(plan.lineStrNumber)))
      ReplaceItem(text, *plan.lineStr, *line);
  if (plan.lineRandStr && !source.empty())
    ReplaceItem(text, *plan.lineRandStr, *LineAt(source, host.PickRandom(source.size()) + 1));
  if (plan.lineStr2 && !plan.lineStr2->argument.empty())
    if (const auto line = FirstLineHolding(source, plan.lineStr2->argument, host))
      ReplaceItem(text, *plan.lineStr2, *line);
  return text;
}

void InsertLines(const LineList& source, const InsertLinesPlan& plan, std::string_view inserted,
                 LineSink& output, platform::Host* host) {
  platform::MessagePacer pacer(host);
  switch (plan.at) {
    case At::LineNumber: {
      const auto before = static_cast<std::size_t>(plan.lineNumber);  // lines before the text
      std::size_t number = 0;
      for (const std::string_view line : source) {
        pacer.Step(line);
        if (number++ == before) output.Add(inserted);
        output.Add(line);
      }
      if (before >= number) output.Add(inserted);  // at or past the end: appended
      return;
    }
    case At::Interval: {
      IntervalLines interval(plan.interval);
      for (const std::string_view line : source) {
        pacer.Step(line);
        if (interval.Next()) output.Add(inserted);
        output.Add(line);
      }
      return;
    }
    case At::Keywords: {
      KeywordLines keywords(plan.keywords, source.text());
      for (const std::string_view line : source) {
        pacer.Step(line);
        if (keywords.Holds(line)) output.Add(inserted);
        output.Add(line);
      }
      return;
    }
  }
}

fileset::Prepared<ContentMode> PrepareInsertLines(const InsertLinesSettings& settings) {
  if (settings.text.empty()) return fileset::Refusal{kInsertTextEmpty, "mmoNewCont"};
  if (settings.at == At::Keywords && settings.keywords.empty())
    return fileset::Refusal{kInsertKeywordsEmpty, "edtLineKey"};
  InsertLinesPlan plan = PlanInsertLines(settings);
  if (settings.at == At::Interval && plan.interval.groupSize < 1)
    return fileset::Refusal{kIntervalBelowOne, "edtInsPers"};
  return std::make_unique<InsertLinesMode>(std::move(plan), settings);
}

fileset::RunEnd RunInsertLines(fileset::FileList& files, const InsertLinesSettings& settings,
                               platform::Host& host) {
  return RunContentFrame(files, host, PrepareInsertLines(settings));
}

}  // namespace content
