#include "cli/CommandSession.h"

#include <cmath>
#include <cstdio>
#include <iostream>

#include "files/FileError.h"
#include "files/RadioFile.h"
#include "link/PortMap.h"
#include "ports/ConfiguredPort.h"
#include "ui/Dialogs.h"

namespace tallisk {

namespace {

// A message of the window on one line: its line breaks become blanks.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

std::optional<PortChoice> ChoosePort(const std::string& text, const ProgramFolders& folders,
                                     SerialDeviceSource& devices) {
  PortChoice choice;
  choice.Text = text;
  if (text.starts_with(kSimDevicePrefix) || text.starts_with("/")) {
    choice.Device = text;
    return choice;
  }
  std::string digits = text;
  if (digits.size() > 3 && (digits.starts_with("COM") || digits.starts_with("com")))
    digits = digits.substr(3);
  if (digits.empty() || digits.size() > 2 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  choice.Number = std::stoi(digits);
  // The options keep port numbers from 1 to 8, as the window offers them.
  if (choice.Number < 1 || choice.Number > 8) return std::nullopt;
  const PortOverrides named = LoadPortOverrides(folders.Configuration / kPortsFileName);
  const auto device = named.find(choice.Number);
  choice.Device = device != named.end() ? device->second : devices.AutomaticDevice(choice.Number);
  return choice;
}

class CommandSession::ConsoleDialogs : public Dialogs {
 public:
  explicit ConsoleDialogs(CommandSession& session) : session_(session) {}
  std::vector<std::string> Told;

  MessageAnswer Message(const std::string& title, const std::string& text, MessageIcon,
                        MessageButtons buttons) override {
    std::string line = OneLine(text);
    if (line.empty()) line = OneLine(title);
    switch (buttons) {
      case MessageButtons::OK:
        Tell(line);
        return MessageAnswer::OK;
      case MessageButtons::OKCancel:
        Tell(line + " (cancelled)");
        return MessageAnswer::Cancel;
      case MessageButtons::YesNo:
      case MessageButtons::YesNoCancel:
        // Nobody is there to answer: the careful answer is no.
        Tell(line + " (answered no)");
        return MessageAnswer::No;
    }
    return MessageAnswer::OK;
  }
  std::optional<std::string> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
  bool PrintDialog() override { return false; }
  void RunModal(Form& window) override { window.Close(); }
  void Notice(const std::string&, const std::string& text) override { Tell(OneLine(text)); }

 private:
  void Tell(const std::string& line) {
    Told.push_back(line);
    session_.context_.Err << "tallisk: "
                          << (session_.subject_.empty() ? "" : session_.subject_ + ": ") << line
                          << "\n";
  }
  CommandSession& session_;
};

CommandSession::CommandSession(CommandContext& context, bool quiet)
    : context_(context), quiet_(quiet), dialogs_(std::make_unique<ConsoleDialogs>(*this)) {
  window_ = std::make_unique<frmMain>(*dialogs_, context.Folders, &context.Devices);
  window_->ProgramLog = [this](const std::string& note) {
    if (!quiet_) context_.Err << "tallisk: " << note << "\n";
  };
  window_->ProgressChanged.Connect([this] { ShowProgress(); });
  if (window_->Options) {
    savedPort_ = window_->Options->CommPort;
    savedVerify_ = window_->Options->VerifyAfterWrite;
  }
}

CommandSession::~CommandSession() {
  // The window saves its options when it ends: a command's port and verification are for
  // its own run, not the user's settings.
  if (window_ && window_->Options) {
    window_->Options->CommPort = static_cast<std::uint8_t>(savedPort_);
    window_->Options->VerifyAfterWrite = savedVerify_;
  }
  if (lastPercent_ >= 0 && context_.ErrIsTerminal) context_.Err << "\n";
}

std::vector<std::string> CommandSession::TakeMessages() {
  return std::exchange(dialogs_->Told, {});
}

void CommandSession::ChooseFamily(RadioFamily family) {
  const auto type = static_cast<std::int32_t>(family);
  if (window_->RadioType == type) return;
  window_->cmbRadioType.Select(type);
  window_->SelectRadioFamily(type);
}

bool CommandSession::Load(const std::filesystem::path& file) {
  About(file.string());
  const auto family = RadioFileFamily(file);
  if (!family) {
    std::error_code error;
    dialogs_->Message("",
                      std::filesystem::exists(file, error) ? "neither a QVR nor a KM2 radio file"
                                                           : "no such file",
                      MessageIcon::None, MessageButtons::OK);
    return false;
  }
  ChooseFamily(*family);
  return window_->LoadFile(file.string());
}

void CommandSession::UsePort(const PortChoice& port) {
  About(port.Text);
  device_ = port.Device;
  SerialPort* serial = nullptr;
  if (context_.PortFor) {
    serial = &context_.PortFor(port.Device);
  } else {
    if (!ownPort_) {
      ownPort_ = std::make_unique<ConfiguredPort>(
          context_.LinkClock, [this](int) { return device_; },
          [this](const std::string& note) {
            if (!quiet_) context_.Err << "tallisk: " << note << "\n";
          });
    }
    serial = ownPort_.get();
  }
  window_->UseLink(*serial, context_.LinkClock, pump_);
  if (window_->Options) window_->Options->CommPort = static_cast<std::uint8_t>(port.Number);
}

void CommandSession::Verify(bool on) {
  if (window_->Options) window_->Options->VerifyAfterWrite = on;
}

bool CommandSession::Read(const PortChoice& port, RadioFamily family) {
  ChooseFamily(family);
  UsePort(port);
  if (!quiet_) {
    context_.Err << "tallisk: " << port.Text << ": reading the "
                 << (family == RadioFamily::KM2 ? "KM2" : "QVR") << " radio\n";
  }
  lastPercent_ = -1;
  const std::int16_t pageBefore = window_->CurrentPage;
  window_->CurrentPage = 0;
  window_->StopRequested = false;
  window_->ReadRadio();
  // A read that decoded opens page 2, as in the window.
  const bool read = window_->CurrentPage == 2;
  if (!read) window_->CurrentPage = pageBefore;
  return read;
}

std::optional<ProgrammingParts> CommandSession::Programming() {
  return window_->CurrentProgramming();
}

void CommandSession::ShowProgress() {
  if (quiet_) return;
  const TransferProgress& progress = window_->Progress();
  if (!progress.Active) return;
  const int percent = progress.Percent;
  const auto seconds = static_cast<long>(std::lround(progress.SecondsLeft));
  char left[32];
  std::snprintf(left, sizeof left, "%ld:%02ld left", seconds / 60, seconds % 60);
  const char* what = progress.Writing ? "writing" : "reading";
  if (context_.ErrIsTerminal) {
    if (percent == lastPercent_) return;
    const int filled = percent * 30 / 100;
    context_.Err << "\r" << what << " [" << std::string(static_cast<std::size_t>(filled), '#')
                 << std::string(static_cast<std::size_t>(30 - filled), ' ') << "] " << percent
                 << "%  " << left << "   " << std::flush;
  } else {
    // Plain lines for a log: one every tenth of the way.
    if (lastPercent_ >= 0 && percent / 10 == lastPercent_ / 10) return;
    context_.Err << "tallisk: " << subject_ << ": " << what << " " << percent << "%, " << left
                 << "\n";
  }
  lastPercent_ = percent;
}

}  // namespace tallisk
