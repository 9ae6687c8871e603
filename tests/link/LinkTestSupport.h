#pragma once

// A bench for the link: a virtual radio on an in-process cable, a virtual clock, and a
// feedback that records what the user would have seen.

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/LinkFeedback.h"
#include "link/RadioLink.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadio.h"
#include "tallisk/conversions.h"

namespace tallisk::testing {

class RecordingFeedback : public LinkFeedback {
 public:
  std::vector<std::string> readStatus, writeStatus;
  // Message boxes as "text (title)", failure reports as they are, in the order shown.
  std::string said;
  std::function<void()> onSaid;  // runs as each message or failure is shown

  void ShowReadStatus(const std::string& text) override { readStatus.push_back(text); }
  void ShowWriteStatus(const std::string& text) override { writeStatus.push_back(text); }
  void ShowMessage(const std::string& text, const std::string& title) override {
    ShowFailure(text + " (" + title + ")");
  }
  void ShowFailure(const std::string& text) override {
    if (onSaid) onSaid();
    said += (said.empty() ? "" : " | ") + text;
  }
};

template <class Radio>
struct LinkBench {
  template <class... RadioArgs>
  explicit LinkBench(RadioArgs&&... args) : radio(std::forward<RadioArgs>(args)...) {}

  VirtualClock clock;
  Radio radio;
  VirtualRadioPort port{radio, clock};
  RecordingFeedback feedback;
  TransferState state;
  std::function<void()> onPump;
  CallbackEventPump pump{[this] {
    if (onPump) onPump();
  }};
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
  Clock::Nanos mark = clock.Now();  // where Seconds() counts from

  // Both sides at 2400 baud, as on the bench.
  void Pace() { radio.Paced = port.Line().Paced = true; }
  // The cable is left as it should be after any conversation.
  bool LeftIdle() { return !port.Line().IsOpen() && !radio.RTS() && !radio.DTR(); }
  double Seconds() { return std::chrono::duration<double>(clock.Now() - mark).count(); }
};

inline std::vector<std::uint8_t> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<std::uint8_t> out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(gen());
  return out;
}

inline std::string HexOf(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (auto b : bytes) out += ToHex(b, 2);
  return out;
}

// A QVR image as the programming run sends it: S1 lines of 8 bytes, padded with FF; an
// image that reaches address 0100 is cut there into the two parts, a smaller one goes wholly
// into the second.
inline std::pair<std::string, std::string> QvrParts(std::vector<std::uint8_t> image) {
  image.resize((image.size() + 7) / 8 * 8, 0xFF);
  std::string first, second;
  for (std::size_t a = 0; a < image.size(); a += 8) {
    const std::vector<std::uint8_t> data(image.begin() + a, image.begin() + a + 8);
    (image.size() > 0x100 && a < 0x100 ? first : second) +=
        sim::MakeRecord("S1", static_cast<std::uint32_t>(a), data);
  }
  return {first, second};
}

}  // namespace tallisk::testing
