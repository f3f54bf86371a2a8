#include "template/chinese_digits.h"

#include "template/text_primitives.h"

namespace tmpl {
namespace {

struct Replacement {
  std::string_view from;  // engine (GB18030) bytes
  std::string_view to;
};

// The order matters only in that units go first; each row is one replacement pass.
constexpr Replacement kSteps[] = {
    {"\xCA\xAE", ""},  {"\xB0\xD9", ""},  {"\xC7\xA7", ""},  {"\xCD\xF2", ""},   // 十 百 千 万
    {"\xD2\xDA", ""},  {"\xD5\xD7", ""},  {"\xCA\xB0", ""},                      // 亿 兆 拾
    {"\xD2\xBB", "1"}, {"\xB6\xFE", "2"}, {"\xC8\xFD", "3"}, {"\xCB\xC4", "4"},  // 一 二 三 四
    {"\xCE\xE5", "5"}, {"\xC1\xF9", "6"}, {"\xC6\xDF", "7"}, {"\xB0\xCB", "8"},  // 五 六 七 八
    {"\xBE\xC5", "9"}, {"\xC1\xE3", "0"},                                        // 九 零
    {"\xD2\xBC", "1"}, {"\xB7\xA1", "2"}, {"\xC8\xFE", "3"}, {"\xCB\xC1", "4"},  // 壹 贰 叁 肆
    {"\xCE\xE9", "5"}, {"\xC2\xBD", "6"}, {"\xC6\xE2", "7"}, {"\xB0\xC6", "8"},  // 伍 陆 柒 捌
    {"\xBE\xC1", "9"},                                                           // 玖
};

}  // namespace

std::string ChineseToDigits(std::string_view text) {
  std::string out(text);
  for (const Replacement& step : kSteps) out = ReplaceAll(out, step.from, step.to);
  return out;
}

}  // namespace tmpl
