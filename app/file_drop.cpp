#include "app/file_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "app/chosen_path.h"
#include "platform/file_system.h"

namespace app {
namespace {

bool NamesLocalPaths(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls()) return false;
  for (const QUrl& url : mime->urls())
    if (DroppedPath(url)) return true;
  return false;
}

// A copy where the source offers one, else a link; never a move.
Qt::DropAction TakenAction(Qt::DropActions offered) {
  if (offered & Qt::CopyAction) return Qt::CopyAction;
  if (offered & Qt::LinkAction) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

// Accepts or refuses a drag enter, move or drop; true when it is taken.
bool Take(QDropEvent* event) {
  const Qt::DropAction action = TakenAction(event->possibleActions());
  if (action == Qt::IgnoreAction || !NamesLocalPaths(event->mimeData())) return false;
  event->setDropAction(action);
  event->accept();
  return true;
}

}  // namespace

DroppedPaths DroppedPathsOf(const QMimeData& mime) {
  DroppedPaths dropped;
  for (const QUrl& url : mime.urls()) {
    std::optional<platform::NativePath> path = DroppedPath(url);
    if (!path) continue;
    const std::optional<platform::DirEntry> entry = platform::ReadEntry(*path);
    if (!entry) continue;
    auto& kind = (entry->attributes & platform::kDirectory) != 0 ? dropped.folders : dropped.files;
    kind.push_back(std::move(*path));
  }
  return dropped;
}

void DropTarget::Install(QWidget* target, Handler onDrop) {
  target->setAcceptDrops(true);
  target->installEventFilter(new DropTarget(target, std::move(onDrop)));
}

DropTarget::DropTarget(QWidget* target, Handler onDrop)
    : QObject(target), onDrop_(std::move(onDrop)) {}

bool DropTarget::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
      return Take(static_cast<QDropEvent*>(event));
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!Take(drop)) return false;
      // The drag's data belongs to the drag: read it before the handler lets messages run.
      onDrop_(DroppedPathsOf(*drop->mimeData()));
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace app
