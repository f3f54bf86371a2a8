#include "app/window_host.h"

#include <QCoreApplication>
#include <algorithm>
#include <ctime>

#include "app/engine_qstring.h"
#include "platform/wait_hook.h"

namespace app {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A file this large shows how far the run has come within it.
constexpr std::size_t kLargeFile = std::size_t{8} << 20;

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
  if (runs_ > 0) ShowProgress();
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

void WindowHost::SetRunControls(QProgressBar* bar, QAbstractButton* stop) {
  bar_ = bar;
  stop_ = stop;
}

void WindowHost::RunBegins(std::int64_t total) {
  if (runs_++ > 0) return;
  total_ = total;
  done_ = 0;
  file_.clear();
  text_ = {};
  at_ = nullptr;
  stopRequested_ = false;
  if (stop_ != nullptr) stop_->setEnabled(true);
  // A save of a large file waits for the disk for seconds: the window answers meanwhile.
  outerWaitHook_ = platform::SetWaitHook([this] { ProcessMessages(); });
  ShowProgress();
}

// The bar is drawn when messages run, so that a run over many small files pays nothing
// per file for it.
void WindowHost::RunAt(std::int64_t done, std::string_view file) {
  done_ = done;
  file_.assign(file);
  text_ = {};
  at_ = nullptr;
}

void WindowHost::RunFileText(std::string_view text) {
  text_ = text;
  at_ = text.data();
}

void WindowHost::RunPosition(const char* at) {
  // Lines of other files (a merge's source) lie outside the text and tell nothing.
  if (at >= text_.data() && at <= text_.data() + text_.size()) at_ = at;
}

void WindowHost::RunEnds() {
  if (--runs_ > 0) return;
  platform::SetWaitHook(std::move(outerWaitHook_));
  outerWaitHook_ = nullptr;
  stopAfter_.reset();
  stopRequested_ = false;
  if (stop_ != nullptr) stop_->setEnabled(false);
  if (bar_ != nullptr) {
    bar_->setValue(0);
    bar_->setFormat(QString());
  }
}

bool WindowHost::StopRequested() {
  // Outside a run (a preview walks the files too) there is nothing to stop.
  return runs_ > 0 && (stopRequested_ || (stopAfter_ && done_ >= *stopAfter_));
}

void WindowHost::ShowProgress() {
  if (bar_ == nullptr) return;
  // Files count in thousandths, so that one large file moves the bar too.
  constexpr int kSteps = 1000;
  const double fraction =
      text_.empty() || at_ == nullptr
          ? 0.0
          : static_cast<double>(at_ - text_.data()) / static_cast<double>(text_.size());
  const std::int64_t total = std::max<std::int64_t>(total_, 1);
  bar_->setMaximum(kSteps);
  bar_->setValue(static_cast<int>((static_cast<double>(std::min(done_, total)) + fraction) *
                                  kSteps / static_cast<double>(total)));
  QString format = QStringLiteral("%1 / %2  %3").arg(done_).arg(total_).arg(FromEngine(file_));
  if (text_.size() >= kLargeFile)
    format += QStringLiteral("  %1%").arg(static_cast<int>(fraction * 100));
  bar_->setFormat(format);
}

}  // namespace app
