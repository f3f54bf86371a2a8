#pragma once
// The grid's model: a view of the file list, with no logic of its own. Model row r is
// file-list row r + 1; the file list's row 0 is the horizontal header.

#include <QAbstractTableModel>

#include "fileset/file_list.h"

namespace app {

class FileListModel : public QAbstractTableModel {
 public:
  static constexpr int kMarkRole = Qt::UserRole + 1;

  explicit FileListModel(const fileset::FileList& files, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Brings the view up to date after the file list changed: rows added or removed at
  // the bottom, and every visible cell and mark repainted.
  void Sync();

 private:
  const fileset::FileList& files_;
  int shownRows_ = 0;
};

}  // namespace app
