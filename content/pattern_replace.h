#pragma once
// The page "行模式替换": every data line of a file rebuilt from a pattern that names the
// line's fields ($1, $2, ...) and may hold template items, which then work on the text
// being built.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "content/content_frame.h"
#include "content/line_list.h"
#include "fileset/file_list.h"
#include "platform/engine_text.h"
#include "platform/host.h"
#include "template/clock.h"
#include "template/template_evaluator.h"
#include "template/text_budget.h"

namespace content {

inline constexpr std::string_view kPatternEmpty = "模式格式为空,请输入后再试!";

struct PatternReplaceSettings {     // the page's fields, engine text as typed
  std::string pattern;              // mmPattern, its lines joined with CR LF
  std::string prefix = "$";         // edPrefix
  std::string argumentCount = "3";  // edArgNum
  bool backup = true;               // chkModeBak
};

// Rebuilds lines for one run. The field separator is found in the first data line that
// holds a tab, ";", ":" or a blank (tried in that order) and kept for every later line
// and file of the run.
class PatternRebuilder {
 public:
  // Argument k (1 .. argumentCount, any count) is named by the trimmed prefix and the
  // decimal k; a count below 1 names none.
  PatternRebuilder(std::string pattern, std::string_view prefix, int argumentCount,
                   const tmpl::Clock& clock, std::size_t growthLimit = tmpl::kTextGrowthLimit);

  // The entry of one source line (several file lines when the pattern has several), a
  // view valid until the next call; false for a blank line, which gives no entry.
  // The items left after the fields are in are expanded innermost first, each against
  // the whole text being built, until no item is left: a "}" that closes no item is
  // plain text; an item whose value holds the item itself again (a function that keeps
  // its source text, such as AddLeft) makes that value, with the item taken out, the
  // text being built; one whose value is the item ends the expansion. Work beyond the
  // template language's ceiling throws CommandError "Out of memory".
  bool Rebuild(std::string_view line, std::string_view& entry);

  char separator() const { return separator_; }  // 0 until one was found
  // Takes back a separator found in lines that were not saved after all.
  void RestoreSeparator(char separator) { separator_ = separator; }

 private:
  // The pattern with the names of fields 1 .. n put in, worked out once: literal pieces
  // and the fields between them. Putting the fields of a line between the pieces gives
  // what replacing the names one after the other gives, as long as no field holds the
  // prefix's first byte and every field ends where a character ends (FieldsFit).
  struct FilledPattern {
    bool usable = false;
    std::vector<std::string> pieces;         // one more than `fields`
    std::vector<std::size_t> fields;         // the field (from 0) after each piece
    std::vector<std::size_t> countsByField;  // how often each field is put in
  };
  const FilledPattern& Filled(std::size_t named);
  bool FillFast(std::string_view data, std::size_t named, std::size_t limit);
  // A template item with what finding and evaluating it needs, made once per item text.
  struct PreparedItem {
    PreparedItem(std::string_view item, const tmpl::Clock& clock, std::size_t growthLimit)
        : needle(item), evaluate(item, clock, growthLimit) {}
    platform::FoldedNeedle needle;
    tmpl::PreparedTemplate evaluate;
  };
  PreparedItem& Item(std::string_view item);
  const platform::FoldedNeedle& Name(std::size_t k);  // k from 1
  void ExpandItems();

  std::string pattern_;
  std::string prefix_;
  std::size_t argumentCount_;
  const tmpl::Clock& clock_;
  std::size_t growthLimit_;
  char separator_ = 0;
  std::vector<std::unique_ptr<platform::FoldedNeedle>> names_;  // made as lines need them
  std::vector<std::string_view> fields_;
  std::string text_, scratch_, value_;  // the text being built, the next one, an item's value
  std::vector<std::unique_ptr<FilledPattern>> filled_;  // by the number of fields named
  std::vector<std::unique_ptr<PreparedItem>> items_;    // the latest few
};

// The lines of one file rebuilt, in order; blank lines give nothing. A file that holds a
// zero byte is no text and is not saved: a separator first found in it is taken back.
void RebuildLines(const LineList& source, PatternRebuilder& rebuilder, LineSink& output,
                  platform::Host* host = nullptr);

// The page's check (an empty pattern), then the mode. Its Begin reads the argument
// count (a bad number throws CommandError once the button is disabled).
fileset::Prepared<ContentMode> PreparePatternReplace(const PatternReplaceSettings& settings);

fileset::RunEnd RunPatternReplace(fileset::FileList& files, const PatternReplaceSettings& settings,
                                  platform::Host& host);

}  // namespace content
