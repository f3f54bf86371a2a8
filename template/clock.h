#pragma once
// Where the Date and Time functions read the current local time. The evaluator takes
// the clock as a value so that tests and previews can fix the time.

#include "platform/file_time.h"

namespace tmpl {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual platform::LocalDateTime Now() const = 0;
};

// The system's wall clock in the local time zone, to the millisecond.
class SystemClock final : public Clock {
 public:
  platform::LocalDateTime Now() const override;
};

// Always the same moment.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(const platform::LocalDateTime& now) : now_(now) {}
  platform::LocalDateTime Now() const override { return now_; }

 private:
  platform::LocalDateTime now_;
};

}  // namespace tmpl
