// How long the four conversations take against a virtual radio paced at 2400 baud, in
// virtual time, next to the pure line time of the characters that crossed the cable
// (10 bits a character). The gap between the two is what the pauses and time limits cost;
// x_line is their ratio. The reads end each answer as soon as it is complete (a short quiet
// gap after it) instead of waiting out the silence limit, so they stay close to the line time.
// The QVR write cannot go below 1.2 x: the radio takes a character every 5 ms, and one lasts
// 4.17 ms on the line.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "link/RadioLink.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/conversions.h"

namespace {

using namespace tallisk;

class QuietFeedback : public LinkFeedback {
 public:
  void ShowReadStatus(const std::string&) override {}
  void ShowWriteStatus(const std::string&) override {}
  void ShowMessage(const std::string&, const std::string&) override {}
  void ShowFailure(const std::string&) override {}
};

template <class Radio>
struct PacedBench {
  VirtualClock clock;
  Radio radio;
  VirtualRadioPort port{radio, clock};
  QuietFeedback feedback;
  TransferState state;
  NoEventPump pump;
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
  Clock::Nanos start;

  PacedBench() {
    radio.Paced = true;
    port.Line().Paced = true;
    std::mt19937 gen(7);
    for (auto& b : radio.Eeprom) b = static_cast<std::uint8_t>(gen());
    start = clock.Now();
  }

  // Until the conversation returned and the radio had every character written to it.
  double VirtualSeconds() {
    const auto end = std::max(clock.Now(), port.Line().TransmitDoneAt());
    return std::chrono::duration<double>(end - start).count();
  }
  double LineSeconds() {
    const auto chars = port.Line().CharactersWritten() + port.Line().CharactersRead();
    return static_cast<double>(chars) * 10.0 / 2400.0;
  }
  void Report(benchmark::State& s) {
    s.counters["virtual_s"] = VirtualSeconds();
    // When the conversation itself returned; a write can return with characters still
    // queued for the line, which closing the port drains.
    s.counters["returned_s"] = std::chrono::duration<double>(clock.Now() - start).count();
    s.counters["line_s"] = LineSeconds();
    s.counters["x_line"] = VirtualSeconds() / LineSeconds();
    s.counters["chars"] =
        static_cast<double>(port.Line().CharactersWritten() + port.Line().CharactersRead());
  }
};

std::string RandomHex(std::size_t bytes) {
  std::mt19937 gen(11);
  std::string hex;
  for (std::size_t i = 0; i < bytes; ++i) hex += ToHex(gen() & 0xFF, 2);
  return hex;
}

// A 16-channel QVR image (34 + 160 bytes) as S1 lines: under 256 bytes, so all in the second part.
std::string QvrLines() {
  const std::string hex = RandomHex(194) + "FFFFFFFFFFFF";
  std::string lines;
  for (std::size_t i = 0; i < hex.size(); i += 16) {
    const std::string body = "0B" + ToHex(i / 2, 4) + hex.substr(i, 16);
    lines += "S1" + body + RecordCheckSum(body) + "\r\n";
  }
  return lines;
}

void BM_QVRRead(benchmark::State& s) {
  for (auto _ : s) {
    PacedBench<sim::VirtualRadioQVR> b;
    benchmark::DoNotOptimize(b.link.ReadRadioQVR());
    b.Report(s);
  }
}

void BM_QVRWrite(benchmark::State& s) {
  const std::string lines = QvrLines();
  for (auto _ : s) {
    PacedBench<sim::VirtualRadioQVR> b;
    benchmark::DoNotOptimize(b.link.TransferImageQVR("", lines));
    b.Report(s);
  }
}

void BM_KM2Read(benchmark::State& s) {
  for (auto _ : s) {
    PacedBench<sim::VirtualRadioKM2> b;
    benchmark::DoNotOptimize(b.link.ReadRadioKM2());
    b.Report(s);
  }
}

void BM_KM2Write(benchmark::State& s) {
  const std::string image = RandomHex(8192);
  for (auto _ : s) {
    PacedBench<sim::VirtualRadioKM2> b;
    benchmark::DoNotOptimize(b.link.TransferImageKM2(image));
    b.Report(s);
  }
}

BENCHMARK(BM_QVRRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QVRWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KM2Read)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KM2Write)->Unit(benchmark::kMillisecond);

}  // namespace
