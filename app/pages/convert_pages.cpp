// The pages of the conversion modes (14 and 15).

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/engine_qstring.h"
#include "app/pages/mode_pages.h"
#include "app/pages/page_widgets.h"

using namespace Qt::StringLiterals;

namespace app {

using namespace pages;

ConvertPage BuildConvertPage(QWidget* page) {
  ConvertPage p{page};
  p.edtFileFormat = NewEdit(page, u"edtFileFormat"_s);
  p.btnConvert = NewStartButton(page, u"btnConvert"_s, u"开始转换"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(Row(page, {u"新文件格式："_s, p.edtFileFormat}, false));
  column->addWidget(NewNote(page,
                            u"注意：转换格式参数必须是扩展名，如${XlsTo(新的扩展名)}，\n"
                            u"新的扩展名可为：txt, csv, xls, xml, htm等。"_s));
  column->addLayout(Footer(nullptr, p.btnConvert));
  column->addStretch(1);
  return p;
}

EncodingPage BuildEncodingPage(QWidget* page) {
  EncodingPage p{page};
  p.edtCharset = NewEdit(page, u"edtCharset"_s);
  p.chkCharset = NewBackupBox(page, u"chkCharset"_s);
  p.btnCharset = NewStartButton(page, u"btnCharset"_s, u"开始转换"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(Row(page, {u"新编码格式："_s, p.edtCharset}, false));
  column->addWidget(NewNote(page, u"注意：选择对应的编码转换函数即可。"_s));
  column->addLayout(Footer(p.chkCharset, p.btnCharset));
  column->addStretch(1);
  return p;
}

convert::FormatSettings ReadConvertPage(const ConvertPage& p) {
  return {ToEngine(p.edtFileFormat->text())};
}

content::EncodingSettings ReadEncodingPage(const EncodingPage& p) {
  return {ToEngine(p.edtCharset->text()), p.chkCharset->isChecked()};
}

}  // namespace app
