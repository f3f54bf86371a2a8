#pragma once
// The two converters that hand a file to a spreadsheet application: ${XlsTo(s)} opens a
// workbook, ${CsvTo(s)} a comma-separated file, and either saves it under the new path
// in the format its extension selects.
//
// Each file gets the application's traditional calls, in order: create the application,
// hide it, silence its alerts, open the file, take the opened workbook, save it as the
// new file, close the workbook, quit. A real application may carry out the saves later
// and together (one start of LibreOffice converts many files at once, and a start costs
// far more than a file), so the calls only ask, and the run learns at its end which new
// files were written.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/native_path.h"

namespace convert {

enum class SheetSource { Workbook, CommaSeparated };  // ${XlsTo(s)}, ${CsvTo(s)}

// The application's file-format numbers that the two converters pass to the save.
namespace file_format {
inline constexpr int kTabSeparatedText = -4158;
inline constexpr int kCommaSeparated = 6;
inline constexpr int kWorkbook = -4143;
inline constexpr int kWebPage = 44;
inline constexpr int kXmlSpreadsheet = 46;
}  // namespace file_format

// The number a converter passes for an extension (from ExtensionOf), or none for an
// extension its table does not list: the application then chooses by the extension.
std::optional<int> FileFormatFor(SheetSource from, std::string_view extension);

// A call the application could not carry out (a file it cannot open, a format it does
// not know). The converter passes over the rest of the file's calls up to the close.
class SpreadsheetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The calls of one file on a spreadsheet application, in the order they are made. Any of
// them may throw SpreadsheetError.
class SpreadsheetApplication {
 public:
  virtual ~SpreadsheetApplication() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetDisplayAlerts(bool display) = 0;
  // WorkBooks.Open. `as` says how the file is to be read: a comma-separated file is
  // text whose character set the application must be told.
  virtual void OpenWorkbook(const platform::NativePath& source, SheetSource as) = 0;
  virtual void ActivateWorkbook() = 0;  // ActiveWorkBook
  // SaveAs on the opened workbook. `extension` is the new path's (ExtensionOf); without
  // a format number the application chooses the format by it. A save that returns is
  // one entry of SpreadsheetFactory::Finish's answer.
  virtual void SaveAs(const platform::NativePath& target, std::optional<int> fileFormat,
                      std::string_view extension) = 0;
  virtual void CloseWorkbook() = 0;
  virtual void Quit() = 0;
};

class SpreadsheetFactory {
 public:
  virtual ~SpreadsheetFactory() = default;
  // A new application; nullptr when none can be started.
  virtual std::unique_ptr<SpreadsheetApplication> Create() = 0;
  // Carries out every save asked for since the last Finish, in as few starts of the real
  // application as it can, and answers for each of them, in the order they were asked
  // for, whether its new file was written. A save that failed leaves no partial file at
  // its path, and a file that was there untouched.
  virtual std::vector<bool> Finish() = 0;
};

// The spreadsheet rows of one run.
class SpreadsheetRun {
 public:
  explicit SpreadsheetRun(SpreadsheetFactory& factory) : factory_(factory) {}

  enum class Started {
    NoExtension,  // the argument names no extension: no call was made
    CannotStart,  // no application could be created; the caller shows its error box
    Queued,       // the calls were made; Finish tells whether they wrote the file
  };
  // The calls of one row, on a new application. A failure from hiding it to the save
  // passes over the rest of those steps; the close (when a workbook was opened) and the
  // quit always follow.
  Started Add(const platform::NativePath& source, std::string_view extensionArgument,
              SheetSource from);

  // Carries out what was queued. For every Queued row, in Add order: whether its new
  // file (NewPathFor) was written by this run and exists now. A row that counts must
  // have made a new file; one whose save failed does not count.
  std::vector<bool> Finish();

 private:
  struct Row {
    platform::NativePath target;
    bool saveAsked = false;  // SaveAs returned, so the factory answers for it
  };
  SpreadsheetFactory& factory_;
  std::vector<Row> rows_;
};

// The application of this platform: LibreOffice, headless (libreoffice.h).
std::unique_ptr<SpreadsheetFactory> MakeLibreOfficeFactory();

}  // namespace convert
