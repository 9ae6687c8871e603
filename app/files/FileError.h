#pragma once

// The one failure type of the program's files. Every writer (radio files, qvr.dat, the read
// dump) and ReadRadioFile report a failure by throwing a FileError; nothing in app/files
// returns an error code or shows a message itself.
//
// It is a TalliskError, so the window's usual failure box works unchanged: the save shows
// "Unable to save file because a following error has occured: ", CR, Description(), " #",
// Number(). Description() names the file and says what is wrong in words a technician
// understands: the system's reason for a failed open, write, flush or rename
// ("Permission denied", "No space left on device", "Is a directory"), or what makes a file
// that was read not a programming of the family.

#include <filesystem>
#include <string>
#include <system_error>

#include "tallisk/errors.h"

namespace tallisk {

// The numbers the Basic run time gave the same failures, so the number after " #" means
// to a technician what it always meant.
inline constexpr int ErrFileNotFound = 53;
inline constexpr int ErrDiskFull = 61;
inline constexpr int ErrPermissionDenied = 70;
inline constexpr int ErrFileAccess = 75;  // Path/File access error: any other system failure
inline constexpr int ErrPathNotFound = 76;
inline constexpr int ErrBadFileFormat = 321;  // Invalid file format: read, but not a programming

class FileError : public TalliskError {
 public:
  // A system failure on `file`; the number follows the reason, the description is
  // "<reason>: <file>".
  FileError(std::filesystem::path file, std::error_code reason, std::string source);
  // A file that was read but is not what it should be; `description` is the whole message.
  FileError(std::filesystem::path file, std::string description, std::string source);

  const std::filesystem::path& File() const noexcept { return file_; }
  // The system's reason; empty (value 0) for a refused content.
  std::error_code Reason() const noexcept { return reason_; }

 private:
  std::filesystem::path file_;
  std::error_code reason_;
};

}  // namespace tallisk
