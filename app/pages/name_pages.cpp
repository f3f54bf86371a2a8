// The pages of the name, date and attribute modes: their widgets, and how they read into
// the modes' settings.

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <utility>

#include "app/engine_qstring.h"
#include "app/pages/mode_pages.h"
#include "app/pages/page_widgets.h"

using namespace Qt::StringLiterals;

namespace app {

using namespace pages;

namespace {

// Wide enough for "yyyy-MM-dd" with the popup arrow in the window's font.
constexpr int kPickerWidth = 110;

QDateEdit* NewDatePicker(QWidget* page, const QString& name) {
  auto* picker = new QDateEdit(page);
  picker->setObjectName(name);
  picker->setDisplayFormat(u"yyyy-MM-dd"_s);
  picker->setCalendarPopup(true);
  picker->setFixedWidth(kPickerWidth);
  return picker;
}

fileops::CalendarDate CalendarDateOf(const QDateEdit* picker) {
  const QDate date = picker->date();
  return {date.year(), date.month(), date.day()};
}

QTimeEdit* NewTimePicker(QWidget* page, const QString& name) {
  auto* picker = new QTimeEdit(page);
  picker->setObjectName(name);
  picker->setDisplayFormat(u"HH:mm:ss"_s);
  picker->setFixedWidth(kPickerWidth);
  return picker;
}

}  // namespace

ExtensionPage BuildExtensionPage(QWidget* page) {
  ExtensionPage p{page};
  p.edtNewExt = NewEdit(page, u"edtNewExt"_s, {}, u"请输入新扩展名格式."_s);
  p.btnExt = NewStartButton(page, u"btnExt"_s, u"开始处理"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(Row(page, {u"新扩展名:"_s, p.edtNewExt}, false));
  column->addLayout(Footer(nullptr, p.btnExt));
  column->addStretch(1);
  return p;
}

RenamePage BuildRenamePage(QWidget* page) {
  RenamePage p{page};
  p.edtNewFilename = NewEdit(page, u"edtNewFilename"_s, {}, u"请输入新文件名格式."_s);
  p.btnFilename = NewStartButton(page, u"btnFilename"_s, u"开始处理"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(Row(page, {u"新文件名:"_s, p.edtNewFilename}, false));
  column->addLayout(Footer(nullptr, p.btnFilename));
  column->addStretch(1);
  return p;
}

DatesPage BuildDatesPage(QWidget* page) {
  DatesPage p{page};
  p.ckModify = NewCheck(page, u"ckModify"_s, u"修改日期"_s, false);
  p.dtModify = NewDatePicker(page, u"dtModify"_s);
  p.ckCreate = NewCheck(page, u"ckCreate"_s, u"创建日期"_s, false);
  p.dtCreate = NewDatePicker(page, u"dtCreate"_s);
  p.ckAccess = NewCheck(page, u"ckAccess"_s, u"访问日期"_s, false);
  p.dtAccess = NewDatePicker(page, u"dtAccess"_s);
  p.chkTime = NewCheck(page, u"chkTime"_s, u"修改时间"_s, false);
  p.dtpTime = NewTimePicker(page, u"dtpTime"_s);
  p.chkDirDate = NewCheck(page, u"chkDirDate"_s, u"同时修改文件所在目录日期"_s, false);
  p.btnDate = NewStartButton(page, u"btnDate"_s, u"开始处理"_s);

  // ckModifyClick, ckCreateClick, ckAccessClick, chkTimeClick: a picker is usable only
  // while its box is ticked, so every box starts clear with its picker disabled.
  EnableWhileTicked(p.ckModify, p.dtModify);
  EnableWhileTicked(p.ckCreate, p.dtCreate);
  EnableWhileTicked(p.ckAccess, p.dtAccess);
  EnableWhileTicked(p.chkTime, p.dtpTime);

  auto* pickers = new QGridLayout;
  pickers->setHorizontalSpacing(8);
  pickers->setVerticalSpacing(4);
  const std::pair<QCheckBox*, QWidget*> rows[] = {{p.ckModify, p.dtModify},
                                                  {p.ckCreate, p.dtCreate},
                                                  {p.ckAccess, p.dtAccess},
                                                  {p.chkTime, p.dtpTime}};
  int r = 0;
  for (const auto& [box, picker] : rows) {
    pickers->addWidget(box, r, 0);
    pickers->addWidget(picker, r, 1);
    ++r;
  }
  pickers->setColumnStretch(2, 1);

  QVBoxLayout* column = PageColumn(page);
  column->addLayout(pickers);
  column->addWidget(p.chkDirDate);
  column->addLayout(Footer(nullptr, p.btnDate));
  column->addStretch(1);
  return p;
}

AttributesPage BuildAttributesPage(QWidget* page) {
  AttributesPage p{page};
  p.ckNormal = NewCheck(page, u"ckNormal"_s, u"存档"_s, true);
  p.ckSystem = NewCheck(page, u"ckSystem"_s, u"系统"_s, false);
  p.ckReadonly = NewCheck(page, u"ckReadonly"_s, u"只读"_s, false);
  p.ckHidden = NewCheck(page, u"ckHidden"_s, u"隐藏"_s, false);
  p.chkDirProp = NewCheck(page, u"chkDirProp"_s, u"同时修改文件所在目录属性"_s, false);
  p.btnProp = NewStartButton(page, u"btnProp"_s, u"开始处理"_s);

  QVBoxLayout* column = PageColumn(page);
  column->addWidget(NewLabel(page, u"新属性:"_s));
  QHBoxLayout* bits = Row(page, {p.ckNormal, p.ckSystem, p.ckReadonly, p.ckHidden});
  bits->setSpacing(16);
  column->addLayout(bits);
  column->addWidget(p.chkDirProp);
  column->addLayout(Footer(nullptr, p.btnProp));
  column->addStretch(1);
  return p;
}

fileops::ChangeExtensionSettings ReadExtensionPage(const ExtensionPage& page) {
  return {ToEngine(page.edtNewExt->text())};
}

fileops::RenameSettings ReadRenamePage(const RenamePage& page) {
  return {ToEngine(page.edtNewFilename->text()), ToEngine(QCoreApplication::applicationDirPath())};
}

fileops::ChangeDatesSettings ReadDatesPage(const DatesPage& page) {
  fileops::ChangeDatesSettings settings;
  settings.modify = page.ckModify->isChecked();
  settings.modifyDate = CalendarDateOf(page.dtModify);
  settings.create = page.ckCreate->isChecked();
  settings.createDate = CalendarDateOf(page.dtCreate);
  settings.access = page.ckAccess->isChecked();
  settings.accessDate = CalendarDateOf(page.dtAccess);
  settings.time = page.chkTime->isChecked();
  const QTime time = page.dtpTime->time();
  settings.timeOfDay = {time.hour(), time.minute(), time.second(), time.msec()};
  settings.folders = page.chkDirDate->isChecked();
  return settings;
}

fileops::ChangeAttributesSettings ReadAttributesPage(const AttributesPage& page) {
  fileops::ChangeAttributesSettings settings;
  settings.archive = page.ckNormal->isChecked();
  settings.system = page.ckSystem->isChecked();
  settings.readOnly = page.ckReadonly->isChecked();
  settings.hidden = page.ckHidden->isChecked();
  settings.folders = page.chkDirProp->isChecked();
  return settings;
}

}  // namespace app
