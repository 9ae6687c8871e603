#include <algorithm>
#include <cctype>

#include "link/LinkConstants.h"
#include "link/RadioLink.h"
#include "link/RadioLinkSession.h"
#include "link/RecordExchange.h"
#include "tallisk/clsRadioCommands.h"
#include "tallisk/conversions.h"

namespace tallisk {

using namespace link;

namespace {

constexpr std::int32_t kKM2 = 1;

enum class Block { Accepted, Missing, Bad };

// Stores one block's answer into the read image, all or nothing. A block counts only when
// its records are sound and cover every byte asked for: a radio that falls silent, or stops
// in mid-answer, must not leave erased bytes that pass for its programming.
Block StoreBlock(std::string& image, const std::string& answer, std::uint32_t address) {
  if (answer.empty()) return Block::Missing;
  std::string candidate = image;
  if (!StoreAnswerLines(candidate, answer) || !AnswerCompleteKM2(answer, address)) {
    return Block::Bad;
  }
  image = std::move(candidate);
  return Block::Accepted;
}

bool IsHexText(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

std::string RadioLink::RequestBlockKM2(std::uint32_t address) {
  const std::string body = "04" + ToHex(address, 4) + "FF";
  const std::string request = "TA" + body + RecordCheckSum(body) + kCrLf;
  port_.SetRTS(true);
  Pause(kKM2Pause);
  // Whatever arrived since the last answer ended (a late or stray character) is no part of
  // the answer to this request.
  if (port_.BytesWaiting() != 0) port_.ReadAll();
  port_.Write(request);
  port_.SetRTS(false);
  return CollectAnswer(kAnswerTimeLimitSeconds, [address](std::string_view answer) {
    return AnswerCompleteKM2(answer, address);
  });
}

KM2ReadResult RadioLink::ReadRadioKM2() {
  title_ = kTitleKM2;
  try {
    if (!CheckRadioLink()) return {};
    clsRadioCommands commands;
    commands.initialize(kKM2);
    std::string image(kKM2ReadImageChars, 'F');
    std::string accepted;
    std::uint32_t address = kKM2ImageBase;
    state_.StopRequested = false;
    int failures = 0;

    PortSession session(*this);
    session.Open();
    port_.Close();
    port_.SetPortNumber(commPort_());
    port_.Open();
    port_.SetRTS(true);
    port_.SetDTR(true);
    Pause(kKM2Pause);
    BusyScope busy(state_);
    if (SendTextWaiting(commands.KM2_TestMode, true, true) != CtsWait::Ready) {
      session.Close();
      return {};
    }

    const char* verdict = nullptr;
    while (address <= kKM2LastBlockLimit && !state_.StopRequested) {
      // Progress follows the address, so a retried block does not count twice.
      const auto progress = std::min<std::int32_t>(
          static_cast<std::int32_t>(address - kKM2ImageBase + kKM2BlockBytes), kKM2ReadTotal);
      feedback_.ShowReadStatus(kReading + PercentText(progress, kKM2ReadTotal));
      const std::string answer = RequestBlockKM2(address);
      pump_.Pump();
      const Block block = StoreBlock(image, answer, address);
      if (block == Block::Accepted) {
        // Noise after the last line end would run into the next answer's first line in the
        // log, and the log must give back the same image.
        accepted += answer.substr(0, answer.find_last_of("\r\n") + 1);
        address += kKM2BlockBytes;
        failures = 0;
        feedback_.ShowProgress(static_cast<std::int32_t>(address - kKM2ImageBase),
                               static_cast<std::int32_t>(kKM2ReadBlocks * kKM2BlockBytes));
        continue;
      }
      if (++failures > 1) {
        verdict = block == Block::Missing ? kNoDataRead : kChecksumError;
        break;
      }
    }
    session.Close();
    if (verdict != nullptr) feedback_.ShowMessage(verdict, kTitleKM2);
    const bool complete = address > kKM2LastBlockLimit;
    return {std::move(image), std::move(accepted), complete};
  } catch (const TalliskError& e) {
    ReportFailure(kReadFailed, e);
    return {};
  }
}

bool RadioLink::TransferImageKM2(const std::string& image) {
  title_ = kTitleKM2;
  std::int32_t progress = 0;
  state_.StopRequested = false;
  // A short image would go out as records whose count no longer matches their data, and a
  // stray character would be taken as 0 by the checksum: the radio must get neither.
  if (image.size() != 2 * static_cast<std::size_t>(kKM2WriteBytes) || !IsHexText(image)) {
    feedback_.ShowMessage(IsHexText(image) ? kImageSizeWrong : kImageTextWrong, kTitleKM2);
    feedback_.ShowWriteStatus("");
    return false;
  }
  BusyScope busy(state_);
  try {
    PortSession session(*this);
    session.Open();
    port_.SetDTR(true);
    port_.SetRTS(true);
    Pause(kCharacterPause);
    if (SendRecordWaiting(std::string(kKM2StartRecord) + kCrLf) != CtsWait::Ready) {
      // Nothing reached the radio: there is no write to end.
      session.Close();
      feedback_.ShowWriteStatus("");
      return false;
    }
    Pause(kKM2Pause);
    for (std::int32_t offset = 0; offset < kKM2WriteBytes && !state_.StopRequested;
         offset += kKM2WriteRecordBytes) {
      progress = std::min(progress + kKM2WriteRecordBytes, kKM2WriteBytes);
      feedback_.ShowWriteStatus(kWriting + PercentText(progress, kKM2WriteBytes));
      std::string data =
          image.substr(2 * static_cast<std::size_t>(offset), 2 * kKM2WriteRecordBytes);
      for (char& c : data) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      const std::string body = "23" + ToHex(kKM2ImageBase + offset, 4) + data;
      const std::string record = "T1" + body + RecordCheckSum(body) + kCrLf;
      Pause(kKM2Pause);
      pump_.Pump();
      const auto wait = SendRecordWaiting(record);
      if (wait == CtsWait::Stopped) break;
      if (wait == CtsWait::GaveUp) {
        session.Close();
        feedback_.ShowWriteStatus("");
        return false;
      }
      feedback_.ShowProgress(offset + kKM2WriteRecordBytes, kKM2WriteBytes);
    }
    Pause(kKM2Pause);
    // The end record goes out after a stop too, so the radio closes its write cleanly.
    const bool ended =
        SendTextWaiting(std::string(kKM2EndRecord) + kCrLf, true, false) == CtsWait::Ready;
    session.Close();
    if (!ended || state_.StopRequested) {
      feedback_.ShowWriteStatus("");
      return false;
    }
  } catch (const TalliskError& e) {
    ReportFailure(kWriteFailedKM2, e);
    feedback_.ShowWriteStatus("");
    return false;
  }
  feedback_.ShowWriteStatus(kProgrammingComplete);
  return true;
}

}  // namespace tallisk
