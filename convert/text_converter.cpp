#include "convert/text_converter.h"

#include <cstring>

#include "content/line_list.h"
#include "platform/error.h"

namespace convert {

void TabsToCsv(std::string_view line, std::string& out) {
  out.assign(line);
  // Most lines hold neither a comma nor a quote: then each tab simply becomes a comma.
  if (line.find_first_of(",\"") == std::string_view::npos) {
    for (char* at = out.data();
         (at = static_cast<char*>(std::memchr(
              at, '\t', static_cast<std::size_t>(out.data() + out.size() - at)))) != nullptr;
         ++at)
      *at = ',';
    return;
  }
  out.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    const std::string_view field = line.substr(start, tab - start);
    if (field.find_first_of(",\"") == std::string_view::npos) {
      out += field;
    } else {
      out += '"';
      for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
      }
      out += '"';
    }
    if (tab == std::string_view::npos) break;
    out += ',';
    start = tab + 1;
  }
}

Converted ConvertText(const platform::NativePath& source, const platform::NativePath& target,
                      std::string_view extension, platform::Host* host) {
  const content::LineList text = content::LineList::Load(source);
  // A zero byte makes it no text: the lines would end there.
  if (text.HoldsZeroByte()) return Converted::NotText;
  content::LineFileWriter output(target);
  if (text.HasByteOrderMark()) output.AddByteOrderMark();
  platform::MessagePacer pacer(host);
  if (extension == "csv") {
    std::string csv;
    for (const std::string_view line : text) {
      pacer.Step();
      TabsToCsv(line, csv);
      output.Add(csv);
    }
  } else {
    for (const std::string_view line : text) {
      pacer.Step();
      output.Add(line);
    }
  }
  if (!text.Intact()) platform::ThrowCannotOpen(source);
  output.Commit();
  return Converted::Written;
}

}  // namespace convert
