// The history of programmings: every job kept as a radio file that a listing sorts by time,
// a job log the history window reads newest first, old files dropped, and a history that
// cannot be written reports why without ever leaving half a file or half a line.

#include <gmock/gmock.h>

#include "FilesTestSupport.h"
#include "files/History.h"

namespace tallisk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using HistoryFolderTest = ScratchFolders;
using std::chrono::seconds;

const std::chrono::system_clock::time_point kMorning =
    std::chrono::system_clock::from_time_t(1796625912);  // 2026-12-07 06:45:12 UTC

JobRecord Job(int secondsLater, JobAction action, RadioFamily family, std::string serial) {
  JobRecord job;
  job.Time = kMorning + seconds(secondsLater);
  job.Action = action;
  job.Family = family;
  job.Model = family == RadioFamily::KM2 ? "KM2-VHF" : "52-899";
  job.SerialNumber = std::move(serial);
  job.Customer = "Fire brigade";
  job.Port = "COM1";
  job.Result = "OK";
  return job;
}

TEST_F(HistoryFolderTest, EachJobIsAFileNamedByTimeFamilySerialAndWhatHappened) {
  const clsStringCreator creator = QvrImage(8, "");
  const std::string qvr = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
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
    const std::string& programming = c.job.Family == RadioFamily::KM2 ? km2 : qvr;
    EXPECT_EQ(history.Keep(c.job, programming), "");
    expected.push_back(c.name);
    // What the history window opens is the programming that was kept.
    const JobRecord logged = history.Entries().front();
    EXPECT_EQ(logged.File, c.name);
    EXPECT_EQ(logged.Time, c.job.Time);
    EXPECT_EQ(ReadRadioFile(history.FileOf(logged), c.job.Family), programming);
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
  std::vector<std::string> serials;
  for (const auto& job : history.Entries()) serials.push_back(job.SerialNumber);
  EXPECT_THAT(serials, ElementsAre("S3", "S2", "S5", "S1"));
  EXPECT_THAT(Bytes(history.JobLog()), ::testing::StartsWith("time\taction\tfamily\t"));
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

}  // namespace
}  // namespace tallisk::test
