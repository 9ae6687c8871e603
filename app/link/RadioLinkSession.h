#pragma once

// The pieces every conversation of RadioLink shares.

#include "link/LinkConstants.h"
#include "link/RadioLink.h"

namespace tallisk {

// One opening of the port. Whatever way the conversation ends, the port is closed with
// RTS and DTR low: a radio left with its lines raised may stay in programming mode.
class RadioLink::PortSession {
 public:
  explicit PortSession(RadioLink& link) : port_(link.port_), commPort_(link.commPort_) {}
  PortSession(const PortSession&) = delete;
  PortSession& operator=(const PortSession&) = delete;
  ~PortSession() {
    if (!open_) return;
    try {
      port_.SetRTS(false);
    } catch (...) {
    }
    try {
      port_.SetDTR(false);
    } catch (...) {
    }
    try {
      port_.Close();
    } catch (...) {
    }
  }

  // The port number is the option's value at this moment.
  void Open() {
    port_.SetLineSettings(link::kLineSettings);
    port_.SetPortNumber(commPort_());
    port_.Open();
    open_ = true;
  }
  void Close() {
    port_.SetRTS(false);
    port_.SetDTR(false);
    open_ = false;
    port_.Close();
  }

 private:
  SerialPort& port_;
  std::function<int()>& commPort_;
  bool open_ = false;
};

// TransferBusy for the length of a conversation; a caller that set it keeps it set.
class RadioLink::BusyScope {
 public:
  explicit BusyScope(TransferState& state) : state_(state), before_(state.TransferBusy) {
    state_.TransferBusy = true;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  ~BusyScope() { state_.TransferBusy = before_; }

 private:
  TransferState& state_;
  bool before_;
};

}  // namespace tallisk
