#pragma once
// The file list grid: a table view whose name cells carry a check box for the row's
// mark, and which reports every mouse release over it with the cell under the pointer.

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace app {

// Draws a name cell as a white cell with the row's check box and the elided name.
class NameCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

class FileGrid : public QTableView {
 public:
  // Row and column in file-list terms: row 0 is the header; -1 when outside every cell.
  using ReleaseHandler = std::function<void(int row, int column)>;

  explicit FileGrid(QWidget* parent = nullptr);
  void SetReleaseHandler(ReleaseHandler handler) { onRelease_ = std::move(handler); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ReleaseHandler onRelease_;
};

}  // namespace app
