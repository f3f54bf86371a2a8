#pragma once
// The pages of the mode page control `pgcOne`, one per batch mode: every control carries
// its control name as objectName, and each page's struct holds a pointer to it under the
// same name. A page is built by its Build function and read into its mode's settings by
// its Read function; it holds no run logic. The mode table (mode_table.h) adds the pages
// to pgcOne in mode order and wires their start buttons.

#include <QtGlobal>
#include <functional>

#include "content/combine_files.h"
#include "content/cut_lines.h"
#include "content/delete_lines.h"
#include "content/encoding_convert.h"
#include "content/extract_lines.h"
#include "content/file_statistics.h"
#include "content/insert_chars.h"
#include "content/insert_lines.h"
#include "content/keyword_merge.h"
#include "content/line_sync.h"
#include "content/pattern_replace.h"
#include "convert/format_conversion.h"
#include "fileops/change_attributes.h"
#include "fileops/change_dates.h"
#include "fileops/change_extension.h"
#include "fileops/rename_files.h"

QT_BEGIN_NAMESPACE
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QWidget;
QT_END_NAMESPACE

namespace app {

// "更改文件扩展名".
struct ExtensionPage {
  QWidget* page = nullptr;
  QLineEdit* edtNewExt = nullptr;
  QPushButton* btnExt = nullptr;
};

// "更改文件名称".
struct RenamePage {
  QWidget* page = nullptr;
  QLineEdit* edtNewFilename = nullptr;
  QPushButton* btnFilename = nullptr;
};

// "更改文件或目录日期". Each picker is enabled exactly while its box is ticked; the window
// sets the pickers' values when it is created.
struct DatesPage {
  QWidget* page = nullptr;
  QCheckBox* ckModify = nullptr;
  QDateEdit* dtModify = nullptr;
  QCheckBox* ckCreate = nullptr;
  QDateEdit* dtCreate = nullptr;
  QCheckBox* ckAccess = nullptr;
  QDateEdit* dtAccess = nullptr;
  QCheckBox* chkTime = nullptr;
  QTimeEdit* dtpTime = nullptr;
  QCheckBox* chkDirDate = nullptr;
  QPushButton* btnDate = nullptr;
};

// "更改文件或目录属性". ckNormal is the archive bit.
struct AttributesPage {
  QWidget* page = nullptr;
  QCheckBox* ckNormal = nullptr;
  QCheckBox* ckSystem = nullptr;
  QCheckBox* ckReadonly = nullptr;
  QCheckBox* ckHidden = nullptr;
  QCheckBox* chkDirProp = nullptr;
  QPushButton* btnProp = nullptr;
};

// "文件信息统计". The result edits are read-only and show "0" until the first run.
struct StatisticsPage {
  QWidget* page = nullptr;
  QLineEdit* edtFileSize = nullptr;
  QLineEdit* edtAllLine = nullptr;
  QLineEdit* edtEmptyLine = nullptr;
  QLineEdit* edtDataLine = nullptr;
  QLineEdit* edtCharMax = nullptr;
  QLineEdit* edtCharMin = nullptr;
  QLineEdit* edtCharAve = nullptr;
  QLineEdit* edtFilename = nullptr;
  QPushButton* btnFileInfo = nullptr;
  // The grid row that holds the cursor, which the window knows: the file counted.
  std::function<int()> currentRow = nullptr;
};

// "合并关键字内容", key=value merge of two files.
struct KeywordMergePage {
  QWidget* page = nullptr;
  QCheckBox* chkSynBak = nullptr;
  QPushButton* btnSyn = nullptr;
};

// "文本行内容截取". rbKeepCut/rbKeepLeft form one radio group, the four line radios
// another.
struct CutPage {
  QWidget* page = nullptr;
  QLineEdit* edtCutFormat = nullptr;
  QRadioButton* rbKeepCut = nullptr;
  QRadioButton* rbKeepLeft = nullptr;
  QRadioButton* rbCutAllLine = nullptr;
  QRadioButton* rbCutTextLine = nullptr;
  QRadioButton* rbCutLineNo = nullptr;
  QLineEdit* edtCutLineNo = nullptr;
  QRadioButton* rbCutKeysLine = nullptr;
  QLineEdit* edtCutKeys = nullptr;
  QCheckBox* chkCutBak = nullptr;
  QPushButton* btnCut = nullptr;
};

// "文本行内容插入". The four line radios form one group.
struct InsertCharsPage {
  QWidget* page = nullptr;
  QLineEdit* edtInsFormat = nullptr;
  QRadioButton* rbAllLine = nullptr;
  QRadioButton* rbDataLine = nullptr;
  QRadioButton* rbKeys = nullptr;
  QLineEdit* edtInsKeys = nullptr;
  QRadioButton* rbInsLineNo = nullptr;
  QLineEdit* edtInsLineNo = nullptr;
  QCheckBox* chkInsBak = nullptr;
  QPushButton* btnIns = nullptr;
};

// "行模式替换".
struct PatternReplacePage {
  QWidget* page = nullptr;
  QPlainTextEdit* mmPattern = nullptr;
  QLineEdit* edPrefix = nullptr;
  QLineEdit* edArgNum = nullptr;
  QCheckBox* chkModeBak = nullptr;
  QPushButton* btnReplace = nullptr;
};

// "内容按行删除". The four radios form one group.
struct DeleteLinesPage {
  QWidget* page = nullptr;
  QRadioButton* rbDelLineNo = nullptr;
  QLineEdit* edtDelLineNo = nullptr;
  QRadioButton* rbDelLine = nullptr;
  QLineEdit* edtLines = nullptr;
  QLineEdit* edtLineNum = nullptr;
  QRadioButton* rbDelKeys = nullptr;
  QLineEdit* edtDelKeys = nullptr;
  QRadioButton* rbDelEmpty = nullptr;
  QCheckBox* chkDelLine = nullptr;
  QPushButton* btnDelLine = nullptr;
};

// "内容按行提取". The three radios form one group.
struct ExtractLinesPage {
  QWidget* page = nullptr;
  QRadioButton* rbGeLineNo = nullptr;
  QLineEdit* edtGetLineNum = nullptr;
  QRadioButton* rbGetLine = nullptr;
  QLineEdit* edtGetLines = nullptr;
  QLineEdit* edtGetLineNo = nullptr;
  QRadioButton* rbGetKeys = nullptr;
  QLineEdit* edtGetKeys = nullptr;
  QCheckBox* chkGetNoneLine = nullptr;
  QCheckBox* chkGetLine = nullptr;
  QPushButton* btnGetLine = nullptr;
};

// "按关键字同步行".
struct LineSyncPage {
  QWidget* page = nullptr;
  QLineEdit* edtLineKeys = nullptr;
  QCheckBox* chkKeysSyn = nullptr;
  QPushButton* btnLineSyn = nullptr;
};

// "内容插入新行". The three radios form one group.
struct InsertLinesPage {
  QWidget* page = nullptr;
  QPlainTextEdit* mmoNewCont = nullptr;
  QLineEdit* edtNewLineFormat = nullptr;
  QRadioButton* rbNewLineNo = nullptr;
  QLineEdit* edtNewLineNo = nullptr;
  QRadioButton* rbIntLine = nullptr;
  QLineEdit* edtInsPers = nullptr;
  QLineEdit* edtInsNum = nullptr;
  QRadioButton* rbKeyLine = nullptr;
  QLineEdit* edtLineKey = nullptr;
  QCheckBox* chkInsLine = nullptr;
  QPushButton* btnInsLine = nullptr;
};

// "文件内容合并".
struct CombinePage {
  QWidget* page = nullptr;
  QPushButton* btnFileCombine = nullptr;
  QCheckBox* chkFileCombine = nullptr;
};

// "文件格式转换".
struct ConvertPage {
  QWidget* page = nullptr;
  QLineEdit* edtFileFormat = nullptr;
  QPushButton* btnConvert = nullptr;
};

// "文件编码转换".
struct EncodingPage {
  QWidget* page = nullptr;
  QLineEdit* edtCharset = nullptr;
  QCheckBox* chkCharset = nullptr;
  QPushButton* btnCharset = nullptr;
};

// Every page, one member per mode.
struct ModePages {
  ExtensionPage ext;
  RenamePage rename;
  DatesPage dates;
  AttributesPage attributes;
  StatisticsPage statistics;
  KeywordMergePage merge;
  CutPage cut;
  InsertCharsPage insertChars;
  PatternReplacePage patternReplace;
  DeleteLinesPage deleteLines;
  ExtractLinesPage extractLines;
  LineSyncPage lineSync;
  InsertLinesPage insertLines;
  CombinePage combine;
  ConvertPage convert;
  EncodingPage encoding;
};

// One builder per page: each fills the empty, already named `page` with its controls.
ExtensionPage BuildExtensionPage(QWidget* page);
RenamePage BuildRenamePage(QWidget* page);
DatesPage BuildDatesPage(QWidget* page);
AttributesPage BuildAttributesPage(QWidget* page);
StatisticsPage BuildStatisticsPage(QWidget* page);
KeywordMergePage BuildKeywordMergePage(QWidget* page);
CutPage BuildCutPage(QWidget* page);
InsertCharsPage BuildInsertCharsPage(QWidget* page);
PatternReplacePage BuildPatternReplacePage(QWidget* page);
DeleteLinesPage BuildDeleteLinesPage(QWidget* page);
ExtractLinesPage BuildExtractLinesPage(QWidget* page);
LineSyncPage BuildLineSyncPage(QWidget* page);
InsertLinesPage BuildInsertLinesPage(QWidget* page);
CombinePage BuildCombinePage(QWidget* page);
ConvertPage BuildConvertPage(QWidget* page);
EncodingPage BuildEncodingPage(QWidget* page);

// One reader per page whose run is built: the page's controls as the mode's settings
// (engine text as typed).
fileops::ChangeExtensionSettings ReadExtensionPage(const ExtensionPage& page);
fileops::RenameSettings ReadRenamePage(const RenamePage& page);
fileops::ChangeDatesSettings ReadDatesPage(const DatesPage& page);
fileops::ChangeAttributesSettings ReadAttributesPage(const AttributesPage& page);
content::CutSettings ReadCutPage(const CutPage& page);
content::InsertSettings ReadInsertCharsPage(const InsertCharsPage& page);
content::DeleteLinesSettings ReadDeleteLinesPage(const DeleteLinesPage& page);
content::PatternReplaceSettings ReadPatternReplacePage(const PatternReplacePage& page);
content::ExtractLinesSettings ReadExtractLinesPage(const ExtractLinesPage& page);
content::InsertLinesSettings ReadInsertLinesPage(const InsertLinesPage& page);
content::KeywordMergeSettings ReadKeywordMergePage(const KeywordMergePage& page);
content::LineSyncSettings ReadLineSyncPage(const LineSyncPage& page);
content::CombineSettings ReadCombinePage(const CombinePage& page);
convert::FormatSettings ReadConvertPage(const ConvertPage& page);
content::EncodingSettings ReadEncodingPage(const EncodingPage& page);

// The figures of a statistics run into the page's result fields.
void ShowStatistics(const StatisticsPage& page, const content::FileStatistics& figures);

}  // namespace app
