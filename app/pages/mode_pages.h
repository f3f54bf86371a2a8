#pragma once
// The sixteen pages of the mode page control `pgcOne`, one per batch mode, as widgets only:
// every control carries its control name as objectName, and each page's struct holds a
// pointer to it under the same name. The window reads these controls into a mode's
// settings and connects the start buttons; the pages themselves hold no run logic.

#include <QtGlobal>
#include <array>

QT_BEGIN_NAMESPACE
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;
class QWidget;
QT_END_NAMESPACE

namespace app {

// Mode 0, "更改文件扩展名".
struct ExtensionPage {
  QWidget* page = nullptr;
  QLineEdit* edtNewExt = nullptr;
  QPushButton* btnExt = nullptr;
};

// Mode 1, "更改文件名称".
struct RenamePage {
  QWidget* page = nullptr;
  QLineEdit* edtNewFilename = nullptr;
  QPushButton* btnFilename = nullptr;
};

// Mode 2. Each picker is enabled exactly while its box is ticked; the window sets the
// pickers' values when it is created.
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

// Mode 3. ckNormal is the archive bit.
struct AttributesPage {
  QWidget* page = nullptr;
  QCheckBox* ckNormal = nullptr;
  QCheckBox* ckSystem = nullptr;
  QCheckBox* ckReadonly = nullptr;
  QCheckBox* ckHidden = nullptr;
  QCheckBox* chkDirProp = nullptr;
  QPushButton* btnProp = nullptr;
};

// Mode 4. The result edits are read-only and show "0" until the first run.
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
};

// Mode 5, key=value merge of two files.
struct KeywordMergePage {
  QWidget* page = nullptr;
  QCheckBox* chkSynBak = nullptr;
  QPushButton* btnSyn = nullptr;
};

// Mode 6. rbKeepCut/rbKeepLeft form one radio group, the four line radios another.
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

// Mode 7. The four line radios form one group.
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

// Mode 8.
struct PatternReplacePage {
  QWidget* page = nullptr;
  QPlainTextEdit* mmPattern = nullptr;
  QLineEdit* edPrefix = nullptr;
  QLineEdit* edArgNum = nullptr;
  QCheckBox* chkModeBak = nullptr;
  QPushButton* btnReplace = nullptr;
};

// Mode 9. The four radios form one group.
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

// Mode 10. The three radios form one group.
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

// Mode 11.
struct LineSyncPage {
  QWidget* page = nullptr;
  QLineEdit* edtLineKeys = nullptr;
  QCheckBox* chkKeysSyn = nullptr;
  QPushButton* btnLineSyn = nullptr;
};

// Mode 12. The three radios form one group.
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

// Mode 13.
struct CombinePage {
  QWidget* page = nullptr;
  QPushButton* btnFileCombine = nullptr;
  QCheckBox* chkFileCombine = nullptr;
};

// Mode 14.
struct ConvertPage {
  QWidget* page = nullptr;
  QLineEdit* edtFileFormat = nullptr;
  QPushButton* btnConvert = nullptr;
};

// Mode 15.
struct EncodingPage {
  QWidget* page = nullptr;
  QLineEdit* edtCharset = nullptr;
  QCheckBox* chkCharset = nullptr;
  QPushButton* btnCharset = nullptr;
};

struct ModePages {
  ExtensionPage ext;                  // 0
  RenamePage rename;                  // 1
  DatesPage dates;                    // 2
  AttributesPage attributes;          // 3
  StatisticsPage statistics;          // 4
  KeywordMergePage merge;             // 5
  CutPage cut;                        // 6
  InsertCharsPage insertChars;        // 7
  PatternReplacePage patternReplace;  // 8
  DeleteLinesPage deleteLines;        // 9
  ExtractLinesPage extractLines;      // 10
  LineSyncPage lineSync;              // 11
  InsertLinesPage insertLines;        // 12
  CombinePage combine;                // 13
  ConvertPage convert;                // 14
  EncodingPage encoding;              // 15

  // The start buttons, indexed by mode (= page index).
  std::array<QPushButton*, 16> StartButtons() const;
  // The edit that receives catalogue text on page `pageIndex`; nullptr on a page
  // without one (the catalogue then uses the clipboard).
  QLineEdit* TemplateEdit(int pageIndex) const;
};

// Adds the sixteen pages to `pgcOne` in mode order, with their objectNames and tab
// captions, and fills `pages`. The page control owns every widget.
void BuildModePages(QTabWidget* pgcOne, ModePages& pages);

// One builder per page: each fills the empty, already named `page` with its controls.
// BuildModePages calls them; a test may build a single page with them.
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

}  // namespace app
