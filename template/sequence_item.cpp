#include "template/sequence_item.h"

#include "platform/decimal.h"
#include "platform/engine_text.h"

namespace tmpl {

std::optional<SequenceItem> ReadSequenceItem(std::string_view templateText) {
  constexpr std::string_view kOpen = "${sn(";
  const std::size_t begin = platform::FindNoCase(templateText, kOpen);
  if (begin == std::string_view::npos) return std::nullopt;
  const std::size_t close = platform::FindChar(templateText, '}', begin + kOpen.size());
  const std::size_t end = close == std::string_view::npos ? templateText.size() : close + 1;
  SequenceItem sequence;
  sequence.text = templateText.substr(begin, end - begin);
  const std::size_t inner = sequence.text.size() - kOpen.size();
  const std::string_view arguments =
      std::string_view(sequence.text).substr(kOpen.size(), inner >= 2 ? inner - 2 : 0);
  const std::size_t comma = arguments.find(',');
  // Without a comma both parts are empty, and the start fails to convert.
  const bool split = comma != std::string_view::npos;
  sequence.start = platform::ParseInteger(
      platform::TrimBlanks(split ? arguments.substr(0, comma) : std::string_view()));
  sequence.width = platform::ParseInteger(
      platform::TrimBlanks(split ? arguments.substr(comma + 1) : std::string_view()));
  return sequence;
}

}  // namespace tmpl
