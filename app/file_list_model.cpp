#include "app/file_list_model.h"

#include "app/engine_qstring.h"

namespace app {

FileListModel::FileListModel(const fileset::FileList& files, QObject* parent)
    : QAbstractTableModel(parent), files_(files), shownRows_(files.RowCount() - 1) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : fileset::kColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  const int row = index.row() + 1;
  if (!index.isValid() || row >= files_.RowCount()) return {};
  if (role == Qt::DisplayRole) return FromEngine(files_.Cell(row, index.column()));
  if (role == kMarkRole) return files_.IsMarked(row);
  return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= fileset::kColumnCount)
    return {};
  return FromEngine(files_.Cell(0, section));
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void FileListModel::Sync() {
  const int rows = files_.RowCount() - 1;
  if (rows > shownRows_) {
    beginInsertRows({}, shownRows_, rows - 1);
    shownRows_ = rows;
    endInsertRows();
  } else if (rows < shownRows_) {
    beginRemoveRows({}, rows, shownRows_ - 1);
    shownRows_ = rows;
    endRemoveRows();
  }
  if (shownRows_ > 0)
    emit dataChanged(index(0, 0), index(shownRows_ - 1, fileset::kColumnCount - 1));
  emit headerDataChanged(Qt::Horizontal, 0, fileset::kColumnCount - 1);
}

}  // namespace app
