// The program's files: where they live, qvr.dat and the start-up files, radio files and the
// atomic save under them, and the history of programmings. What the program writes reads back
// the same, a damaged or foreign file is refused with a message that says why, and a save or
// a history that fails leaves the old file as it was and never half a file.

#include <gmock/gmock.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>

#include "files/AtomicFile.h"
#include "files/FileError.h"
#include "files/History.h"
#include "files/ProgramPaths.h"
#include "files/RadioFile.h"
#include "files/StartupFiles.h"
#include "files/clsAppBehavior.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"

namespace tallisk::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Every folder the program's files live in is pointed somewhere new for each test, and put
// back afterwards.
class ScratchFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tallisk-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root = pattern;
    // Other users (the read-only folder test saves as one) may pass through.
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "TALLISK_DATA_DIR", "HOME"}) {
      const char* value = std::getenv(name);
      saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    Set("XDG_CONFIG_HOME", root / "config");
    Set("XDG_STATE_HOME", root / "state");
    Set("TALLISK_DATA_DIR", root / "data");
    Set("HOME", root / "home");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(root, ignored)) {
      if (entry.is_directory(ignored))
        fs::permissions(entry, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root, ignored);
  }

  static void Set(const char* name, const fs::path& value) { ::setenv(name, value.c_str(), 1); }

  fs::path root;

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The names in a folder, to see that a failed save left nothing behind.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A QVR programming as the save builds it: the settings block and 16 channels.
clsStringCreator QvrImage() {
  clsRadioHeader header;
  header.SerialNumber = "4711";
  header.CreateRadioHeader();
  clsStringCreator creator;
  creator.RadioHeader = header.RadioHeader;
  for (int n = 1; n <= 16; ++n) {
    clsChannel channel;
    channel.RxFrequency = channel.TxFrequency = 150'000'000 + 12'500.0 * n;
    channel.PLLReferenceFreq = 12.5f;
    channel.RxIF = 21400;
    channel.CreateChannelData();
    creator.colChannelData.Add(channel.ChannelData);
  }
  creator.CreateString();
  return creator;
}

// The installation's KM2 image, built from the library's defaults.
std::string Km2Image() {
  return ReadRadioFile(ExecutableFolder() / "km2.clr", RadioFamily::KM2);
}

using Paths = ScratchFolders;

TEST_F(Paths, FollowTheEnvironmentAndTheXdgDefaults) {
  EXPECT_EQ(UserConfigFolder(), root / "config" / "tallisk");
  EXPECT_EQ(UserStateFolder(), root / "state" / "tallisk");
  EXPECT_EQ(InstallDataFolder(), root / "data");
  EXPECT_EQ(OptionsFile(), root / "config" / "tallisk" / "qvr.dat");
  EXPECT_EQ(ReadDumpFile(), root / "state" / "tallisk" / "me3.km2");
  // Asking creates nothing.
  EXPECT_FALSE(fs::exists(root / "config") || fs::exists(root / "state"));

  // Unset, empty or relative: the defaults under the home folder.
  ::unsetenv("XDG_CONFIG_HOME");
  Set("XDG_STATE_HOME", "relative/state");
  EXPECT_EQ(UserConfigFolder(), root / "home" / ".config" / "tallisk");
  EXPECT_EQ(UserStateFolder(), root / "home" / ".local" / "state" / "tallisk");
  EXPECT_EQ(ReadLogFile().parent_path(), UserStateFolder());
}

using Options = ScratchFolders;

std::string Record(std::initializer_list<int> bytes) {
  std::string record;
  for (int b : bytes) record += static_cast<char>(b);
  return record;
}

TEST_F(Options, TheRecordLoadsAndSavesInTheOldLayout) {
  {
    clsAppBehavior options(OptionsFile());  // a first start: the defaults
    EXPECT_EQ(std::tuple(options.CommPort, options.UseReadLog, options.UseWriteLog,
                         options.VerifyAfterWrite),
              std::tuple(1, false, false, true));
    EXPECT_FALSE(fs::exists(UserConfigFolder()));  // written when the program ends
  }
  EXPECT_EQ(Bytes(OptionsFile()), Record({1, 0, 0, 0, 0, 0, 0}));

  struct Case {
    std::string stored;
    int port;
    bool readLog, writeLog;
    bool verify = true;
  };
  const Case cases[] = {
      {Record({3, 0xFF, 0xFF, 0, 0}), 3, true, false},
      {Record({8, 0, 0, 0xFF, 0xFF}), 8, false, true},
      {Record({9, 0, 0, 0, 0}), 1, false, false},
      {Record({0, 0xFF, 0xFF, 0xFF, 0xFF}), 1, true, true},
      {Record({5, 1, 0}), 5, true, false},  // short: the rest reads as zeros; any bit is true
      {"", 1, false, false},
      // The flag after the old record says not to verify; an old file lacks it.
      {Record({2, 0, 0, 0, 0, 0xFF, 0xFF}), 2, false, false, false},
  };
  for (const Case& c : cases) {
    Put(OptionsFile(), c.stored);
    clsAppBehavior options(OptionsFile());
    EXPECT_EQ(std::tuple(options.CommPort, options.UseReadLog, options.UseWriteLog,
                         options.VerifyAfterWrite),
              std::tuple(c.port, c.readLog, c.writeLog, c.verify))
        << ::testing::PrintToString(c.stored);
  }
  {
    clsAppBehavior options(OptionsFile());
    options.CommPort = 6;
    options.UseWriteLog = true;
    options.VerifyAfterWrite = true;
  }
  EXPECT_EQ(Bytes(OptionsFile()), Record({6, 0, 0, 0xFF, 0xFF, 0, 0}));
}

TEST_F(Options, ASaveThatCannotWriteShowsTheMessageAndKeepsWhatWasThere) {
  // qvr.dat is a folder with something in it: the rename over it fails even for root.
  Put(OptionsFile() / "keep", "kept");
  std::vector<std::string> shown;
  {
    clsAppBehavior options(OptionsFile(), [&](const std::string& m) { shown.push_back(m); });
    EXPECT_FALSE(options.SaveSettings());
  }  // and once more when it goes
  EXPECT_THAT(
      shown, ElementsAre(clsAppBehavior::kSaveFailureMessage, clsAppBehavior::kSaveFailureMessage));
  EXPECT_EQ(
      std::string(clsAppBehavior::kSaveFailureMessage),
      "Error: Unable to write to qvr.dat file.  Make sure the qvr.dat file is not read only.");
  EXPECT_EQ(Bytes(OptionsFile() / "keep"), "kept");
  EXPECT_THAT(Names(UserConfigFolder()), ElementsAre("qvr.dat"));
}

using StartupFiles = ScratchFolders;

TEST_F(StartupFiles, ControlTxtDecidesTheFamiliesOffered) {
  struct Case {
    std::string text;
    bool qvr, km2;
    int radioType;
  };
  const Case cases[] = {
      {"qvr = true\r\n", true, false, 0},
      {"KM2=TRUE", false, true, 1},
      {"[families]\r\nKm2 = True\nQVR= TRUE\n", true, true, 0},
      {"qvr = false\nkm2 = no\n", true, true, 0},  // neither: both offered
  };
  const fs::path control = root / "control.txt";
  for (const Case& c : cases) {
    Put(control, c.text);
    const FamilyConfiguration got = ReadFamilyConfiguration(control);
    EXPECT_EQ(std::tuple(got.QvrEnabled, got.Km2Enabled, got.RadioType),
              std::tuple(c.qvr, c.km2, c.radioType))
        << c.text;
  }
}

TEST_F(StartupFiles, TheKm2TailIsTheImageFrom18DD) {
  std::string image;
  for (int i = 0; i < 16384; ++i) image += "0123456789ABCDEF"[(i * 7) % 16];
  const fs::path clr = root / "km2.clr";

  // A read dump with a line end after it is read as the image it holds.
  Put(clr, image + std::string(320, 'F') + "\r\n");
  EXPECT_EQ(ReadKM2Tail(clr), image.substr(12730));

  // No usable tail: missing, too short, not hex.
  EXPECT_EQ(ReadKM2Tail(root / "missing.clr"), "");
  Put(clr, image.substr(0, 16000));
  EXPECT_EQ(ReadKM2Tail(clr), "");
  Put(clr, image.substr(0, 16383) + "G");
  EXPECT_EQ(ReadKM2Tail(clr), "");
}

using RadioFiles = ScratchFolders;

// The description of the bad-format FileError a call throws.
std::string Refusal(const std::function<void()>& call) {
  try {
    call();
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), ErrBadFileFormat) << e.Description();
    return e.Description();
  }
  ADD_FAILURE() << "nothing was refused";
  return {};
}

// That a saved file loads again as the same programming is Fidelity's and
// RadioFiles.NewProgrammingsSavedAndLoadedIntoAFreshWindowGiveTheSameImage's.
TEST_F(RadioFiles, OwnAndOtherLayoutsReadAndADamagedOrForeignFileIsRefusedWithWhatIsWrong) {
  const clsStringCreator creator = QvrImage();
  const std::string qvr = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
  const std::string km2 = Km2Image();
  WriteRadioFile(root / "radio.qvr", RadioFamily::QVR, creator.ProgrammingStringPart1,
                 creator.ProgrammingStringPart2);
  EXPECT_EQ(Bytes(root / "radio.qvr"), qvr);
  WriteRadioFile(root / "radio.km2", RadioFamily::KM2, km2);
  EXPECT_EQ(Bytes(root / "radio.km2"), km2);  // 16384 digits, no line end
  // A file written elsewhere: LF line ends, blank lines after, lower case.
  std::string edited;
  for (char c : qvr) {
    if (c != '\r') edited += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  Put(root / "radio.qvr", edited + "\n\n");
  EXPECT_EQ(ReadRadioFile(root / "radio.qvr", RadioFamily::QVR), qvr);
  Put(root / "radio.km2", km2 + std::string(320, 'F') + "\r\n");  // a read dump
  EXPECT_EQ(ReadRadioFile(root / "radio.km2", RadioFamily::KM2), km2 + std::string(320, 'F'));

  auto flipped = qvr;
  flipped[2 * 28 + 25] = flipped[2 * 28 + 25] == '0' ? '1' : '0';  // line 3, checksum digit
  auto swapped = qvr;
  swapped.replace(28, 28, qvr.substr(56, 28)).replace(56, 28, qvr.substr(28, 28));
  // 8193 lines of right checksums whose four-digit addresses run past FFF8 back to 0000.
  const std::string wrapped = [] {
    clsStringCreator c;
    c.RadioHeader = std::string(2 * 8 * 8193, 'F');
    c.CreateString();
    return c.ProgrammingStringPart1 + c.ProgrammingStringPart2;
  }();

  // A missing file is Commands.FaultsHaveTheirExitStatusAndOneLineEach's, a KM2 file cut short
  // RadioFiles.FilesThatAreNoProgrammingOfTheFamilyLeaveThePagesAsTheyWere's.
  const struct {
    std::string name;
    RadioFamily family;
    std::string content;
    std::string message;
  } cases[] = {
      {"cut.qvr", RadioFamily::QVR, qvr.substr(0, 10 * 28),
       "\"cut.qvr\" is not a QVR radio file: it holds 10 lines, a QVR programming has at least "
       "15 (the settings block and eight channels)"},
      {"torn.qvr", RadioFamily::QVR, qvr.substr(0, 15 * 28 + 12),
       "\"torn.qvr\" is not a QVR radio file: line 16 is not an S1 line of eight data bytes"},
      {"flip.qvr", RadioFamily::QVR, flipped, "line 3 has the checksum "},
      {"swap.qvr", RadioFamily::QVR, swapped, "line 2 has the address 0010 where 0008 belongs"},
      {"empty.qvr", RadioFamily::QVR, "\r\n", "it is empty"},
      {"kmtwo.qvr", RadioFamily::QVR, km2,
       "it holds 16384 hex digits on one line, as a KM2 radio file does"},
      {"qvr.km2", RadioFamily::KM2, qvr,
       "\"qvr.km2\" is not a KM2 radio file: it holds S1 record lines, as a QVR radio file does"},
      {"text.km2", RadioFamily::KM2, km2.substr(0, 99) + "G" + km2.substr(100),
       "character 100 is \"G\", not a hex digit"},
      {"lines.km2", RadioFamily::KM2, km2.substr(0, 8192) + "\r\n" + km2.substr(8192),
       "character 8193 is a line end, not a hex digit"},
      // Damage of every length, down to lines too short to hold a record type.
      {"one.qvr", RadioFamily::QVR, "S", "line 1 is not an S1 line of eight data bytes"},
      {"gap.qvr", RadioFamily::QVR, qvr.substr(0, 3 * 28) + "\r\n" + qvr.substr(3 * 28),
       "line 4 is empty"},
      {"nul.qvr", RadioFamily::QVR, qvr.substr(0, 40) + '\0' + qvr.substr(41),
       "line 2 is not an S1 line of eight data bytes"},
      {"wrap.qvr", RadioFamily::QVR, wrapped, "line 8193 lies beyond the last S1 address FFF8"},
      {"nul.km2", RadioFamily::KM2, km2.substr(0, 4) + '\0' + km2.substr(5),
       "character 5 is character code 0, not a hex digit"},
      {"huge.km2", RadioFamily::KM2, km2 + std::string(1 << 20, 'F'),
       "it is 1064960 bytes long, far more than a programming of the radio holds"},
  };
  for (const auto& c : cases) {
    Put(root / c.name, c.content);
    EXPECT_THAT(Refusal([&] { ReadRadioFile(root / c.name, c.family); }), HasSubstr(c.message))
        << c.name;
  }
  // A device would be read for as long as it gives characters.
  EXPECT_THAT(Refusal([&] { ReadRadioFile("/dev/zero", RadioFamily::KM2); }),
              HasSubstr("\"zero\" is not a KM2 radio file: it is a device or a pipe, not a file"));

  // The program does not save what it could not load, and leaves the old file.
  Put(root / "old.km2", km2);
  EXPECT_THAT(Refusal([&] { WriteRadioFile(root / "old.km2", RadioFamily::KM2, km2.substr(2)); }),
              HasSubstr("it holds 16382 hex digits"));
  EXPECT_EQ(Bytes(root / "old.km2"), km2);
}

TEST_F(RadioFiles, AFullDiskOrAReadOnlyFolderLeavesTheOldFile) {
  const fs::path folder = root / "radios";
  const std::string old(16384, 'A');
  Put(folder / "radio.km2", old);
  // The errno of a failed save, after which the old file is there byte for byte, alone.
  const auto errorOfSave = [&](std::size_t size) {
    int error = 0;
    try {
      WriteFileAtomically(folder / "radio.km2", std::string(size, 'B'));
    } catch (const FileError& e) {
      error = e.Reason().value();
    }
    EXPECT_EQ(Bytes(folder / "radio.km2"), old);
    EXPECT_THAT(Names(folder), ElementsAre("radio.km2"));
    return error;
  };

  // A file size limit fails the write part way, as a full disk does, for root as well.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limit{4096, saved.rlim_max};
  ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  EXPECT_EQ(errorOfSave(65536), EFBIG);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, SIG_DFL);

  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  // Root writes into any folder, so the save goes as another user.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::seteuid(65534), 0);
  }
  const int error = errorOfSave(16384);
  if (root) {
    ASSERT_EQ(::seteuid(0), 0);
  }
  EXPECT_EQ(error, EACCES);
}

using HistoryFolderTest = ScratchFolders;
using std::chrono::seconds;

const std::chrono::system_clock::time_point kMorning =
    std::chrono::system_clock::from_time_t(1796625912);  // 2026-12-07 06:45:12 UTC

JobRecord Job(int secondsLater, JobAction action, RadioFamily family, std::string serial) {
  JobRecord job;
  job.Time = kMorning + seconds(secondsLater);
  job.Action = action;
  job.Family = family;
  job.SerialNumber = std::move(serial);
  return job;
}

TEST_F(HistoryFolderTest, EachJobIsAFileNamedByTimeFamilySerialAndWhatHappened) {
  const clsStringCreator creator = QvrImage();
  const std::string qvr = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
  const std::string km2 = Km2Image();
  const struct {
    JobRecord job;
    std::string name;
  } cases[] = {
      {Job(0, JobAction::Read, RadioFamily::QVR, "4711"), "2026-12-07T064512Z_QVR_4711_read.qvr"},
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
  const clsStringCreator qvr = QvrImage();
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
  const clsStringCreator qvr = QvrImage();
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

  // A job log the disk has no room to add to says so and stays as it was.
  const fs::path full = root / cases[2].what / "jobs.log";
  const std::string logged = Bytes(full);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limit{logged.size(), saved.rlim_max};
  ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const std::string said = History(root / cases[2].what).Keep(job, "not a programming", "");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, SIG_DFL);
  EXPECT_THAT(said, HasSubstr("the job was not logged"));
  EXPECT_EQ(Bytes(full), logged);
}

}  // namespace
}  // namespace tallisk::test
