#include "template/clock.h"

#include <chrono>

namespace tmpl {

platform::LocalDateTime SystemClock::Now() const {
  using namespace std::chrono;
  const auto since = system_clock::now().time_since_epoch();
  const auto whole = floor<seconds>(since);
  const auto nanos = duration_cast<nanoseconds>(since - whole);
  return platform::ToLocal(
      {static_cast<std::int64_t>(whole.count()), static_cast<std::int32_t>(nanos.count())});
}

}  // namespace tmpl
