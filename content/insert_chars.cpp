#include "content/insert_chars.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "content/delimited_list.h"
#include "platform/engine_text.h"
#include "template/template_evaluator.h"

namespace content {
namespace {

constexpr int kMostZeros = 16;

// ZeroFilled, added to `out`.
void AppendZeroFilled(std::string& out, std::int64_t number, int width) {
  char digits[24];
  const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), number);
  const auto length = static_cast<std::size_t>(end - digits);
  if (static_cast<std::int64_t>(length) < width)
    out.append(std::min<std::size_t>(static_cast<std::size_t>(width) - length, kMostZeros), '0');
  out.append(digits, length);
}

class InsertMode final : public ContentMode {
 public:
  InsertMode(const InsertSettings& settings, std::string format, platform::Host& host)
      : settings_(settings), format_(std::move(format)), host_(host) {}
  // Read once the button is disabled: the line number, then the sequence item.
  void SetUp() override {
    plan_.lines = settings_.lines;
    plan_.keyword = settings_.keyword;
    plan_.lineNumber = std::max(ParseInteger(settings_.lineNumber), 1);
    plan_.sequence = FindSequenceItem(format_);
  }
  FileResult Build(const FileContext& file, const LineList& source, LineSink& output) override {
    InsertChars(source, FileTemplate(format_, file.fullPath, file.name), plan_, output, &host_);
    return FileResult::Save;
  }

 private:
  const InsertSettings& settings_;
  std::string format_;
  platform::Host& host_;
  InsertPlan plan_;
};

}  // namespace

SequenceItem FindSequenceItem(std::string_view format) {
  SequenceItem item;
  const std::size_t at = platform::FindNoCase(format, "${sn(");
  if (at == std::string_view::npos) return item;
  std::string_view text = format.substr(at);
  if (const std::size_t close = text.find('}'); close != std::string_view::npos)
    text = text.substr(0, close + 1);
  item.text = text;
  const std::string_view arguments =
      text.size() > 7 ? text.substr(5, text.size() - 7) : std::string_view();
  const std::size_t comma = arguments.find(',');
  // Without a comma both parts are empty, and the start value fails to convert.
  const std::string_view start =
      comma == std::string_view::npos ? std::string_view() : arguments.substr(0, comma);
  const std::string_view width =
      comma == std::string_view::npos ? std::string_view() : arguments.substr(comma + 1);
  item.start = ParseInteger(platform::TrimBlanks(start));
  item.width = ParseInteger(platform::TrimBlanks(width));
  return item;
}

std::string ZeroFilled(std::int64_t number, int width) {
  std::string out;
  AppendZeroFilled(out, number, width);
  return out;
}

std::string FileTemplate(std::string_view format, std::string_view fullPath,
                         std::string_view name) {
  std::string out(format);
  if (platform::FindNoCase(format, "${fullname") != std::string_view::npos)
    out = platform::ReplaceAllNoCase(out, "${fullname}", fullPath);
  if (platform::FindNoCase(format, "${filename") != std::string_view::npos)
    out = platform::ReplaceAllNoCase(out, "${filename}", name);
  return out;
}

void InsertChars(const LineList& source, std::string_view fileTemplate, const InsertPlan& plan,
                 LineSink& output, platform::Host* host) {
  const SequenceItem& sequence = plan.sequence;
  // The template around each place of the sequence item, so that the template of a
  // line only needs its number put in.
  const std::vector<std::string_view> pieces = platform::SplitAtNoCase(fileTemplate, sequence.text);
  std::string item;
  auto itemFor = [&](std::int64_t number) -> const std::string& {
    item.assign(pieces.front());
    for (std::size_t i = 1; i < pieces.size(); ++i) {
      AppendZeroFilled(item, number, sequence.width);
      item += pieces[i];
    }
    return item;
  };
  platform::MessagePacer pacer(host);
  if (plan.lines == WorkedLines::LineNumber) {
    const std::size_t chosen = std::min(static_cast<std::size_t>(plan.lineNumber), source.size());
    std::size_t number = 0;
    for (const std::string_view line : source) {
      pacer.Step();
      if (++number == chosen)
        output.Add(tmpl::EvalTemplate(line, itemFor(sequence.start)));
      else
        output.Add(line);
    }
    return;
  }
  // Without a sequence item the template is the same for every line of the file;
  // with one, it is taken apart again with each number.
  tmpl::PreparedTemplate prepared(itemFor(sequence.start));
  std::int64_t number = sequence.start;
  std::string scratch;
  for (const std::string_view line : source) {
    pacer.Step();
    if (!IsWorkedLine(line, plan.lines, plan.keyword)) {
      output.Add(line);
      continue;
    }
    if (!sequence.text.empty()) prepared.Reset(itemFor(number++));
    output.Add(prepared.Apply(line, scratch));
  }
}

RunEnd RunInsert(fileset::FileList& files, const InsertSettings& settings, platform::Host& host) {
  std::string format(platform::TrimBlanks(settings.format));
  if (format.empty()) {
    host.ShowError(kEnterInsertFormat);
    return {};
  }
  if (format.find("${") == std::string::npos) {
    host.ShowError(kBadInsertFormat);
    return {};
  }
  if (settings.lines == WorkedLines::WithKeyword && settings.keyword.empty()) {
    host.ShowError(kKeywordEmpty);
    return {};
  }
  InsertMode mode(settings, std::move(format), host);
  RunContentFrame(files, host, settings.backup ? Backup::Yes : Backup::No, mode);
  return {};
}

}  // namespace content
