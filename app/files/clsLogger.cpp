#include "files/clsLogger.h"

#include <ctime>
#include <filesystem>
#include <fstream>

namespace tallisk {

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[32];
  // Numbers only, so the locale cannot change the text; the time zone is the user's.
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(text, length);
}

void clsLogger::AddToLog() {
  try {
    const std::filesystem::path file(LogFileName);
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    // Binary: the entry's CR and CR LF go to the file as they are.
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) return;
    out << (TimeStamp ? TimeStamp() : LocalTimeStamp()) << ' ' << LogText << "\r\r\n";
  } catch (...) {
    // A log is never worth stopping a read or write for.
  }
}

bool clsLogger::KillLog() {
  std::error_code error;
  return std::filesystem::remove(LogFileName, error) && !error;
}

}  // namespace tallisk
