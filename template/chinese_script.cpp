#include "template/chinese_script.h"

#include <memory>
#include <mutex>
#include <opencc/Exception.hpp>
#include <opencc/SimpleConverter.hpp>

#include "platform/code_page.h"

namespace tmpl {
namespace {

// One direction of the character mapping. Opening a converter reads and indexes its
// dictionaries, which costs milliseconds, thousands of times the conversion of a line,
// and an open converter is only read from then on. So each
// direction is opened once per process, on first use, and shared. A converter that
// cannot be opened (data not installed) leaves the text unmapped.
class LazyConverter {
 public:
  explicit constexpr LazyConverter(const char* config) : config_(config) {}

  std::string Convert(const std::string& utf8) const {
    std::call_once(opened_, [this] { Open(); });
    if (!converter_) return utf8;
    // The converter stops at a NUL byte, so each run between NULs goes on its own.
    std::string out;
    out.reserve(utf8.size());
    std::size_t start = 0;
    while (true) {
      const std::size_t nul = utf8.find('\0', start);
      const std::size_t end = nul == std::string::npos ? utf8.size() : nul;
      out += ConvertRun(std::string_view(utf8).substr(start, end - start));
      if (nul == std::string::npos) break;
      out += '\0';
      start = nul + 1;
    }
    return out;
  }

 private:
  void Open() const {
    try {
      converter_ = std::make_unique<opencc::SimpleConverter>(config_);
    } catch (const opencc::Exception&) {
      converter_.reset();
    }
  }

  std::string ConvertRun(std::string_view run) const {
    if (run.empty()) return std::string();
    try {
      return converter_->Convert(run.data(), run.size());
    } catch (const opencc::Exception&) {
      return std::string(run);
    }
  }

  const char* config_;
  mutable std::once_flag opened_;
  mutable std::unique_ptr<opencc::SimpleConverter> converter_;
};

const LazyConverter gToTraditional("s2t.json");
const LazyConverter gToSimplified("t2s.json");

// The converters work on UTF-8; engine text holds every character they give back.
std::string Map(const LazyConverter& converter, std::string_view engineText) {
  return platform::Utf8ToEngine(converter.Convert(platform::EngineToUtf8(engineText)));
}

}  // namespace

// Engine text is read in the engine code page, which is code page 936 for every
// character that code page has and holds the others too: a four-byte character comes
// out as one substitute, not as a substitute and stray digits.
std::string GbToBig5(std::string_view text) {
  return platform::Utf16ToCodePage950(platform::EngineToUtf16(Map(gToTraditional, text)));
}

// Through code page 936 as far as the mapping; the mapped text is engine text, so the
// euro sign (0x80 in code page 936) comes back as the engine's character.
std::string Big5ToGb(std::string_view text) {
  const std::string gbk = platform::Utf16ToCodePage936(platform::CodePage950ToUtf16(text));
  return Map(gToSimplified, platform::Utf16ToEngine(platform::CodePage936ToUtf16(gbk)));
}

}  // namespace tmpl
