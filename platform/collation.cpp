#include "platform/collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/ascii.h"
#include "platform/code_page.h"

namespace platform {
namespace {

// ICU's default locale comes from the environment; "C" and "POSIX" mean the root order.
const char* EnvironmentLocale() {
  for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

// Lower-cases engine text into UTF-16, reusing the buffers; ASCII needs no ICU call.
void LowerUtf16(std::string_view engine, std::u16string& text, std::u16string& lower) {
  if (IsAscii(engine)) {
    lower.resize(engine.size());
    for (std::size_t i = 0; i < engine.size(); ++i) {
      const char c = engine[i];
      lower[i] = static_cast<char16_t>(AsciiLower(c));
    }
    return;
  }
  text = EngineToUtf16(engine);
  lower.resize(text.size() + 8);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = u_strToLower(lower.data(), static_cast<int32_t>(lower.size()), text.data(),
                                static_cast<int32_t>(text.size()), "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    lower.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    length = u_strToLower(lower.data(), length, text.data(), static_cast<int32_t>(text.size()), "",
                          &status);
  }
  if (U_FAILURE(status)) {
    lower = text;
    return;
  }
  lower.resize(static_cast<std::size_t>(length));
}

}  // namespace

Collator::Collator() : Collator(EnvironmentLocale()) {}

Collator::Collator(const char* locale) {
  std::string name = locale;
  if (const auto dot = name.find('.'); dot != std::string::npos) name.resize(dot);
  if (name == "C" || name == "POSIX") name.clear();
  UErrorCode status = U_ZERO_ERROR;
  collator_ = ucol_open(name.c_str(), &status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    collator_ = ucol_open("", &status);
  }
  if (U_FAILURE(status)) throw std::runtime_error("no collator");
}

Collator::~Collator() { ucol_close(collator_); }

std::unique_ptr<Collator> Collator::Clone() const {
  UErrorCode status = U_ZERO_ERROR;
  UCollator* copy = ucol_clone(collator_, &status);
  if (U_FAILURE(status)) throw std::runtime_error("no collator");
  return std::unique_ptr<Collator>(new Collator(copy));
}

void Collator::AppendLowerSortKey(std::string_view engine, std::string& keys) const {
  LowerUtf16(engine, text_, lower_);
  const auto start = keys.size();
  auto capacity = static_cast<int32_t>(lower_.size() * 4 + 16);
  for (;;) {
    keys.resize(start + static_cast<std::size_t>(capacity));
    const int32_t needed =
        ucol_getSortKey(collator_, lower_.data(), static_cast<int32_t>(lower_.size()),
                        reinterpret_cast<uint8_t*>(keys.data() + start), capacity);
    if (needed <= capacity) {
      // The key ends with its own zero byte; drop it so keys compare as plain strings.
      keys.resize(start + static_cast<std::size_t>(needed > 0 ? needed - 1 : 0));
      return;
    }
    capacity = needed;
  }
}

int Collator::Compare(std::string_view a, std::string_view b) const {
  const std::u16string ua = EngineToUtf16(a);
  const std::u16string ub = EngineToUtf16(b);
  return ucol_strcoll(collator_, ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                      static_cast<int32_t>(ub.size()));
}

}  // namespace platform
