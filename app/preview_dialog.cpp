#include "app/preview_dialog.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "app/diff_view.h"
#include "app/engine_qstring.h"
#include "app/settings_file.h"

namespace app {

PreviewTexts TextsOf(const fileset::PreviewRow& row) {
  const std::string_view status = fileset::StatusWord(row.status);
  return {QString::fromUtf8(status.data(), static_cast<qsizetype>(status.size())),
          FromEngine(row.before), FromEngine(row.after), QString::fromStdString(row.reason)};
}

namespace {

// The rows as a table: a model, so that a hundred thousand rows cost only what is seen.
class PreviewModel final : public QAbstractTableModel {
 public:
  explicit PreviewModel(const fileset::Preview& preview) : preview_(preview) {}
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(preview_.rows.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }
  QVariant data(const QModelIndex& index, int role) const override {
    const fileset::PreviewRow& row = preview_.rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
      const PreviewTexts texts = TextsOf(row);
      const QString cells[] = {texts.status, texts.before, texts.after, texts.reason};
      return cells[index.column()];
    }
    if (role == Qt::ForegroundRole) {
      if (row.status == fileset::PreviewStatus::Skip || row.status == fileset::PreviewStatus::Stop)
        return QColor(Qt::red);
      if (row.status == fileset::PreviewStatus::Same) return QColor(Qt::gray);
    }
    if (role == Qt::UserRole)
      return row.status == fileset::PreviewStatus::Change ||
             row.status == fileset::PreviewStatus::Same;
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const QString titles[] = {QStringLiteral("状态"), QStringLiteral("文件"),
                              QStringLiteral("处理后"), QStringLiteral("原因")};
    return titles[section];
  }

 private:
  const fileset::Preview& preview_;
};

// Hides the rows the run changes or leaves when only the skipped ones are wanted.
class SkippedOnly final : public QSortFilterProxyModel {
 public:
  void SetOnly(bool only) {
    only_ = only;
    invalidateRowsFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    return !only_ || !sourceModel()->index(row, 0, parent).data(Qt::UserRole).toBool();
  }

 private:
  bool only_ = false;
};

// Shows the differences of the file of the preview row at `index` of the filtered table.
void ShowDifferences(DiffView& view, const fileset::Preview& preview,
                     const QSortFilterProxyModel& filter, const QModelIndex& index,
                     const Dialogs::RowDifferences& differences) {
  const QModelIndex source = filter.mapToSource(index);
  if (!source.isValid()) {
    view.ShowNote({});
    return;
  }
  const fileset::PreviewRow& row = preview.rows[static_cast<std::size_t>(source.row())];
  if (row.status == fileset::PreviewStatus::Skip || row.status == fileset::PreviewStatus::Stop) {
    view.ShowNote(QStringLiteral("运行不会更改这个文件"));
    return;
  }
  // A large file takes as long as its preview did.
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    view.Show(differences(row.row));
  } catch (const std::exception& error) {
    view.ShowNote(QString::fromUtf8(error.what()));
  }
  QGuiApplication::restoreOverrideCursor();
}

}  // namespace

bool ShowPreviewDialog(QWidget* parent, const fileset::Preview& preview,
                       const Dialogs::RowDifferences& differences) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("PreviewDialog"));
  dialog.setWindowTitle(QStringLiteral("预览"));
  auto* column = new QVBoxLayout(&dialog);
  column->addWidget(new QLabel(QString::fromStdString(fileset::PreviewSummary(preview)), &dialog));
  auto* skippedOnly = new QCheckBox(QStringLiteral("只显示跳过的文件"), &dialog);
  column->addWidget(skippedOnly);
  PreviewModel model(preview);
  SkippedOnly filter;
  filter.setSourceModel(&model);
  auto* table = new QTableView(&dialog);
  table->setModel(&filter);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->horizontalHeader()->setStretchLastSection(true);
  table->setColumnWidth(1, 320);
  table->setColumnWidth(2, 320);
  auto* split = new QSplitter(Qt::Vertical, &dialog);
  split->addWidget(table);
  column->addWidget(split, 1);
  if (differences) {
    auto* view = new DiffView(split);
    split->addWidget(view);
    QObject::connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [=, &preview, &filter](const QModelIndex& current) {
                       ShowDifferences(*view, preview, filter, current, differences);
                     });
  }
  QObject::connect(skippedOnly, &QCheckBox::toggled, &filter, &SkippedOnly::SetOnly);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* start = buttons->addButton(QStringLiteral("开始处理"), QDialogButtonBox::AcceptRole);
  QPushButton* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  // Enter closes: starting a batch takes a deliberate press.
  start->setAutoDefault(false);
  close->setDefault(true);
  start->setEnabled(!preview.rows.empty());
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  column->addWidget(buttons);
  // The size a person gave the dialog last time.
  const std::unique_ptr<QSettings> settings = OpenSettingsFile();
  const QByteArray geometry = settings->value(QStringLiteral("preview/geometry")).toByteArray();
  if (geometry.isEmpty() || !dialog.restoreGeometry(geometry)) dialog.resize(900, 520);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  settings->setValue(QStringLiteral("preview/geometry"), dialog.saveGeometry());
  return accepted;
}

}  // namespace app
