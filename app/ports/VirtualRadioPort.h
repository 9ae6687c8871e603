#pragma once

// The serial port whose cable ends in a virtual radio in this process, on the link's clock.

#include "link/Clock.h"
#include "link/SerialPort.h"
#include "sim/InProcessPort.h"

namespace tallisk {

class VirtualRadioPort : public SerialPort {
 public:
  VirtualRadioPort(sim::VirtualRadio& radio, Clock& clock)
      : clock_(clock), line_(radio, [&clock] { return clock.Now(); }) {}

  // Characters a serial driver's transmit buffer holds before a writer has to wait.
  static constexpr int kTransmitBuffer = 4096;

  // The cable itself: pacing, what went across, how often it was opened.
  sim::InProcessPort& Line() { return line_; }

  void SetPortNumber(int portNumber) override { line_.SetPortNumber(portNumber); }
  void SetLineSettings(const std::string& settings) override { line_.SetLineSettings(settings); }
  void Open() override { line_.Open(); }
  // Like a serial driver, closing waits until what was written has gone out on the line, so
  // the radio is done listening before anyone opens the port again.
  void Close() override {
    WaitUntil(line_.TransmitDoneAt());
    line_.Close();
  }
  void SetRTS(bool on) override { line_.SetRTS(on); }
  void SetDTR(bool on) override { line_.SetDTR(on); }
  bool CTS() override { return line_.CTS(); }
  int BytesWaiting() override { return line_.BytesWaiting(); }
  std::string ReadAll() override { return line_.ReadAll(); }
  // A write returns once the rest fits in the transmit buffer.
  void Write(const std::string& text) override {
    line_.Write(text);
    WaitUntil(line_.TransmitDoneAt() - kTransmitBuffer * sim::kCharacterTime2400);
  }

 private:
  void WaitUntil(Clock::Nanos when) {
    const Clock::Nanos now = clock_.Now();
    if (line_.Paced && when > now) clock_.Sleep(when - now);
  }

  Clock& clock_;
  sim::InProcessPort line_;
};

}  // namespace tallisk
