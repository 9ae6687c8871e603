#pragma once

// The user's options: whether reads and writes are logged, which serial port the link uses
// and whether a write is read back. They live in qvr.dat, the 5-byte record of the original
// program (so that a file copied from an older installation still loads) and one flag after
// it, stored inverted so that such a file, which lacks it, verifies:
//
//   offset 0  CommPort (one byte)
//   offset 1  UseReadLog, 16-bit little-endian, 0 = false, FFFFh = true
//   offset 3  UseWriteLog, the same
//   offset 5  not VerifyAfterWrite, the same
//
// The options are loaded when the object is made and saved when it goes, i.e. when the
// program ends; the options window edits the one object in between.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace tallisk {

class clsAppBehavior {
 public:
  // The message of a save that failed, word for word as the program has always shown it.
  static constexpr char kSaveFailureMessage[] =
      "Error: Unable to write to qvr.dat file.  Make sure the qvr.dat file is not read only.";

  // `file` is normally OptionsFile(). `reportSaveFailure` shows kSaveFailureMessage (the
  // main window hands in its message box); without one a failed save is only returned.
  explicit clsAppBehavior(std::filesystem::path file,
                          std::function<void(const std::string&)> reportSaveFailure = {});
  // Saves (SaveSettings); a failure is reported through the callback, never thrown.
  ~clsAppBehavior();

  // One object owns the file: a copy would save it twice with different values.
  clsAppBehavior(const clsAppBehavior&) = delete;
  clsAppBehavior& operator=(const clsAppBehavior&) = delete;

  bool UseReadLog = false;
  bool UseWriteLog = false;
  bool VerifyAfterWrite = true;
  std::uint8_t CommPort = 1;  // 1 to 8

  // Reads the record: a missing or short file reads as zeros as far as it is missing, a
  // port number 0 or above 8 becomes 1. Never fails and never reports; the file is not
  // created here.
  void LoadSettings();
  // Writes the 5-byte record atomically, creating the folder when needed. On failure calls
  // the callback with kSaveFailureMessage and returns false; qvr.dat stays as it was.
  bool SaveSettings();

  const std::filesystem::path& File() const noexcept { return file_; }

 private:
  std::filesystem::path file_;
  std::function<void(const std::string&)> reportSaveFailure_;
};

}  // namespace tallisk
