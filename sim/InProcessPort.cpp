#include "sim/InProcessPort.h"

#include <algorithm>
#include <string>

#include "tallisk/errors.h"

namespace tallisk::sim {
namespace {

// The numbers a serial port control has always used for these two mistakes.
constexpr int kErrPortOpenFailed = 8002;
constexpr int kErrPortAlreadyOpen = 8005;
constexpr int kErrPortFailed = 8015;
constexpr int kErrPortNotOpen = 8018;

}  // namespace

InProcessPort::InProcessPort(VirtualRadio& radio, std::function<Nanos()> now)
    : radio_(radio), now_(std::move(now)) {}

void InProcessPort::RequireOpen(const char* operation) const {
  if (!open_)
    throw TalliskError(kErrPortNotOpen, operation, "Operation valid only when the port is open");
  if (Unplugged) throw TalliskError(kErrPortFailed, operation, "The device is not connected");
}

void InProcessPort::Deliver(Nanos upTo) {
  while (!transmit_.empty() && transmit_.front().at <= upTo) {
    radio_.Receive(transmit_.front().c, transmit_.front().at);
    transmit_.pop_front();
  }
}

void InProcessPort::Open() {
  if (open_) throw TalliskError(kErrPortAlreadyOpen, "Open", "Port already open");
  if (Unplugged) {
    throw TalliskError(kErrPortOpenFailed, "Open",
                       "Unable to open COM" + std::to_string(portNumber_) + ": No such device");
  }
  const Nanos now = now_();
  Deliver(now);
  // Whatever the radio said while nobody listened is gone.
  radio_.DiscardOutput();
  open_ = true;
  ++opens_;
  radio_.SetRTS(false, now);
  radio_.SetDTR(false, now);
}

void InProcessPort::Close() {
  if (!open_) return;
  // Closing drains the transmit buffer: the radio still gets every character written, unless
  // the cable to it is gone.
  if (Unplugged) transmit_.clear();
  Deliver(Nanos::max());
  const Nanos now = std::max(now_(), transmitFreeAt_);
  radio_.SetRTS(false, now);
  radio_.SetDTR(false, now);
  radio_.DiscardOutput();
  open_ = false;
}

void InProcessPort::SetRTS(bool on) {
  RequireOpen("SetRTS");
  const Nanos now = now_();
  Deliver(now);
  radio_.SetRTS(on, now);
}

void InProcessPort::SetDTR(bool on) {
  RequireOpen("SetDTR");
  const Nanos now = now_();
  Deliver(now);
  radio_.SetDTR(on, now);
}

bool InProcessPort::CTS() {
  RequireOpen("CTS");
  Deliver(now_());
  return radio_.CTS();
}

int InProcessPort::BytesWaiting() {
  RequireOpen("BytesWaiting");
  const Nanos now = now_();
  Deliver(now);
  return static_cast<int>(radio_.OutputWaiting(now));
}

std::string InProcessPort::ReadAll() {
  RequireOpen("ReadAll");
  const Nanos now = now_();
  Deliver(now);
  std::string text = radio_.TakeOutput(now);
  read_ += text.size();
  return text;
}

void InProcessPort::Write(std::string_view text) {
  RequireOpen("Write");
  const Nanos now = now_();
  Deliver(now);
  Nanos t = std::max(now, transmitFreeAt_);
  for (char c : text) {
    if (Paced) t += kCharacterTime2400;
    transmit_.push_back({c, t});
  }
  transmitFreeAt_ = t;
  written_ += text.size();
  Deliver(now);
}

}  // namespace tallisk::sim
