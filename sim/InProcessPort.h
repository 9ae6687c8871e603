#pragma once

// A serial port whose cable ends in a virtual radio in the same process. It carries the
// workstation's characters to the radio (at 2400 baud when paced: a write returns at once
// and the characters follow one by one, as an operating system's transmit buffer sends
// them), the RTS and DTR lines, the radio's CTS and its answers. Time comes from the
// caller's clock, so a virtual clock runs a long conversation in no time.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "sim/VirtualRadio.h"

namespace tallisk::sim {

class InProcessPort {
 public:
  InProcessPort(VirtualRadio& radio, std::function<Nanos()> now);

  bool Paced = false;
  // The adapter has been pulled out: opening fails as it does for a device that is not
  // there, and a port that was open fails at its next use.
  bool Unplugged = false;

  void SetPortNumber(int portNumber) { portNumber_ = portNumber; }
  void SetLineSettings(std::string_view settings) { settings_ = std::string(settings); }
  void Open();
  void Close();
  bool IsOpen() const { return open_; }
  void SetRTS(bool on);
  void SetDTR(bool on);
  bool CTS();
  int BytesWaiting();
  std::string ReadAll();
  void Write(std::string_view text);

  int PortNumber() const { return portNumber_; }
  const std::string& LineSettings() const { return settings_; }
  std::uint64_t CharactersWritten() const { return written_; }
  std::uint64_t CharactersRead() const { return read_; }
  int Opens() const { return opens_; }
  // When the last character written so far reaches (or reached) the radio.
  Nanos TransmitDoneAt() const { return transmitFreeAt_; }

 private:
  void RequireOpen(const char* operation) const;
  // Hands the radio every character that has reached it by `upTo`.
  void Deliver(Nanos upTo);

  VirtualRadio& radio_;
  std::function<Nanos()> now_;
  int portNumber_ = 1;
  std::string settings_ = "2400,N,8,1";
  bool open_ = false;
  struct InFlight {
    char c;
    Nanos at;
  };
  std::deque<InFlight> transmit_;
  Nanos transmitFreeAt_{0};
  std::uint64_t written_ = 0;
  std::uint64_t read_ = 0;
  int opens_ = 0;
};

}  // namespace tallisk::sim
