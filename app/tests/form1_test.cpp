// The window's wiring: pages, grid clicks, the search box and a start button, driven
// through the real controls on the offscreen platform.

#include "app/form1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

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
  QStringList PickFilesToOpen(const QString&, const QStringList&) override { return {}; }
  std::optional<QString> PickFileToSave(const QString&, const QString&) override { return {}; }
  void OpenWithShell(const QString& target) override { boxes << "[open] " + target; }
  bool ShowPreview(const fileset::Preview& preview, const RowDifferences& differences) override {
    boxes << "[preview] " + QString::fromStdString(fileset::PreviewSummary(preview));
    if (differences && !preview.rows.empty())
      boxes << "[diff] " + QString::number(differences(preview.rows.front().row).hunks.size());
    return startFromPreview;
  }
  std::optional<QString> folder;
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

 private slots:
  void initTestCase() { qputenv("TZ", "Asia/Shanghai"); }

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
};

}  // namespace

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
