#include "platform/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <stdexcept>
#include <string>

namespace platform {
namespace {

enum class Charset { Engine, CodePage936, CodePage950, Count };

constexpr const char* kCharsetNames[] = {"gb18030", "windows-936", "windows-950"};

// Opening an ICU converter costs far more than converting a file name, and a search
// converts every name of up to 200,000 entries. A converter must not be shared between
// threads, so each thread keeps its own, opened on first use and reset before each call.
class ThreadConverters {
 public:
  ThreadConverters() = default;
  ThreadConverters(const ThreadConverters&) = delete;
  ThreadConverters& operator=(const ThreadConverters&) = delete;
  ~ThreadConverters() {
    for (UConverter* c : converters_)
      if (c != nullptr) ucnv_close(c);
  }

  UConverter* Get(Charset which) {
    UConverter*& c = converters_[static_cast<int>(which)];
    if (c == nullptr) {
      UErrorCode status = U_ZERO_ERROR;
      c = ucnv_open(kCharsetNames[static_cast<int>(which)], &status);
      if (U_FAILURE(status))
        throw std::runtime_error(std::string("cannot open the ICU converter ") +
                                 kCharsetNames[static_cast<int>(which)] + ": " +
                                 u_errorName(status));
    }
    ucnv_reset(c);
    return c;
  }

 private:
  UConverter* converters_[static_cast<int>(Charset::Count)] = {};
};

thread_local ThreadConverters tConverters;

std::u16string BytesToUtf16(Charset charset, std::string_view bytes) {
  if (IsAscii(bytes)) return std::u16string(bytes.begin(), bytes.end());
  UConverter* c = tConverters.Get(charset);
  // Each character of these code pages gives at most as many UTF-16 units as it has bytes.
  std::u16string out(bytes.size(), u'\0');
  UChar* target = reinterpret_cast<UChar*>(out.data());
  const char* source = bytes.data();
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(c, &target, target + out.size(), &source, source + bytes.size(), nullptr, true,
                 &status);
  out.resize(static_cast<std::size_t>(target - reinterpret_cast<UChar*>(out.data())));
  return out;
}

std::string Utf16ToBytes(Charset charset, std::u16string_view utf16) {
  bool ascii = true;
  for (char16_t u : utf16)
    if (u >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return std::string(utf16.begin(), utf16.end());
  UConverter* c = tConverters.Get(charset);
  std::string out(UCNV_GET_MAX_BYTES_FOR_STRING(utf16.size(), ucnv_getMaxCharSize(c)), '\0');
  char* target = out.data();
  const UChar* source = reinterpret_cast<const UChar*>(utf16.data());
  UErrorCode status = U_ZERO_ERROR;
  ucnv_fromUnicode(c, &target, target + out.size(), &source, source + utf16.size(), nullptr, true,
                   &status);
  out.resize(static_cast<std::size_t>(target - out.data()));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out(utf16.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(utf16.data()),
                     static_cast<int32_t>(utf16.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

constexpr char kHex[] = "0123456789ABCDEF";

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsDigit(unsigned char c) { return c >= 0x30 && c <= 0x39; }
bool IsTwoByteTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Length of the valid, assigned character at `pos`, or 0 when the bytes there form none.
// Four-byte codes are assigned in two linear ranges: the rest of the BMP (up to
// 0x8431A439) and the supplementary planes (0x90308130 to 0xE3329A35).
std::size_t ValidCharLength(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const std::size_t left = text.size() - pos;
  if (byte(0) < 0x80) return 1;
  if (!IsLead(byte(0)) || left < 2) return 0;
  if (IsTwoByteTrail(byte(1))) return 2;
  if (!IsDigit(byte(1)) || left < 4 || !IsLead(byte(2)) || !IsDigit(byte(3))) return 0;
  const long linear = (((byte(0) - 0x81L) * 10 + (byte(1) - 0x30)) * 126 + (byte(2) - 0x81)) * 10 +
                      (byte(3) - 0x30);
  constexpr long kLastBmp = 39419, kFirstSupplementary = 189000;
  constexpr long kLastSupplementary = kFirstSupplementary + 0xFFFFF;
  if (linear <= kLastBmp || (linear >= kFirstSupplementary && linear <= kLastSupplementary))
    return 4;
  return 0;
}

}  // namespace

std::string Utf8ToEngine(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::u16string utf16(utf8.size(), u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                       &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                       &status);
  if (U_FAILURE(status)) return std::string();
  utf16.resize(static_cast<std::size_t>(length));
  return Utf16ToBytes(Charset::Engine, utf16);
}

std::string EngineToUtf8(std::string_view engine) {
  if (IsAscii(engine)) return std::string(engine);
  return Utf16ToUtf8(BytesToUtf16(Charset::Engine, engine));
}

std::string Utf16ToEngine(std::u16string_view utf16) {
  return Utf16ToBytes(Charset::Engine, utf16);
}

std::u16string EngineToUtf16(std::string_view engine) {
  return BytesToUtf16(Charset::Engine, engine);
}

std::string EngineToUtf8Escaped(std::string_view engine) {
  if (IsAscii(engine)) return std::string(engine);
  std::string out;
  out.reserve(engine.size() * 2);
  std::size_t runStart = 0, pos = 0;
  const auto flushRun = [&] {
    if (pos > runStart) out += EngineToUtf8(engine.substr(runStart, pos - runStart));
  };
  while (pos < engine.size()) {
    const std::size_t length = ValidCharLength(engine, pos);
    if (length != 0) {
      pos += length;
      continue;
    }
    flushRun();
    // A complete four-byte code outside the assigned ranges is escaped whole, so its
    // digit bytes do not show up as digits; any other invalid byte is escaped alone and
    // reading starts again at the next byte.
    const bool wholeCode = CharLength(engine, pos) == 4;
    const std::size_t count = wholeCode ? 4 : 1;
    for (std::size_t i = 0; i < count; ++i) {
      const auto c = static_cast<unsigned char>(engine[pos + i]);
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
    pos += count;
    runStart = pos;
  }
  flushRun();
  return out;
}

std::string Utf16ToCodePage936(std::u16string_view utf16) {
  return Utf16ToBytes(Charset::CodePage936, utf16);
}

std::u16string CodePage936ToUtf16(std::string_view bytes) {
  return BytesToUtf16(Charset::CodePage936, bytes);
}

std::string Utf16ToCodePage950(std::u16string_view utf16) {
  return Utf16ToBytes(Charset::CodePage950, utf16);
}

std::u16string CodePage950ToUtf16(std::string_view bytes) {
  return BytesToUtf16(Charset::CodePage950, bytes);
}

// A lead byte followed by a byte that is no valid trail still takes two bytes, as any
// lead byte with a byte after it; only a sequence cut off by the end of the text
// shrinks to its lead byte, so the result never reaches past the end.
std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  const std::size_t left = text.size() - pos;
  if (!IsLead(lead) || left < 2) return 1;
  if (!IsDigit(static_cast<unsigned char>(text[pos + 1]))) return 2;
  if (left < 4) return 1;
  if (IsLead(static_cast<unsigned char>(text[pos + 2])) &&
      IsDigit(static_cast<unsigned char>(text[pos + 3])))
    return 4;
  return 2;
}

bool IsUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int length;
    unsigned char low = 0x80, high = 0xBF;  // the bounds of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;   // no overlong form
      if (c == 0xED) high = 0x9F;  // no surrogate
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;   // no overlong form
      if (c == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return false;
    }
    if (end - p < length || p[1] < low || p[1] > high) return false;
    for (int i = 2; i < length; ++i)
      if (p[i] < 0x80 || p[i] > 0xBF) return false;
    p += length;
  }
  return true;
}

}  // namespace platform
