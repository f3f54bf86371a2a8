#include "app/window_host.h"

#include <QCoreApplication>
#include <ctime>

namespace app {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Often enough for a smooth window, rarely enough that a per-line call costs a clock read.
constexpr std::int64_t kEventInterval = 30;

// Milliseconds from the coarse monotonic clock: a few milliseconds of resolution are
// plenty here, and reading it costs no hardware clock access, which matters at one call
// per line of a large file.
std::int64_t CoarseMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

WindowHost::WindowHost(Dialogs& dialogs, std::function<void()> syncView)
    : dialogs_(dialogs), syncView_(std::move(syncView)) {
  lastEvents_ = CoarseMilliseconds();
}

void WindowHost::ShowError(std::string_view text) {
  syncView_();
  dialogs_.ShowError(FromUtf8(text));
}

void WindowHost::ShowErrorTitled(std::string_view title, std::string_view text) {
  syncView_();
  dialogs_.ShowErrorTitled(FromUtf8(title), FromUtf8(text));
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
  if (CoarseMilliseconds() - lastEvents_ < kEventInterval) return;
  syncView_();
  QCoreApplication::processEvents();
  lastEvents_ = CoarseMilliseconds();
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

std::size_t WindowHost::PickRandom(std::size_t count) {
  return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
}

QAbstractButton* WindowHost::SetCommandButton(QAbstractButton* button) {
  QAbstractButton* previous = commandButton_;
  commandButton_ = button;
  return previous;
}

}  // namespace app
