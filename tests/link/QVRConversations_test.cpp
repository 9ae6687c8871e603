#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "link/LinkConstants.h"
#include "link/RecordExchange.h"
#include "sim/VirtualRadioQVR.h"

namespace tallisk::testing {
namespace {

using Bench = LinkBench<sim::VirtualRadioQVR>;

// The image data of an answer: characters 9 to 24 of every 28-character line.
std::string DataOf(const std::string& answer) {
  std::string data;
  for (std::size_t i = 0; i + 28 <= answer.size(); i += 28) data += answer.substr(i + 8, 16);
  return data;
}

TEST(QVRRead, HandsOnTheCheckedAnswerOfTheWholeEeprom) {
  Bench b;
  b.radio.Eeprom = RandomBytes(256, 11);
  b.Pace();
  const auto start = b.clock.Now();
  const std::string answer = b.link.ReadRadioQVR();
  ASSERT_EQ(answer.size(), 32u * 28);
  EXPECT_TRUE(CheckAnswerLinesQVR(answer));
  EXPECT_EQ(DataOf(answer), b.radio.EepromHex());
  EXPECT_EQ(b.radio.RecordsHeard, std::vector<std::string>{"N3030000FC"});
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(b.LeftIdle());
  // 896 characters at 2400 baud, then the silence limit.
  EXPECT_GT(b.SecondsSince(start), 3.7 + 4);
  EXPECT_LT(b.SecondsSince(start), 3.8 + 5);
}

TEST(QVRRead, ABadLineOrSilenceHandsNothingOn) {
  {
    Bench b;
    b.radio.Misbehave.GarbleBlock = 21;  // the calibration line
    EXPECT_EQ(b.link.ReadRadioQVR(), "");
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "Checksum Error");
    EXPECT_EQ(b.feedback.messages[0].title, "QVR Radio Programmer");
    EXPECT_TRUE(b.LeftIdle());
  }
  {
    Bench b;
    b.radio.Misbehave.CutBlock = 12;  // the dump stops inside the channel records
    EXPECT_EQ(b.link.ReadRadioQVR(), "");
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "Checksum Error");
  }
  {
    Bench b;
    b.radio.Misbehave.Silent = true;
    const auto start = b.clock.Now();
    EXPECT_EQ(b.link.ReadRadioQVR(), "");
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "No Data Read");
    EXPECT_EQ(b.feedback.messages[0].title, "QVR Radio Programmer");
    EXPECT_GE(b.SecondsSince(start), 4.0);
    EXPECT_LT(b.SecondsSince(start), 5.0);
    EXPECT_TRUE(b.LeftIdle());
  }
}

TEST(QVRWrite, StoresBothPhasesOfTheProgrammingRun) {
  Bench b(512);
  b.Pace();
  const auto image = RandomBytes(300, 12);
  const auto [first, second] = QvrParts(image);
  ASSERT_FALSE(first.empty());
  bool rtsAndDtrUp = true;
  b.onPump = [&] { rtsAndDtrUp = rtsAndDtrUp && b.radio.RTS() && b.radio.DTR(); };

  EXPECT_TRUE(b.link.TransferImageQVR(first, second));

  EXPECT_EQ(b.radio.PhasesStored(), 2);
  EXPECT_EQ(b.radio.BadRecords, 0);
  EXPECT_EQ(b.radio.EepromHex().substr(0, 600), HexOf(image));
  EXPECT_EQ(b.radio.EepromHex().substr(600, 8), "FFFFFFFF");  // the padding of the last line
  const auto& heard = b.radio.RecordsHeard;
  ASSERT_EQ(heard.size(), 2u + 32 + 1 + 2 + 6 + 1);
  EXPECT_EQ(heard[0], "N004006D008E");
  EXPECT_EQ(heard[1], "N2030000FC");
  EXPECT_EQ(heard[34], "S9030000FC");
  EXPECT_EQ(heard[35], "N004006D404E");
  EXPECT_EQ(heard[37].substr(0, 8), "S10B0100");
  EXPECT_EQ(heard.back(), "S9030000FC");
  EXPECT_EQ(b.feedback.writeStatus, (std::vector<std::string>{"Radio Programming In Progress",
                                                              "Radio Programming Complete"}));
  EXPECT_TRUE(rtsAndDtrUp);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(QVRWrite, ARadioThatNeverAssertsCtsIsGivenUp) {
  Bench b;
  b.radio.Misbehave.NeverCTS = true;
  const auto [first, second] = QvrParts(RandomBytes(194, 13));
  const auto start = b.clock.Now();
  EXPECT_FALSE(b.link.TransferImageQVR(first, second));
  ASSERT_EQ(b.feedback.messages.size(), 1u);
  EXPECT_EQ(b.feedback.messages[0].text,
            "The radio is not ready (no CTS). Check the cable and that the radio is switched on.");
  EXPECT_EQ(b.feedback.messages[0].title, "QVR Radio Programmer");
  EXPECT_EQ(b.feedback.writeStatus.back(), "");
  EXPECT_EQ(b.radio.PhasesStored(), 0);
  EXPECT_GE(b.SecondsSince(start), 10.0);
  EXPECT_LT(b.SecondsSince(start), 10.5);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(QVRWrite, ReadBackGivesWhatWasWritten) {
  Bench b;
  const auto image = RandomBytes(194, 14);
  const auto [first, second] = QvrParts(image);
  EXPECT_TRUE(first.empty());
  ASSERT_TRUE(b.link.TransferImageQVR(first, second));
  const std::string answer = b.link.ReadRadioQVR();
  EXPECT_EQ(DataOf(answer).substr(0, 388), HexOf(image));
  EXPECT_EQ(DataOf(answer).substr(388), std::string(512 - 388, 'F'));
}

}  // namespace
}  // namespace tallisk::testing
