#include "convert/contact_cards.h"

#include <algorithm>
#include <array>
#include <string>

#include "content/line_list.h"
#include "platform/error.h"

namespace convert {
namespace {

enum Field { kName, kCell, kTel, kEmail, kOrg, kAddress, kFieldCount };

// The properties a line may begin with, in the order they are tried.
struct Property {
  std::string_view prefix;
  Field field;
};
constexpr Property kProperties[] = {
    {"N:", kName},     {"FN:", kName}, {"TEL;CELL", kCell}, {"TEL;WORK", kTel},
    {"EMAIL", kEmail}, {"ORG", kOrg},  {"ADR", kAddress},
};

// One card being read: the first value of each field. Values are views into the file's
// text; a value of a folded line, which lives only until the next line, is copied.
class Card {
 public:
  void Read(std::string_view line, bool lasting) {
    if (line.empty()) return;
    switch (line.front()) {  // the first letters of the properties, to pass other lines by
      case 'N':
      case 'F':
      case 'T':
      case 'E':
      case 'O':
      case 'A':
        break;
      default:
        return;
    }
    for (const Property& property : kProperties) {
      if (!line.starts_with(property.prefix)) continue;
      if (!filled_[property.field]) {
        const std::size_t colon = line.find(':');
        std::string_view value = colon == std::string_view::npos ? line : line.substr(colon + 1);
        if (!lasting) value = copies_[property.field].assign(value);
        values_[property.field] = value;
        filled_[property.field] = true;
      }
      return;
    }
  }

  // The card as one line of the table into `out`; then the card is empty again. ";" is
  // dropped from every value; a csv value that holds a comma or a quote is quoted.
  void Write(char separator, bool quote, std::string& out) {
    out.clear();
    for (int field = 0; field < kFieldCount; ++field) {
      if (field != 0) out += separator;
      const std::string_view value = values_[field];
      values_[field] = {};
      filled_[field] = false;
      if (std::none_of(value.begin(), value.end(),
                       [](char c) { return c == ';' || c == ',' || c == '"'; })) {  // most values
        out += value;
        continue;
      }
      unquoted_.clear();
      for (const char c : value)
        if (c != ';') unquoted_ += c;
      if (quote)
        AppendCsvField(unquoted_, out);
      else
        out += unquoted_;
    }
  }

 private:
  std::array<std::string_view, kFieldCount> values_;
  std::array<std::string, kFieldCount> copies_;
  std::array<bool, kFieldCount> filled_{};
  std::string unquoted_;  // a value without its ";", reused
};

}  // namespace

bool IsCardTableExtension(std::string_view extension) {
  return extension == "csv" || extension == "txt";
}

Converted ConvertContactCards(const platform::NativePath& source,
                              const platform::NativePath& target, std::string_view extension,
                              platform::Host* host) {
  const content::LineList text = content::LineList::Load(source);
  if (text.HoldsZeroByte()) return Converted::NotText;
  const bool csv = extension == "csv";
  content::LineFileWriter output(target);
  output.Add(csv ? "Name,Cell,Tel,Email,Org,Address" : "Name\tCell\tTel\tEmail\tOrg\tAddress");
  if (host != nullptr) host->RunFileText(text.text());
  platform::MessagePacer pacer(host);
  Card card;
  std::string record;
  std::string unfolded;  // a line that continues on the lines after it
  std::string_view pending;
  bool isPending = false;
  const auto take = [&](std::string_view line) {
    card.Read(line, line.data() != unfolded.data());
    if (line.starts_with("END:")) {
      card.Write(csv ? ',' : '\t', csv, record);
      output.Add(record);
    }
  };
  for (const std::string_view line : text) {
    pacer.Step(line);
    if (isPending && !line.empty() && (line.front() == ' ' || line.front() == '\t')) {
      // A folded line: the line break and the one blank or tab after it are dropped.
      if (pending.data() != unfolded.data()) unfolded.assign(pending);
      unfolded.append(line.substr(1));
      pending = unfolded;
      continue;
    }
    if (isPending) take(pending);
    pending = line;
    isPending = true;
  }
  if (isPending) take(pending);
  if (!text.Intact()) platform::ThrowCannotOpen(source);
  output.Commit();
  return Converted::Written;
}

}  // namespace convert
