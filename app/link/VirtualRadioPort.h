#pragma once

// The serial port whose cable ends in a virtual radio in this process, on the link's clock.

#include "link/Clock.h"
#include "link/SerialPort.h"
#include "sim/InProcessPort.h"

namespace tallisk {

class VirtualRadioPort : public SerialPort {
 public:
  VirtualRadioPort(sim::VirtualRadio& radio, Clock& clock)
      : line_(radio, [&clock] { return clock.Now(); }) {}

  // The cable itself: pacing, what went across, how often it was opened.
  sim::InProcessPort& Line() { return line_; }

  void SetPortNumber(int portNumber) override { line_.SetPortNumber(portNumber); }
  void SetLineSettings(const std::string& settings) override { line_.SetLineSettings(settings); }
  void Open() override { line_.Open(); }
  void Close() override { line_.Close(); }
  void SetRTS(bool on) override { line_.SetRTS(on); }
  void SetDTR(bool on) override { line_.SetDTR(on); }
  bool CTS() override { return line_.CTS(); }
  int BytesWaiting() override { return line_.BytesWaiting(); }
  std::string ReadAll() override { return line_.ReadAll(); }
  void Write(const std::string& text) override { line_.Write(text); }

 private:
  sim::InProcessPort line_;
};

}  // namespace tallisk
