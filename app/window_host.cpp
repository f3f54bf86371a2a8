#include "app/window_host.h"

#include <QCoreApplication>

namespace app {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Often enough for a smooth window, rarely enough that a per-line call costs a clock read.
constexpr qint64 kEventInterval = 30;

}  // namespace

WindowHost::WindowHost(Dialogs& dialogs, std::function<void()> syncView)
    : dialogs_(dialogs), syncView_(std::move(syncView)) {
  sinceEvents_.start();
}

void WindowHost::ShowError(std::string_view text) {
  syncView_();
  dialogs_.ShowError(FromUtf8(text));
}

void WindowHost::ShowInfo(std::string_view text) {
  syncView_();
  dialogs_.ShowInfo(FromUtf8(text));
}

bool WindowHost::Ask(std::string_view text) {
  syncView_();
  return dialogs_.Ask(FromUtf8(text));
}

void WindowHost::ProcessMessages() {
  if (sinceEvents_.elapsed() < kEventInterval) return;
  syncView_();
  QCoreApplication::processEvents();
  sinceEvents_.restart();
}

QLabel* WindowHost::CounterLabel(platform::Counter which) const {
  switch (which) {
    case platform::Counter::Search:
      return counters_.search;
    case platform::Counter::Change:
      return counters_.change;
    case platform::Counter::Delete:
      return counters_.remove;
  }
  return counters_.search;
}

std::int64_t WindowHost::ReadCounter(platform::Counter which) {
  return CounterLabel(which)->text().toLongLong();
}

void WindowHost::WriteCounter(platform::Counter which, std::int64_t value) {
  CounterLabel(which)->setText(QString::number(value));
}

void WindowHost::SetCommandEnabled(bool enabled) {
  if (commandButton_ != nullptr) commandButton_->setEnabled(enabled);
}

QAbstractButton* WindowHost::SetCommandButton(QAbstractButton* button) {
  QAbstractButton* previous = commandButton_;
  commandButton_ = button;
  return previous;
}

}  // namespace app
