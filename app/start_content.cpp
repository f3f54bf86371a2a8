// The start handlers of the content modes.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/engine_qstring.h"
#include "app/start_handlers.h"
#include "content/cut_lines.h"
#include "content/delete_lines.h"
#include "content/insert_chars.h"

namespace app {
namespace {

// The line radios of the cut and insert pages; the text-lines radio is the rest.
content::WorkedLines WorkedLinesOf(const QRadioButton* all, const QRadioButton* lineNumber,
                                   const QRadioButton* keyword) {
  if (all->isChecked()) return content::WorkedLines::All;
  if (lineNumber->isChecked()) return content::WorkedLines::LineNumber;
  if (keyword->isChecked()) return content::WorkedLines::WithKeyword;
  return content::WorkedLines::WithText;
}

}  // namespace

fileset::RunEnd btnCutClick(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  const CutPage& p = pages.cut;
  content::CutSettings settings;
  settings.format = ToEngine(p.edtCutFormat->text());
  settings.keepCut = p.rbKeepCut->isChecked();
  settings.lines = WorkedLinesOf(p.rbCutAllLine, p.rbCutLineNo, p.rbCutKeysLine);
  settings.lineNumber = ToEngine(p.edtCutLineNo->text());
  settings.keyword = ToEngine(p.edtCutKeys->text());
  settings.backup = p.chkCutBak->isChecked();
  return content::RunCut(files, settings, host);
}

fileset::RunEnd btnInsClick(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  const InsertCharsPage& p = pages.insertChars;
  content::InsertSettings settings;
  settings.format = ToEngine(p.edtInsFormat->text());
  settings.lines = WorkedLinesOf(p.rbAllLine, p.rbInsLineNo, p.rbKeys);
  settings.lineNumber = ToEngine(p.edtInsLineNo->text());
  settings.keyword = ToEngine(p.edtInsKeys->text());
  settings.backup = p.chkInsBak->isChecked();
  return content::RunInsert(files, settings, host);
}

fileset::RunEnd btnDelLineClick(const ModePages& pages, fileset::FileList& files,
                                platform::Host& host) {
  const DeleteLinesPage& p = pages.deleteLines;
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
  return content::RunDeleteLines(files, settings, host);
}

}  // namespace app
