// Radio files and the atomic save under them: what the program writes reads back to the
// same image, a damaged or foreign file is refused with a message that says why, and a
// save that fails leaves the old file as it was.

#include <gmock/gmock.h>
#include <signal.h>
#include <sys/resource.h>
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
  auto crOnly = qvr;
  std::erase(crOnly, '\n');
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

}  // namespace
}  // namespace tallisk::test
