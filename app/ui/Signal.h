#pragma once

// A minimal observer list. Fields announce reactions (the window's logic) and state changes
// (for a front end that mirrors them) through these; everything runs on one thread.

#include <functional>
#include <utility>
#include <vector>

namespace tallisk {

template <typename... Args>
class Signal {
 public:
  using Slot = std::function<void(Args...)>;

  void Connect(Slot slot) { slots_.push_back(std::move(slot)); }
  void operator()(Args... args) const {
    // A slot may connect further slots while we run; iterate over a copy.
    auto slots = slots_;
    for (auto& slot : slots) slot(args...);
  }
  bool Empty() const { return slots_.empty(); }

 private:
  std::vector<Slot> slots_;
};

}  // namespace tallisk
