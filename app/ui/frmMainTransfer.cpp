// Reading a radio into the pages and writing the programming into a radio: the commands of
// the start and Finish pages, their status texts, the Stop commands, the data logs and the
// progress a front end shows beside the status texts.

#include <iostream>
#include <map>
#include <utility>

#include "files/History.h"
#include "files/ProgramPaths.h"
#include "files/RadioFile.h"
#include "link/LinkConstants.h"
#include "link/RadioLink.h"
#include "ports/ConfiguredPort.h"
#include "tallisk/conversions.h"
#include "ui/PageText.h"
#include "ui/ProgrammingDiff.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr char kTitleKM2[] = "KM2 Radio Programmer";
constexpr char kTitleQVR[] = "QVR Radio Programmer";

// Time on a 2400-baud line: ten bits a character.
constexpr double kSecondsPerCharacter = 10.0 / 2400;
// A KM2 block: the 14-character request, the 13 answer records of 44 characters, the pause
// before the request and the quiet that ends a complete answer.
constexpr double kReadBlockSeconds =
    (14 + 13 * 44) * kSecondsPerCharacter +
    std::chrono::duration<double>(link::kKM2Pause + link::kQuietGap).count();
constexpr auto kReadBlockBytes = static_cast<std::int32_t>(link::kKM2BlockBytes);
constexpr auto kReadBytes = static_cast<std::int32_t>(link::kKM2ReadBlocks) * kReadBlockBytes;
// A KM2 write record: 76 characters. The pauses around a record pass while the port still
// sends the characters before it, so the line alone sets the pace.
constexpr double kWriteRecordSeconds = 76 * kSecondsPerCharacter;
constexpr std::int32_t kWriteRecordBytes = link::kKM2WriteRecordBytes;
constexpr std::int32_t kWriteRecords = link::kKM2WriteBytes / kWriteRecordBytes;

std::string FailureText(const std::string& leadIn, const TalliskError& e) {
  return leadIn + "\r" + e.Description() + " #" + std::to_string(e.Number());
}

}  // namespace

// The link and what it reports to: the status texts, the window's message boxes and the
// progress.
class frmMain::Transfer : public LinkFeedback {
 public:
  explicit Transfer(frmMain& window)
      : window_(window),
        configured_(
            systemClock_,
            [&window](int portNumber) {
              const PortOverrides named =
                  LoadPortOverrides(window.folders_.Configuration / kPortsFileName);
              const auto device = named.find(portNumber);
              return device != named.end() ? device->second
                                           : window.devices_->AutomaticDevice(portNumber);
            },
            [&window](const std::string& note) {
              if (window.ProgramLog) window.ProgramLog(note);
            }) {}

  void Use(SerialPort& port, Clock& clock, EventPump& pump) {
    port_ = &port;
    clock_ = &clock;
    pump_ = &pump;
  }
  void Pump(EventPump* pump) { pump_ = pump != nullptr ? pump : &noPump_; }

  LinkInUse InUse() { return {*port_, *clock_, *pump_}; }

  RadioLink Link() {
    return RadioLink(*port_, *clock_, *pump_, *this, window_,
                     [this] { return window_.Options ? window_.Options->CommPort : 1; });
  }

  // How many KM2 write records went out in the transfer under way.
  std::int32_t RecordsSent() const { return recordsSent_; }
  // A KM2 read, or a KM2 write that a read-back may follow: one bar for the whole of it.
  void Start(bool writing, bool verifying = false) {
    phase_ = writing ? Phase::Write : Phase::Read;
    verifying_ = verifying;
    quiet_ = false;
    recordsSent_ = 0;
    ShowProgress(0, writing ? link::kKM2WriteBytes : kReadBytes);
  }
  // The read-back of a write: its answers go to the write's bar and status text, and what a
  // read would tell the user is the verification's to say.
  void StartVerifying(bool withProgress, std::string word = "Verifying... ") {
    phase_ = Phase::Verify;
    verifyWord_ = std::move(word);
    quiet_ = true;
    if (withProgress) ShowProgress(0, kReadBytes);
  }
  // A QVR write, which has no bar: only its "Complete" waits for the read-back.
  void ReadBackFollows(bool verifying) { verifying_ = verifying; }
  void Finish() {
    quiet_ = false;
    phase_ = Phase::Read;
    verifying_ = false;
  }

  void ShowReadStatus(const std::string& text) override {
    // The bar's own percentage stands beside it; the read's block count would disagree.
    if (text.starts_with(link::kReading)) return;
    if (phase_ == Phase::Verify) return;
    window_.lblReadRadioInfo.SetCaption(text);
  }
  void ShowWriteStatus(const std::string& text) override {
    if (text.starts_with(link::kWriting)) return;
    // Complete is said once the radio has been read back.
    if (verifying_ && text == link::kProgrammingComplete) return;
    window_.lblWriteToRadioInfo.SetCaption(text);
  }
  void ShowMessage(const std::string& text, const std::string& title) override {
    if (quiet_) return;
    window_.dialogs_.Inform(title, text);
  }
  void ShowFailure(const std::string& text) override {
    if (quiet_) return;
    window_.dialogs_.Message("", text, MessageIcon::None, MessageButtons::OK);
  }
  void ShowProgress(std::int32_t done, std::int32_t total) override {
    TransferProgress progress;
    progress.Active = true;
    progress.Writing = phase_ != Phase::Read;
    const std::int32_t left = std::max(total - done, 0);
    const double writeSeconds = kWriteRecords * kWriteRecordSeconds;
    const double readSeconds = kReadBytes / kReadBlockBytes * kReadBlockSeconds;
    double leftSeconds = 0;
    double allSeconds = 0;
    switch (phase_) {
      case Phase::Read:
        leftSeconds = (left + kReadBlockBytes - 1) / kReadBlockBytes * kReadBlockSeconds;
        allSeconds = readSeconds;
        break;
      case Phase::Write:
        recordsSent_ = done / kWriteRecordBytes;
        leftSeconds = (left + kWriteRecordBytes - 1) / kWriteRecordBytes * kWriteRecordSeconds +
                      (verifying_ ? readSeconds : 0);
        allSeconds = writeSeconds + (verifying_ ? readSeconds : 0);
        break;
      case Phase::Verify:
        leftSeconds = (left + kReadBlockBytes - 1) / kReadBlockBytes * kReadBlockSeconds;
        allSeconds = writeSeconds + readSeconds;
        break;
    }
    progress.SecondsLeft = leftSeconds;
    progress.Percent = allSeconds > 0 ? static_cast<int>(100 * (1 - leftSeconds / allSeconds)) : 0;
    const std::string percent = std::to_string(progress.Percent) + "%";
    if (phase_ == Phase::Read) {
      window_.lblReadRadioInfo.SetCaption(link::kReading + percent);
    } else {
      window_.lblWriteToRadioInfo.SetCaption(
          (phase_ == Phase::Verify ? verifyWord_ : std::string(link::kWriting)) + percent);
    }
    window_.SetProgress(progress);
  }

 private:
  frmMain& window_;
  SystemClock systemClock_;
  NoEventPump noPump_;
  ConfiguredPort configured_;
  SerialPort* port_ = &configured_;
  Clock* clock_ = &systemClock_;
  EventPump* pump_ = &noPump_;
  enum class Phase { Read, Write, Verify };
  Phase phase_ = Phase::Read;
  bool verifying_ = false;
  bool quiet_ = false;
  std::string verifyWord_;
  std::int32_t recordsSent_ = 0;
};

void frmMain::SetUpTransfers() {
  transfer_ = std::make_shared<Transfer>(*this);
  ProgramLog = [](const std::string& note) { std::cerr << "tallisk: " << note << "\n"; };

  btnReadRadio.OnClick.Connect([this] { ReadRadioPressed(); });
  btnStop.OnClick.Connect([this] {
    StopRequested = true;
    lblReadRadioInfo.SetCaption("Stopping the radio...");
  });
  btnWriteToRadio.OnClick.Connect([this] { WriteToRadioPressed(); });
  btnCancelWriting.OnClick.Connect([this] {
    StopRequested = true;
    lblWriteToRadioInfo.SetCaption("Stopping the radio programming");
  });
  btnSaveToFile.OnClick.Connect([this] { SaveToFilePressed(); });
  btnLoadFile.OnClick.Connect([this] { LoadFilePressed(); });
  cmbManual.OnClick.Connect([this] { ManualPressed(); });
}

void frmMain::UseLink(SerialPort& port, Clock& clock, EventPump& pump) {
  transfer_->Use(port, clock, pump);
}

void frmMain::UseEventPump(EventPump* pump) {
  transfer_->Pump(pump);
}

frmMain::LinkInUse frmMain::CurrentLink() {
  return transfer_->InUse();
}

void frmMain::SetProgress(const TransferProgress& progress) {
  progress_ = progress;
  ProgressChanged();
}

void frmMain::LogEntry(clsLogger& log, const std::string& text) {
  log.LogText = text;
  log.AddToLog();
}

// --- Reading ---

void frmMain::ReadRadioPressed() {
  if (TransferBusy) return;
  lblReadRadioInfo.SetCaption("Please wait while reading the radio");
  EnableStartPageCommands(false);
  // The options choose the port the transfer is using.
  btnOptions.SetEnabled(false);
  TransferBusy = true;
  ReadRadio();
  TransferBusy = false;
  EnableStartPageCommands(true);
  btnOptions.SetEnabled(true);
  lblReadRadioInfo.SetCaption("");
  SetProgress({});
}

void frmMain::ReadRadio() {
  if (RadioType == 1) {
    ReadRadioKM2();
  } else {
    ReadRadioQVR();
  }
}

void frmMain::ReadRadioQVR() {
  // The link has told the user why when nothing sound came back.
  const std::string answer = transfer_->Link().ReadRadioQVR();
  if (answer.empty()) return;
  if (Options->UseReadLog) LogEntry(ReadLog, "\r\n" + answer + "\r\n\r\n");
  if (ShowImageQVR(answer)) {
    KeepInHistory(JobAction::Read, "OK", answer, "");
    readAt_ = std::chrono::system_clock::now();
  }
}

void frmMain::ReadRadioKM2() {
  transfer_->Start(false);
  const KM2ReadResult read = transfer_->Link().ReadRadioKM2();
  if (read.Accepted.empty()) return;

  if (Options->UseReadLog) LogEntry(ReadLog, "\r\n" + read.Accepted + "\r\n\r\n");
  const std::string dumpFailure = WriteReadDump(read.Image, folders_.State / kReadDumpFileName);
  if (!dumpFailure.empty() && ProgramLog) ProgramLog(dumpFailure);
  TransferBusy = false;
  if (StopRequested) {
    lblReadRadioInfo.SetCaption("");
    return;
  }
  // Blocks that were never read hold erased bytes: shown and written back, they would wipe
  // the rest of the radio. The link has said why the read did not finish.
  if (!read.Complete) return;
  if (ShowImageKM2(read.Image)) {
    KeepInHistory(JobAction::Read, "OK", read.Image.substr(0, kKM2ImageDigits), "");
    readAt_ = std::chrono::system_clock::now();
  }
}

void frmMain::KeepInHistory(JobAction action, const std::string& result, const std::string& part1,
                            const std::string& part2) {
  JobRecord job;
  job.Action = action;
  job.Family = RadioType == 1 ? RadioFamily::KM2 : RadioFamily::QVR;
  job.Model =
      RadioType == 1 ? Trim(RadioHeader.ModelName) : (ModelProfile ? ModelProfile->Model : "");
  job.SerialNumber = Trim(RadioHeader.SerialNumber);
  job.Customer = Trim(RadioHeader.CustomerNumber);
  job.Port = "COM" + std::to_string(Options ? Options->CommPort : 1);
  job.Result = result;
  // A history that cannot be kept never stops a read or a write.
  History history(folders_.State / "history");
  const std::string failure = history.Keep(job, part1, part2);
  if (!failure.empty() && ProgramLog) ProgramLog(failure);
}

// --- Writing ---

void frmMain::WriteToRadioPressed() {
  if (TransferBusy) return;
  if (RadioType == 1) {
    ProgramRadioKM2();
  } else {
    ProgramRadioQVR();
  }
}

namespace {

// Channels tuned to a reference frequency of 0 carry no synthesiser data: the radio would go
// to no frequency at all.
std::string UnknownBandText() {
  return "The band of this programming is not known (its PLL reference frequency is 0), so "
         "its channels cannot be tuned and nothing was written to the radio. Choose the PLL "
         "reference frequency and injection aspect of the radio on the \"Identify Radio "
         "Features\" page, then write again.";
}

}  // namespace

void frmMain::ProgramRadioQVR() {
  WriteQVR(false);
}

frmMain::WriteOutcome frmMain::WriteQVR(bool batch) {
  const FailureReport report = [this](const TalliskError& e) {
    dialogs_.Inform(kTitleQVR,
                    "Unable to program the radio because a following error has "
                    "occured:" +
                        e.Description() + " #" + std::to_string(e.Number()));
  };
  if (RadioHeader.PLLReferenceFreq == 0) {
    dialogs_.Inform(kTitleQVR, UnknownBandText());
    return WriteOutcome::NotStarted;
  }
  std::string first, second;
  if (!BuildWindowImage(0, report, first, second)) return WriteOutcome::NotStarted;
  if (!batch && !AskToWrite()) return WriteOutcome::NotStarted;
  if (Options->UseWriteLog) LogEntry(WriteLog, "\r\n" + first + second + "\r\n\r\n");

  EnableFinishPageCommands(false);
  btnOptions.SetEnabled(false);
  TransferBusy = true;
  const bool verify = Options->VerifyAfterWrite;
  WriteOutcome outcome = WriteOutcome::Failed;
  for (bool again = true; again;) {
    transfer_->ReadBackFollows(verify);
    const bool sent = transfer_->Link().TransferImageQVR(first, second);
    again = false;
    WriteCheck check = WriteCheck::Verified;
    std::vector<std::string> differing;
    if (sent && verify) check = ReadBack(0, first, second, differing);
    transfer_->Finish();
    outcome = KeepWrite(sent, verify, check, differing, first, second);
    if (sent && verify) again = TellWriteEnd(0, check, differing, batch);
  }
  TransferBusy = false;
  EnableFinishPageCommands(true);
  btnOptions.SetEnabled(true);
  return outcome;
}

void frmMain::ProgramRadioKM2() {
  WriteKM2(false);
}

frmMain::WriteOutcome frmMain::WriteKM2(bool batch) {
  const FailureReport report = [this](const TalliskError& e) {
    dialogs_.Message("", FailureText("Following error has occured while writing to radio:", e),
                     MessageIcon::None, MessageButtons::OK);
  };
  if (RadioHeader.PLLReferenceFreq == 0) {
    dialogs_.Inform(kTitleKM2, UnknownBandText());
    return WriteOutcome::NotStarted;
  }
  std::string image, unused;
  if (!BuildWindowImage(1, report, image, unused)) return WriteOutcome::NotStarted;
  // What a radio keeps from 18DD on is known only to the radio: a programming that did not
  // come from one takes the radio's own, read first, for this write only.
  const bool readFirst = !tailFromRadio_;
  if (!batch && !AskToWrite(readFirst)) return WriteOutcome::NotStarted;
  if (readFirst) {
    std::string tail;
    if (!ReadTailFirst(tail)) return WriteOutcome::NotStarted;
    const std::string installed = std::exchange(KM2Tail, tail);
    const bool built = BuildWindowImage(1, report, image, unused);
    KM2Tail = installed;
    if (!built) return WriteOutcome::NotStarted;
  }
  RadioLink link = transfer_->Link();
  try {
    if (!link.CheckRadioLink()) return WriteOutcome::NotStarted;
  } catch (const TalliskError& e) {
    report(e);
    return WriteOutcome::NotStarted;
  }
  StopRequested = false;
  if (Options->UseWriteLog) LogEntry(WriteLog, "\r\n" + image + "\r\n\r\n");

  EnableFinishPageCommands(false);
  btnOptions.SetEnabled(false);
  TransferBusy = true;
  const bool verify = Options->VerifyAfterWrite;
  WriteOutcome outcome = WriteOutcome::Failed;
  for (bool again = true; again;) {
    again = false;
    StopRequested = false;
    transfer_->Start(true, verify);
    const bool complete = link.TransferImageKM2(image);
    const std::int32_t sent = transfer_->RecordsSent();
    WriteCheck check = WriteCheck::Verified;
    std::vector<std::string> differing;
    if (complete && verify) check = ReadBack(1, image, "", differing);
    transfer_->Finish();
    SetProgress({});
    outcome = KeepWrite(complete, verify, check, differing, image, "");
    // The radio keeps the records it took: half a programming is no programming to run on.
    if (!complete && sent > 0) {
      dialogs_.Inform(kTitleKM2,
                      "The radio programming did not finish: " + std::to_string(sent) + " of " +
                          std::to_string(kWriteRecords) +
                          " records were written. The radio now holds an incomplete "
                          "programming; write the programming again before the radio is used.");
    }
    if (complete && verify) again = TellWriteEnd(1, check, differing, batch);
  }
  TransferBusy = false;
  EnableFinishPageCommands(true);
  btnOptions.SetEnabled(true);
  return outcome;
}

// --- Verifying a write ---
//
// A write is read back and compared with what was sent, since a radio never answers the
// records of a write: a radio switched off, on another port, or dropping records would
// otherwise be taken for programmed.

frmMain::WriteCheck frmMain::ReadBack(std::int32_t family, const std::string& part1,
                                      const std::string& part2,
                                      std::vector<std::string>& differing) {
  differing.clear();
  RadioLink link = transfer_->Link();
  transfer_->StartVerifying(family == 1);
  std::map<std::int32_t, std::string> sent, held;
  if (family == 1) {
    const KM2ReadResult back = link.ReadRadioKM2();
    transfer_->Finish();
    if (!back.Complete) return WriteCheck::NoAnswer;
    for (std::int32_t a = 0; 2 * static_cast<std::size_t>(a) + 1 < part1.size(); ++a) {
      sent[a] = part1.substr(2 * static_cast<std::size_t>(a), 2);
      held[a] = back.Image.substr(2 * static_cast<std::size_t>(a), 2);
    }
  } else {
    const std::string back = link.ReadRadioQVR();
    transfer_->Finish();
    if (back.empty()) return WriteCheck::NoAnswer;
    sent = ImageBytes(RadioFamily::QVR, part1 + part2);
    held = ImageBytes(RadioFamily::QVR, back);
  }

  std::string addresses;
  for (const auto& [address, byte] : sent) {
    const auto found = held.find(address);
    const std::string radio = found == held.end() ? "--" : found->second;
    if (radio == byte) continue;
    addresses += " " + ToHex(static_cast<std::uint64_t>(address), 4) + ":" + byte + "/" + radio;
    const std::string part = PartOf(static_cast<RadioFamily>(family), address);
    if (differing.empty() || differing.back() != part) differing.push_back(part);
  }
  if (differing.empty()) return WriteCheck::Verified;
  // The addresses, what was written and what the radio holds, for whoever looks into it.
  const std::string note =
      "the radio read back after a write differs at (address:written/held)" + addresses;
  if (ProgramLog) ProgramLog(note);
  if (Options && Options->UseWriteLog) LogEntry(WriteLog, "\r\n" + note + "\r\n\r\n");
  return WriteCheck::Differs;
}

bool frmMain::ReadTailFirst(std::string& tail) {
  TransferBusy = true;
  transfer_->StartVerifying(true, "Reading the radio first... ");
  const KM2ReadResult read = transfer_->Link().ReadRadioKM2();
  transfer_->Finish();
  SetProgress({});
  TransferBusy = false;
  if (!read.Complete) {
    lblWriteToRadioInfo.SetCaption("");
    dialogs_.Inform(FamilyTitle(),
                    "The radio could not be read, so nothing was written to it. A new programming "
                    "takes the radio's own firmware ranges, which only a read of the radio gives. "
                    "Check that it is switched on and on the port of the options, then write "
                    "again.");
    return false;
  }
  const std::string image = read.Image.substr(0, kKM2ImageDigits);
  KeepInHistory(JobAction::Read, "OK, read before a new programming", image, "");
  tail = image.substr(kKM2SettingsAt + 2 * (0x18DD - 0x1880));
  return true;
}

bool frmMain::AskToWrite(bool readFirst) {
  std::string text = "Write the programming to the radio on COM" +
                     std::to_string(Options ? Options->CommPort : 1) + "?";
  // A read of the last hour is in the history; say whether the radio's present programming
  // can be had back.
  const auto since = std::chrono::system_clock::now() - readAt_;
  if (readFirst) {
    text +=
        "\r\rThe radio is read first: its own firmware ranges are kept, and its present "
        "programming is kept in the history.";
  } else if (readAt_ != std::chrono::system_clock::time_point{} && since < std::chrono::hours(1)) {
    text += "\r\rThe radio's previous programming is kept in the history.";
  } else {
    text +=
        "\r\rThe programming the radio holds now is not kept: read the radio first if it may "
        "be needed again.";
  }
  return dialogs_.Message(FamilyTitle(), text, MessageIcon::Question, MessageButtons::YesNo) ==
         MessageAnswer::Yes;
}

frmMain::WriteOutcome frmMain::KeepWrite(bool sent, bool verified, WriteCheck check,
                                         const std::vector<std::string>& differing,
                                         const std::string& part1, const std::string& part2) {
  std::string result = "OK";
  JobAction action = verified ? JobAction::Verified : JobAction::Written;
  if (!sent) {
    action = JobAction::Failed;
    result = "the write did not finish";
  } else if (verified && check == WriteCheck::NoAnswer) {
    action = JobAction::Failed;
    result = "no answer when read back";
  } else if (verified && check == WriteCheck::Differs) {
    action = JobAction::Failed;
    result = "read back different: " + differing.front();
  }
  KeepInHistory(action, result, part1, part2);
  lastWriteResult_ = result;
  return action == JobAction::Failed     ? WriteOutcome::Failed
         : action == JobAction::Verified ? WriteOutcome::Verified
                                         : WriteOutcome::Written;
}

bool frmMain::TellWriteEnd(std::int32_t family, WriteCheck check,
                           const std::vector<std::string>& differing, bool batch) {
  const char* title = family == 1 ? kTitleKM2 : kTitleQVR;
  switch (check) {
    case WriteCheck::Verified:
      lblWriteToRadioInfo.SetCaption(std::string(link::kProgrammingComplete) +
                                     ", verified by reading the radio back");
      return false;
    case WriteCheck::NoAnswer:
      lblWriteToRadioInfo.SetCaption("The radio did not answer: it may not be programmed");
      // A batch shows it in its tally; the next radio waits on the bench.
      if (batch) return false;
      dialogs_.Inform(title,
                      "The radio did not answer when it was read back after the write, so it may "
                      "not be programmed. Check that it is switched on and on the port of the "
                      "options, then write again.");
      return false;
    case WriteCheck::Differs:
      break;
  }
  std::string parts;
  for (std::size_t i = 0; i < differing.size() && i < 12; ++i)
    parts += (i == 0 ? "" : ", ") + differing[i];
  if (differing.size() > 12) parts += " and " + std::to_string(differing.size() - 12) + " more";
  lblWriteToRadioInfo.SetCaption("The radio does not hold the programming written");
  if (batch) return false;
  return dialogs_.Message(title,
                          "The radio was read back after the write and does not hold what was "
                          "written: " +
                              parts +
                              ".\r\rThe radio may not work as programmed. Write the programming "
                              "again?",
                          MessageIcon::Exclamation, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace tallisk
