// The window's wiring: pages, grid clicks, the search box and a start button, driven
// through the real controls on the offscreen platform; what it keeps between two starts;
// files and folders dropped onto it.

#include "app/form1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QWindow>
#include <QtTest>
#include <cstdio>
#include <fstream>

#include "app/settings_file.h"

namespace {

class FakeDialogs : public app::Dialogs {
 public:
  QStringList boxes;
  void ShowError(const QString& text) override { boxes << "[error] " + text; }
  void ShowInfo(const QString& text) override { boxes << "[info] " + text; }
  bool Ask(const QString& text) override {
    boxes << "[question] " + text;
    return false;
  }
  void ShowException(const QString& text) override { boxes << "[exception] " + text; }
  void ShowErrorTitled(const QString&, const QString& text) override { boxes << "[error] " + text; }
  std::optional<QString> PickFolder(const QString&) override { return folder; }
  QStringList PickFilesToOpen(const QString&, const QStringList&) override { return filesToOpen; }
  std::optional<QString> PickFileToSave(const QString&, const QString&) override { return {}; }
  void OpenWithShell(const QString& target) override { boxes << "[open] " + target; }
  bool ShowPreview(const fileset::Preview& preview, const RowDifferences& differences) override {
    boxes << "[preview] " + QString::fromStdString(fileset::PreviewSummary(preview));
    if (differences && !preview.rows.empty())
      boxes << "[diff] " + QString::number(differences(preview.rows.front().row).hunks.size());
    return startFromPreview;
  }
  std::optional<QString> folder;
  QStringList filesToOpen;
  bool startFromPreview = false;
};

class Form1Test : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  T* Find(app::TForm1& form, const char* name) {
    T* widget = form.findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
  }

  QStringList VisibleTabs(app::TForm1& form) {
    auto* pages = Find<QTabWidget>(form, "pgcOne");
    QStringList tabs;
    for (int i = 0; i < pages->count(); ++i)
      if (pages->isTabVisible(i)) tabs << pages->tabText(i);
    return tabs;
  }

  // Fills the list by a search of a fresh folder holding the given files.
  void SearchFolder(app::TForm1& form, const QString& folder) {
    Find<QLineEdit>(form, "edFolder")->setText(folder);
    Find<QComboBox>(form, "cmbFileType")->setEditText(QStringLiteral("*.*"));
    Find<QAbstractButton>(form, "cbSearch")->click();
  }

  static void Touch(const QString& path, const char* bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
  }

  QString SettingsPath() const {
    return configHome_.filePath(QStringLiteral("tessaly/tessaly.conf"));
  }

  static QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // A file URL of path bytes that need not be UTF-8, as a file manager sends it.
  static QUrl FileUrl(const QByteArray& path) {
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"));
  }

  // Drags `urls` from another program onto the middle of `target` and lets go. The
  // events go to the window, which finds the control under the pointer that takes drops,
  // as the platform's drag and drop does. Returns the action the window took.
  Qt::DropAction Drop(app::TForm1& form, QWidget* target, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = target->mapTo(&form, target->rect().center());
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDropEvent drop(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.windowHandle(), &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
  }

  // Every cell of every row, header included.
  static QStringList Rows(const app::TForm1& form) {
    QStringList rows;
    const auto& files = form.Files();
    for (int row = 0; row < files.RowCount(); ++row) {
      QStringList cells;
      for (int column = 0; column < fileset::kColumnCount; ++column)
        cells << QString::fromStdString(files.Cell(row, column));
      rows << cells.join(QLatin1Char('\t'));
    }
    return rows;
  }

  // The window's settings file lives here for the whole run, so that no test reads or
  // writes the person's own; each test starts without one.
  QTemporaryDir configHome_;

 private slots:
  void initTestCase() {
    qputenv("TZ", "Asia/Shanghai");
    qputenv("XDG_CONFIG_HOME", configHome_.path().toUtf8());
    QCOMPARE(app::OpenSettingsFile()->fileName(), SettingsPath());
  }

  void cleanup() { QDir(configHome_.filePath(QStringLiteral("tessaly"))).removeRecursively(); }

  void StartsWithTheRenamePageAloneAndKeepsTypedTextAcrossModes() {
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("更改文件名称")});
    auto* modes = Find<QComboBox>(form, "cmbOpt");
    QCOMPARE(modes->count(), 16);
    QCOMPARE(modes->currentIndex(), 1);
    Find<QLineEdit>(form, "edtNewFilename")->setText(QStringLiteral("${filename}_x"));
    for (int mode : {0, 15, 1}) {
      modes->setCurrentIndex(mode);
      emit modes->activated(mode);
      QCOMPARE(VisibleTabs(form).size(), 1);
    }
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("更改文件名称")});
    QCOMPARE(Find<QLineEdit>(form, "edtNewFilename")->text(), QStringLiteral("${filename}_x"));
    QCOMPARE(Find<QTabWidget>(form, "pgcOne")->currentIndex(), 1);
  }

  void EveryStartButtonChecksTheListFirst() {
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    const char* const starts[] = {"btnExt",      "btnFilename",    "btnDate",    "btnProp",
                                  "btnFileInfo", "btnSyn",         "btnCut",     "btnIns",
                                  "btnReplace",  "btnDelLine",     "btnGetLine", "btnLineSyn",
                                  "btnInsLine",  "btnFileCombine", "btnConvert", "btnCharset"};
    auto* modes = Find<QComboBox>(form, "cmbOpt");
    for (int mode = 0; mode < 16; ++mode) {
      modes->setCurrentIndex(mode);
      emit modes->activated(mode);
      auto* start = Find<QAbstractButton>(form, starts[mode]);
      start->click();
      QVERIFY(start->isEnabled());
    }
    QCOMPARE(dialogs.boxes, QStringList(16, QStringLiteral("[error] 没有源文件，请搜索后再试！")));
  }

  void ClicksMarkNamesAndHeadersSort() {
    QTemporaryDir folder;
    Touch(folder.filePath("b.txt"), "bb");
    Touch(folder.filePath("a.txt"), "a");
    Touch(folder.filePath("c.txt"), "ccc");
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    SearchFolder(form, folder.path());
    QCOMPARE(Find<QLabel>(form, "stSrcCount")->text(), QStringLiteral("3"));
    const auto& files = form.Files();

    form.ClickGridCell(2, 0, Qt::LeftButton);  // marks b.txt
    QVERIFY(files.IsMarked(2));
    form.ClickGridCell(3, 2, Qt::LeftButton);  // a size cell: no mark, focus moves
    QVERIFY(!files.IsMarked(3));
    form.ClickGridCell(2, 0, Qt::LeftButton);
    QVERIFY(!files.IsMarked(2));

    // Focus on the name cell of row 1, then a header click: sorts and flips row 1.
    form.ClickGridCell(1, 0, Qt::LeftButton);  // SortAscending flips to... 3 clicks before
    QVERIFY(files.IsMarked(1));
    form.ClickGridCell(0, 2, Qt::LeftButton);  // 5th release: ascending by size
    QCOMPARE(QString::fromStdString(files.Cell(1, 0)), QStringLiteral("a.txt"));
    QCOMPARE(QString::fromStdString(files.Cell(3, 0)), QStringLiteral("c.txt"));
    QVERIFY(!files.IsMarked(1));
    form.ClickGridCell(0, 2, Qt::RightButton);  // descending now, and row 1 flips again
    QCOMPARE(QString::fromStdString(files.Cell(1, 0)), QStringLiteral("c.txt"));
    QVERIFY(files.IsMarked(1));
    // A right click on another data cell neither moves the focus nor marks that row.
    form.ClickGridCell(3, 0, Qt::RightButton);
    QVERIFY(!files.IsMarked(3));
    QVERIFY(!files.IsMarked(1));
  }

  void ChangesTheExtensionOfMarkedFilesEndToEnd() {
    QTemporaryDir folder;
    Touch(folder.filePath("a.txt"), "a");
    Touch(folder.filePath("b.txt"), "b");
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    SearchFolder(form, folder.path());
    Find<QAbstractButton>(form, "btnExt")->click();
    QCOMPARE(dialogs.boxes.last(), QStringLiteral("[error] 请先选择文件！"));
    form.ClickGridCell(2, 0, Qt::LeftButton);
    Find<QLineEdit>(form, "edtNewExt")->setText(QStringLiteral("LOG"));
    Find<QAbstractButton>(form, "btnExt")->click();
    QCOMPARE(dialogs.boxes.last(), QStringLiteral("[info] 成功处理文件总数量：1"));
    QVERIFY(QFile::exists(folder.filePath("b.log")));
    QVERIFY(QFile::exists(folder.filePath("a.txt")));
    QCOMPARE(QString::fromStdString(form.Files().Cell(2, 5)), QStringLiteral(".log"));
    QCOMPARE(Find<QLabel>(form, "stChangeCount")->text(), QStringLiteral("1"));
    QVERIFY(Find<QAbstractButton>(form, "btnExt")->isEnabled());
  }

  // The preview button shows what the page's start button would do, changes nothing,
  // and starts the run only when asked; a page that writes nothing has none.
  void PreviewShowsTheRunAndMayStartIt() {
    QTemporaryDir folder;
    Touch(folder.filePath("a.txt"), "a");
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    SearchFolder(form, folder.path());
    form.ClickGridCell(1, 0, Qt::LeftButton);
    auto* modes = Find<QComboBox>(form, "cmbOpt");
    modes->setCurrentIndex(0);  // the extension page, as a person picks it
    emit modes->activated(0);
    auto* preview = Find<QAbstractButton>(form, "btnPreview");
    preview->click();  // the extension page refuses an empty extension, as its button does
    QCOMPARE(dialogs.boxes.last(), QStringLiteral("[error] 请输入新扩展名格式！"));
    Find<QLineEdit>(form, "edtNewExt")->setText(QStringLiteral("log"));
    preview->click();
    QCOMPARE(dialogs.boxes.last(), QStringLiteral("[preview] 1 更改, 0 不变, 0 跳过"));
    QVERIFY(QFile::exists(folder.filePath("a.txt")));
    dialogs.startFromPreview = true;
    preview->click();
    QCOMPARE(dialogs.boxes.last(), QStringLiteral("[info] 成功处理文件总数量：1"));
    QVERIFY(QFile::exists(folder.filePath("a.log")));
    modes->setCurrentIndex(9);  // deleting lines: the dialog gets each file's differences
    emit modes->activated(9);
    dialogs.startFromPreview = false;
    preview->click();
    QCOMPARE(dialogs.boxes.last(), QStringLiteral("[diff] 1"));
    modes->setCurrentIndex(4);  // statistics
    emit modes->activated(4);
    QVERIFY(!preview->isEnabled());
  }

  void CataloguePickReplacesTheSelectionThatFocusLeft() {
    // A shown, active window: moving the focus to the list drops the edit's selection,
    // as it does for a person, and the pick must still replace what was selected.
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* edit = Find<QLineEdit>(form, "edtNewFilename");
    edit->setText(QStringLiteral("abc-ABC"));
    edit->setFocus();
    edit->setSelection(0, 3);
    auto* catalogue = Find<QComboBox>(form, "cmbVar");
    catalogue->setFocus();
    QVERIFY(catalogue->hasFocus());
    QVERIFY(!edit->hasSelectedText());
    catalogue->setCurrentIndex(1);
    emit catalogue->activated(1);
    QCOMPARE(edit->text(), QStringLiteral("${Filename}-${Filename}"));
    QVERIFY(edit->hasFocus());
  }

  void SearchFiltersFollowTheirBoxesAndTheFolderPicker() {
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    auto* edMin = Find<QLineEdit>(form, "edMin");
    QVERIFY(!edMin->isEnabled());
    Find<QAbstractButton>(form, "ckFileSize")->click();
    QVERIFY(edMin->isEnabled());
    QVERIFY(!Find<QWidget>(form, "dtMin")->isEnabled());
    Find<QAbstractButton>(form, "ckFileDate")->click();
    QVERIFY(Find<QWidget>(form, "dtMin")->isEnabled());
    QVERIFY(Find<QWidget>(form, "cbDateType")->isEnabled());

    dialogs.folder = QStringLiteral("/picked");
    Find<QAbstractButton>(form, "btnOpen")->click();
    QCOMPARE(Find<QLineEdit>(form, "edFolder")->text(), QStringLiteral("/picked"));

    edMin->setText(QStringLiteral("x"));
    Find<QAbstractButton>(form, "cbSearch")->click();
    QCOMPARE(dialogs.boxes.last(),
             QStringLiteral("[exception] 'x' is not a valid floating point value"));
    QVERIFY(Find<QAbstractButton>(form, "cbSearch")->isEnabled());
    QVERIFY(!Find<QAbstractButton>(form, "btnStopSearch")->isEnabled());
  }

  // Closing keeps the search box, the mode, the page fields and the window's shape; the
  // next window starts from them without running a search or any other handler's work.
  void KeepsTheWindowBetweenTwoStarts() {
    QTemporaryDir folder;
    Touch(folder.filePath("a.txt"), "a");
    const QDate from(2020, 2, 29);
    QList<int> splitterSizes;
    {
      FakeDialogs dialogs;
      app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
      form.show();
      QVERIFY(QTest::qWaitForWindowExposed(&form));
      form.resize(900, 640);
      Find<QLineEdit>(form, "edFolder")->setText(folder.path());
      Find<QComboBox>(form, "cmbFileType")->setEditText(QStringLiteral("*.log;*.txt"));
      Find<QAbstractButton>(form, "ckSub")->click();
      Find<QAbstractButton>(form, "ckFileSize")->click();
      Find<QLineEdit>(form, "edMax")->setText(QStringLiteral("900"));
      Find<QComboBox>(form, "cbDateType")->setCurrentIndex(2);
      Find<QDateEdit>(form, "dtMin")->setDate(from);
      auto* modes = Find<QComboBox>(form, "cmbOpt");
      modes->setCurrentIndex(6);  // cutting characters from lines
      emit modes->activated(6);
      Find<QLineEdit>(form, "edtCutFormat")->setText(QStringLiteral("[${Filename}]"));
      Find<QAbstractButton>(form, "rbKeepLeft")->click();
      Find<QAbstractButton>(form, "rbCutKeysLine")->click();
      Find<QAbstractButton>(form, "chkCutBak")->click();
      Find<QPlainTextEdit>(form, "mmPattern")->setPlainText(QStringLiteral("a=%1\nb=%2"));
      Find<QAbstractButton>(form, "ckCreate")->click();
      Find<QTimeEdit>(form, "dtpTime")->setTime(QTime(7, 8, 9));
      auto* splitter = Find<QSplitter>(form, "Splitter1");
      splitter->setSizes({300, 240});
      splitterSizes = splitter->sizes();
      QVERIFY(form.close());
    }
    QVERIFY(QFile::exists(SettingsPath()));

    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    QCOMPARE(Find<QLineEdit>(form, "edFolder")->text(), folder.path());
    QCOMPARE(Find<QComboBox>(form, "cmbFileType")->currentText(), QStringLiteral("*.log;*.txt"));
    QVERIFY(!Find<QAbstractButton>(form, "ckSub")->isChecked());
    QVERIFY(Find<QAbstractButton>(form, "ckFileSize")->isChecked());
    QVERIFY(Find<QWidget>(form, "edMax")->isEnabled());  // as the box's click leaves it
    QCOMPARE(Find<QLineEdit>(form, "edMax")->text(), QStringLiteral("900"));
    QVERIFY(!Find<QAbstractButton>(form, "ckFileDate")->isChecked());
    QVERIFY(!Find<QWidget>(form, "dtMin")->isEnabled());
    QCOMPARE(Find<QComboBox>(form, "cbDateType")->currentIndex(), 2);
    QCOMPARE(Find<QDateEdit>(form, "dtMin")->date(), from);
    QCOMPARE(Find<QComboBox>(form, "cmbOpt")->currentIndex(), 6);
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("文本行内容截取")});
    QCOMPARE(Find<QLineEdit>(form, "edtCutFormat")->text(), QStringLiteral("[${Filename}]"));
    QVERIFY(Find<QAbstractButton>(form, "rbKeepLeft")->isChecked());
    QVERIFY(!Find<QAbstractButton>(form, "rbKeepCut")->isChecked());
    QVERIFY(Find<QAbstractButton>(form, "rbCutKeysLine")->isChecked());
    QVERIFY(!Find<QAbstractButton>(form, "rbCutAllLine")->isChecked());
    QVERIFY(!Find<QAbstractButton>(form, "chkCutBak")->isChecked());
    QCOMPARE(Find<QPlainTextEdit>(form, "mmPattern")->toPlainText(), QStringLiteral("a=%1\nb=%2"));
    QVERIFY(Find<QAbstractButton>(form, "ckCreate")->isChecked());
    QVERIFY(Find<QWidget>(form, "dtCreate")->isEnabled());
    QCOMPARE(Find<QTimeEdit>(form, "dtpTime")->time(), QTime(7, 8, 9));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(900, 640));
    QCOMPARE(Find<QSplitter>(form, "Splitter1")->sizes(), splitterSizes);
    // Nothing ran: no search, no box.
    QCOMPARE(form.Files().FileRowCount(), 0);
    QCOMPARE(Find<QLabel>(form, "stSrcCount")->text(), QStringLiteral("0"));
    QVERIFY(dialogs.boxes.isEmpty());
  }

  // A kept value that its control cannot take, or that names no control, is passed over;
  // the values that fit are still taken.
  void PassesOverKeptValuesThatDoNotFit() {
    {
      QSettings settings(SettingsPath(), QSettings::IniFormat);
      settings.setValue("fields/edtNewExt", "bak");
      settings.setValue("fields/cmbOpt", 16);
      settings.setValue("fields/cbDateType", "x");
      settings.setValue("fields/dtMin", "2021-02-30");
      settings.setValue("fields/dtpTime", "25:00:00");
      settings.setValue("fields/ckSub", "maybe");
      settings.setValue("fields/rbKeepLeft", "false");
      settings.setValue("fields/edtFileSize", "123");  // a result, not a field
      settings.setValue("fields/btnExt", "true");
      settings.setValue("fields/gone", "1");
      settings.setValue("window/geometry", QByteArray("not a geometry"));
      settings.setValue("window/splitter", QByteArray("\x01\x02"));
    }
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    QCOMPARE(Find<QLineEdit>(form, "edtNewExt")->text(), QStringLiteral("bak"));
    QCOMPARE(Find<QComboBox>(form, "cmbOpt")->currentIndex(), 1);
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("更改文件名称")});
    QCOMPARE(Find<QComboBox>(form, "cbDateType")->currentIndex(), 0);
    QCOMPARE(Find<QDateEdit>(form, "dtMin")->date(), QDate::currentDate().addMonths(-1));
    QVERIFY(Find<QTimeEdit>(form, "dtpTime")->time().isValid());
    QVERIFY(Find<QAbstractButton>(form, "ckSub")->isChecked());
    QVERIFY(Find<QAbstractButton>(form, "rbKeepCut")->isChecked());
    QCOMPARE(Find<QLineEdit>(form, "edtFileSize")->text(), QStringLiteral("0"));
    QCOMPARE(form.size(), QSize(800, 600));
    QVERIFY(dialogs.boxes.isEmpty());
  }

  // A batch script's window starts from the defaults whatever is kept, and closing it
  // writes nothing, so that a script runs the same way every time.
  void AScriptWindowNeitherReadsNorWritesTheSettings() {
    const auto scriptWindow = [](FakeDialogs& dialogs) {
      return std::make_unique<app::TForm1>(dialogs, app::TForm1::TimerMode::Manual,
                                           app::TForm1::SettingsFile::Ignored);
    };
    {
      FakeDialogs dialogs;
      auto form = scriptWindow(dialogs);
      Find<QLineEdit>(*form, "edFolder")->setText(QStringLiteral("/from/a/script"));
      QVERIFY(form->close());
    }
    QVERIFY(!QFile::exists(SettingsPath()));
    {
      FakeDialogs dialogs;
      app::TForm1 person(dialogs, app::TForm1::TimerMode::Manual);
      Find<QLineEdit>(person, "edFolder")->setText(QStringLiteral("/kept"));
      Find<QLineEdit>(person, "edtNewFilename")->setText(QStringLiteral("kept_${Filename}"));
      auto* modes = Find<QComboBox>(person, "cmbOpt");
      modes->setCurrentIndex(0);
      emit modes->activated(0);
      QVERIFY(person.close());
    }
    const QByteArray kept = FileBytes(SettingsPath());
    QVERIFY(kept.contains("kept_"));
    FakeDialogs dialogs;
    auto form = scriptWindow(dialogs);
    QCOMPARE(Find<QLineEdit>(*form, "edFolder")->text(),
             QDir::toNativeSeparators(QDir::currentPath()));
    QCOMPARE(Find<QLineEdit>(*form, "edtNewFilename")->text(), QString());
    QCOMPARE(Find<QComboBox>(*form, "cmbOpt")->currentIndex(), 1);
    Find<QLineEdit>(*form, "edFolder")->setText(QStringLiteral("/from/a/script"));
    QVERIFY(form->close());
    QCOMPARE(FileBytes(SettingsPath()), kept);
  }

  // Files dropped from a file manager become the rows the add dialog makes of them, a
  // name that is not UTF-8 with its own bytes; paths that lead nowhere are passed over.
  void DroppedFilesAreAddedAsTheAddDialogAddsThem() {
    QTemporaryDir folder;
    const QByteArray base = QFile::encodeName(folder.path());
    const QByteArray gbkName = "\xC4\xE3\xBA\xC3.txt";  // "你好.txt" in GBK
    const std::string gbkPath = (base + '/' + gbkName).toStdString();
    std::ofstream(gbkPath, std::ios::binary) << "gbk";
    // The temporary folder removes its files by their decoded names, which miss this one.
    const auto removeGbk = qScopeGuard([&] { std::remove(gbkPath.c_str()); });
    Touch(folder.filePath("b.txt"), "bb");
    Touch(folder.filePath("c d.ini"), "ccc");
    const QList<QUrl> dropped = {FileUrl(base + "/b.txt"), FileUrl(base + '/' + gbkName),
                                 QUrl(QStringLiteral("https://example.com/x.txt")),
                                 FileUrl(base + "/missing.txt"), FileUrl(base + "/c d.ini")};

    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* grid = Find<QAbstractItemView>(form, "sgFiles");
    // Taken as a copy, never as a move that would have the file manager remove the files.
    QCOMPARE(Drop(form, grid->viewport(), dropped), Qt::CopyAction);
    const auto& files = form.Files();
    QCOMPARE(files.RowCount(), 4);
    QCOMPARE(Find<QLabel>(form, "stSrcCount")->text(), QStringLiteral("3"));
    QCOMPARE(files.Cell(2, fileset::kNameColumn), std::string(gbkName));  // engine text: GBK
    QCOMPARE(files.NativeFullPath(2).bytes(), gbkPath);
    QCOMPARE(files.Cell(3, fileset::kNameColumn), std::string("c d.ini"));

    // The add dialog, given the same files, adds the same rows.
    const QStringList droppedRows = Rows(form);
    dialogs.filesToOpen = {folder.filePath("b.txt"), QFile::decodeName(base + '/' + gbkName),
                           folder.filePath("missing.txt"), folder.filePath("c d.ini")};
    Find<QAbstractButton>(form, "btnAdd")->click();
    QCOMPARE(Rows(form), droppedRows + droppedRows.mid(1));
    QCOMPARE(Find<QLabel>(form, "stSrcCount")->text(), QStringLiteral("6"));
    QVERIFY(dialogs.boxes.isEmpty());

    // A drag that names no local path is not taken.
    QCOMPARE(Drop(form, grid->viewport(), {QUrl(QStringLiteral("https://example.com/"))}),
             Qt::IgnoreAction);
  }

  // A folder dropped onto the grid or onto the folder box goes into the folder box and is
  // searched with the filters as they stand; files dropped with it join the found rows.
  void DroppedFoldersAreSearched() {
    QTemporaryDir first;
    Touch(first.filePath("a.txt"), "a");
    Touch(first.filePath("skip.log"), "s");
    QVERIFY(QDir(first.path()).mkdir(QStringLiteral("sub")));
    Touch(first.filePath("sub/b.txt"), "b");
    QTemporaryDir second;
    Touch(second.filePath("c.txt"), "c");
    Touch(second.filePath("d.log"), "d");
    FakeDialogs dialogs;
    app::TForm1 form(dialogs, app::TForm1::TimerMode::Manual);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Find<QAbstractButton>(form, "ckSub")->click();  // no subfolders
    auto* folderBox = Find<QLineEdit>(form, "edFolder");
    const auto names = [&form] {
      QStringList names;
      for (int row = 1; row < form.Files().RowCount(); ++row)
        names << QString::fromStdString(form.Files().Cell(row, fileset::kNameColumn));
      return names;
    };

    auto* grid = Find<QAbstractItemView>(form, "sgFiles");
    QCOMPARE(Drop(form, grid->viewport(), {QUrl::fromLocalFile(first.path() + '/')}),
             Qt::CopyAction);
    QCOMPARE(folderBox->text(), first.path());
    QCOMPARE(names(), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(Find<QLabel>(form, "stSrcCount")->text(), QStringLiteral("1"));

    QCOMPARE(
        Drop(form, folderBox,
             {QUrl::fromLocalFile(second.path()), QUrl::fromLocalFile(first.filePath("skip.log"))}),
        Qt::CopyAction);
    QCOMPARE(folderBox->text(), second.path());
    QCOMPARE(names(), (QStringList{QStringLiteral("c.txt"), QStringLiteral("skip.log")}));
    QCOMPARE(Find<QLabel>(form, "stSrcCount")->text(), QStringLiteral("2"));

    // Two folders at once: the folder box takes both, as a person would type them.
    QCOMPARE(Drop(form, folderBox,
                  {QUrl::fromLocalFile(first.path()), QUrl::fromLocalFile(second.path())}),
             Qt::CopyAction);
    QCOMPARE(folderBox->text(), first.path() + ';' + second.path());
    QCOMPARE(names(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
    QVERIFY(dialogs.boxes.isEmpty());
  }
};

}  // namespace

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
