// The pages of the content modes (statistics, the line edits and the two-file modes):
// their widgets, and how they read into the modes' settings.

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/engine_qstring.h"
#include "app/pages/mode_pages.h"
#include "app/pages/page_widgets.h"

using namespace Qt::StringLiterals;

namespace app {

using namespace pages;

namespace {

// The caution shown on the cut, insert and pattern pages.
const QString kFormatNote = u"注意：批量处理前，请最好先测试几个文件，确保格式的准确无误。"_s;

// Shared hints of the line radios on the cut and insert pages.
const QString kTextLineHint = u"空行不进行插入操作"_s;
const QString kKeyLineHint = u"只有包含插入关键字的行才进行插入操作"_s;

const QString kLineListNote = u"可逗号或横杠设定多个行或行范围，如：3,5-8"_s;
const QString kKeywordListNote = u"可分号隔开多个关键字。"_s;

// The line radios of the cut and insert pages; the text-lines radio is the rest.
content::WorkedLines WorkedLinesOf(const QRadioButton* all, const QRadioButton* lineNumber,
                                   const QRadioButton* keyword) {
  if (all->isChecked()) return content::WorkedLines::All;
  if (lineNumber->isChecked()) return content::WorkedLines::LineNumber;
  if (keyword->isChecked()) return content::WorkedLines::WithKeyword;
  return content::WorkedLines::WithText;
}

QGridLayout* NewGrid() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(4);
  return grid;
}

// A radio with its list edit and the note on how to write the list; the edits of one
// page line up in column 1, and column 1 takes the spare width.
void AddListRow(QGridLayout* grid, int row, QRadioButton* radio, QLineEdit* edit,
                const QString& note) {
  grid->addWidget(radio, row, 0);
  grid->addWidget(edit, row, 1);
  grid->addWidget(NewLabel(edit->parentWidget(), note), row, 2);
  grid->setColumnStretch(1, 1);
}

}  // namespace

StatisticsPage BuildStatisticsPage(QWidget* page) {
  StatisticsPage p{page};
  p.edtFileSize = NewResultEdit(page, u"edtFileSize"_s, u"0"_s);
  p.edtAllLine = NewResultEdit(page, u"edtAllLine"_s, u"0"_s);
  p.edtEmptyLine = NewResultEdit(page, u"edtEmptyLine"_s, u"0"_s);
  p.edtDataLine = NewResultEdit(page, u"edtDataLine"_s, u"0"_s);
  p.edtCharMax = NewResultEdit(page, u"edtCharMax"_s, u"0"_s);
  p.edtCharMin = NewResultEdit(page, u"edtCharMin"_s, u"0"_s);
  p.edtCharAve = NewResultEdit(page, u"edtCharAve"_s, u"0"_s);
  p.edtFilename = NewResultEdit(page, u"edtFilename"_s, {});
  p.btnFileInfo = NewStartButton(page, u"btnFileInfo"_s, u"开始统计(&A)"_s);

  QGridLayout* figures = NewGrid();
  const std::pair<QString, QLineEdit*> cells[] = {
      {u"文件大小:"_s, p.edtFileSize},    {u"总行数:"_s, p.edtAllLine},
      {u"空行数:"_s, p.edtEmptyLine},     {u"数据行数:"_s, p.edtDataLine},
      {u"行最大字符数:"_s, p.edtCharMax}, {u"行最小字符数:"_s, p.edtCharMin},
      {u"行平均字符数:"_s, p.edtCharAve}};
  int i = 0;
  for (const auto& [caption, edit] : cells) {
    const int row = i / 2, col = (i % 2) * 2;
    figures->addWidget(NewLabel(page, caption), row, col);
    figures->addWidget(edit, row, col + 1);
    ++i;
  }
  figures->addWidget(NewLabel(page, u"统计文件名称:"_s), 4, 0);
  figures->addWidget(p.edtFilename, 4, 1, 1, 3);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(figures);
  column->addLayout(Footer(nullptr, p.btnFileInfo));
  column->addStretch(1);
  return p;
}

KeywordMergePage BuildKeywordMergePage(QWidget* page) {
  KeywordMergePage p{page};
  p.chkSynBak = NewBackupBox(page, u"chkSynBak"_s);
  p.btnSyn = NewStartButton(page, u"btnSyn"_s, u"开始合并(&S)"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addWidget(NewNote(page,
                            u"注意：把源文件中与目标文件中有相同关键字的内容,合并到目标文件中,\n"
                            u"内容格式: KeyName=Value,常用于INI文件处理."_s));
  column->addLayout(Footer(p.chkSynBak, p.btnSyn));
  column->addStretch(1);
  return p;
}

CutPage BuildCutPage(QWidget* page) {
  CutPage p{page};
  p.edtCutFormat = NewEdit(page, u"edtCutFormat"_s, {}, u"请输入行内容截取格式."_s);
  p.rbKeepCut = NewRadio(page, u"rbKeepCut"_s, u"保留截取到的内容"_s);
  p.rbKeepLeft = NewRadio(page, u"rbKeepLeft"_s, u"保留截取后的内容"_s);
  // The line choice sits in its own box; created here so that Tab walks the page in
  // reading order.
  auto* lines = new QGroupBox(u"行设置"_s, page);
  p.rbCutAllLine = NewRadio(lines, u"rbCutAllLine"_s, u"所有行截取"_s);
  p.rbCutTextLine = NewRadio(lines, u"rbCutTextLine"_s, u"有文字行截取"_s, kTextLineHint);
  p.rbCutLineNo = NewRadio(lines, u"rbCutLineNo"_s, u"指定行号截取"_s);
  p.edtCutLineNo = NewNumberEdit(lines, u"edtCutLineNo"_s, u"1"_s);
  p.rbCutKeysLine = NewRadio(lines, u"rbCutKeysLine"_s, u"关键字所在行截取"_s, kKeyLineHint);
  p.edtCutKeys = NewEdit(lines, u"edtCutKeys"_s);
  p.chkCutBak = NewBackupBox(page, u"chkCutBak"_s);
  p.btnCut = NewStartButton(page, u"btnCut"_s, u"开始截取(&C)"_s);

  GroupRadios(page, {p.rbKeepCut, p.rbKeepLeft}, p.rbKeepCut);
  GroupRadios(page, {p.rbCutAllLine, p.rbCutTextLine, p.rbCutLineNo, p.rbCutKeysLine},
              p.rbCutTextLine);

  QGridLayout* grid = NewGrid();
  grid->setContentsMargins(6, 2, 6, 4);
  grid->addWidget(p.rbCutAllLine, 0, 0);
  grid->addWidget(p.rbCutTextLine, 0, 1);
  grid->addLayout(Row(page, {p.rbCutLineNo, p.edtCutLineNo}), 1, 0);
  grid->addLayout(Row(page, {p.rbCutKeysLine, p.edtCutKeys}, false), 1, 1);
  grid->setColumnStretch(1, 1);
  lines->setLayout(grid);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(Row(page, {u"截取格式:"_s, p.edtCutFormat}, false));
  column->addLayout(Row(page, {p.rbKeepCut, p.rbKeepLeft}));
  column->addWidget(lines);
  column->addWidget(NewNote(page, kFormatNote));
  column->addLayout(Footer(p.chkCutBak, p.btnCut));
  column->addStretch(1);
  return p;
}

InsertCharsPage BuildInsertCharsPage(QWidget* page) {
  InsertCharsPage p{page};
  p.edtInsFormat = NewEdit(page, u"edtInsFormat"_s);
  p.rbAllLine = NewRadio(page, u"rbAllLine"_s, u"所有行插入"_s);
  p.rbDataLine = NewRadio(page, u"rbDataLine"_s, u"有文字行插入"_s, kTextLineHint);
  p.rbKeys = NewRadio(page, u"rbKeys"_s, u"关键字所在行插入"_s, kKeyLineHint);
  p.edtInsKeys = NewEdit(page, u"edtInsKeys"_s);
  p.rbInsLineNo = NewRadio(page, u"rbInsLineNo"_s, u"指定行号插入"_s);
  p.edtInsLineNo = NewNumberEdit(page, u"edtInsLineNo"_s, u"1"_s);
  p.chkInsBak = NewBackupBox(page, u"chkInsBak"_s);
  p.btnIns = NewStartButton(page, u"btnIns"_s, u"开始插入(&C)"_s);

  GroupRadios(page, {p.rbAllLine, p.rbDataLine, p.rbKeys, p.rbInsLineNo}, p.rbDataLine);

  QGridLayout* grid = NewGrid();
  grid->addWidget(p.rbAllLine, 0, 0);
  grid->addWidget(p.rbDataLine, 0, 1);
  grid->addLayout(Row(page, {p.rbInsLineNo, p.edtInsLineNo}), 1, 0);
  grid->addLayout(Row(page, {p.rbKeys, p.edtInsKeys}, false), 1, 1);
  grid->setColumnStretch(1, 1);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(Row(page, {u"插入格式:"_s, p.edtInsFormat}, false));
  column->addLayout(grid);
  column->addWidget(NewNote(page, kFormatNote));
  column->addLayout(Footer(p.chkInsBak, p.btnIns));
  column->addStretch(1);
  return p;
}

PatternReplacePage BuildPatternReplacePage(QWidget* page) {
  PatternReplacePage p{page};
  p.mmPattern = NewMemo(page, u"mmPattern"_s);
  p.mmPattern->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  p.edPrefix = NewNumberEdit(page, u"edPrefix"_s, u"$"_s);
  p.edArgNum = NewNumberEdit(page, u"edArgNum"_s, u"3"_s);
  p.chkModeBak = NewBackupBox(page, u"chkModeBak"_s);
  p.btnReplace = NewStartButton(page, u"btnReplace"_s, u"开始替换"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addWidget(NewLabel(page, u"模式格式："_s));
  column->addWidget(p.mmPattern, 1);
  QHBoxLayout* args = Row(page, {u"参数前缀："_s, p.edPrefix, u"样式：$1,$2,$3..."_s});
  args->insertSpacing(args->count() - 1, 24);
  args->insertWidget(args->count() - 1, NewLabel(page, u"参数个数："_s));
  args->insertWidget(args->count() - 1, p.edArgNum);
  column->addLayout(args);
  column->addWidget(NewNote(page, kFormatNote));
  column->addLayout(Footer(p.chkModeBak, p.btnReplace));
  return p;
}

DeleteLinesPage BuildDeleteLinesPage(QWidget* page) {
  DeleteLinesPage p{page};
  p.rbDelLineNo = NewRadio(page, u"rbDelLineNo"_s, u"指定行号删除"_s);
  p.edtDelLineNo = NewEdit(page, u"edtDelLineNo"_s, u"1"_s);
  p.rbDelLine = NewRadio(page, u"rbDelLine"_s, u"间隔行号删除"_s);
  p.edtLines = NewNumberEdit(page, u"edtLines"_s, u"2"_s);
  p.edtLineNum = NewNumberEdit(page, u"edtLineNum"_s, u"1"_s);
  p.rbDelKeys = NewRadio(page, u"rbDelKeys"_s, u"按关键字删除行"_s);
  p.edtDelKeys = NewEdit(page, u"edtDelKeys"_s);
  p.rbDelEmpty = NewRadio(page, u"rbDelEmpty"_s, u"删除空行"_s);
  p.chkDelLine = NewBackupBox(page, u"chkDelLine"_s);
  p.btnDelLine = NewStartButton(page, u"btnDelLine"_s, u"开始删除"_s);

  GroupRadios(page, {p.rbDelLineNo, p.rbDelLine, p.rbDelKeys, p.rbDelEmpty}, p.rbDelLineNo);

  QGridLayout* grid = NewGrid();
  AddListRow(grid, 0, p.rbDelLineNo, p.edtDelLineNo, kLineListNote);
  grid->addWidget(p.rbDelLine, 1, 0);
  grid->addLayout(Row(page, {u"每"_s, p.edtLines, u"行删除第"_s, p.edtLineNum, u"行记录"_s}), 1, 1,
                  1, 2);
  AddListRow(grid, 2, p.rbDelKeys, p.edtDelKeys, kKeywordListNote);
  grid->addWidget(p.rbDelEmpty, 3, 0);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(grid);
  column->addWidget(
      NewNote(page, u"注意：批量处理前，请最好先测试几个文件，确保设置的准确无误。"_s));
  column->addLayout(Footer(p.chkDelLine, p.btnDelLine));
  column->addStretch(1);
  return p;
}

ExtractLinesPage BuildExtractLinesPage(QWidget* page) {
  ExtractLinesPage p{page};
  p.rbGeLineNo = NewRadio(page, u"rbGeLineNo"_s, u"指定行号提取"_s);
  // The list hints stand beside the edits and also show on hover.
  p.edtGetLineNum = NewEdit(page, u"edtGetLineNum"_s, u"1"_s, kLineListNote);
  p.rbGetLine = NewRadio(page, u"rbGetLine"_s, u"间隔行号提取"_s);
  p.edtGetLines = NewNumberEdit(page, u"edtGetLines"_s, u"2"_s);
  p.edtGetLineNo = NewNumberEdit(page, u"edtGetLineNo"_s, u"1"_s);
  p.rbGetKeys = NewRadio(page, u"rbGetKeys"_s, u"按关键字提取行"_s);
  p.edtGetKeys = NewEdit(page, u"edtGetKeys"_s, {}, kKeywordListNote);
  p.chkGetNoneLine = NewCheck(page, u"chkGetNoneLine"_s, u"提取空行"_s, true);
  p.chkGetLine = NewBackupBox(page, u"chkGetLine"_s);
  p.btnGetLine = NewStartButton(page, u"btnGetLine"_s, u"开始提取"_s);

  GroupRadios(page, {p.rbGeLineNo, p.rbGetLine, p.rbGetKeys}, p.rbGeLineNo);

  QGridLayout* grid = NewGrid();
  AddListRow(grid, 0, p.rbGeLineNo, p.edtGetLineNum, kLineListNote);
  grid->addWidget(p.rbGetLine, 1, 0);
  grid->addLayout(Row(page, {u"每"_s, p.edtGetLines, u"行提取第"_s, p.edtGetLineNo, u"行记录"_s}),
                  1, 1, 1, 2);
  AddListRow(grid, 2, p.rbGetKeys, p.edtGetKeys, kKeywordListNote);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(grid);
  column->addWidget(p.chkGetNoneLine);
  column->addLayout(Footer(p.chkGetLine, p.btnGetLine));
  column->addStretch(1);
  return p;
}

LineSyncPage BuildLineSyncPage(QWidget* page) {
  LineSyncPage p{page};
  p.edtLineKeys = NewEdit(page, u"edtLineKeys"_s, {}, kKeywordListNote);
  p.chkKeysSyn = NewBackupBox(page, u"chkKeysSyn"_s);
  p.btnLineSyn = NewStartButton(page, u"btnLineSyn"_s, u"开始同步"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addWidget(
      NewNote(page,
              u"注意：根据关键字同步源文件行内容到目标文件中，替换目标文件同一行内容，\n"
              u"常用于翻译内容的提取。"_s));
  column->addLayout(Row(page, {u"关键字："_s, p.edtLineKeys}, false));
  column->addLayout(Footer(p.chkKeysSyn, p.btnLineSyn));
  column->addStretch(1);
  return p;
}

InsertLinesPage BuildInsertLinesPage(QWidget* page) {
  InsertLinesPage p{page};
  p.mmoNewCont = NewMemo(page, u"mmoNewCont"_s);
  p.edtNewLineFormat = NewEdit(page, u"edtNewLineFormat"_s);
  p.rbNewLineNo = NewRadio(page, u"rbNewLineNo"_s, u"指定行号插入"_s);
  p.edtNewLineNo = NewNumberEdit(page, u"edtNewLineNo"_s, u"0"_s);
  p.rbIntLine = NewRadio(page, u"rbIntLine"_s, u"间隔行插入"_s);
  p.edtInsPers = NewNumberEdit(page, u"edtInsPers"_s, u"2"_s);
  p.edtInsNum = NewNumberEdit(page, u"edtInsNum"_s, u"1"_s);
  p.rbKeyLine = NewRadio(page, u"rbKeyLine"_s, u"关键字行插入"_s);
  p.edtLineKey = NewEdit(page, u"edtLineKey"_s, {}, u"分号隔开多个关键字"_s);
  p.chkInsLine = NewBackupBox(page, u"chkInsLine"_s);
  p.btnInsLine = NewStartButton(page, u"btnInsLine"_s, u"开始插入"_s);

  GroupRadios(page, {p.rbNewLineNo, p.rbIntLine, p.rbKeyLine}, p.rbNewLineNo);

  QGridLayout* grid = NewGrid();
  grid->addLayout(Row(page, {p.rbNewLineNo, p.edtNewLineNo}), 0, 0);
  grid->addLayout(
      Row(page, {p.rbIntLine, u"每"_s, p.edtInsPers, u"行第"_s, p.edtInsNum, u"行插入"_s}), 0, 1);
  grid->addLayout(Row(page, {p.rbKeyLine, p.edtLineKey}, false), 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  QVBoxLayout* column = PageColumn(page);
  column->addWidget(NewLabel(page, u"需要插入的文字内容："_s));
  column->addWidget(p.mmoNewCont, 1);
  column->addLayout(Row(page, {u"插入的内容格式："_s, p.edtNewLineFormat}, false));
  column->addLayout(grid);
  column->addLayout(Footer(p.chkInsLine, p.btnInsLine));
  return p;
}

CombinePage BuildCombinePage(QWidget* page) {
  CombinePage p{page};
  p.btnFileCombine = NewStartButton(page, u"btnFileCombine"_s, u"开始合并(&S)"_s);
  p.chkFileCombine = NewBackupBox(page, u"chkFileCombine"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addWidget(NewNote(page,
                            u"注意：所有选择的文件内容按照显示顺序合并到最后一个选择的文件中，\n"
                            u"可先点击标题排序再合并，常用于文字内容合并."_s));
  column->addLayout(Footer(p.chkFileCombine, p.btnFileCombine));
  column->addStretch(1);
  return p;
}

content::CutSettings ReadCutPage(const CutPage& p) {
  content::CutSettings settings;
  settings.format = ToEngine(p.edtCutFormat->text());
  settings.keepCut = p.rbKeepCut->isChecked();
  settings.lines = WorkedLinesOf(p.rbCutAllLine, p.rbCutLineNo, p.rbCutKeysLine);
  settings.lineNumber = ToEngine(p.edtCutLineNo->text());
  settings.keyword = ToEngine(p.edtCutKeys->text());
  settings.backup = p.chkCutBak->isChecked();
  return settings;
}

content::InsertSettings ReadInsertCharsPage(const InsertCharsPage& p) {
  content::InsertSettings settings;
  settings.format = ToEngine(p.edtInsFormat->text());
  settings.lines = WorkedLinesOf(p.rbAllLine, p.rbInsLineNo, p.rbKeys);
  settings.lineNumber = ToEngine(p.edtInsLineNo->text());
  settings.keyword = ToEngine(p.edtInsKeys->text());
  settings.backup = p.chkInsBak->isChecked();
  return settings;
}

content::DeleteLinesSettings ReadDeleteLinesPage(const DeleteLinesPage& p) {
  using By = content::DeleteLinesSettings::By;
  content::DeleteLinesSettings settings;
  settings.by = p.rbDelLine->isChecked()    ? By::Interval
                : p.rbDelKeys->isChecked()  ? By::Keywords
                : p.rbDelEmpty->isChecked() ? By::Empty
                                            : By::LineNumbers;
  settings.lineNumbers = ToEngine(p.edtDelLineNo->text());
  settings.groupSize = ToEngine(p.edtLines->text());
  settings.position = ToEngine(p.edtLineNum->text());
  settings.keywords = ToEngine(p.edtDelKeys->text());
  settings.backup = p.chkDelLine->isChecked();
  return settings;
}

content::PatternReplaceSettings ReadPatternReplacePage(const PatternReplacePage& p) {
  content::PatternReplaceSettings settings;
  settings.pattern = ToEngine(MemoText(p.mmPattern->toPlainText()));
  settings.prefix = ToEngine(p.edPrefix->text());
  settings.argumentCount = ToEngine(p.edArgNum->text());
  settings.backup = p.chkModeBak->isChecked();
  return settings;
}

content::ExtractLinesSettings ReadExtractLinesPage(const ExtractLinesPage& p) {
  using By = content::ExtractLinesSettings::By;
  content::ExtractLinesSettings settings;
  settings.by = p.rbGetLine->isChecked()   ? By::Interval
                : p.rbGetKeys->isChecked() ? By::Keywords
                                           : By::LineNumbers;
  settings.lineNumbers = ToEngine(p.edtGetLineNum->text());
  settings.groupSize = ToEngine(p.edtGetLines->text());
  settings.position = ToEngine(p.edtGetLineNo->text());
  settings.keywords = ToEngine(p.edtGetKeys->text());
  settings.blankLines = p.chkGetNoneLine->isChecked();
  settings.backup = p.chkGetLine->isChecked();
  return settings;
}

content::InsertLinesSettings ReadInsertLinesPage(const InsertLinesPage& p) {
  using At = content::InsertLinesSettings::At;
  content::InsertLinesSettings settings;
  settings.at = p.rbIntLine->isChecked()   ? At::Interval
                : p.rbKeyLine->isChecked() ? At::Keywords
                                           : At::LineNumber;
  settings.text = ToEngine(MemoText(p.mmoNewCont->toPlainText()));
  settings.format = ToEngine(p.edtNewLineFormat->text());
  settings.lineNumber = ToEngine(p.edtNewLineNo->text());
  settings.groupSize = ToEngine(p.edtInsPers->text());
  settings.position = ToEngine(p.edtInsNum->text());
  settings.keywords = ToEngine(p.edtLineKey->text());
  settings.backup = p.chkInsLine->isChecked();
  return settings;
}

content::KeywordMergeSettings ReadKeywordMergePage(const KeywordMergePage& p) {
  return {p.chkSynBak->isChecked()};
}

content::LineSyncSettings ReadLineSyncPage(const LineSyncPage& p) {
  return {ToEngine(p.edtLineKeys->text()), p.chkKeysSyn->isChecked()};
}

content::CombineSettings ReadCombinePage(const CombinePage& p) {
  return {p.chkFileCombine->isChecked()};
}

void ShowStatistics(const StatisticsPage& p, const content::FileStatistics& figures) {
  p.edtFilename->setText(FromEngine(figures.fullPath));
  const std::pair<QLineEdit*, std::int64_t> fields[] = {
      {p.edtFileSize, figures.size},   {p.edtAllLine, figures.lines},
      {p.edtEmptyLine, figures.empty}, {p.edtDataLine, figures.data},
      {p.edtCharMax, figures.longest}, {p.edtCharMin, figures.shortest},
      {p.edtCharAve, figures.average}};
  for (const auto& [edit, value] : fields) edit->setText(QString::number(value));
}

}  // namespace app
