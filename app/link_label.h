#pragma once
// A label that acts on a click, like a link: underlined or coloured, hand cursor.

#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace app {

class LinkLabel : public QLabel {
 public:
  using QLabel::QLabel;
  void SetClickHandler(std::function<void()> handler) { onClick_ = std::move(handler); }
  void Click() {
    if (onClick_) onClick_();
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace app
