#pragma once
// The lists typed on the content pages: line numbers ("3, 5-8", delimiter "," and
// quote '"') and keywords ("^two words^;key", delimiter ";" and quote "^").

#include <string>
#include <string_view>
#include <vector>

namespace content {

// Splits `text` into items. Bytes 1-32 (blanks, control characters) separate items just
// as the delimiter does and are skipped around them. An item that starts with the quote
// runs to its closing quote (or the end of the text); a doubled quote inside stands for
// one, and the quotes are dropped. Two delimiters in a row give an empty item between
// them, and a delimiter that is the text's very last byte gives an empty last item.
// Double-byte characters are stepped over whole: their trail byte is never taken for a
// delimiter, a quote or a blank. A zero byte ends the text.
std::vector<std::string> SplitDelimitedList(std::string_view text, char delimiter, char quote);

}  // namespace content
