#pragma once
// The main window: the search box, the list commands, the file grid, the counters, the
// mode chooser and the pages of the sixteen batch modes. Handlers stay thin: they read
// their controls and call the core.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <random>
#include <vector>

#include "app/dialogs.h"
#include "app/file_drop.h"
#include "app/file_grid.h"
#include "app/file_list_model.h"
#include "app/link_label.h"
#include "app/mode_table.h"
#include "app/pages/mode_pages.h"
#include "app/window_host.h"
#include "fileset/file_list.h"
#include "fileset/list_commands.h"
#include "platform/collation.h"

namespace app {

inline const QString kWindowCaption = QStringLiteral("Tessaly文件批量处理");

class TForm1 : public QWidget {
 public:
  // Manual: Timer1 fires only when told to, and the random generator starts from a
  // fixed seed, so that a batch script runs the same way every time.
  enum class TimerMode { Running, Manual };
  // Used: the window starts from what the settings file kept (window_settings.h) and
  // keeps its state there when it closes. Ignored: it starts from the defaults and writes
  // nothing, so that a batch script runs the same way every time.
  enum class SettingsFile { Used, Ignored };

  explicit TForm1(Dialogs& dialogs, TimerMode timerMode = TimerMode::Running,
                  SettingsFile settingsFile = SettingsFile::Used);
  ~TForm1() override;

  // A press and release of `button` on a cell of the grid (row 0: the header), as a
  // person's click; and the current cell set without a click.
  void ClickGridCell(int row, int column, Qt::MouseButton button);
  void SetCurrentGridCell(int row, int column);
  const fileset::FileList& Files() const { return files_; }
  // The differences the shown page's run would make to the file of list row `row`, after
  // the checks the preview button makes (their boxes shown): none when they fail, when
  // the page edits no lines or when the run would not change that file.
  content::LineDiff PreviewDifferences(int row);
  // Presses the stop button once `files` files of the next run are done (for scripts,
  // which cannot press it while a run goes on).
  void StopAfter(std::int64_t files) { host_.StopAfter(files); }

  // Runs Timer1's event now. A tips download that the tick starts goes on in the
  // background; TipsDownloadPending() tells whether it is still under way.
  void FireTimer1();
  bool TipsDownloadPending() const;

  bool CheckRunPrecondition();
  void ShowModePage(int first, int second);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class Search;

  void BuildLayout();
  QWidget* BuildSearchBox();
  QWidget* BuildListCommands();
  QWidget* BuildLowerPanel();
  QWidget* BuildRunRow();
  void ConnectHandlers();
  void FormCreate();

  // Runs a handler's body: binds the host to its start button, shows an escaping error
  // in the application-wide box, and brings the grid up to date afterwards.
  void RunCommand(QAbstractButton* button, const std::function<void()>& body);

  // Handlers, named after their controls and events.
  void cmbOptChange();
  void sgFilesMouseUp(int row, int column);
  void cbSearchClick();
  void btnStopSearchClick();
  void btnOpenClick();
  void ckFileSizeClick();
  void ckFileDateClick();
  // Every start button: the precondition check, then the mode's start handler from the
  // mode table (form1_modes.cpp).
  void StartButtonClick(int mode);
  // Works out what the shown page's start button would do and shows it; the dialog may
  // press that button.
  void btnPreviewClick();
  // Puts the keyboard focus on the control named `objectName` (none when empty).
  void FocusControl(std::string_view objectName);
  // The edit of page `pageIndex` that takes the catalogue's picks; nullptr: none.
  QLineEdit* TemplateEdit(int pageIndex) const;

  // List commands (form1_list.cpp).
  void btnSelAllClick();
  void btnDeSelAllClick();
  void btnInverseClick();
  void btnAddClick();
  // Appends files as the add dialog does: its checks, rows and search counter.
  void AddFileRows(const std::vector<platform::NativePath>& paths);
  void btnDelClick();
  void btnExpClick();
  void btnExpDirClick();
  void cbDelClick();
  fileset::PickExportFile ExportFilePicker();

  // Files and folders dropped onto the grid or the folder box (form1_drop.cpp).
  void AcceptDrops();
  void PathsDropped(const DroppedPaths& dropped);

  // What the window keeps between two starts (window_settings.cpp).
  void SaveWindowSettings();
  void RestoreWindowSettings();

  // Undoing the last batch run kept in the journal (form1_undo.cpp).
  void btnUndoClick();
  // Enabled while the journal holds a run to undo.
  void UpdateUndoButton();

  // The variable catalogue (form1_catalogue.cpp).
  void FillCatalogue();
  void cmbVarChange();

  // Tips banner and help (form1_help.cpp).
  void Timer1Timer();
  void SpeedButton1Click();
  void Label11Click();
  void lblTipsClick();
  void TipsDownloaded(const QByteArray& body);
  void ShowRandomTip();

  Dialogs& dialogs_;
  SettingsFile settingsFile_;
  fileset::FileList files_;
  platform::Collator collator_;

  // Window state that is not a control.
  bool StopSearch = false;
  bool SortAscending = false;
  // Tips banner state (form1_help.cpp).
  bool TipsFetched = false;
  QString TipLink;
  QStringList TipsList;
  class TipsDownload;                     // the run's one download, a child of the window
  TipsDownload* tipsDownload_ = nullptr;  // made by the first tick
  unsigned searchGeneration_ = 0;

  // Upper region.
  QWidget* Panel1 = nullptr;
  QGroupBox* GroupBox7 = nullptr;
  QLineEdit* edFolder = nullptr;
  QToolButton* btnOpen = nullptr;
  QComboBox* cmbFileType = nullptr;
  QCheckBox* ckSub = nullptr;
  QPushButton* cbSearch = nullptr;
  QPushButton* btnPreview = nullptr;
  QProgressBar* pbRun = nullptr;
  QPushButton* btnRunStop = nullptr;
  QPushButton* btnStopSearch = nullptr;
  QCheckBox* ckFileSize = nullptr;
  QLineEdit* edMin = nullptr;
  QLineEdit* edMax = nullptr;
  QCheckBox* ckFileDate = nullptr;
  QComboBox* cbDateType = nullptr;
  QDateEdit* dtMin = nullptr;
  QDateEdit* dtMax = nullptr;
  QToolButton* btnSelAll = nullptr;
  QToolButton* btnDeSelAll = nullptr;
  QToolButton* btnInverse = nullptr;
  QToolButton* btnAdd = nullptr;
  QToolButton* btnDel = nullptr;
  QPushButton* btnExp = nullptr;
  QPushButton* btnExpDir = nullptr;
  QPushButton* cbDel = nullptr;
  QPushButton* btnUndo = nullptr;
  FileGrid* sgFiles = nullptr;
  FileListModel* model_ = nullptr;

  // Lower panel.
  QSplitter* Splitter1 = nullptr;
  QWidget* pnl1 = nullptr;
  QLabel* stSrcCount = nullptr;
  QLabel* stChangeCount = nullptr;
  QLabel* stDeleteCount = nullptr;
  QComboBox* cmbOpt = nullptr;
  QComboBox* cmbVar = nullptr;
  QLabel* Label10 = nullptr;
  LinkLabel* Label11 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QTabWidget* pgcOne = nullptr;
  LinkLabel* lblTips = nullptr;
  QTimer* Timer1 = nullptr;
  ModePages pages_;
  std::vector<ModePage> modePages_;  // indexed by mode

  WindowHost host_;
};

}  // namespace app
