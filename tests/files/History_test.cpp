// The history of programmings: every job kept as a radio file that a listing sorts by time,
// a job log the history window reads newest first, old files dropped, and a history that
// cannot be written reports why without ever leaving half a file or half a line.

#include <gmock/gmock.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FilesTestSupport.h"
#include "files/History.h"
#include "files/ProgramPaths.h"
#include "files/RadioFile.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"

namespace tallisk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using HistoryFolderTest = ScratchFolders;
using std::chrono::seconds;

const std::chrono::system_clock::time_point kMorning =
    std::chrono::system_clock::from_time_t(1796625912);  // 2026-12-07 06:45:12 UTC

JobRecord Job(int secondsLater, JobAction action, RadioFamily family, std::string serial,
              std::string customer = "Fire brigade") {
  JobRecord job;
  job.Time = kMorning + seconds(secondsLater);
  job.Action = action;
  job.Family = family;
  job.Model = family == RadioFamily::KM2 ? "KM2-VHF" : "52-899";
  job.SerialNumber = std::move(serial);
  job.Customer = std::move(customer);
  job.Port = "COM1";
  job.Result = "OK";
  return job;
}

std::vector<std::string> Serials(const std::vector<JobRecord>& jobs) {
  std::vector<std::string> serials;
  for (const auto& job : jobs) serials.push_back(job.SerialNumber);
  return serials;
}

TEST_F(HistoryFolderTest, EachJobIsAFileNamedByTimeFamilySerialAndWhatHappened) {
  const clsStringCreator qvr = QvrImage(8, "");
  const std::string km2 = Km2Image();
  const struct {
    JobRecord job;
    std::string name;
  } cases[] = {
      {Job(0, JobAction::Read, RadioFamily::QVR, "4711"), "2026-12-07T064512Z_QVR_4711_read.qvr"},
      {Job(3600, JobAction::Written, RadioFamily::KM2, "KM0042"),
       "2026-12-07T074512Z_KM2_KM0042_written.km2"},
      {Job(3600, JobAction::Verified, RadioFamily::KM2, "KM0042"),
       "2026-12-07T074512Z_KM2_KM0042_verified.km2"},
      // Two jobs in one second: the second gets its own name.
      {Job(3600, JobAction::Verified, RadioFamily::KM2, "KM0042"),
       "2026-12-07T074512Z_KM2_KM0042_verified-2.km2"},
      {Job(86400, JobAction::Failed, RadioFamily::QVR, "../a b_c/7"),
       "2026-12-08T064512Z_QVR_---a-b-c-7_failed.qvr"},
      {Job(90000, JobAction::Read, RadioFamily::QVR, ""),
       "2026-12-08T074512Z_QVR_noserial_read.qvr"},
  };
  History history(root / "history");
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    const bool isKm2 = c.job.Family == RadioFamily::KM2;
    EXPECT_EQ(history.Keep(c.job, isKm2 ? km2 : qvr.ProgrammingStringPart1,
                           isKm2 ? "" : qvr.ProgrammingStringPart2),
              "");
    expected.push_back(c.name);
    // What the history window opens is the programming that was kept.
    const JobRecord logged = history.Entries().front();
    EXPECT_EQ(logged.File, c.name);
    EXPECT_EQ(ReadRadioFile(history.FileOf(logged), c.job.Family),
              isKm2 ? km2 : qvr.ProgrammingStringPart1 + qvr.ProgrammingStringPart2);
  }
  expected.push_back(History::kJobLogName);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(root / "history"), expected);
  EXPECT_EQ(HistoryFolder(), UserStateFolder() / "history");
}

TEST_F(HistoryFolderTest, OnlyTheNewestFilesAndJobLinesStay) {
  const clsStringCreator qvr = QvrImage(8, "");
  const fs::path folder = root / "history";
  Put(folder / "notes.txt", "the customer's own notes");
  History history(folder, /*keptFiles=*/3, /*keptJobLines=*/4);
  // Kept out of time order, as a clock set back would: the oldest times go first.
  for (int minute : {4, 1, 5, 2, 3}) {
    EXPECT_EQ(history.Keep(
                  Job(60 * minute, JobAction::Read, RadioFamily::QVR, "S" + std::to_string(minute)),
                  qvr.ProgrammingStringPart1, qvr.ProgrammingStringPart2),
              "");
  }
  EXPECT_THAT(
      Names(folder),
      ElementsAre("2026-12-07T064812Z_QVR_S3_read.qvr", "2026-12-07T064912Z_QVR_S4_read.qvr",
                  "2026-12-07T065012Z_QVR_S5_read.qvr", "jobs.log", "notes.txt"));
  // The log keeps its header and the four newest jobs, in the order they happened.
  EXPECT_THAT(Serials(history.Entries()), ElementsAre("S3", "S2", "S5", "S1"));
  EXPECT_THAT(Bytes(history.JobLog()), ::testing::StartsWith("time\taction\tfamily\t"));
}

TEST_F(HistoryFolderTest, TheWindowListsJobsNewestFirstFilteredBySerialOrCustomer) {
  History history(root / "history");
  JobRecord odd = Job(5, JobAction::Failed, RadioFamily::KM2, "km0042", "Acme\tTaxi\r\nNorth");
  odd.Result = "No answer from the radio";
  odd.Port = "/dev/ttyUSB0";
  // No programming to keep: the job is logged all the same.
  ASSERT_EQ(history.Keep(odd, ""), "");
  ASSERT_EQ(history.Keep(Job(1, JobAction::Read, RadioFamily::QVR, "4711", "Fire brigade"), ""),
            "");
  ASSERT_EQ(history.Keep(Job(9, JobAction::Written, RadioFamily::KM2, "KM0043", "acme taxi"), ""),
            "");

  const struct {
    std::string filter;
    std::vector<std::string> serials;
  } cases[] = {
      {"", {"KM0043", "4711", "km0042"}}, {"KM004", {"KM0043", "km0042"}},
      {"ACME", {"KM0043", "km0042"}},     {"brigade", {"4711"}},
      {"taxi  north", {"km0042"}},        {"nobody", {}},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(Serials(history.Entries(c.filter)), ElementsAreArray(c.serials)) << c.filter;
  }
  const JobRecord back = history.Entries("north").at(0);
  EXPECT_EQ(back.Time, odd.Time);
  EXPECT_EQ(back.Action, JobAction::Failed);
  EXPECT_EQ(back.Family, RadioFamily::KM2);
  EXPECT_EQ(back.Model, "KM2-VHF");
  EXPECT_EQ(back.Customer, "Acme Taxi  North");
  EXPECT_EQ(back.Port, "/dev/ttyUSB0");
  EXPECT_EQ(back.Result, "No answer from the radio");
  EXPECT_EQ(back.File, "");
  EXPECT_EQ(history.FileOf(back), fs::path());
}

TEST_F(HistoryFolderTest, DamagedLogLinesAreSkipped) {
  const fs::path folder = root / "history";
  const std::string good = "2026-12-07T06:45:12Z\tread\tQVR\t52-899\t1\tA\tCOM1\tOK\t\n";
  Put(folder / "jobs.log",
      "time\taction\tfamily\tmodel\tserial\tcustomer\tport\tresult\tfile\n" + good +
          "2026-12-07T06:45:12Z\tread\tQVR\t52-899\t2\tA\tCOM1\tOK\n"            // a field short
          "2026-13-07T06:45:12Z\tread\tQVR\t52-899\t3\tA\tCOM1\tOK\t\n"          // month 13
          "2026-12-07 06:45:12\tread\tQVR\t52-899\t4\tA\tCOM1\tOK\t\n"           // not UTC form
          "2026-12-07T06:45:12Z\terased\tQVR\t52-899\t5\tA\tCOM1\tOK\t\n"        // no such action
          "2026-12-07T06:45:12Z\tread\tXYZ\t52-899\t6\tA\tCOM1\tOK\t\n"          // no such family
          "2026-12-07T06:45:12Z\tread\tQVR\t52-899\t7\tA\tCOM1\tOK\t../x.qvr\n"  // outside
          "\n\xff\xfe garbage\n"
          "2026-12-07T06:45:12Z\tread\tQVR\t52-899\t8\tA\tCOM1\tOK\t\r\n"  // an editor's CR LF
          "2026-12-07T06:45:12Z\tread\tQV");                               // cut short
  History history(folder);
  EXPECT_THAT(Serials(history.Entries()), ElementsAre("8", "1"));
  // The next job starts its own line after the one that was cut short.
  EXPECT_EQ(history.Keep(Job(0, JobAction::Read, RadioFamily::QVR, "9"), ""), "");
  EXPECT_THAT(Serials(history.Entries()), ElementsAre("9", "8", "1"));
}

TEST_F(HistoryFolderTest, AHistoryThatCannotBeWrittenSaysWhyAndLeavesNothingHalf) {
  const clsStringCreator qvr = QvrImage(8, "");
  const JobRecord job = Job(0, JobAction::Written, RadioFamily::QVR, "4711");
  const struct {
    std::string what;
    std::function<void(const fs::path&)> prepare;
    std::string part1;
    std::string message;
    std::vector<std::string> names;  // what the folder holds afterwards
  } cases[] = {
      {"a file where the folder should be",
       [](const fs::path& folder) { Put(folder, "not a folder"); },
       qvr.ProgrammingStringPart1,
       "The history was not kept",
       {}},
      {"a folder where the job log should be",
       [](const fs::path& folder) { fs::create_directories(folder / "jobs.log"); },
       qvr.ProgrammingStringPart1,
       "the job was not logged",
       {"2026-12-07T064512Z_QVR_4711_written.qvr", "jobs.log"}},
      {"a programming the program could not load again",
       [](const fs::path&) {},
       "not a programming",
       "the programming was not kept",
       {"jobs.log"}},
  };
  for (const auto& c : cases) {
    const fs::path folder = root / c.what;
    c.prepare(folder);
    History history(folder);
    EXPECT_THAT(history.Keep(job, c.part1, qvr.ProgrammingStringPart2), HasSubstr(c.message))
        << c.what;
    if (fs::is_directory(folder))
      EXPECT_EQ(Names(folder), c.names) << c.what;
    else
      EXPECT_EQ(Bytes(folder), "not a folder");
  }
  // The job whose programming was refused is still in the log, without a file.
  const auto refused = History(root / cases[2].what).Entries();
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].File, "");
}

TEST_F(HistoryFolderTest, AFullDiskLeavesTheJobLogAsItWas) {
  const fs::path folder = root / "history";
  History history(folder);
  for (int n = 0; n < 40; ++n) {
    ASSERT_EQ(history.Keep(Job(n, JobAction::Read, RadioFamily::QVR, std::to_string(n)), ""), "");
  }
  const std::string before = Bytes(history.JobLog());
  // A file size limit just past the log's end fails the append part way, as a full disk does.
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = before.size() + 10;
    const rlimit size{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &size);
    const std::string error = history.Keep(Job(99, JobAction::Read, RadioFamily::QVR, "99"), "");
    ::_exit(error.find("File too large") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failure was not reported";
  EXPECT_EQ(Bytes(history.JobLog()), before);
  EXPECT_EQ(history.Entries().size(), 40u);
}

TEST_F(HistoryFolderTest, AReadOnlyFolderKeepsNothing) {
  const fs::path folder = root / "history";
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const clsStringCreator qvr = QvrImage(8, "");
  // Root writes anywhere, so the job is kept by a child that gave root up.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (::setgid(nobody ? nobody->pw_gid : 65534) != 0 ||
          ::setuid(nobody ? nobody->pw_uid : 65534) != 0) {
        ::_exit(2);
      }
    }
    const std::string error =
        History(folder).Keep(Job(0, JobAction::Read, RadioFamily::QVR, "1"),
                             qvr.ProgrammingStringPart1, qvr.ProgrammingStringPart2);
    ::_exit(error.find("Permission denied") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not give root up";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported";
  EXPECT_THAT(Names(folder), ElementsAre());
}

}  // namespace
}  // namespace tallisk::test
