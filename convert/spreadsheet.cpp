#include "convert/spreadsheet.h"

#include "convert/conversion_item.h"
#include "platform/file_system.h"

namespace convert {

std::optional<int> FileFormatFor(SheetSource from, std::string_view extension) {
  if (extension == "txt") return file_format::kTabSeparatedText;
  if (extension == "htm") return file_format::kWebPage;
  if (extension == "xml") return file_format::kXmlSpreadsheet;
  if (extension == "csv" && from == SheetSource::Workbook) return file_format::kCommaSeparated;
  if (extension == "xls" && from == SheetSource::CommaSeparated) return file_format::kWorkbook;
  return std::nullopt;
}

SpreadsheetRun::Started SpreadsheetRun::Add(const platform::NativePath& source,
                                            std::string_view extensionArgument, SheetSource from) {
  const std::string extension = ExtensionOf(extensionArgument);
  if (extension.empty()) return Started::NoExtension;
  const std::optional<int> fileFormat = FileFormatFor(from, extension);
  const std::unique_ptr<SpreadsheetApplication> application = factory_.Create();
  if (application == nullptr) return Started::CannotStart;

  Row row{NewPathFor(source, extension)};
  bool workbookOpen = false;
  try {
    application->SetVisible(false);
    application->SetDisplayAlerts(false);
    application->OpenWorkbook(source, from);
    workbookOpen = true;
    application->ActivateWorkbook();
    application->SaveAs(row.target, fileFormat, extension);
    row.saveAsked = true;
  } catch (const SpreadsheetError&) {
    // The application's own failure ends the file's work silently; whether a new file
    // exists is what the row's count rests on.
  }
  if (workbookOpen) application->CloseWorkbook();
  application->Quit();
  rows_.push_back(std::move(row));
  return Started::Queued;
}

std::vector<bool> SpreadsheetRun::Finish() {
  const std::vector<bool> saved = factory_.Finish();
  std::vector<bool> written;
  written.reserve(rows_.size());
  std::size_t next = 0;
  for (const Row& row : rows_) {
    bool ok = false;
    if (row.saveAsked) {
      ok = next < saved.size() && saved[next];
      ++next;
    }
    written.push_back(ok && platform::ReadEntry(row.target).has_value());
  }
  rows_.clear();
  return written;
}

}  // namespace convert
