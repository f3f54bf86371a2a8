#pragma once
// What the window keeps between two starts, in the settings file (settings_file.h): the
// search box's fields, the chosen mode, every field a person fills on the mode pages,
// and the window's size, position and splitter. TForm1 saves them when it closes and
// restores them when it is created (TForm1::SaveWindowSettings and
// RestoreWindowSettings, window_settings.cpp), unless a batch script drives it.

#include <QtGlobal>
#include <initializer_list>

QT_BEGIN_NAMESPACE
class QSettings;
class QWidget;
QT_END_NAMESPACE

namespace app {

// The fields under `roots` (the roots included), each kept under its control name
// (objectName) in the current group of `settings`: edits and memos that take typing,
// combo boxes (an editable one's text, another's index), check boxes, radio buttons,
// date and time pickers, spin boxes. Results the window shows (read-only edits) and Qt's
// inner widgets are no fields.
void SaveFields(QSettings& settings, std::initializer_list<QWidget*> roots);

// Sets each field under `roots` to the value kept under its name. Only values are set: no
// click handler runs. A value that its field cannot take (an index past a combo box's
// end, a date outside a picker's range, a box state that is neither true nor false) is
// passed over, as are kept names that no field has.
void RestoreFields(const QSettings& settings, std::initializer_list<QWidget*> roots);

}  // namespace app
