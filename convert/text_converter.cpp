#include "convert/text_converter.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "content/line_list.h"
#include "platform/error.h"

namespace convert {

namespace {

// `line` into `out` with every tab made a comma; false when the line holds a comma or a
// double quote, whose fields must be quoted. One pass, sixteen bytes at a time: a tab, a
// comma and a quote are never part of a double-byte character.
bool TabsToCommas(std::string_view line, std::string& out) {
  out.resize(line.size());
  const char* in = line.data();
  char* to = out.data();
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i tab = _mm_set1_epi8('\t'), comma = _mm_set1_epi8(','), quote = _mm_set1_epi8('"'),
                shift = _mm_set1_epi8(',' - '\t');
  for (; i + 16 <= line.size(); i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, quote))) != 0)
      return false;
    const __m128i tabs = _mm_cmpeq_epi8(bytes, tab);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                     _mm_add_epi8(bytes, _mm_and_si128(tabs, shift)));
  }
#endif
  for (; i < line.size(); ++i) {
    if (in[i] == ',' || in[i] == '"') return false;
    to[i] = in[i] == '\t' ? ',' : in[i];
  }
  return true;
}

}  // namespace

void AppendCsvField(std::string_view field, std::string& out) {
  if (field.find_first_of(",\"") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void TabsToCsv(std::string_view line, std::string& out) {
  // Most lines hold neither a comma nor a quote: then each tab simply becomes a comma.
  if (TabsToCommas(line, out)) return;
  out.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    AppendCsvField(line.substr(start, tab - start), out);
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
  if (host != nullptr) host->RunFileText(text.text());
  platform::MessagePacer pacer(host);
  if (extension == "csv") {
    std::string csv;
    for (const std::string_view line : text) {
      pacer.Step(line);
      TabsToCsv(line, csv);
      output.Add(csv);
    }
  } else {
    for (const std::string_view line : text) {
      pacer.Step(line);
      output.Add(line);
    }
  }
  if (!text.Intact()) platform::ThrowCannotOpen(source);
  output.Commit();
  return Converted::Written;
}

}  // namespace convert
