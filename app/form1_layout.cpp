// The main window's construction: layout, defaults and the wiring of the handlers.

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <chrono>

#include "app/addresses.h"
#include "app/engine_qstring.h"
#include "app/form1.h"

namespace app {
namespace {

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* Caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QToolButton* GlyphButton(const char* name, QStyle::StandardPixmap glyph, const QString& hint,
                         QWidget* parent) {
  auto* button = Named(new QToolButton(parent), name);
  button->setIcon(parent->style()->standardIcon(glyph));
  button->setToolTip(hint);
  button->setAutoRaise(true);
  return button;
}

QLabel* CounterLabel(const char* name, const char* colour, QWidget* parent) {
  auto* label = Named(new QLabel(QStringLiteral("0"), parent), name);
  label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
  return label;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, TimerMode timerMode, SettingsFile settingsFile)
    : dialogs_(dialogs), settingsFile_(settingsFile), host_(dialogs, [this] { model_->Sync(); }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kWindowCaption);
  BuildLayout();
  ConnectHandlers();
  AcceptDrops();
  FormCreate();
  if (settingsFile_ == SettingsFile::Used) RestoreWindowSettings();
  UpdateUndoButton();
  if (timerMode == TimerMode::Running)
    Timer1->start();
  else
    host_.SeedRandom(1);
}

// Hidden while the file list still lives: hiding a shown grid asks its model for the
// headers, and the base class's destructor would hide it after the list is gone.
TForm1::~TForm1() { hide(); }

void TForm1::BuildLayout() {
  resize(800, 600);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  Panel1 = Named(new QWidget(this), "Panel1");
  auto* upper = new QVBoxLayout(Panel1);
  upper->setContentsMargins(4, 4, 4, 0);
  upper->setSpacing(3);
  upper->addWidget(BuildSearchBox());
  upper->addWidget(BuildListCommands());
  sgFiles = Named(new FileGrid(Panel1), "sgFiles");
  model_ = new FileListModel(files_, sgFiles);
  sgFiles->setModel(model_);
  sgFiles->setItemDelegateForColumn(fileset::kNameColumn, new NameCellDelegate(sgFiles));
  sgFiles->setToolTip(QStringLiteral("点击列标题可以排序"));
  sgFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgFiles->setSelectionMode(QAbstractItemView::ContiguousSelection);
  sgFiles->setSelectionBehavior(QAbstractItemView::SelectItems);
  sgFiles->verticalHeader()->hide();
  sgFiles->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  sgFiles->verticalHeader()->setDefaultSectionSize(22);
  sgFiles->horizontalHeader()->setSectionsClickable(false);
  sgFiles->horizontalHeader()->setHighlightSections(false);
  sgFiles->setWordWrap(false);
  const int widths[] = {150, 199, 86, 121, 120, 57};
  for (int column = 0; column < fileset::kColumnCount; ++column)
    sgFiles->setColumnWidth(column, widths[column]);
  upper->addWidget(sgFiles, 1);

  Splitter1 = Named(new QSplitter(Qt::Vertical, this), "Splitter1");
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(Panel1);
  Splitter1->addWidget(BuildLowerPanel());
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({600 - 250 - 3, 250});

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->addWidget(Splitter1, 1);
  root->addWidget(BuildRunRow());

  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setInterval(15000);
}

QWidget* TForm1::BuildSearchBox() {
  GroupBox7 = Named(new QGroupBox(QStringLiteral("搜索文件"), Panel1), "GroupBox7");
  auto* grid = new QGridLayout(GroupBox7);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(4);

  edFolder = Named(new QLineEdit(GroupBox7), "edFolder");
  edFolder->setToolTip(QStringLiteral("可用分号(;)隔开多个目录"));
  btnOpen = GlyphButton("btnOpen", QStyle::SP_DirOpenIcon,
                        QStringLiteral("请选择需要搜索文件的目录"), GroupBox7);
  cmbFileType = Named(new QComboBox(GroupBox7), "cmbFileType");
  cmbFileType->setEditable(true);
  cmbFileType->setToolTip(QStringLiteral("可用分号(;)隔开多个文件类型"));
  cmbFileType->addItems(
      {"*.txt", "*.ini", "*.dat", "*.xls", "*.csv", "*.vcf", "*.htm", "*.asp", "*.jsp", "*.php"});
  cmbFileType->setCurrentIndex(0);
  cmbFileType->setMinimumWidth(110);
  ckSub = Named(new QCheckBox(QStringLiteral("搜索时包含子目录"), GroupBox7), "ckSub");
  ckSub->setChecked(true);
  cbSearch = Named(new QPushButton(QStringLiteral("搜索"), GroupBox7), "cbSearch");
  btnStopSearch = Named(new QPushButton(QStringLiteral("停止"), GroupBox7), "btnStopSearch");
  btnStopSearch->setEnabled(false);

  ckFileSize = Named(new QCheckBox(QStringLiteral("文件大小(字节)"), GroupBox7), "ckFileSize");
  edMin = Named(new QLineEdit(QStringLiteral("0"), GroupBox7), "edMin");
  edMax = Named(new QLineEdit(QStringLiteral("50000"), GroupBox7), "edMax");
  ckFileDate = Named(new QCheckBox(QStringLiteral("文件日期："), GroupBox7), "ckFileDate");
  // A fixed list: a typed text that names no date kind would leave the filter without a
  // time to test.
  cbDateType = Named(new QComboBox(GroupBox7), "cbDateType");
  cbDateType->addItems(
      {QStringLiteral("修改时间"), QStringLiteral("创建时间"), QStringLiteral("最后访问时间")});
  dtMin = Named(new QDateEdit(GroupBox7), "dtMin");
  dtMax = Named(new QDateEdit(GroupBox7), "dtMax");
  for (QDateEdit* picker : {dtMin, dtMax}) {
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    picker->setMinimumWidth(112);
  }
  for (QWidget* filter : std::initializer_list<QWidget*>{edMin, edMax, cbDateType, dtMin, dtMax})
    filter->setEnabled(false);
  edMin->setFixedWidth(70);
  edMax->setFixedWidth(70);

  auto* first = new QHBoxLayout;
  first->addWidget(Caption(QStringLiteral("文件目录："), GroupBox7));
  first->addWidget(edFolder, 1);
  first->addWidget(btnOpen);
  first->addSpacing(6);
  first->addWidget(Caption(QStringLiteral("文件类型："), GroupBox7));
  first->addWidget(cmbFileType);
  first->addWidget(ckSub);
  first->addWidget(cbSearch);
  first->addWidget(btnStopSearch);
  auto* second = new QHBoxLayout;
  second->addWidget(ckFileSize);
  second->addWidget(Caption(QStringLiteral("从"), GroupBox7));
  second->addWidget(edMin);
  second->addWidget(Caption(QStringLiteral("到"), GroupBox7));
  second->addWidget(edMax);
  second->addSpacing(12);
  second->addWidget(ckFileDate);
  second->addWidget(cbDateType);
  second->addWidget(Caption(QStringLiteral("从"), GroupBox7));
  second->addWidget(dtMin);
  second->addWidget(Caption(QStringLiteral("到"), GroupBox7));
  second->addWidget(dtMax);
  second->addStretch(1);
  grid->addLayout(first, 0, 0);
  grid->addLayout(second, 1, 0);
  return GroupBox7;
}

QWidget* TForm1::BuildListCommands() {
  auto* row = new QWidget(Panel1);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  btnSelAll =
      GlyphButton("btnSelAll", QStyle::SP_DialogApplyButton, QStringLiteral("选择所有文件"), row);
  btnDeSelAll = GlyphButton("btnDeSelAll", QStyle::SP_DialogCancelButton,
                            QStringLiteral("全部取消选择"), row);
  btnInverse = GlyphButton("btnInverse", QStyle::SP_BrowserReload, QStringLiteral("反向选择"), row);
  btnAdd = GlyphButton("btnAdd", QStyle::SP_FileIcon, QStringLiteral("添加文件,可以多选."), row);
  btnDel = GlyphButton("btnDel", QStyle::SP_TrashIcon,
                       QStringLiteral("删除所选文件,不删除物理文件."), row);
  btnExp = Named(new QPushButton(QStringLiteral("导出文件名"), row), "btnExp");
  btnExp->setToolTip(QStringLiteral("导出当前选择的文件名称,保存到文本文件中."));
  btnExpDir = Named(new QPushButton(QStringLiteral("导出目录名"), row), "btnExpDir");
  btnExpDir->setToolTip(QStringLiteral("导出当前选择的文件所在目录,保存到文本文件中."));
  cbDel = Named(new QPushButton(QStringLiteral("删除"), row), "cbDel");
  cbDel->setToolTip(QStringLiteral("删除当前选择的磁盘文件,删除后不能恢复."));
  btnUndo = Named(new QPushButton(QStringLiteral("撤销(&Z)"), row), "btnUndo");
  btnUndo->setToolTip(QStringLiteral("撤销上一次批处理，恢复它更改、创建或删除的文件"));
  for (QWidget* widget : std::initializer_list<QWidget*>{btnSelAll, btnDeSelAll, btnInverse, btnAdd,
                                                         btnDel, btnExp, btnExpDir, cbDel, btnUndo})
    layout->addWidget(widget);
  layout->addStretch(1);
  return row;
}

// The progress of a batch run across the window's foot, and its stop button.
QWidget* TForm1::BuildRunRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(4, 0, 4, 2);
  pbRun = Named(new QProgressBar(row), "pbRun");
  pbRun->setTextVisible(true);
  pbRun->setFormat(QString());
  pbRun->setValue(0);
  layout->addWidget(pbRun, 1);
  btnRunStop = Named(new QPushButton(QStringLiteral("停止处理"), row), "btnRunStop");
  btnRunStop->setToolTip(
      QStringLiteral("停止批处理：正在处理的文件不保存，已处理的文件保持处理后的状态"));
  btnRunStop->setEnabled(false);
  layout->addWidget(btnRunStop);
  host_.SetRunControls(pbRun, btnRunStop);
  return row;
}

QWidget* TForm1::BuildLowerPanel() {
  pnl1 = Named(new QWidget(this), "pnl1");
  auto* lower = new QHBoxLayout(pnl1);
  lower->setContentsMargins(4, 2, 4, 2);
  lower->setSpacing(4);

  auto* pnl2 = Named(new QWidget(pnl1), "pnl2");
  pnl2->setFixedWidth(208);
  auto* left = new QVBoxLayout(pnl2);
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(3);
  auto* counters = new QGridLayout;
  counters->setVerticalSpacing(2);
  stSrcCount = CounterLabel("stSrcCount", "blue", pnl2);
  stChangeCount = CounterLabel("stChangeCount", "red", pnl2);
  stDeleteCount = CounterLabel("stDeleteCount", "red", pnl2);
  counters->addWidget(Caption(QStringLiteral("搜索文件数量："), pnl2), 0, 0);
  counters->addWidget(stSrcCount, 0, 1);
  counters->addWidget(Caption(QStringLiteral("更改文件数量："), pnl2), 1, 0);
  counters->addWidget(stChangeCount, 1, 1);
  counters->addWidget(Caption(QStringLiteral("删除文件数量："), pnl2), 2, 0);
  counters->addWidget(stDeleteCount, 2, 1);
  counters->setColumnStretch(1, 1);
  left->addLayout(counters);
  host_.SetCounters({stSrcCount, stChangeCount, stDeleteCount});

  left->addWidget(Caption(QStringLiteral("请选择批处理方式："), pnl2));
  cmbOpt = Named(new QComboBox(pnl2), "cmbOpt");
  for (const ModeEntry& mode : ModeTable()) cmbOpt->addItem(QString::fromUtf8(mode.entry));
  cmbOpt->setMaxVisibleItems(10);
  left->addWidget(cmbOpt);
  left->addWidget(Caption(QStringLiteral("请选择变量或函数："), pnl2));
  cmbVar = Named(new QComboBox(pnl2), "cmbVar");
  cmbVar->setMaxVisibleItems(10);
  cmbVar->setToolTip(QStringLiteral("变量或函数的使用说明"));
  left->addWidget(cmbVar);
  btnPreview = Named(new QPushButton(QStringLiteral("预览(&V)"), pnl2), "btnPreview");
  btnPreview->setToolTip(QStringLiteral("先查看批处理将如何更改文件，不更改任何文件"));
  left->addWidget(btnPreview);
  Label10 = Named(new QLabel(QStringLiteral("版本：") + kVersion, pnl2), "Label10");
  left->addWidget(Label10);
  Label11 = Named(new LinkLabel(kMakerAddress, pnl2), "Label11");
  Label11->setStyleSheet(QStringLiteral("color: blue;"));
  Label11->setCursor(Qt::PointingHandCursor);
  left->addWidget(Label11);
  SpeedButton1 = GlyphButton("SpeedButton1", QStyle::SP_MessageBoxQuestion,
                             QStringLiteral("查看使用说明"), pnl2);
  left->addWidget(SpeedButton1);
  left->addStretch(1);
  lower->addWidget(pnl2);

  auto* Panel2 = Named(new QWidget(pnl1), "Panel2");
  auto* right = new QVBoxLayout(Panel2);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  pgcOne = Named(new QTabWidget(Panel2), "pgcOne");
  modePages_ = AddModePages(pgcOne, pages_);
  // A grid without a current cell stands on its first row, as a new grid does.
  pages_.statistics.currentRow = [this] {
    const QModelIndex current = sgFiles->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
  };
  right->addWidget(pgcOne, 1);
  auto* Panel3 = Named(new QWidget(Panel2), "Panel3");
  Panel3->setFixedHeight(20);
  auto* strip = new QHBoxLayout(Panel3);
  strip->setContentsMargins(4, 0, 4, 0);
  lblTips = Named(new LinkLabel(Panel3), "lblTips");
  QFont underlined = lblTips->font();
  underlined.setUnderline(true);
  lblTips->setFont(underlined);
  lblTips->setCursor(Qt::PointingHandCursor);
  // A long tip must not widen the window: the banner takes the width its strip has and
  // cuts the rest (the hint shows it whole). A tip is never read as markup.
  lblTips->setSizePolicy(QSizePolicy::Ignored, lblTips->sizePolicy().verticalPolicy());
  lblTips->setTextFormat(Qt::PlainText);
  strip->addWidget(lblTips, 1);
  right->addWidget(Panel3);
  lower->addWidget(Panel2, 1);
  pnl1->setMinimumHeight(120);
  return pnl1;
}

void TForm1::ConnectHandlers() {
  connect(cmbOpt, &QComboBox::activated, this, [this] { cmbOptChange(); });
  sgFiles->SetReleaseHandler([this](int row, int column) { sgFilesMouseUp(row, column); });
  connect(cbSearch, &QPushButton::clicked, this, [this] { cbSearchClick(); });
  connect(btnStopSearch, &QPushButton::clicked, this, [this] { btnStopSearchClick(); });
  connect(btnOpen, &QToolButton::clicked, this, [this] { btnOpenClick(); });
  connect(ckFileSize, &QCheckBox::clicked, this, [this] { ckFileSizeClick(); });
  connect(ckFileDate, &QCheckBox::clicked, this, [this] { ckFileDateClick(); });
  connect(btnSelAll, &QToolButton::clicked, this, [this] { btnSelAllClick(); });
  connect(btnDeSelAll, &QToolButton::clicked, this, [this] { btnDeSelAllClick(); });
  connect(btnInverse, &QToolButton::clicked, this, [this] { btnInverseClick(); });
  connect(btnAdd, &QToolButton::clicked, this, [this] { btnAddClick(); });
  connect(btnDel, &QToolButton::clicked, this, [this] { btnDelClick(); });
  connect(btnExp, &QPushButton::clicked, this, [this] { btnExpClick(); });
  connect(btnExpDir, &QPushButton::clicked, this, [this] { btnExpDirClick(); });
  connect(cbDel, &QPushButton::clicked, this, [this] { cbDelClick(); });
  connect(btnUndo, &QPushButton::clicked, this, [this] { btnUndoClick(); });
  connect(btnRunStop, &QPushButton::clicked, this, [this] { host_.RequestStop(); });
  connect(cmbVar, &QComboBox::activated, this, [this] { cmbVarChange(); });
  connect(btnPreview, &QPushButton::clicked, this, [this] { btnPreviewClick(); });
  for (std::size_t mode = 0; mode < modePages_.size(); ++mode)
    connect(modePages_[mode].start, &QPushButton::clicked, this,
            [this, mode] { StartButtonClick(static_cast<int>(mode)); });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  Label11->SetClickHandler([this] { Label11Click(); });
  lblTips->SetClickHandler([this] { lblTipsClick(); });
}

void TForm1::FormCreate() {
  const char* const headers[] = {"文件名称", "目录名称", "大小(字节)",
                                 "创建时间", "修改时间", "文件类型"};
  for (int column = 0; column < fileset::kColumnCount; ++column)
    files_.SetCell(0, column, ToEngine(QString::fromUtf8(headers[column])));
  model_->Sync();

  const QDate today = QDate::currentDate();
  dtMax->setDate(today);
  dtMin->setDate(today.addMonths(-1));  // a missing day becomes the month's last day
  pages_.dates.dtModify->setDate(today);
  pages_.dates.dtCreate->setDate(today);
  pages_.dates.dtAccess->setDate(today);
  pages_.dates.dtpTime->setTime(QTime::currentTime());

  edFolder->setText(QDir::toNativeSeparators(QDir::currentPath()));

  cmbOpt->setCurrentIndex(1);
  ShowModePage(1, -1);

  FillCatalogue();
  TipsList.clear();
  host_.SeedRandom(
      static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

}  // namespace app
