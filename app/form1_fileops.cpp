// The start buttons of the rename, dates and attributes modes: each reads its page into
// the mode's settings and runs it.

#include <QCoreApplication>

#include "app/engine_qstring.h"
#include "app/form1.h"
#include "fileops/change_attributes.h"
#include "fileops/change_dates.h"
#include "fileops/rename_files.h"

namespace app {
namespace {

fileops::CalendarDate CalendarDateOf(const QDateEdit* picker) {
  const QDate date = picker->date();
  return {date.year(), date.month(), date.day()};
}

}  // namespace

void TForm1::btnFilenameClick() {
  RunCommand(pages_.rename.btnFilename, [this] {
    if (!CheckRunPrecondition()) return;
    const fileops::RenameSettings settings{ToEngine(pages_.rename.edtNewFilename->text()),
                                           ToEngine(QCoreApplication::applicationDirPath())};
    fileops::RunRename(files_, settings, host_);
  });
}

void TForm1::btnDateClick() {
  RunCommand(pages_.dates.btnDate, [this] {
    if (!CheckRunPrecondition()) return;
    const DatesPage& page = pages_.dates;
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
    fileops::RunChangeDates(files_, settings, host_);
  });
}

void TForm1::btnPropClick() {
  RunCommand(pages_.attributes.btnProp, [this] {
    if (!CheckRunPrecondition()) return;
    const AttributesPage& page = pages_.attributes;
    fileops::ChangeAttributesSettings settings;
    settings.archive = page.ckNormal->isChecked();
    settings.system = page.ckSystem->isChecked();
    settings.readOnly = page.ckReadonly->isChecked();
    settings.hidden = page.ckHidden->isChecked();
    settings.folders = page.chkDirProp->isChecked();
    fileops::RunChangeAttributes(files_, settings, host_);
  });
}

}  // namespace app
