#pragma once

// A data log: the read log (ReadDataLog.log) or the write log (WriteDataLog.log). Each
// entry is the local date and time, one space, LogText, CR, CR LF; the file is only ever
// appended to until the user deletes it from the options window. A log is a convenience:
// one that cannot be written is skipped without a crash or a message, and the read or
// write goes on.

#include <functional>
#include <string>

namespace tallisk {

// The local date and time as "YYYY-MM-DD HH:MM:SS": unambiguous, always 19 characters, and
// the same whatever the locale.
std::string LocalTimeStamp();

class clsLogger {
 public:
  clsLogger() = default;
  explicit clsLogger(std::string logFileName) : LogFileName(std::move(logFileName)) {}

  std::string LogFileName;  // full path of the log file
  std::string LogText;      // the entry the next AddToLog writes
  // Where the time stamp comes from; tests hand in a fixed one.
  std::function<std::string()> TimeStamp = LocalTimeStamp;

  // Appends the entry, creating the file (and its folder) when missing. Failures are
  // ignored.
  void AddToLog();
  // Deletes the log file: true when a file was deleted, false otherwise (no file, or it
  // could not be deleted). Shows nothing.
  bool KillLog();
};

}  // namespace tallisk
