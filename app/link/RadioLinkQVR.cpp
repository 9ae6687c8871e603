#include "link/LinkConstants.h"
#include "link/RadioLink.h"
#include "link/RadioLinkSession.h"
#include "link/RecordExchange.h"
#include "tallisk/clsRadioCommands.h"

namespace tallisk {

using namespace link;

namespace {
constexpr std::int32_t kQVR = 0;
}

std::string RadioLink::ReadConversationQVR() {
  clsRadioCommands commands;
  commands.initialize(kQVR);
  PortSession session(*this);
  session.Open();
  port_.SetRTS(true);
  port_.SetDTR(true);
  Pause(kCharacterPause);
  SendTextWaiting(commands.ReadRadioCommandStart, false, false);
  port_.SetRTS(false);
  std::string answer = CollectAnswer(kAnswerTimeLimitSeconds, AnswerCompleteQVR);
  session.Close();
  return answer;
}

std::string RadioLink::ReadRadioQVR() {
  title_ = kTitleQVR;
  BusyScope busy(state_);
  std::string answer;
  try {
    answer = ReadConversationQVR();
  } catch (const TalliskError& e) {
    ReportFailure(kReadFailed, e);
    return {};
  }
  if (answer.empty()) {
    feedback_.ShowMessage(kNoDataRead, kTitleQVR);
    return {};
  }
  // Line noise taken for a programming could be written back into the radio.
  if (!CheckAnswerLinesQVR(answer)) {
    feedback_.ShowMessage(kChecksumError, kTitleQVR);
    return {};
  }
  return answer;
}

bool RadioLink::TransferImageQVR(const std::string& first, const std::string& second) {
  title_ = kTitleQVR;
  BusyScope busy(state_);
  clsRadioCommands commands;
  commands.initialize(kQVR);
  feedback_.ShowWriteStatus(kProgrammingInProgress);
  // The run has no Stop button, but a stop left over from an earlier KM2 transfer must not
  // cut it short.
  state_.StopRequested = false;
  try {
    PortSession session(*this);
    session.Open();
    port_.SetRTS(true);
    port_.SetDTR(true);
    Pause(kCharacterPause);
    SendTextWaiting(commands.ProgramRadioCommandStart, false, false);
    const std::string run = first + commands.ProgramRadioCommandEnd +
                            commands.ProgramRadioCommandMiddle + second +
                            commands.ProgramRadioCommandEnd;
    const bool sent = SendTextWaiting(run, true, true) == CtsWait::Ready;
    session.Close();
    if (!sent) {
      feedback_.ShowWriteStatus("");
      return false;
    }
  } catch (const TalliskError& e) {
    feedback_.ShowMessage(
        std::string(kWriteFailedQVR) + e.Description() + " #" + std::to_string(e.Number()),
        kTitleQVR);
    feedback_.ShowWriteStatus("");
    return false;
  }
  feedback_.ShowWriteStatus(kProgrammingComplete);
  return true;
}

}  // namespace tallisk
