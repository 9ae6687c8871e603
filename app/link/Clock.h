#pragma once

// Time and event pumping for the link, injected so that the program waits for real and
// pumps its event loop, while tests and benchmarks run long conversations in virtual time.

#include <chrono>
#include <functional>

namespace tallisk {

class Clock {
 public:
  using Nanos = std::chrono::nanoseconds;
  virtual ~Clock() = default;
  // Time since the Unix epoch on the wall-clock scale: whole seconds of the wall clock are
  // the boundaries the answer time limits count.
  virtual Nanos Now() = 0;
  virtual void Sleep(Nanos duration) = 0;
};

// The real clock. It follows the monotonic clock, anchored to the wall clock once, so a
// change of the system time during a transfer neither cuts a wait short nor stretches it.
class SystemClock : public Clock {
 public:
  SystemClock();
  Nanos Now() override;
  void Sleep(Nanos duration) override;

 private:
  std::chrono::steady_clock::time_point anchorSteady_;
  Nanos anchorWall_;
};

// Time that moves only when someone sleeps or advances it.
class VirtualClock : public Clock {
 public:
  // Starts a quarter second past a whole second, so whole-second counting shows.
  explicit VirtualClock(Nanos start = std::chrono::seconds(1'700'000'000) +
                                      std::chrono::milliseconds(250))
      : now_(start) {}
  Nanos Now() override { return now_; }
  void Sleep(Nanos duration) override { now_ += duration; }
  void Advance(Nanos duration) { now_ += duration; }

 private:
  Nanos now_;
};

// Lets the user interface handle pending events (the Stop buttons) during a transfer.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void Pump() = 0;
};

class NoEventPump : public EventPump {
 public:
  void Pump() override {}
};

class CallbackEventPump : public EventPump {
 public:
  explicit CallbackEventPump(std::function<void()> onPump) : onPump_(std::move(onPump)) {}
  void Pump() override {
    if (onPump_) onPump_();
  }

 private:
  std::function<void()> onPump_;
};

// Whole seconds between two times as a calendar difference gives them: the number of
// second boundaries of the wall clock crossed, so 0.9 s can count as 1 and 1.1 s as 1.
long long WholeSecondsBetween(Clock::Nanos from, Clock::Nanos to);

}  // namespace tallisk
