// qvr.dat and the two data logs.

#include <gmock/gmock.h>

#include <regex>

#include "FilesTestSupport.h"
#include "files/ProgramPaths.h"
#include "files/clsAppBehavior.h"
#include "files/clsLogger.h"

namespace tallisk::test {
namespace {

using Options = ScratchFolders;
using ::testing::ElementsAre;

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

}  // namespace
}  // namespace tallisk::test
