// The start buttons of the content modes: each reads its page and calls the core run.

#include <QRadioButton>

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "content/cut_lines.h"
#include "content/delete_lines.h"
#include "content/insert_chars.h"

namespace app {

void TForm1::FocusControl(std::string_view objectName) {
  if (objectName.empty()) return;
  const QString name =
      QString::fromUtf8(objectName.data(), static_cast<qsizetype>(objectName.size()));
  if (auto* control = findChild<QWidget*>(name)) control->setFocus(Qt::OtherFocusReason);
}

void TForm1::btnCutClick() {
  const CutPage& p = pages_.cut;
  RunCommand(p.btnCut, [this, &p] {
    if (!CheckRunPrecondition()) return;
    content::CutSettings settings;
    settings.format = ToEngine(p.edtCutFormat->text());
    settings.keepCut = p.rbKeepCut->isChecked();
    settings.lines = p.rbCutAllLine->isChecked()    ? content::WorkedLines::All
                     : p.rbCutLineNo->isChecked()   ? content::WorkedLines::LineNumber
                     : p.rbCutKeysLine->isChecked() ? content::WorkedLines::WithKeyword
                                                    : content::WorkedLines::WithText;
    settings.lineNumber = ToEngine(p.edtCutLineNo->text());
    settings.keyword = ToEngine(p.edtCutKeys->text());
    settings.backup = p.chkCutBak->isChecked();
    FocusControl(content::RunCut(files_, settings, host_).focus);
  });
}

void TForm1::btnInsClick() {
  const InsertCharsPage& p = pages_.insertChars;
  RunCommand(p.btnIns, [this, &p] {
    if (!CheckRunPrecondition()) return;
    content::InsertSettings settings;
    settings.format = ToEngine(p.edtInsFormat->text());
    settings.lines = p.rbAllLine->isChecked()     ? content::WorkedLines::All
                     : p.rbInsLineNo->isChecked() ? content::WorkedLines::LineNumber
                     : p.rbKeys->isChecked()      ? content::WorkedLines::WithKeyword
                                                  : content::WorkedLines::WithText;
    settings.lineNumber = ToEngine(p.edtInsLineNo->text());
    settings.keyword = ToEngine(p.edtInsKeys->text());
    settings.backup = p.chkInsBak->isChecked();
    FocusControl(content::RunInsert(files_, settings, host_).focus);
  });
}

void TForm1::btnDelLineClick() {
  const DeleteLinesPage& p = pages_.deleteLines;
  RunCommand(p.btnDelLine, [this, &p] {
    if (!CheckRunPrecondition()) return;
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
    FocusControl(content::RunDeleteLines(files_, settings, host_).focus);
  });
}

}  // namespace app
