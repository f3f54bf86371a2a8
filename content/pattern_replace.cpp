#include "content/pattern_replace.h"

#include <algorithm>
#include <optional>

#include "platform/decimal.h"
#include "platform/error.h"
#include "template/template_evaluator.h"
#include "template/text_budget.h"

namespace content {
namespace {

// Appends the trimmed fields of a trimmed, non-empty line split at `separator`: runs of
// blanks around a separator vanish, two ";" in a row give an empty field, and a
// separator at the end gives no empty last field.
void SplitFields(std::string_view rest, char separator, std::vector<std::string_view>& fields) {
  for (std::size_t at = rest.find(separator); at != std::string_view::npos;
       at = rest.find(separator)) {
    fields.push_back(platform::TrimBlanks(rest.substr(0, at)));
    rest = platform::TrimBlanks(rest.substr(at + 1));
  }
  if (!rest.empty()) fields.push_back(rest);
}

// Every occurrence of `name` in `text` replaced by `value` into `out` (reused); false
// when there is none. Throws "Out of memory" rather than building beyond `limit` bytes.
bool ReplaceChecked(const platform::FoldedNeedle& name, std::string_view text,
                    std::string_view value, std::size_t limit, std::string& out) {
  std::size_t count = 0;
  for (auto m = name.Next(text, 0); m.start != std::string_view::npos; m = name.Next(text, m.end))
    ++count;
  if (count == 0) return false;
  const std::size_t growth =
      value.size() > name.text().size() ? value.size() - name.text().size() : 0;
  if (growth != 0 && (count > limit / growth || text.size() + count * growth > limit))
    throw platform::CommandError("Out of memory");
  return name.ReplaceAll(text, value, out);
}

class PatternReplaceMode final : public ContentMode {
 public:
  PatternReplaceMode(PatternReplaceSettings settings)
      : ContentMode(settings.backup ? Backup::Yes : Backup::No), settings_(std::move(settings)) {}
  // Read once the button is disabled.
  void Begin() override {
    rebuilder_.emplace(settings_.pattern, settings_.prefix,
                       platform::ParseInteger(settings_.argumentCount), clock_);
  }
  FileResult Build(const FileContext&, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    RebuildLines(source, *rebuilder_, output, &host);
    return FileResult::Save;
  }

 private:
  const PatternReplaceSettings settings_;
  tmpl::SystemClock clock_;
  std::optional<PatternRebuilder> rebuilder_;
};

}  // namespace

PatternRebuilder::PatternRebuilder(std::string pattern, std::string_view prefix, int argumentCount,
                                   const tmpl::Clock& clock, std::size_t growthLimit)
    : pattern_(std::move(pattern)),
      prefix_(platform::TrimBlanks(prefix)),
      argumentCount_(argumentCount > 0 ? static_cast<std::size_t>(argumentCount) : 0),
      clock_(clock),
      growthLimit_(growthLimit) {}

const platform::FoldedNeedle& PatternRebuilder::Name(std::size_t k) {
  while (names_.size() < k)
    names_.push_back(
        std::make_unique<platform::FoldedNeedle>(prefix_ + std::to_string(names_.size() + 1)));
  return *names_[k - 1];
}

bool PatternRebuilder::Rebuild(std::string_view line, std::string_view& entry) {
  const std::string_view data = platform::TrimBlanks(line);
  if (data.empty()) return false;
  if (separator_ == 0)
    for (const char candidate : {'\t', ';', ':', ' '})
      if (data.find(candidate) != std::string_view::npos) {
        separator_ = candidate;
        break;
      }
  fields_.clear();
  if (separator_ == 0)
    fields_.push_back(data);
  else
    SplitFields(data, separator_, fields_);

  const std::size_t limit = pattern_.size() + line.size() + growthLimit_;
  text_ = pattern_;
  const std::size_t named = std::min(fields_.size(), argumentCount_);
  for (std::size_t k = 1; k <= named; ++k)
    if (ReplaceChecked(Name(k), text_, fields_[k - 1], limit, scratch_)) text_.swap(scratch_);
  ExpandItems();
  entry = text_;
  return true;
}

void PatternRebuilder::ExpandItems() {
  const std::size_t limit = text_.size() + growthLimit_;
  std::size_t work = 0;   // bytes of text built by the steps, bounded as one evaluation's
  std::size_t plain = 0;  // the "}"s before this close no item
  for (std::size_t brace = platform::FindChar(text_, '}', plain); brace != std::string::npos;
       brace = platform::FindChar(text_, '}', plain)) {
    const std::size_t dollar = std::string_view(text_).substr(plain, brace - plain).rfind("${");
    if (dollar == std::string_view::npos) {  // a "}" that closes no item is plain text
      plain = brace + 1;
      continue;
    }
    const std::string item = text_.substr(plain + dollar, brace - plain - dollar + 1);
    const std::string value = tmpl::EvalTemplate(text_, item, clock_, growthLimit_);
    const platform::FoldedNeedle needle(item);
    if (needle.Find(value) == std::string_view::npos) {
      // The value goes where the item stood; the text before `plain` holds no item. An
      // item that is not found as a whole character sequence (a "$" swallowed by a
      // broken double-byte character before it) is plain text.
      if (ReplaceChecked(needle, text_, value, limit, scratch_))
        text_.swap(scratch_);
      else
        plain = brace + 1;
    } else if (value == item) {
      break;  // the item stands for itself: nothing more would ever change
    } else {
      // The function kept its source text, the text being built, around its result:
      // replacing the item by that would hold the item again, step after step. The
      // value without the item is the text the item made of the text around it.
      if (!needle.ReplaceAll(value, {}, text_)) text_ = value;
      plain = 0;
    }
    work += text_.size();
    if (work > limit) throw platform::CommandError("Out of memory");
  }
}

void RebuildLines(const LineList& source, PatternRebuilder& rebuilder, LineSink& output,
                  platform::Host* host) {
  platform::MessagePacer pacer(host);
  const char separator = rebuilder.separator();
  std::string_view entry;
  for (const std::string_view line : source) {
    pacer.Step();
    if (rebuilder.Rebuild(line, entry)) output.Add(entry);
  }
  if (source.HoldsZeroByte()) rebuilder.RestoreSeparator(separator);
}

fileset::Prepared<ContentMode> PreparePatternReplace(const PatternReplaceSettings& settings) {
  if (settings.pattern.empty()) return fileset::Refusal{kPatternEmpty, "mmPattern"};
  return std::make_unique<PatternReplaceMode>(settings);
}

fileset::RunEnd RunPatternReplace(fileset::FileList& files, const PatternReplaceSettings& settings,
                                  platform::Host& host) {
  return RunContentFrame(files, host, PreparePatternReplace(settings));
}

}  // namespace content
