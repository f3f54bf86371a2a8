#pragma once
// The differences of one file, old and new lines side by side with their line numbers:
// removed lines on a red ground, added ones on a green one.

#include <QWidget>
#include <functional>

#include "content/line_diff.h"

class QLabel;
class QTableView;

namespace app {

class DiffModel;

class DiffView final : public QWidget {
 public:
  explicit DiffView(QWidget* parent);
  ~DiffView() override;
  void Show(const content::LineDiff& diff);
  // Instead of differences: why there are none to show.
  void ShowNote(const QString& note);

 private:
  QLabel* note_;
  QTableView* table_;
  DiffModel* model_;
  content::LineDiff shown_;
};

}  // namespace app
