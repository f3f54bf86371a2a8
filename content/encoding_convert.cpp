#include "content/encoding_convert.h"

#include <array>
#include <memory>

#include "content/page_item.h"
#include "platform/code_page.h"
#include "platform/engine_text.h"
#include "platform/transcode.h"

namespace content {
namespace {

class EncodingMode final : public ContentMode {
 public:
  EncodingMode(Encoding to, Backup backup) : ContentMode(backup), to_(to) {}

  FileResult Build(const FileContext&, const LineList& source, LineSink& output,
                   platform::Host& host) override {
    const EncodingFault fault = ConvertEncoding(source, to_, output, &host);
    if (fault == EncodingFault::None) return FileResult::Save;
    // The frame leaves a file holding a zero byte unsaved and counts it as no text,
    // whatever else is wrong with it.
    if (source.HoldsZeroByte()) return FileResult::Save;
    ++left_[static_cast<std::size_t>(fault)];
    lastFault_ = fault;
    return FileResult::Leave;
  }

  std::string_view LeaveReason() const override {
    switch (lastFault_) {
      case EncodingFault::AlreadyUtf8:
        return "已是UTF-8";
      case EncodingFault::NotUtf8:
        return "不是UTF-8";
      case EncodingFault::InvalidGbk:
        return "无效的GBK字节";
      case EncodingFault::None:
        break;
    }
    return {};
  }

  std::string FurtherLines() const override {
    std::string lines;
    const auto note = [&](EncodingFault fault, std::string_view text) {
      const std::int64_t count = left_[static_cast<std::size_t>(fault)];
      if (count == 0) return;
      if (!lines.empty()) lines += '\n';
      lines += std::to_string(count);
      lines += text;
    };
    note(EncodingFault::AlreadyUtf8, kAlreadyUtf8Note);
    note(EncodingFault::NotUtf8, kNotUtf8Note);
    note(EncodingFault::InvalidGbk, kInvalidGbkNote);
    return lines;
  }

  // Code page 936 has no byte-order mark; a UTF-8 file with one is not converted to UTF-8.
  bool KeepsByteOrderMark() const override { return to_ != Encoding::ToAnsi; }

 private:
  const Encoding to_;
  std::array<std::int64_t, 4> left_{};  // by EncodingFault
  EncodingFault lastFault_ = EncodingFault::None;
};

}  // namespace

Encoding EncodingNamed(std::string_view item) {
  const std::optional<PageItem> read = ReadPageItem(item);
  if (!read) return Encoding::None;
  if (read->name == "toutf8") return Encoding::ToUtf8;
  if (read->name == "toansi") return Encoding::ToAnsi;
  return Encoding::None;
}

EncodingFault ConvertEncoding(const LineList& source, Encoding to, LineSink& output,
                              platform::Host* host) {
  const std::string_view text = source.text();
  const std::size_t ascii = platform::AsciiLength(text);
  if (to == Encoding::ToUtf8 &&
      (source.HasByteOrderMark() || (ascii < text.size() && platform::IsUtf8(text.substr(ascii)))))
    return EncodingFault::AlreadyUtf8;
  platform::MessagePacer pacer(host);
  if (ascii == text.size()) {  // the same in both code pages: only the line breaks change
    for (const std::string_view line : source) {
      pacer.Step(line);
      output.Add(line);
    }
    return EncodingFault::None;
  }
  // Line breaks are never part of a multi-byte character in either code page, so the
  // lines convert one by one as the whole text would.
  const auto convert = to == Encoding::ToUtf8 ? &platform::Gb18030ToUtf8 : &platform::Utf8ToGb18030;
  std::string converted;
  for (const std::string_view line : source) {
    pacer.Step(line);
    converted.clear();
    if (!convert(line, converted))
      return to == Encoding::ToUtf8 ? EncodingFault::InvalidGbk : EncodingFault::NotUtf8;
    output.Add(converted);
  }
  return EncodingFault::None;
}

fileset::Prepared<ContentMode> PrepareEncodingConversion(const EncodingSettings& settings) {
  if (settings.item.empty()) return fileset::Refusal{kEncodingItemEmpty, "edtCharset"};
  const Encoding to = EncodingNamed(settings.item);
  if (to == Encoding::None) return std::unique_ptr<ContentMode>();
  return std::make_unique<EncodingMode>(to, settings.backup ? Backup::Yes : Backup::No);
}

fileset::RunEnd RunEncodingConversion(fileset::FileList& files, const EncodingSettings& settings,
                                      platform::Host& host) {
  fileset::Prepared<ContentMode> prepared = PrepareEncodingConversion(settings);
  if (const auto* mode = std::get_if<std::unique_ptr<ContentMode>>(&prepared); mode && !*mode)
    return {};
  return RunContentFrame(files, host, std::move(prepared));
}

}  // namespace content
