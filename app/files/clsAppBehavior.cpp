#include "files/clsAppBehavior.h"

#include <array>

#include "files/AtomicFile.h"
#include "files/FileError.h"

namespace tallisk {
namespace {

constexpr std::size_t kRecordBytes = 7;

// A Boolean of the record: 16 bits, little-endian, FFFFh for true.
void PutFlag(std::string& record, std::size_t offset, bool value) {
  record[offset] = record[offset + 1] = static_cast<char>(value ? 0xFF : 0x00);
}

bool GetFlag(const std::string& record, std::size_t offset) {
  return record[offset] != 0 || record[offset + 1] != 0;
}

}  // namespace

clsAppBehavior::clsAppBehavior(std::filesystem::path file,
                               std::function<void(const std::string&)> reportSaveFailure)
    : file_(std::move(file)), reportSaveFailure_(std::move(reportSaveFailure)) {
  LoadSettings();
}

clsAppBehavior::~clsAppBehavior() {
  try {
    SaveSettings();
  } catch (...) {
    // The callback is the window's; nothing may leave a destructor.
  }
}

void clsAppBehavior::LoadSettings() {
  // What is missing of the record reads as zeros; a file that cannot be read at all is a
  // record of zeros, which the port rule below turns into the defaults.
  std::string record = ReadWholeFile(file_).value_or(std::string());
  record.resize(kRecordBytes, '\0');
  CommPort = static_cast<std::uint8_t>(record[0]);
  UseReadLog = GetFlag(record, 1);
  UseWriteLog = GetFlag(record, 3);
  VerifyAfterWrite = !GetFlag(record, 5);
  if (CommPort == 0 || CommPort > 8) CommPort = 1;
}

bool clsAppBehavior::SaveSettings() {
  std::string record(kRecordBytes, '\0');
  record[0] = static_cast<char>(CommPort);
  PutFlag(record, 1, UseReadLog);
  PutFlag(record, 3, UseWriteLog);
  PutFlag(record, 5, !VerifyAfterWrite);
  try {
    WriteFileAtomically(file_, record, /*createFolder=*/true);
    return true;
  } catch (const FileError&) {
    if (reportSaveFailure_) reportSaveFailure_(kSaveFailureMessage);
    return false;
  }
}

}  // namespace tallisk
