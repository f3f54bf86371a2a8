#pragma once
// Drags from a file manager: the local paths they carry, and the filter that lets a
// control take them.

#include <QObject>
#include <functional>
#include <vector>

#include "platform/native_path.h"

QT_BEGIN_NAMESPACE
class QMimeData;
class QWidget;
QT_END_NAMESPACE

namespace app {

// The local paths a drag names, in its order, folders apart from everything else.
// Paths that no longer exist are passed over.
struct DroppedPaths {
  std::vector<platform::NativePath> files;
  std::vector<platform::NativePath> folders;
};
DroppedPaths DroppedPathsOf(const QMimeData& mime);

// Makes `target` take drags that name local paths; other drags (plain text onto an edit)
// reach the control as before. A drop is taken as a copy: a file manager must never
// read it as a move and remove its files.
class DropTarget : public QObject {
 public:
  using Handler = std::function<void(const DroppedPaths& dropped)>;
  // The filter is a child of `target`.
  static void Install(QWidget* target, Handler onDrop);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DropTarget(QWidget* target, Handler onDrop);
  Handler onDrop_;
};

}  // namespace app
