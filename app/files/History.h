#pragma once

// The history: every programming read from or written to a radio, kept as a radio file in
// one folder ($XDG_STATE_HOME/tallisk/history), and one line for each in the job log there.
//
//   2026-12-07T064512Z_KM2_KM0042_written.km2    UTC time to the second, family, serial
//   2026-12-07T064512Z_KM2_KM0042_written-2.km2  number, what happened; a listing sorts by
//   jobs.log                                     time. -2, -3 when the name is taken.
//
// jobs.log is text, one job a line, fields separated by tabs, under a header line:
//   time  action  family  model  serial  customer  port  result  file
// time is UTC, "2026-12-07T06:45:12Z"; file is the radio file's name in the folder, empty
// when the job had no programming to keep (a write that failed before it built an image).
// Tabs and line ends inside a field become spaces, so a line is always one job.
//
// The history is a convenience, never a reason to stop a read or a write: Keep returns an
// error text for the program's log instead of throwing. The folder is created on the first
// Keep. Only the newest radio files are kept (300 by default) and the newest job lines
// (5000); older ones go as new ones come.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/RadioFile.h"

namespace tallisk {

// What happened to the radio. Written to the log and into the file name as the lower-case
// word of each: read, written (sent, not read back), verified (sent and read back the same),
// failed (a write that did not complete or did not verify).
enum class JobAction { Read, Written, Verified, Failed };

std::string_view JobActionName(JobAction action);
std::optional<JobAction> JobActionFromName(std::string_view name);

struct JobRecord {
  std::chrono::system_clock::time_point Time = std::chrono::system_clock::now();
  JobAction Action = JobAction::Read;
  RadioFamily Family = RadioFamily::QVR;
  std::string Model;         // as the pages show it, e.g. "52-899"
  std::string SerialNumber;  // the radio's, as read or as written
  std::string Customer;
  std::string Port;    // "COM1", or the device
  std::string Result;  // a short text: "OK", "No answer from the radio", ...
  std::string File;    // set by Keep: the radio file's name in the history folder
};

// UserStateFolder()/"history".
std::filesystem::path HistoryFolder();

class History {
 public:
  static constexpr std::size_t kDefaultKeptFiles = 300;
  static constexpr std::size_t kDefaultKeptJobLines = 5000;
  static constexpr char kJobLogName[] = "jobs.log";

  explicit History(std::filesystem::path folder = HistoryFolder(),
                   std::size_t keptFiles = kDefaultKeptFiles,
                   std::size_t keptJobLines = kDefaultKeptJobLines);

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path JobLog() const { return folder_ / kJobLogName; }

  // Keeps one job: the programming (part1 and part2 as WriteRadioFile takes them; both
  // empty when there is none) as a new radio file, then its line in the job log (File
  // filled in), then drops the oldest radio files beyond the limit. Returns an empty text
  // when all went well, else what failed, ready for the program's log. A programming that
  // cannot be kept still gets its job line, with an empty File. Nothing is ever left half
  // written: a radio file is written atomically, a job line whole or not at all.
  std::string Keep(const JobRecord& job, std::string_view part1, std::string_view part2 = {});

  // The jobs of the log, newest first. With a filter, only those whose serial number or
  // customer holds it (ignoring case). Damaged lines are skipped; a missing log is no jobs.
  std::vector<JobRecord> Entries(std::string_view filter = {}) const;

  // The radio file of a job, to load as a radio file of job.Family; empty when the job
  // kept none.
  std::filesystem::path FileOf(const JobRecord& job) const;

 private:
  std::filesystem::path folder_;
  std::size_t keptFiles_;
  std::size_t keptJobLines_;
};

}  // namespace tallisk
