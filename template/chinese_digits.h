#pragma once
// Chinese numerals to digits by plain replacement, for the Chs2Num function.

#include <string>
#include <string_view>

namespace tmpl {

// Deletes the unit characters (十 百 千 万 亿 兆 拾), then turns the common digits
// (一 to 九, 零) and the financial digits (壹 to 玖) into "1" to "9" and "0", each step
// a replacement of every occurrence, in that order. No place values are computed:
// "一百零五" gives "105", "二十" gives "2", "十" alone gives "". Every other character
// passes through.
std::string ChineseToDigits(std::string_view text);

}  // namespace tmpl
