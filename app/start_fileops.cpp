// The start handlers of the extension, rename, dates and attributes modes.

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>

#include "app/engine_qstring.h"
#include "app/start_handlers.h"
#include "fileops/change_attributes.h"
#include "fileops/change_dates.h"
#include "fileops/change_extension.h"
#include "fileops/rename_files.h"

namespace app {
namespace {

fileops::CalendarDate CalendarDateOf(const QDateEdit* picker) {
  const QDate date = picker->date();
  return {date.year(), date.month(), date.day()};
}

}  // namespace

fileset::RunEnd btnExtClick(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  return fileops::RunChangeExtension(files, {ToEngine(pages.ext.edtNewExt->text())}, host);
}

fileset::RunEnd btnFilenameClick(const ModePages& pages, fileset::FileList& files,
                                 platform::Host& host) {
  const fileops::RenameSettings settings{ToEngine(pages.rename.edtNewFilename->text()),
                                         ToEngine(QCoreApplication::applicationDirPath())};
  return fileops::RunRename(files, settings, host);
}

fileset::RunEnd btnDateClick(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  const DatesPage& page = pages.dates;
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
  return fileops::RunChangeDates(files, settings, host);
}

fileset::RunEnd btnPropClick(const ModePages& pages, fileset::FileList& files, platform::Host& host) {
  const AttributesPage& page = pages.attributes;
  fileops::ChangeAttributesSettings settings;
  settings.archive = page.ckNormal->isChecked();
  settings.system = page.ckSystem->isChecked();
  settings.readOnly = page.ckReadonly->isChecked();
  settings.hidden = page.ckHidden->isChecked();
  settings.folders = page.chkDirProp->isChecked();
  return fileops::RunChangeAttributes(files, settings, host);
}

}  // namespace app
