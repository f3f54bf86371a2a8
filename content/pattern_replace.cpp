#include "content/pattern_replace.h"

#include <algorithm>
#include <optional>

#include "platform/ascii.h"
#include "platform/code_page.h"
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
  const bool textIsAscii = platform::IsAscii(text);
  for (auto m = name.Next(text, 0, textIsAscii); m.start != std::string_view::npos;
       m = name.Next(text, m.end, textIsAscii))
    ++count;
  if (count == 0) return false;
  const std::size_t growth =
      value.size() > name.text().size() ? value.size() - name.text().size() : 0;
  if (growth != 0 && (count > limit / growth || text.size() + count * growth > limit))
    throw platform::CommandError("Out of memory");
  return name.ReplaceAll(text, value, out);
}

// False when the text's last character is cut off, so that the bytes put after it could
// join it: a lone lead byte, or a lead byte and a digit that may begin a four-byte one.
bool EndsWhereACharacterEnds(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size(); at += platform::CharLength(text, at)) start = at;
  const std::size_t left = text.size() - start;
  const auto lead = static_cast<unsigned char>(text.empty() ? 0 : text[start]);
  if (lead < 0x81 || lead > 0xFE) return true;
  return left >= 2 && !(left < 4 && text[start + 1] >= '0' && text[start + 1] <= '9');
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
  const std::size_t named = std::min(fields_.size(), argumentCount_);
  if (!FillFast(data, named, limit)) {
    text_ = pattern_;
    for (std::size_t k = 1; k <= named; ++k)
      if (ReplaceChecked(Name(k), text_, fields_[k - 1], limit, scratch_)) text_.swap(scratch_);
  }
  ExpandItems();
  entry = text_;
  return true;
}

const PatternRebuilder::FilledPattern& PatternRebuilder::Filled(std::size_t named) {
  if (filled_.size() <= named) filled_.resize(named + 1);
  if (filled_[named]) return *filled_[named];
  auto filled = std::make_unique<FilledPattern>();
  // The names are found as the step-by-step replacement finds them, with each field
  // standing in as a mark that no name can match.
  struct Part {
    bool field;
    std::size_t index;
    std::string text;
  };
  std::vector<Part> parts{{false, 0, pattern_}};
  for (std::size_t k = 1; k <= named; ++k) {
    const platform::FoldedNeedle& name = Name(k);
    std::vector<Part> next;
    for (Part& part : parts) {
      if (part.field) {
        next.push_back(std::move(part));
        continue;
      }
      const std::vector<std::string_view> pieces = platform::SplitAtNoCase(part.text, name.text());
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) next.push_back({true, k - 1, {}});
        next.push_back({false, 0, std::string(pieces[i])});
      }
    }
    parts = std::move(next);
  }
  const unsigned char first = prefix_.empty() ? 0 : static_cast<unsigned char>(prefix_.front());
  filled->usable = first != 0 && first < 0x80 && !platform::IsAsciiLetter(first);
  filled->countsByField.assign(named, 0);
  filled->pieces.emplace_back();
  for (const Part& part : parts) {
    if (part.field) {
      // A name cut by the field (a piece that ends with the prefix's first byte and what
      // may follow it) could be completed by the field's first bytes.
      const std::string& before = filled->pieces.back();
      if (before.find(static_cast<char>(first), before.size() > prefix_.size() + 11
                                                    ? before.size() - prefix_.size() - 11
                                                    : 0) != std::string::npos)
        filled->usable = false;
      filled->fields.push_back(part.index);
      ++filled->countsByField[part.index];
      filled->pieces.emplace_back();
    } else {
      filled->pieces.back() += part.text;
    }
  }
  // A piece must end where a character ends, or it would take in a field's first byte.
  for (const std::string& piece : filled->pieces)
    if (!EndsWhereACharacterEnds(piece)) filled->usable = false;
  filled_[named] = std::move(filled);
  return *filled_[named];
}

bool PatternRebuilder::FillFast(std::string_view data, std::size_t named, std::size_t limit) {
  const FilledPattern& filled = Filled(named);
  if (!filled.usable || data.find(prefix_.front()) != std::string_view::npos) return false;
  // Each field must end where a character ends, as the step-by-step walk would see it.
  for (std::size_t k = 0; k < named; ++k)
    if (!EndsWhereACharacterEnds(fields_[k])) return false;
  // The sizes the step-by-step replacement would reach, each within the ceiling.
  std::size_t size = pattern_.size();
  for (std::size_t k = 0; k < named; ++k) {
    const std::size_t count = filled.countsByField[k];
    size = size - count * Name(k + 1).text().size() + count * fields_[k].size();
    if (size > limit) throw platform::CommandError("Out of memory");
  }
  text_.clear();
  text_ += filled.pieces.front();
  for (std::size_t i = 0; i < filled.fields.size(); ++i) {
    text_ += fields_[filled.fields[i]];
    text_ += filled.pieces[i + 1];
  }
  return true;
}

PatternRebuilder::PreparedItem& PatternRebuilder::Item(std::string_view item) {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->needle.text() == item) {
      std::rotate(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(i),
                  items_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return *items_.front();
    }
  constexpr std::size_t kKept = 8;  // items of one pattern; those built from fields come and go
  if (items_.size() == kKept) items_.pop_back();
  items_.insert(items_.begin(), std::make_unique<PreparedItem>(item, clock_, growthLimit_));
  return *items_.front();
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
    PreparedItem& prepared =
        Item(std::string_view(text_).substr(plain + dollar, brace - plain - dollar + 1));
    const std::string_view item = prepared.needle.text();
    const platform::FoldedNeedle& needle = prepared.needle;
    const std::string_view value = prepared.evaluate.Apply(text_, value_);
    if (value == item) break;  // the item stands for itself: nothing more would ever change
    if (needle.ReplaceAll(value, {}, scratch_)) {
      // The function kept its source text, the text being built, around its result:
      // replacing the item by that would hold the item again, step after step. The
      // value without the item is the text the item made of the text around it.
      text_.swap(scratch_);
      plain = 0;
    } else if (ReplaceChecked(needle, text_, value, limit, scratch_)) {
      // The value goes where the item stood; the text before `plain` holds no item.
      text_.swap(scratch_);
    } else {
      // An item not found as whole characters (a "$" swallowed by a broken double-byte
      // character before it) is plain text.
      plain = brace + 1;
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
    pacer.Step(line);
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
