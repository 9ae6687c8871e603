// Reading a radio into the pages and writing the programming into a radio: the commands of
// the start and Finish pages, their status texts, the Stop commands, the data logs and the
// progress a front end shows beside the status texts.

#include <iostream>

#include "files/ProgramPaths.h"
#include "files/RadioFile.h"
#include "link/LinkConstants.h"
#include "link/RadioLink.h"
#include "ports/ConfiguredPort.h"
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
  void Start(bool writing) {
    writing_ = writing;
    recordsSent_ = 0;
    ShowProgress(0, writing ? link::kKM2WriteBytes : kReadBytes);
  }

  void ShowReadStatus(const std::string& text) override {
    window_.lblReadRadioInfo.SetCaption(text);
  }
  void ShowWriteStatus(const std::string& text) override {
    window_.lblWriteToRadioInfo.SetCaption(text);
  }
  void ShowMessage(const std::string& text, const std::string& title) override {
    window_.dialogs_.Inform(title, text);
  }
  void ShowFailure(const std::string& text) override {
    window_.dialogs_.Message("", text, MessageIcon::None, MessageButtons::OK);
  }
  void ShowProgress(std::int32_t done, std::int32_t total) override {
    TransferProgress progress;
    progress.Active = true;
    progress.Writing = writing_;
    progress.Percent = total > 0 ? static_cast<int>(100LL * done / total) : 0;
    const std::int32_t left = std::max(total - done, 0);
    if (writing_) {
      recordsSent_ = done / kWriteRecordBytes;
      progress.SecondsLeft =
          (left + kWriteRecordBytes - 1) / kWriteRecordBytes * kWriteRecordSeconds;
    } else {
      progress.SecondsLeft = (left + kReadBlockBytes - 1) / kReadBlockBytes * kReadBlockSeconds;
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
  bool writing_ = false;
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
  ShowImageQVR(answer);
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
  ShowImageKM2(read.Image);
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
  const FailureReport report = [this](const TalliskError& e) {
    dialogs_.Inform(kTitleQVR,
                    "Unable to program the radio because a following error has "
                    "occured:" +
                        e.Description() + " #" + std::to_string(e.Number()));
  };
  if (RadioHeader.PLLReferenceFreq == 0) {
    dialogs_.Inform(kTitleQVR, UnknownBandText());
    return;
  }
  std::string first, second;
  if (!BuildWindowImage(0, report, first, second)) return;
  if (Options->UseWriteLog) LogEntry(WriteLog, "\r\n" + first + second + "\r\n\r\n");

  EnableFinishPageCommands(false);
  btnOptions.SetEnabled(false);
  TransferBusy = true;
  transfer_->Link().TransferImageQVR(first, second);
  TransferBusy = false;
  EnableFinishPageCommands(true);
  btnOptions.SetEnabled(true);
}

void frmMain::ProgramRadioKM2() {
  const FailureReport report = [this](const TalliskError& e) {
    dialogs_.Message("", FailureText("Following error has occured while writing to radio:", e),
                     MessageIcon::None, MessageButtons::OK);
  };
  if (RadioHeader.PLLReferenceFreq == 0) {
    dialogs_.Inform(kTitleKM2, UnknownBandText());
    return;
  }
  std::string image, unused;
  if (!BuildWindowImage(1, report, image, unused)) return;
  RadioLink link = transfer_->Link();
  try {
    if (!link.CheckRadioLink()) return;
  } catch (const TalliskError& e) {
    report(e);
    return;
  }
  StopRequested = false;
  if (Options->UseWriteLog) LogEntry(WriteLog, "\r\n" + image + "\r\n\r\n");

  EnableFinishPageCommands(false);
  btnOptions.SetEnabled(false);
  TransferBusy = true;
  transfer_->Start(true);
  const bool complete = link.TransferImageKM2(image);
  const std::int32_t sent = transfer_->RecordsSent();
  TransferBusy = false;
  EnableFinishPageCommands(true);
  btnOptions.SetEnabled(true);
  SetProgress({});
  // The radio keeps the records it took: half a programming is no programming to run on.
  if (!complete && sent > 0) {
    dialogs_.Inform(kTitleKM2,
                    "The radio programming did not finish: " + std::to_string(sent) + " of " +
                        std::to_string(kWriteRecords) +
                        " records were written. The radio now holds an incomplete "
                        "programming; write the programming again before the radio is used.");
  }
}

}  // namespace tallisk
