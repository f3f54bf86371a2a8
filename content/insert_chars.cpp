#include "content/insert_chars.h"

#include <algorithm>

#include "platform/decimal.h"
#include "platform/engine_text.h"
#include "template/template_evaluator.h"

namespace content {
namespace {

class InsertMode final : public ContentMode {
 public:
  InsertMode(InsertPlan plan, std::string lineNumber, Backup backup)
      : ContentMode(backup), plan_(std::move(plan)), lineNumber_(std::move(lineNumber)) {}
  // Read once the button is disabled: the line number, then the sequence item.
  void Begin() override {
    plan_.lineNumber = std::max(platform::ParseInteger(lineNumber_), 1);
    plan_.sequence = tmpl::ReadSequenceItem(plan_.format);
  }
  FileResult Build(const FileContext& file, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    InsertChars(source, FileTemplate(plan_.format, file.fullPath, file.name), plan_, output, &host);
    return FileResult::Save;
  }

 private:
  InsertPlan plan_;
  const std::string lineNumber_;  // as typed
};

}  // namespace

void InsertChars(const LineList& source, std::string_view fileTemplate, const InsertPlan& plan,
                 LineSink& output, platform::Host* host) {
  const std::optional<tmpl::SequenceItem>& sequence = plan.sequence;
  // The template around each place of the sequence item, so that the template of a
  // line only needs its number put in.
  const std::vector<std::string_view> pieces =
      sequence ? platform::SplitAtNoCase(fileTemplate, sequence->text)
               : std::vector<std::string_view>{fileTemplate};
  std::string item;
  auto itemFor = [&](std::int64_t number) -> const std::string& {
    item.assign(pieces.front());
    for (std::size_t i = 1; i < pieces.size(); ++i) {
      platform::AppendZeroFilled(item, number, sequence->width);
      item += pieces[i];
    }
    return item;
  };
  const std::int64_t start = sequence ? sequence->start : 0;
  platform::MessagePacer pacer(host);
  if (plan.lines == WorkedLines::LineNumber) {
    const std::size_t chosen = std::min(static_cast<std::size_t>(plan.lineNumber), source.size());
    std::size_t number = 0;
    for (const std::string_view line : source) {
      pacer.Step(line);
      if (++number == chosen)
        output.Add(tmpl::EvalTemplate(line, itemFor(start)));
      else
        output.Add(line);
    }
    return;
  }
  // Without a sequence item the template is the same for every line of the file;
  // with one, it is taken apart again with each number.
  tmpl::PreparedTemplate prepared(itemFor(start));
  std::int64_t number = start;
  std::string scratch;
  for (const std::string_view line : source) {
    pacer.Step(line);
    if (!IsWorkedLine(line, plan.lines, plan.keyword)) {
      output.Add(line);
      continue;
    }
    if (sequence) prepared.Reset(itemFor(number++));
    output.Add(prepared.Apply(line, scratch));
  }
}

fileset::Prepared<ContentMode> PrepareInsert(const InsertSettings& settings) {
  InsertPlan plan{settings.lines, 1, settings.keyword, std::nullopt,
                  std::string(platform::TrimBlanks(settings.format))};
  if (auto refusal = CheckLineFormat(plan.format, plan.lines, plan.keyword, kEnterInsertFormat,
                                     kBadInsertFormat))
    return *refusal;
  return std::make_unique<InsertMode>(std::move(plan), settings.lineNumber,
                                      settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunInsert(fileset::FileList& files, const InsertSettings& settings,
                          platform::Host& host) {
  return RunContentFrame(files, host, PrepareInsert(settings));
}

}  // namespace content
