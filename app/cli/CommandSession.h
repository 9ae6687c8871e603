#pragma once

// What every command stands on: the main window's own logic, without a window. A command
// loads, reads, writes and saves through it exactly as the window does (the same image
// builder, link, files, history and verification); its messages become lines on standard
// error, each naming the file or port it is about, and its questions are answered no.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/ProgrammingJson.h"
#include "files/ReportDocument.h"
#include "link/Clock.h"
#include "link/SerialPort.h"
#include "ui/SerialDevices.h"
#include "ui/frmMain.h"

namespace tallisk {

// Exit statuses of the commands.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // the radio, the verification, or a difference found
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFile = 3;  // a file that could not be read, understood or written

// What the program hands the commands; tests hand in virtual radios on a virtual clock.
struct CommandContext {
  std::ostream& Out;
  std::ostream& Err;
  // Progress as a bar that redraws itself, rather than plain lines.
  bool ErrIsTerminal = false;
  ProgramFolders Folders;
  Clock& LinkClock;
  SerialDeviceSource& Devices;
  // The serial port that reaches `device` ("/dev/ttyUSB0", "sim:km2"); it must outlive the
  // command. Empty: the program's own port on the link clock.
  std::function<SerialPort&(const std::string& device)> PortFor = {};
  // Writes the report as a PDF; throws FileError. Empty: the program has no PDF writer.
  std::function<void(const ReportDocument&, const std::filesystem::path&)> WritePdf = {};
  // A file for the window to open, when the arguments name one and no command.
  std::optional<std::string> FileToOpen = {};
};

// A port as the user names it: a port number ("COM2", "2"), a device path, or a virtual
// radio ("sim:qvr", "sim:km2", "sim:km2:EEPROM-FILE").
struct PortChoice {
  std::string Text;
  int Number = 1;
  std::string Device;
};
// Nothing when the text is none of those.
std::optional<PortChoice> ChoosePort(const std::string& text, const ProgramFolders& folders,
                                     SerialDeviceSource& devices);

class CommandSession {
 public:
  CommandSession(CommandContext& context, bool quiet);
  ~CommandSession();

  frmMain& Window() { return *window_; }
  // The file or port the messages are about.
  void About(const std::string& subject) { subject_ = subject; }
  // Where the command's notes and faults go.
  std::ostream& Errors() { return context_.Err; }
  // Everything the window told since the last call, one line each.
  std::vector<std::string> TakeMessages();

  void ChooseFamily(RadioFamily family);
  // Loads a radio file into the window; false, with the reason told, when it is no
  // programming.
  bool Load(const std::filesystem::path& file);
  // Reads the radio on `port`; false, with the reason told, when nothing was read.
  bool Read(const PortChoice& port, RadioFamily family);
  // The programming in memory by its fields and image; nothing when it cannot be built.
  std::optional<ProgrammingParts> Programming();
  // Talks to the radio on `port` from now on.
  void UsePort(const PortChoice& port);
  // Writes with or without the read-back, for this run only.
  void Verify(bool on);

 private:
  class ConsoleDialogs;
  void ShowProgress();

  CommandContext& context_;
  bool quiet_;
  std::string subject_;
  std::unique_ptr<ConsoleDialogs> dialogs_;
  std::unique_ptr<frmMain> window_;
  std::unique_ptr<SerialPort> ownPort_;
  std::string device_;
  NoEventPump pump_;
  // What the options held before the command changed them for its run.
  int savedPort_ = 1;
  bool savedVerify_ = true;
  int lastPercent_ = -1;
};

}  // namespace tallisk
