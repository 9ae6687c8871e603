#include "link/Clock.h"

#include <thread>

namespace tallisk {

SystemClock::SystemClock()
    : anchorSteady_(std::chrono::steady_clock::now()),
      anchorWall_(
          std::chrono::duration_cast<Nanos>(std::chrono::system_clock::now().time_since_epoch())) {}

Clock::Nanos SystemClock::Now() {
  return anchorWall_ +
         std::chrono::duration_cast<Nanos>(std::chrono::steady_clock::now() - anchorSteady_);
}

void SystemClock::Sleep(Nanos duration) {
  std::this_thread::sleep_for(duration);
}

long long WholeSecondsBetween(Clock::Nanos from, Clock::Nanos to) {
  using std::chrono::floor;
  using std::chrono::seconds;
  return (floor<seconds>(to) - floor<seconds>(from)).count();
}

}  // namespace tallisk
