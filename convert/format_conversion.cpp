#include "convert/format_conversion.h"

#include <cstdint>

#include "content/content_frame.h"
#include "content/line_list.h"
#include "convert/contact_cards.h"
#include "convert/conversion_item.h"
#include "convert/text_converter.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/rewrite_in_place.h"

namespace convert {
namespace {

class FormatRun {
 public:
  FormatRun(const fileset::FileList& files, ConversionItem item, platform::Host& host,
            SpreadsheetFactory& spreadsheets)
      : files_(files), item_(std::move(item)), host_(host), sheets_(spreadsheets) {}

  void Visit(int row) {
    if (Convert(files_.NativeFullPath(row)))
      platform::AddToCounter(host_, platform::Counter::Change, 1);
  }

  // The spreadsheet rows, converted together; each counts when its new file is there.
  void End() {
    for (const bool made : sheets_.Finish()) {
      if (made)
        platform::AddToCounter(host_, platform::Counter::Change, 1);
      else
        ++sheetsFailed_;
    }
  }

  std::string FurtherLine() const {
    std::string lines = content::NotTextLine(notText_);
    if (sheetsFailed_ != 0) {
      if (!lines.empty()) lines += "\n";
      lines += std::to_string(sheetsFailed_) + std::string(kSpreadsheetsFailedNote);
    }
    return lines;
  }

 private:
  // Whether the row counts now.
  bool Convert(const platform::NativePath& source) {
    if (!item_.converts) return true;
    const bool spreadsheet = item_.name == "xlsto" || item_.name == "csvto";
    if (item_.name != "txtto" && item_.name != "vcfto" && !spreadsheet) return true;
    const std::string extension = ExtensionOf(item_.extension);
    if (extension.empty()) return false;
    if (spreadsheet) {
      const SheetSource from =
          item_.name == "xlsto" ? SheetSource::Workbook : SheetSource::CommaSeparated;
      if (sheets_.Add(source, item_.extension, from) == SpreadsheetRun::Started::CannotStart)
        host_.ShowErrorTitled("错误", kCannotStartSpreadsheets);
      return false;  // counted once its new file is there
    }
    if (item_.name == "vcfto" && !IsCardTableExtension(extension)) return false;
    const platform::NativePath target = NewPathFor(source, extension);
    const Converted converted = item_.name == "txtto"
                                    ? ConvertText(source, target, extension, &host_)
                                    : ConvertContactCards(source, target, extension, &host_);
    if (converted == Converted::NotText) ++notText_;
    return converted == Converted::Written;
  }

  const fileset::FileList& files_;
  const ConversionItem item_;
  platform::Host& host_;
  SpreadsheetRun sheets_;
  std::int64_t notText_ = 0;
  std::int64_t sheetsFailed_ = 0;
};

}  // namespace

fileset::RunEnd RunFormatConversion(fileset::FileList& files, const FormatSettings& settings,
                                    platform::Host& host, SpreadsheetFactory& spreadsheets) {
  if (settings.item.empty()) {
    host.ShowError(kFormatEmpty);
    return {"edtFileFormat"};
  }
  FormatRun run(files, ParseConversionItem(settings.item), host, spreadsheets);
  fileset::RunMarkedRows(
      files, host,
      {[&] {
         // A rewrite that a killed run left halfway is finished before any file is read.
         platform::CompleteInterruptedRewrites();
         host.WriteCounter(platform::Counter::Change, 0);
       },
       [&](int row) {
         run.Visit(row);
         return true;
       },
       [&] { run.End(); }, content::kClosingBefore, content::kFilesUnit,
       [&] { return run.FurtherLine(); }, fileset::MarkedRowsRun::SameFile::ByIdentity});
  return {};
}

namespace {

// The row of one marked file.
fileset::PreviewRow PreviewRow(const fileset::FileList& files, int row,
                               const ConversionItem& item) {
  using fileset::PreviewStatus;
  fileset::PreviewRow shown{row, PreviewStatus::Same, files.FullPath(row), {}, {}};
  const bool spreadsheet = item.name == "xlsto" || item.name == "csvto";
  const bool text = item.name == "txtto" || item.name == "vcfto";
  const std::string extension = ExtensionOf(item.extension);
  if (!item.converts || (!spreadsheet && !text) || extension.empty() ||
      (item.name == "vcfto" && !IsCardTableExtension(extension)))
    return shown;  // nothing is written
  const platform::NativePath source = files.NativeFullPath(row);
  const platform::NativePath target = NewPathFor(source, extension);
  shown.after = platform::EngineOf(target.bytes());
  try {
    if (text && content::LineList::Load(source).HoldsZeroByte()) {
      shown.status = PreviewStatus::Skip;
      shown.reason = fileset::kNotText;
      return shown;
    }
  } catch (const platform::CommandError& error) {
    shown.status = PreviewStatus::Stop;
    shown.reason = error.what();
    return shown;
  }
  shown.status = PreviewStatus::Change;
  if (platform::ReadEntry(target)) {
    if (text && platform::IsReadOnly(target)) {
      shown.status = PreviewStatus::Stop;
      shown.reason = platform::CannotCreateText(target);
      return shown;
    }
    shown.reason = fileset::kOverwrites;
  }
  return shown;
}

}  // namespace

fileset::Preview PreviewFormatConversion(const fileset::FileList& files,
                                         const FormatSettings& settings, platform::Host& host) {
  fileset::Preview preview;
  if (settings.item.empty()) {
    host.ShowError(kFormatEmpty);
    preview.refused = true;
    preview.focus = "edtFileFormat";
    return preview;
  }
  const ConversionItem item = ParseConversionItem(settings.item);
  fileset::WalkMarkedRows(
      files, host, fileset::MarkedRowsRun::SameFile::ByIdentity,
      [&](int row) {
        preview.rows.push_back(PreviewRow(files, row, item));
        return preview.rows.back().status != fileset::PreviewStatus::Stop;
      },
      [&](int row) {
        preview.rows.push_back({row,
                                fileset::PreviewStatus::Skip,
                                files.FullPath(row),
                                {},
                                std::string(fileset::kRepeatedFile)});
      });
  return preview;
}

}  // namespace convert
