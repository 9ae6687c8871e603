#include "link/RadioLink.h"

#include "link/LinkConstants.h"
#include "link/RadioLinkSession.h"

namespace tallisk {

using namespace link;

RadioLink::RadioLink(SerialPort& port, Clock& clock, EventPump& pump, LinkFeedback& feedback,
                     TransferState& state, std::function<int()> commPort)
    : port_(port),
      clock_(clock),
      pump_(pump),
      feedback_(feedback),
      state_(state),
      commPort_(std::move(commPort)),
      title_(kTitleEither) {}

RadioLink::CtsWait RadioLink::WaitForCTS(bool honourStop) {
  const auto start = clock_.Now();
  while (!port_.CTS()) {
    if (honourStop && state_.StopRequested) return CtsWait::Stopped;
    if (clock_.Now() - start >= kCtsWaitLimit) {
      // The conversation is over: the radio must not sit in programming mode with its lines
      // raised while the message waits for the technician.
      try {
        port_.SetRTS(false);
        port_.SetDTR(false);
      } catch (const TalliskError&) {
      }
      feedback_.ShowMessage(kNoCts, title_);
      return CtsWait::GaveUp;
    }
    pump_.Pump();
    Pause(kPollInterval);
  }
  return CtsWait::Ready;
}

RadioLink::CtsWait RadioLink::SendTextWaiting(const std::string& text, bool gated,
                                              bool honourStop) {
  for (char c : text) {
    if (gated) {
      const auto wait = WaitForCTS(honourStop);
      if (wait != CtsWait::Ready) return wait;
    }
    port_.Write(std::string(1, c));
    Pause(kCharacterPause);
    pump_.Pump();
  }
  return CtsWait::Ready;
}

RadioLink::CtsWait RadioLink::SendRecordWaiting(const std::string& text) {
  const auto wait = WaitForCTS(true);
  if (wait != CtsWait::Ready) return wait;
  port_.Write(text);
  Pause(kRecordPause);
  return CtsWait::Ready;
}

bool RadioLink::SendText(const std::string& text, bool gated) {
  return SendTextWaiting(text, gated, true) == CtsWait::Ready;
}

bool RadioLink::SendRecord(const std::string& text) {
  return SendRecordWaiting(text) == CtsWait::Ready;
}

std::string RadioLink::CollectAnswer(int timeoutSeconds, const AnswerCheck& complete) {
  std::string result;
  bool done = false;
  const auto start = clock_.Now();
  for (;;) {
    const auto lastArrival = clock_.Now();
    for (;;) {
      const auto now = clock_.Now();
      const bool silent = done ? now - lastArrival >= kQuietGap
                               : WholeSecondsBetween(lastArrival, now) > kSilenceLimitSeconds;
      if (silent || WholeSecondsBetween(start, now) >= timeoutSeconds) return result;
      pump_.Pump();
      if (port_.BytesWaiting() != 0) break;
      Pause(kPollInterval);
    }
    const std::string arrived = port_.ReadAll();
    result += arrived;
    if (!done && complete && arrived.find_first_of("\r\n") != std::string::npos) {
      done = complete(result);
    }
  }
}

bool RadioLink::CheckRadioLink() {
  PortSession session(*this);
  session.Open();
  port_.SetDTR(true);
  port_.SetRTS(true);
  // No event pumping here: the check is short and nothing may start meanwhile.
  const auto start = clock_.Now();
  while (WholeSecondsBetween(start, clock_.Now()) < kLinkCheckSeconds) {
    if (port_.CTS()) {
      session.Close();
      return true;
    }
    Pause(kPollInterval);
  }
  session.Close();
  feedback_.ShowMessage(kNoRadio, kTitleKM2);
  return false;
}

void RadioLink::ReportFailure(const std::string& leadIn, const TalliskError& e) {
  feedback_.ShowFailure(leadIn + "\r" + e.Description() + " #" + std::to_string(e.Number()));
}

}  // namespace tallisk
