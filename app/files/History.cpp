#include "files/History.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>

#include "files/AtomicFile.h"
#include "files/FileError.h"
#include "files/ProgramPaths.h"

namespace tallisk {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

constexpr std::array<std::string_view, 4> kActionNames = {"read", "written", "verified", "failed"};
constexpr char kHeader[] = "time\taction\tfamily\tmodel\tserial\tcustomer\tport\tresult\tfile\n";
constexpr std::size_t kFields = 9;
// "2026-12-07T064512Z": what starts every radio file of the history.
constexpr std::size_t kNameStampLength = 18;
// A serial number is free text on the pages; a file name takes only so much of it.
constexpr std::size_t kMaximumSerialInName = 24;

std::string_view FamilyName(RadioFamily family) {
  return family == RadioFamily::KM2 ? "KM2" : "QVR";
}

std::optional<RadioFamily> FamilyFromName(std::string_view name) {
  if (name == "QVR") return RadioFamily::QVR;
  if (name == "KM2") return RadioFamily::KM2;
  return std::nullopt;
}

std::string UtcText(Clock::time_point time, const char* format) {
  const std::time_t seconds = Clock::to_time_t(time);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, format, &utc));
}

// 'd' in the shape stands for any digit, every other character for itself.
bool HasShape(std::string_view text, std::string_view shape) {
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return false;
  }
  return true;
}

// Only the exact form the log is written in; anything else marks a damaged line.
std::optional<Clock::time_point> ParseUtc(std::string_view text) {
  if (!HasShape(text, "dddd-dd-ddTdd:dd:ddZ")) return std::nullopt;
  auto number = [&](std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  std::tm utc{};
  utc.tm_year = number(0, 4) - 1900;
  utc.tm_mon = number(5, 2) - 1;
  utc.tm_mday = number(8, 2);
  utc.tm_hour = number(11, 2);
  utc.tm_min = number(14, 2);
  utc.tm_sec = number(17, 2);
  if (utc.tm_mon > 11 || utc.tm_mday < 1 || utc.tm_mday > 31 || utc.tm_hour > 23 ||
      utc.tm_min > 59 || utc.tm_sec > 60) {
    return std::nullopt;
  }
  return Clock::from_time_t(::timegm(&utc));
}

// A field never carries the separator or a line end into the log.
std::string LogField(std::string_view text) {
  std::string field(text);
  for (char& c : field) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return field;
}

std::string NameSerial(std::string_view serial) {
  std::string name;
  for (char c : serial) {
    if (name.size() == kMaximumSerialInName) break;
    const bool safe = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    // '_' separates the parts of the name, so it cannot stand inside one.
    name += safe ? c : '-';
  }
  const bool blank = name.find_first_not_of('-') == std::string::npos;
  return blank ? "noserial" : name;
}

bool IsHistoryFileName(const std::string& name) {
  if (name.size() <= kNameStampLength || name[kNameStampLength] != '_') return false;
  if (!HasShape(std::string_view(name).substr(0, kNameStampLength), "dddd-dd-ddTddddddZ")) {
    return false;
  }
  const fs::path path(name);
  return path.extension() == ".qvr" || path.extension() == ".km2";
}

// Oldest first: by the time in the name, then by the -2, -3 of names taken in one second.
std::pair<std::string, long> Age(const std::string& name) {
  const std::string stem = fs::path(name).stem().string();
  long copy = 1;
  const std::size_t dash = stem.rfind('-');
  const std::size_t lastPart = stem.rfind('_');
  if (dash != std::string::npos && lastPart != std::string::npos && dash > lastPart) {
    const std::string digits = stem.substr(dash + 1);
    if (!digits.empty() && digits.size() < 6 &&
        digits.find_first_not_of("0123456789") == std::string::npos) {
      copy = std::stol(digits);
    }
  }
  return {name.substr(0, kNameStampLength), copy};
}

// Appends one line, whole or not at all: a write cut short (full disk) is cut back to where
// the file ended, so the next reader never meets half a job.
void AppendLine(const fs::path& log, const std::string& line) {
  const int fd = ::open(log.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) throw FileError(log, std::error_code(errno, std::generic_category()), "History");
  struct stat info {};
  std::string text;
  int error = 0;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else {
    char last = '\n';
    if (info.st_size == 0) {
      text = kHeader;
    } else if (::pread(fd, &last, 1, info.st_size - 1) == 1 && last != '\n') {
      // A line cut short (by hand, or by a crash) stays one damaged line instead of
      // swallowing ours; reading the last byte is why the log is opened for reading too.
      text = "\n";
    }
    text += line;
    if (!WriteAll(fd, text)) {
      error = errno;
      (void)::ftruncate(fd, info.st_size);
    } else if (::fdatasync(fd) != 0) {
      error = errno;
    }
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) throw FileError(log, std::error_code(error, std::generic_category()), "History");
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::optional<JobRecord> ParseLine(std::string_view line) {
  // A log that went through an editor may have come back with CR LF.
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::vector<std::string_view> fields = Split(line, '\t');
  if (fields.size() != kFields) return std::nullopt;
  JobRecord job;
  const auto time = ParseUtc(fields[0]);
  const auto action = JobActionFromName(fields[1]);
  const auto family = FamilyFromName(fields[2]);
  // A file name that reaches out of the folder is not one this program wrote.
  const std::string_view file = fields[8];
  const bool plainName = file.find('/') == std::string_view::npos && file != "." && file != "..";
  if (!time || !action || !family || !plainName) return std::nullopt;
  job.Time = *time;
  job.Action = *action;
  job.Family = *family;
  job.Model = fields[3];
  job.SerialNumber = fields[4];
  job.Customer = fields[5];
  job.Port = fields[6];
  job.Result = fields[7];
  job.File = file;
  return job;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Holds(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return Lower(a) == Lower(b); }) != text.end();
}

std::string Reason(const std::exception& e) {
  if (const auto* error = dynamic_cast<const TalliskError*>(&e)) return error->Description();
  return e.what();
}

}  // namespace

std::string_view JobActionName(JobAction action) {
  return kActionNames.at(static_cast<std::size_t>(action));
}

std::optional<JobAction> JobActionFromName(std::string_view name) {
  for (std::size_t i = 0; i < kActionNames.size(); ++i) {
    if (kActionNames[i] == name) return static_cast<JobAction>(i);
  }
  return std::nullopt;
}

fs::path HistoryFolder() {
  return UserStateFolder() / "history";
}

History::History(fs::path folder, std::size_t keptFiles, std::size_t keptJobLines)
    : folder_(std::move(folder)), keptFiles_(keptFiles), keptJobLines_(keptJobLines) {}

fs::path History::FileOf(const JobRecord& job) const {
  return job.File.empty() ? fs::path() : folder_ / job.File;
}

std::string History::Keep(const JobRecord& job, std::string_view part1, std::string_view part2) {
  std::vector<std::string> failures;
  JobRecord kept = job;
  kept.File.clear();

  std::error_code folderError;
  fs::create_directories(folder_, folderError);
  if (folderError) {
    return "The history was not kept: " + FileError(folder_, folderError, "History").Description();
  }

  if (!part1.empty() || !part2.empty()) {
    const std::string base =
        UtcText(job.Time, "%Y-%m-%dT%H%M%SZ") + "_" + std::string(FamilyName(job.Family)) + "_" +
        NameSerial(job.SerialNumber) + "_" + std::string(JobActionName(job.Action));
    const std::string extension = job.Family == RadioFamily::KM2 ? ".km2" : ".qvr";
    std::string name = base + extension;
    // A folder that cannot be looked into fails the write below, with its reason.
    std::error_code lookError;
    for (int copy = 2; fs::exists(folder_ / name, lookError); ++copy) {
      name = base + "-" + std::to_string(copy) + extension;
    }
    try {
      WriteRadioFile(folder_ / name, job.Family, part1, part2);
      kept.File = name;
    } catch (const std::exception& e) {
      failures.push_back("the programming was not kept: " + Reason(e));
    }
  }

  const std::string line =
      UtcText(kept.Time, "%Y-%m-%dT%H:%M:%SZ") + '\t' + std::string(JobActionName(kept.Action)) +
      '\t' + std::string(FamilyName(kept.Family)) + '\t' + LogField(kept.Model) + '\t' +
      LogField(kept.SerialNumber) + '\t' + LogField(kept.Customer) + '\t' + LogField(kept.Port) +
      '\t' + LogField(kept.Result) + '\t' + kept.File + '\n';
  try {
    AppendLine(JobLog(), line);
  } catch (const std::exception& e) {
    failures.push_back("the job was not logged: " + Reason(e));
  }

  // The newest files and lines stay; failing to drop an old one only delays it.
  std::error_code listError;
  std::vector<std::string> names;
  // Stepping with an error code: the range-for's step would throw.
  for (fs::directory_iterator entry(folder_, listError), end; !listError && entry != end;
       entry.increment(listError)) {
    std::string fileName = entry->path().filename().string();
    if (IsHistoryFileName(fileName)) names.push_back(std::move(fileName));
  }
  if (!listError && names.size() > keptFiles_) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return Age(a) < Age(b); });
    for (std::size_t i = 0; i + keptFiles_ < names.size(); ++i) {
      std::error_code removeError;
      fs::remove(folder_ / names[i], removeError);
    }
  }
  if (const auto log = ReadWholeFile(JobLog())) {
    const std::vector<std::string_view> lines = Split(*log, '\n');
    // The header, the jobs, and the empty text after the last line end.
    if (lines.size() > keptJobLines_ + 2) {
      std::string trimmed = kHeader;
      for (std::size_t i = lines.size() - 1 - keptJobLines_; i + 1 < lines.size(); ++i) {
        trimmed.append(lines[i]).append("\n");
      }
      try {
        WriteFileAtomically(JobLog(), trimmed);
      } catch (const std::exception& e) {
        failures.push_back("the job log was not trimmed: " + Reason(e));
      }
    }
  }

  if (failures.empty()) return {};
  std::string text = "History: ";
  for (std::size_t i = 0; i < failures.size(); ++i) text += (i ? "; " : "") + failures[i];
  return text;
}

std::vector<JobRecord> History::Entries(std::string_view filter) const {
  std::vector<JobRecord> jobs;
  const auto log = ReadWholeFile(JobLog());
  if (!log) return jobs;
  const std::vector<std::string_view> lines = Split(*log, '\n');
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    std::optional<JobRecord> job = ParseLine(*line);
    if (!job) continue;
    if (!filter.empty() && !Holds(job->SerialNumber, filter) && !Holds(job->Customer, filter)) {
      continue;
    }
    jobs.push_back(std::move(*job));
  }
  return jobs;
}

}  // namespace tallisk
