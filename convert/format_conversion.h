#pragma once
// The page "文件格式转换": each marked file converted into a new file beside it, by the
// item in the page's field: ${TxtTo(s)}, ${VcfTo(s)}, ${XlsTo(s)} or ${CsvTo(s)}, s being
// the new extension. The source files are only read, unless a new path is the source.

#include <string>
#include <string_view>

#include "convert/spreadsheet.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "fileset/preview.h"
#include "platform/host.h"

namespace convert {

inline constexpr std::string_view kFormatEmpty = "新文件格式为空,请输入后再试!";
inline constexpr std::string_view kCannotStartSpreadsheets = "无法启动Excel";
// A further line of the closing box, after the count of spreadsheet rows that made no file.
inline constexpr std::string_view kSpreadsheetsFailedNote = " 个表格文件转换失败，未生成新文件";

struct FormatSettings {  // the page's field, engine text as typed
  std::string item;      // edtFileFormat
};

// The run: the empty field refused (the focus to edtFileFormat); then the button
// disabled, the change counter set to 0 and every marked row in row order converted as
// the item says. A row counts when its converter made its new file, and also when the
// item names no converter (no "${", no "(", an unknown name: nothing is converted). An
// empty extension, or one the card converter does not make, counts nothing. The
// spreadsheet rows are converted together once the other rows are done, each counting
// when its new file is there; when no spreadsheet application starts, each such row shows
// "无法启动Excel". A file holding a zero byte is no text and is not converted. A source
// that cannot be read or a new file that cannot be written ends the run with the file
// error; earlier new files stay.
fileset::RunEnd RunFormatConversion(fileset::FileList& files, const FormatSettings& settings,
                                    platform::Host& host, SpreadsheetFactory& spreadsheets);

// What the run would write, one row per marked file with its new file as `after`
// (覆盖 when a file of that name is there), without reading more than whether a text is
// text: 不变 for a row that writes nothing, 跳过 不是文本, 跳过 重复, 停止 for a source the
// run cannot read or a new file it cannot write. The empty field is refused as by the run.
fileset::Preview PreviewFormatConversion(const fileset::FileList& files,
                                         const FormatSettings& settings, platform::Host& host);

}  // namespace convert
