#include "content/delete_lines.h"

#include "content/delimited_list.h"
#include "platform/engine_text.h"

namespace content {
namespace {

using By = DeleteLinesSettings::By;

bool HoldsAnyKeyword(std::string_view line, const std::vector<std::string>& keywords) {
  for (const std::string& keyword : keywords)
    if (!keyword.empty() && line.find(keyword) != std::string_view::npos) return true;
  return false;
}

class DeleteLinesMode final : public ContentMode {
 public:
  DeleteLinesMode(const DeleteLinesPlan& plan, platform::Host& host) : plan_(plan), host_(host) {}
  FileResult Build(const FileContext&, const LineList& source, LineSink& output) override {
    DeleteLines(source, plan_, output, &host_);
    return FileResult::Save;
  }

 private:
  const DeleteLinesPlan& plan_;
  platform::Host& host_;
};

}  // namespace

DeleteLinesPlan PlanDeleteLines(const DeleteLinesSettings& settings) {
  DeleteLinesPlan plan;
  plan.by = settings.by;
  plan.table = ParseLineNumbers(settings.lineNumbers);
  plan.groupSize = ParseInteger(settings.groupSize);
  plan.position = ParseInteger(settings.position);
  if (plan.position < 1) plan.position = 1;
  if (plan.position >= plan.groupSize) plan.position = 0;
  plan.keywords = SplitDelimitedList(settings.keywords, ';', '^');
  return plan;
}

void DeleteLines(const LineList& source, const DeleteLinesPlan& plan, LineSink& output,
                 platform::Host* host) {
  if (plan.by == By::LineNumbers) {
    const std::vector<bool> keep = LinesKeptAfterDeleting(plan.table, source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
      if (keep[i]) output.Add(source[i]);
    return;
  }
  const auto groupSize = static_cast<std::size_t>(plan.groupSize > 0 ? plan.groupSize : 1);
  const auto position = static_cast<std::size_t>(plan.position);
  for (std::size_t i = 0; i < source.size(); ++i) {
    if (host != nullptr) host->ProcessMessages();
    const std::string_view line = source[i];
    bool drop = false;
    switch (plan.by) {
      case By::Interval:
        drop = (i + 1) % groupSize == position;
        break;
      case By::Keywords:
        drop = HoldsAnyKeyword(line, plan.keywords);
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

RunEnd RunDeleteLines(fileset::FileList& files, const DeleteLinesSettings& settings,
                      platform::Host& host) {
  if (settings.by == By::Keywords && settings.keywords.empty()) {
    host.ShowError(kDeleteKeywordsEmpty);
    return {"edtDelKeys"};
  }
  const DeleteLinesPlan plan = PlanDeleteLines(settings);
  if (settings.by == By::Interval && plan.groupSize < 1) {
    host.ShowError(kIntervalBelowOne);
    return {"edtLines"};
  }
  DeleteLinesMode mode(plan, host);
  RunContentFrame(files, host, settings.backup ? Backup::Yes : Backup::No, mode);
  return {};
}

}  // namespace content
