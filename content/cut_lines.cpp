#include "content/cut_lines.h"

#include <algorithm>

#include "platform/decimal.h"
#include "platform/engine_text.h"
#include "template/template_evaluator.h"

namespace content {
namespace {

class CutMode final : public ContentMode {
 public:
  CutMode(CutPlan plan, std::string lineNumber, Backup backup)
      : ContentMode(backup), plan_(std::move(plan)), lineNumber_(std::move(lineNumber)) {}
  // The line number is read once the button is disabled, whatever line choice is made.
  void Begin() override { plan_.lineNumber = std::max(platform::ParseInteger(lineNumber_), 1); }
  FileResult Build(const FileContext&, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    CutLines(source, plan_, output, &host);
    return FileResult::Save;
  }

 private:
  CutPlan plan_;
  const std::string lineNumber_;  // as typed
};

}  // namespace

std::string_view RemoveFirst(std::string_view line, std::string_view cut, std::string& scratch) {
  if (cut.empty()) return line;
  const std::size_t at = line.find(cut);
  if (at == std::string_view::npos) return line;
  scratch.assign(line.substr(0, at));
  scratch += line.substr(at + cut.size());
  return scratch;
}

void CutLines(const LineList& source, const CutPlan& plan, LineSink& output, platform::Host* host) {
  platform::MessagePacer pacer(host);
  const tmpl::PreparedTemplate format(plan.format);
  std::string scratch, rest;
  if (plan.lines == WorkedLines::LineNumber) {
    const std::size_t chosen = std::min(static_cast<std::size_t>(plan.lineNumber), source.size());
    std::size_t number = 0;
    for (const std::string_view line : source) {
      pacer.Step(line);
      if (++number != chosen) {
        output.Add(line);
        continue;
      }
      const std::string_view cut = format.Apply(line, scratch);
      if (plan.keepCut)
        output.Add(cut);
      else
        output.Add(RemoveFirst(line, cut, rest));
    }
    return;
  }
  for (const std::string_view line : source) {
    pacer.Step(line);
    if (!IsWorkedLine(line, plan.lines, plan.keyword)) {
      output.Add(plan.keepCut ? std::string_view() : line);
      continue;
    }
    const std::string_view cut = format.Apply(line, scratch);
    if (cut == line) {
      // The cut is the whole line: there is nothing cut out of it.
      output.Add(plan.keepCut ? std::string_view() : line);
    } else if (plan.keepCut) {
      output.Add(cut);
    } else {
      output.Add(RemoveFirst(line, cut, rest));
    }
  }
}

fileset::Prepared<ContentMode> PrepareCut(const CutSettings& settings) {
  CutPlan plan{std::string(platform::TrimBlanks(settings.format)), settings.keepCut, settings.lines,
               1, settings.keyword};
  if (auto refusal =
          CheckLineFormat(plan.format, plan.lines, plan.keyword, kEnterCutFormat, kBadCutFormat))
    return *refusal;
  return std::make_unique<CutMode>(std::move(plan), settings.lineNumber,
                                   settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunCut(fileset::FileList& files, const CutSettings& settings,
                       platform::Host& host) {
  return RunContentFrame(files, host, PrepareCut(settings));
}

}  // namespace content
