// Radio files and the atomic save under them: what the program writes reads back to the
// same image, a damaged or foreign file is refused with a message that says why, and a
// save that fails leaves the old file as it was.

#include <gmock/gmock.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "FilesTestSupport.h"
#include "files/AtomicFile.h"
#include "files/FileError.h"
#include "tallisk/UserPrompt.h"

namespace tallisk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using RadioFiles = ScratchFolders;

// The description of the FileError a call throws, and that it is one of `number`.
std::string Refusal(const std::function<void()>& call, int number = ErrBadFileFormat) {
  try {
    call();
  } catch (const FileError& e) {
    EXPECT_EQ(e.Number(), number) << e.Description();
    return e.Description();
  }
  ADD_FAILURE() << "nothing was refused";
  return {};
}

// That a saved file loads again as the same programming is Fidelity's and
// RadioFiles.NewProgrammingsSavedAndLoadedIntoAFreshWindowGiveTheSameImage's.
TEST_F(RadioFiles, TheProgramWritesItsOwnLayoutAndReadsOthersToo) {
  const clsStringCreator qvr = QvrImage();
  const std::string lines = qvr.ProgrammingStringPart1 + qvr.ProgrammingStringPart2;
  const std::string km2 = Km2Image();
  WriteRadioFile(root / "radio.qvr", RadioFamily::QVR, qvr.ProgrammingStringPart1,
                 qvr.ProgrammingStringPart2);
  EXPECT_EQ(Bytes(root / "radio.qvr"), lines);
  WriteRadioFile(root / "radio.km2", RadioFamily::KM2, km2);
  EXPECT_EQ(Bytes(root / "radio.km2"), km2);  // 16384 digits, no line end

  // A file written elsewhere: LF line ends, blank lines after, lower case.
  std::string edited;
  for (char c : lines) {
    if (c != '\r') edited += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  Put(root / "radio.qvr", edited + "\n\n");
  EXPECT_EQ(ReadRadioFile(root / "radio.qvr", RadioFamily::QVR), lines);
  Put(root / "radio.km2", km2 + std::string(320, 'F') + "\r\n");  // a read dump
  EXPECT_EQ(ReadRadioFile(root / "radio.km2", RadioFamily::KM2), km2 + std::string(320, 'F'));
}

TEST_F(RadioFiles, TheInstallationKm2ImageSplitsAndBuildsAgainWithoutAMessage) {
  struct Recorder : UserPrompt {
    std::vector<std::string> said;
    void ShowMessage(const std::string& text, const std::string&) override { said.push_back(text); }
    bool AskYesNo(const std::string& text, const std::string&, bool) override {
      said.push_back(text);
      return false;
    }
  };
  auto recorder = std::make_shared<Recorder>();
  auto previous = SetUserPrompt(recorder);

  const std::string image = Km2Image();
  clsStringCreator split;
  split.EntireString = image;
  split.BreakUpStringKM2();
  clsRadioHeader header;
  header.RadioHeader = split.RadioHeader;
  header.BreakUpRadioHeaderKM2();
  EXPECT_EQ(header.KM2Tail, image.substr(12730));
  header.IFRx = 214000;  // the profile's value; the block does not carry it
  header.CreateRadioHeaderKM2();

  for (int n = 0; n < 320; ++n) split.colChannelCheckSum.Add(image.substr(0x1EBC * 2 + 2 * n, 2));
  split.RadioHeader = header.RadioHeader;
  split.CreateStringKM2();
  SetUserPrompt(previous);

  EXPECT_THAT(recorder->said, ElementsAre());
  EXPECT_EQ(split.ProgrammingStringPart1, image);
}

TEST_F(RadioFiles, ADamagedOrForeignFileIsRefusedWithWhatIsWrong) {
  const clsStringCreator creator = QvrImage();
  const std::string qvr = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
  const std::string km2 = Km2Image();
  auto flipped = qvr;
  flipped[2 * 28 + 25] = flipped[2 * 28 + 25] == '0' ? '1' : '0';  // line 3, checksum digit
  auto swapped = qvr;
  swapped.replace(28, 28, qvr.substr(56, 28)).replace(56, 28, qvr.substr(28, 28));
  auto crOnly = qvr;
  std::erase(crOnly, '\n');
  // 8193 lines of right checksums whose four-digit addresses run past FFF8 back to 0000.
  const std::string wrapped = [] {
    clsStringCreator c;
    c.RadioHeader = std::string(2 * 8 * 8193, 'F');
    c.CreateString();
    return c.ProgrammingStringPart1 + c.ProgrammingStringPart2;
  }();

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
      {"short.km2", RadioFamily::KM2, km2.substr(0, 15872),
       "\"short.km2\" is not a KM2 radio file: it holds 15872 hex digits, a KM2 programming has "
       "16384"},
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
      {"cr.qvr", RadioFamily::QVR, crOnly, "line 1 is not an S1 line of eight data bytes"},
      {"nul.qvr", RadioFamily::QVR, qvr.substr(0, 30) + '\0' + qvr.substr(31),
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
  EXPECT_THAT(Refusal([&] { ReadRadioFile(root / "none.qvr", RadioFamily::QVR); }, ErrFileNotFound),
              HasSubstr("No such file or directory"));
  // A device would be read for as long as it gives characters.
  EXPECT_THAT(Refusal([&] { ReadRadioFile("/dev/zero", RadioFamily::KM2); }),
              HasSubstr("\"zero\" is not a KM2 radio file: it is a device or a pipe, not a file"));

  // The program does not save what it could not load, and leaves the old file.
  Put(root / "old.km2", km2);
  EXPECT_THAT(Refusal([&] { WriteRadioFile(root / "old.km2", RadioFamily::KM2, km2.substr(2)); }),
              HasSubstr("it holds 16382 hex digits"));
  EXPECT_EQ(Bytes(root / "old.km2"), km2);
}

// --- Saves that fail ---

class FailedSaves : public ScratchFolders {
 protected:
  void SetUp() override {
    ScratchFolders::SetUp();
    folder = root / "radios";
    Put(folder / "radio.km2", old);
  }
  // Saves `size` characters over the old file in a child process that `prepare` sets up
  // first; the child's exit code is the errno of the FileError it got (0: none, 255: some
  // other failure). The old file must then be there byte for byte, and nothing beside it.
  int SaveInChild(const std::function<void()>& prepare, std::size_t size) {
    const pid_t child = ::fork();
    if (child == 0) {
      prepare();
      int code = 0;
      try {
        WriteFileAtomically(folder / "radio.km2", std::string(size, 'B'));
      } catch (const FileError& e) {
        code = e.Reason().value();
      } catch (...) {
        code = 255;
      }
      ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(Bytes(folder / "radio.km2"), old);
    EXPECT_THAT(Names(folder), ElementsAre("radio.km2"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path folder;
  const std::string old = std::string(16384, 'A');
};

TEST_F(FailedSaves, AFullDiskOrAReadOnlyFolderLeavesTheOldFile) {
  // A file size limit fails the write part way, as a full disk does, for root as well.
  EXPECT_EQ(SaveInChild(
                [] {
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                },
                65536),
            EFBIG);

  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  // Root writes into any folder; a child that has given up root does not.
  const int error = SaveInChild(
      [] {
        if (::geteuid() != 0) return;
        const passwd* nobody = ::getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        if (::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(254);
      },
      16384);
  ASSERT_NE(error, 254) << "could not drop root";
  EXPECT_EQ(error, EACCES);
}

}  // namespace
}  // namespace tallisk::test
