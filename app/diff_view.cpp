#include "app/diff_view.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "app/engine_qstring.h"

namespace app {

// One table row per pair of removed and added lines, after a row for each hunk's header.
class DiffModel final : public QAbstractTableModel {
 public:
  void Reset(const content::LineDiff& diff) {
    beginResetModel();
    rows_.clear();
    for (const content::DiffHunk& hunk : diff.hunks) {
      rows_.push_back({&hunk, -1});
      const std::size_t pairs = std::max(hunk.removed.size(), hunk.added.size());
      for (std::size_t i = 0; i < pairs; ++i) rows_.push_back({&hunk, static_cast<qsizetype>(i)});
    }
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }
  QVariant data(const QModelIndex& index, int role) const override {
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const bool oldSide = index.column() < 2;
    if (row.pair < 0) {
      if (role == Qt::BackgroundRole) return QColor(236, 236, 236);
      if (role != Qt::DisplayRole || index.column() != 1) return {};
      return QString::fromStdString(content::HunkHeader(*row.hunk));
    }
    const auto pair = static_cast<std::size_t>(row.pair);
    const std::vector<std::string>& lines = oldSide ? row.hunk->removed : row.hunk->added;
    if (pair >= lines.size()) return {};
    if (role == Qt::BackgroundRole) return oldSide ? QColor(255, 224, 224) : QColor(220, 245, 220);
    if (role != Qt::DisplayRole) return {};
    if (index.column() == 0 || index.column() == 2) {
      const std::int64_t first = oldSide ? row.hunk->oldStart : row.hunk->newStart;
      return QString::number(first + static_cast<std::int64_t>(pair));
    }
    return FromEngine(lines[pair]);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const QString titles[] = {QStringLiteral("行"), QStringLiteral("处理前"), QStringLiteral("行"),
                              QStringLiteral("处理后")};
    return titles[section];
  }

 private:
  struct Row {
    const content::DiffHunk* hunk;
    qsizetype pair;  // -1: the hunk's header
  };
  std::vector<Row> rows_;
};

DiffView::DiffView(QWidget* parent)
    : QWidget(parent),
      note_(new QLabel(this)),
      table_(new QTableView(this)),
      model_(new DiffModel) {
  setObjectName(QStringLiteral("DiffView"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(note_);
  column->addWidget(table_, 1);
  table_->setModel(model_);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
  table_->setColumnWidth(0, 64);
  table_->setColumnWidth(2, 64);
  table_->setWordWrap(false);
  ShowNote(QStringLiteral("选择一行查看该文件的差异"));
}

DiffView::~DiffView() { delete model_; }

void DiffView::Show(const content::LineDiff& diff) {
  shown_ = diff;
  model_->Reset(shown_);
  if (shown_.hunks.empty())
    note_->setText(QStringLiteral("没有行的差异"));
  else if (shown_.cut)
    note_->setText(QStringLiteral("只显示前 %1 处差异").arg(content::kShownDifferences));
  else
    note_->clear();
}

void DiffView::ShowNote(const QString& note) {
  shown_ = {};
  model_->Reset(shown_);
  note_->setText(note);
}

}  // namespace app
