// The program's own files: where they live, qvr.dat and the two data logs, and control.txt,
// km2.clr and tmphelp.thp as the main window reads them at start-up.

#include <gmock/gmock.h>

#include <regex>

#include "FilesTestSupport.h"
#include "files/StartupFiles.h"
#include "files/clsAppBehavior.h"
#include "files/clsLogger.h"

namespace tallisk::test {
namespace {

using ::testing::ElementsAre;

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
  Set("XDG_CONFIG_HOME", "");
  EXPECT_EQ(ReadLogFile().parent_path(), UserStateFolder());
  EXPECT_EQ(UserConfigFolder(), root / "home" / ".config" / "tallisk");
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

TEST(LocalTimeStamp, IsTheNumericLocalDateAndTime) {
  EXPECT_TRUE(std::regex_match(LocalTimeStamp(), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
      << LocalTimeStamp();
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
      {"", true, true, 0},
  };
  const fs::path control = root / "control.txt";
  for (const Case& c : cases) {
    Put(control, c.text);
    const FamilyConfiguration got = ReadFamilyConfiguration(control);
    EXPECT_EQ(std::tuple(got.QvrEnabled, got.Km2Enabled, got.RadioType),
              std::tuple(c.qvr, c.km2, c.radioType))
        << c.text;
  }
  const FamilyConfiguration none = ReadFamilyConfiguration(root / "missing.txt");
  EXPECT_TRUE(none.QvrEnabled && none.Km2Enabled);
  EXPECT_EQ(none.RadioType, 0);
}

TEST_F(StartupFiles, TheKm2TailIsTheImageFrom18DD) {
  std::string image;
  for (int i = 0; i < 16384; ++i) image += "0123456789ABCDEF"[(i * 7) % 16];
  const fs::path clr = root / "km2.clr";

  Put(clr, image);
  const std::string tail = ReadKM2Tail(clr);
  EXPECT_EQ(tail.size(), 3654u);
  EXPECT_EQ(tail, image.substr(12730));
  // A line end after the image, or a read dump: the same tail.
  Put(clr, image + std::string(320, 'F') + "\r\n");
  EXPECT_EQ(ReadKM2Tail(clr), tail);

  // No usable tail: missing, too short, not hex.
  EXPECT_EQ(ReadKM2Tail(root / "missing.clr"), "");
  Put(clr, image.substr(0, 16000));
  EXPECT_EQ(ReadKM2Tail(clr), "");
  Put(clr, image.substr(0, 16383) + "G");
  EXPECT_EQ(ReadKM2Tail(clr), "");
}

TEST_F(StartupFiles, TheHelpTextIsTheWholeFileOrNothing) {
  const std::string text = "KM2 model numbers\r\n\r\n  52-nnn  the model line\n";
  Put(root / "tmphelp.thp", text);
  EXPECT_EQ(ReadModelHelp(root / "tmphelp.thp"), text);
  EXPECT_EQ(ReadModelHelp(root / "none.thp"), "");
}

}  // namespace
}  // namespace tallisk::test
