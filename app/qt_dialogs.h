#pragma once
// The dialogs a person sees: message boxes, file and folder dialogs, the desktop's "open".

#include <QWidget>

#include "app/dialogs.h"

namespace app {

class QtDialogs : public Dialogs {
 public:
  // Boxes are parented to the window once it exists.
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowError(const QString& text) override;
  void ShowInfo(const QString& text) override;
  bool Ask(const QString& text) override;
  void ShowException(const QString& text) override;
  void ShowErrorTitled(const QString& title, const QString& text) override;
  bool ShowPreview(const fileset::Preview& preview, const RowDifferences& differences) override;
  std::optional<QString> PickFolder(const QString& title) override;
  QStringList PickFilesToOpen(const QString& title, const QStringList& filters) override;
  std::optional<QString> PickFileToSave(const QString& filter,
                                        const QString& defaultSuffix) override;
  void OpenWithShell(const QString& target) override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace app
