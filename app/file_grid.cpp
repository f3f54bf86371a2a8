#include "app/file_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "app/file_list_model.h"

namespace app {

void NameCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QRect cell = option.rect;
  painter->save();
  painter->fillRect(cell, Qt::white);

  const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
  const int boxWidth = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, option.widget);
  const int boxHeight = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, option.widget);
  QStyleOptionButton box;
  box.rect =
      QRect(cell.left() + 4, cell.top() + (cell.height() - boxHeight) / 2, boxWidth, boxHeight);
  box.state =
      QStyle::State_Enabled |
      (index.data(FileListModel::kMarkRole).toBool() ? QStyle::State_On : QStyle::State_Off);
  style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);

  const QRect textRect(box.rect.right() + 1 + 4, cell.top(), cell.right() - box.rect.right() - 4,
                       cell.height());
  const QString name = index.data(Qt::DisplayRole).toString();
  painter->setPen(option.palette.color(QPalette::Text));
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    option.fontMetrics.elidedText(name, Qt::ElideRight, textRect.width()));
  painter->restore();
}

FileGrid::FileGrid(QWidget* parent) : QTableView(parent) {
  horizontalHeader()->viewport()->installEventFilter(this);
}

void FileGrid::mousePressEvent(QMouseEvent* event) {
  // Only the left button moves the current cell; other buttons leave it where it is.
  if (event->button() == Qt::LeftButton) {
    QTableView::mousePressEvent(event);
  } else {
    event->accept();
  }
}

void FileGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  const QModelIndex index = indexAt(event->position().toPoint());
  if (onRelease_) onRelease_(index.isValid() ? index.row() + 1 : -1, index.column());
}

bool FileGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int column = horizontalHeader()->logicalIndexAt(mouse->position().toPoint());
    if (onRelease_) onRelease_(column >= 0 ? 0 : -1, column);
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace app
