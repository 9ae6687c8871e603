#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "link/LinkConstants.h"
#include "link/RecordExchange.h"
#include "sim/VirtualRadioKM2.h"

namespace tallisk::testing {
namespace {

using Bench = LinkBench<sim::VirtualRadioKM2>;

constexpr std::size_t kBlockChars = 2 * 208;

void FillRadio(Bench& b, unsigned seed) {
  b.radio.Eeprom = RandomBytes(8192, seed);
}

TEST(KM2Read, ReadsTheWholeImageInFortyBlocks) {
  Bench b;
  FillRadio(b, 1);
  b.Pace();
  bool dtrDuringRead = true;
  b.onPump = [&] {
    if (!b.radio.BlockRequests().empty()) dtrDuringRead = dtrDuringRead && b.radio.DTR();
  };
  const auto start = b.clock.Now();

  const KM2ReadResult r = b.link.ReadRadioKM2();

  const auto& requests = b.radio.BlockRequests();
  ASSERT_EQ(requests.size(), 40u);
  for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i], 0x8000 + 208 * i);
  EXPECT_EQ(requests.back(), 0x9FB0u);
  ASSERT_EQ(r.Image.size(), 16704u);
  EXPECT_EQ(r.Image.substr(0, 16384), b.radio.EepromHex());
  EXPECT_EQ(r.Image.substr(16384), std::string(320, 'F'));
  // The accepted answers, stored again, give the same image: what the log holds is the read.
  std::string again(16704, 'F');
  ASSERT_TRUE(StoreAnswerLines(again, r.Accepted));
  EXPECT_EQ(again, r.Image);
  ASSERT_EQ(b.feedback.readStatus.size(), 40u);
  EXPECT_EQ(b.feedback.readStatus.front(), "Reading... 3%");
  EXPECT_EQ(b.feedback.readStatus.back(), "Reading... 100%");
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(b.feedback.failures.empty());
  EXPECT_TRUE(b.radio.InTestMode());
  EXPECT_TRUE(dtrDuringRead);
  EXPECT_TRUE(b.LeftIdle());
  EXPECT_FALSE(b.state.TransferBusy);
  // Each block ends with the silence limit: four to five seconds after the last character.
  EXPECT_GT(b.SecondsSince(start), 40 * (4 + 2.3));
  EXPECT_LT(b.SecondsSince(start), 4 + 40 * (5 + 2.5));
}

TEST(KM2Read, StopsBetweenBlocksAndKeepsWhatWasRead) {
  Bench b;
  FillRadio(b, 2);
  bool busyDuringRead = false;
  b.onPump = [&] {
    busyDuringRead = busyDuringRead || b.state.TransferBusy;
    if (b.radio.BlockRequests().size() == 5) b.state.StopRequested = true;
  };
  b.state.StopRequested = true;  // a stop left over from before is cleared at the start

  const KM2ReadResult r = b.link.ReadRadioKM2();

  EXPECT_EQ(b.radio.BlockRequests().size(), 5u);
  EXPECT_EQ(r.Image.substr(0, 5 * kBlockChars), b.radio.EepromHex().substr(0, 5 * kBlockChars));
  EXPECT_EQ(r.Image.substr(5 * kBlockChars), std::string(16704 - 5 * kBlockChars, 'F'));
  EXPECT_FALSE(r.Accepted.empty());
  EXPECT_TRUE(b.state.StopRequested);
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(busyDuringRead);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Read, RetriesABadBlockOnceThenGivesUp) {
  {
    Bench b;
    FillRadio(b, 3);
    b.radio.Misbehave.GarbleBlock = 7;
    const KM2ReadResult r = b.link.ReadRadioKM2();
    ASSERT_EQ(b.radio.BlockRequests().size(), 41u);
    EXPECT_EQ(b.radio.BlockRequests()[7], b.radio.BlockRequests()[8]);
    EXPECT_EQ(r.Image.substr(0, 16384), b.radio.EepromHex());
    EXPECT_TRUE(b.feedback.messages.empty());
    EXPECT_EQ(b.feedback.readStatus.back(), "Reading... 100%");
  }
  {
    Bench b;
    FillRadio(b, 4);
    b.radio.Misbehave.GarbleBlock = 7;
    b.radio.Misbehave.GarbleAlways = true;
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_EQ(b.radio.BlockRequests().size(), 9u);
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "Checksum Error");
    EXPECT_EQ(b.feedback.messages[0].title, "KM2 Radio Programmer");
    // The seven good blocks are kept; the bad one, good records and all, stays erased.
    EXPECT_EQ(r.Image.substr(0, 7 * kBlockChars), b.radio.EepromHex().substr(0, 7 * kBlockChars));
    EXPECT_EQ(r.Image.substr(7 * kBlockChars), std::string(16704 - 7 * kBlockChars, 'F'));
    std::string logged(16704, 'F');
    ASSERT_TRUE(StoreAnswerLines(logged, r.Accepted));
    EXPECT_EQ(logged, r.Image);
    EXPECT_TRUE(b.LeftIdle());
  }
  {
    // A first block bad twice: nothing accepted, nothing to show.
    Bench b;
    b.radio.Misbehave.GarbleBlock = 0;
    b.radio.Misbehave.GarbleAlways = true;
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_EQ(b.radio.BlockRequests().size(), 2u);
    EXPECT_TRUE(r.Accepted.empty());
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "Checksum Error");
  }
}

TEST(KM2Read, NoRadioSilenceAndARadioThatStopsAnswering) {
  {
    Bench b;
    b.radio.Misbehave.NotAttached = true;
    const auto start = b.clock.Now();
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_TRUE(r.Accepted.empty());
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "Error: Unable to communicate with the radio");
    EXPECT_EQ(b.feedback.messages[0].title, "KM2 Radio Programmer");
    EXPECT_TRUE(b.radio.RecordsHeard.empty());
    EXPECT_GE(b.SecondsSince(start), 3.0);
    EXPECT_LT(b.SecondsSince(start), 4.0);
    EXPECT_TRUE(b.LeftIdle());
  }
  {
    Bench b;
    b.radio.Misbehave.Silent = true;
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_EQ(b.radio.BlockRequests().size(), 2u);
    EXPECT_TRUE(r.Accepted.empty());
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "No Data Read");
    EXPECT_TRUE(b.LeftIdle());
  }
  {
    // Erased bytes where the radio fell silent must not pass for its programming.
    Bench b;
    FillRadio(b, 5);
    b.radio.Misbehave.StopAnsweringAfter = 10;
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_EQ(b.radio.BlockRequests().size(), 12u);
    ASSERT_EQ(b.feedback.messages.size(), 1u);
    EXPECT_EQ(b.feedback.messages[0].text, "No Data Read");
    EXPECT_EQ(r.Image.substr(0, 10 * kBlockChars), b.radio.EepromHex().substr(0, 10 * kBlockChars));
    EXPECT_EQ(r.Image.substr(10 * kBlockChars), std::string(16704 - 10 * kBlockChars, 'F'));
  }
}

TEST(KM2Read, ABlockCutShortIsNotTakenForAWholeOne) {
  Bench b;
  FillRadio(b, 15);
  b.radio.Misbehave.CutBlock = 3;
  const KM2ReadResult r = b.link.ReadRadioKM2();
  EXPECT_EQ(b.radio.BlockRequests().size(), 5u);
  ASSERT_EQ(b.feedback.messages.size(), 1u);
  EXPECT_EQ(b.feedback.messages[0].text, "Checksum Error");
  EXPECT_EQ(r.Image.substr(0, 3 * kBlockChars), b.radio.EepromHex().substr(0, 3 * kBlockChars));
  EXPECT_EQ(r.Image.substr(3 * kBlockChars), std::string(16704 - 3 * kBlockChars, 'F'));
}

TEST(KM2Read, ARadioWithoutCTSAfterTheCheckIsGivenUpAfterTenSeconds) {
  Bench b;
  // The link check sees CTS; the cable comes off once the test-mode record is through.
  b.radio.Misbehave.DropLineAfter = 1;
  const auto start = b.clock.Now();
  const KM2ReadResult r = b.link.ReadRadioKM2();
  EXPECT_TRUE(r.Accepted.empty());
  EXPECT_TRUE(b.radio.BlockRequests().empty());
  ASSERT_EQ(b.feedback.messages.size(), 1u);
  EXPECT_EQ(b.feedback.messages[0].text,
            "The radio is not ready (no CTS). Check the cable and that the radio is switched on.");
  EXPECT_GE(b.SecondsSince(start), 10.0);
  EXPECT_LT(b.SecondsSince(start), 11.0);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, SendsStartRecordAllDataRecordsAndTheEndRecord) {
  Bench b;
  b.Pace();
  const std::string image = HexOf(RandomBytes(8192, 6));

  EXPECT_TRUE(b.link.TransferImageKM2(image));

  const auto& heard = b.radio.RecordsHeard;
  ASSERT_EQ(heard.size(), 258u);
  EXPECT_EQ(heard.front(), link::kKM2StartRecord);
  for (std::size_t i = 0; i < 256; ++i) {
    const auto address = 0x8000 + 32 * i;
    EXPECT_EQ(heard[i + 1].substr(0, 8), "T123" + ToHex(address, 4)) << i;
    EXPECT_EQ(heard[i + 1].substr(8, 64), image.substr(64 * i, 64)) << i;
  }
  EXPECT_EQ(heard.back(), "T9030000FC");
  EXPECT_EQ(b.radio.EepromHex(), image);
  EXPECT_EQ(b.radio.DataRecordsStored(), 256);
  EXPECT_EQ(b.radio.WritesEnded(), 1);
  EXPECT_EQ(b.radio.BadRecords, 0);
  ASSERT_EQ(b.feedback.writeStatus.size(), 257u);
  EXPECT_EQ(b.feedback.writeStatus.front(), "Writing... 0%");
  EXPECT_EQ(b.feedback.writeStatus[255], "Writing... 100%");
  EXPECT_EQ(b.feedback.writeStatus.back(), "Radio Programming Complete");
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, AStopSendsTheEndRecordAndClearsTheStatus) {
  Bench b;
  const std::string image = HexOf(RandomBytes(8192, 7));
  b.onPump = [&] {
    if (b.radio.DataRecordsStored() == 10) b.state.StopRequested = true;
  };
  EXPECT_FALSE(b.link.TransferImageKM2(image));
  // The stop comes in the pump just before record 11, which still goes: the stop is
  // looked at between records.
  EXPECT_EQ(b.radio.DataRecordsStored(), 11);
  EXPECT_EQ(b.radio.WritesEnded(), 1);
  EXPECT_EQ(b.radio.RecordsHeard.back(), "T9030000FC");
  EXPECT_EQ(b.radio.EepromHex().substr(0, 704), image.substr(0, 704));
  EXPECT_EQ(b.radio.EepromHex().substr(704), std::string(16384 - 704, 'F'));
  EXPECT_EQ(b.feedback.writeStatus.back(), "");
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, ACableThatComesOffEndsTheWriteWithTheNoCtsMessage) {
  Bench b;
  b.radio.Misbehave.DropLineAfter = 20;
  int pumps = 0;
  b.onPump = [&] { ++pumps; };
  const auto start = b.clock.Now();
  EXPECT_FALSE(b.link.TransferImageKM2(HexOf(RandomBytes(8192, 8))));
  EXPECT_EQ(b.radio.DataRecordsStored(), 19);
  ASSERT_EQ(b.feedback.messages.size(), 1u);
  EXPECT_EQ(b.feedback.messages[0].title, "KM2 Radio Programmer");
  EXPECT_EQ(b.feedback.messages[0].text, link::kNoCts);
  EXPECT_EQ(b.feedback.writeStatus.back(), "");
  EXPECT_GT(pumps, 1000);  // the wait kept the window alive
  EXPECT_LT(b.SecondsSince(start), 12.0);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, AStopDuringTheWaitForCtsIsHonoured) {
  Bench b;
  b.radio.Misbehave.NeverCTS = true;
  int pumps = 0;
  b.onPump = [&] {
    if (++pumps == 200) b.state.StopRequested = true;
  };
  const auto start = b.clock.Now();
  EXPECT_FALSE(b.link.TransferImageKM2(HexOf(RandomBytes(8192, 9))));
  EXPECT_LT(b.SecondsSince(start), 1.0);
  EXPECT_TRUE(b.radio.RecordsHeard.empty());  // not even the end record: nothing was begun
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, RefusesAnImageOfTheWrongSizeOrWithStrayCharacters) {
  Bench b;
  std::string image = HexOf(RandomBytes(8192, 10));
  EXPECT_FALSE(b.link.TransferImageKM2(image.substr(2)));
  image[100] = 'G';
  EXPECT_FALSE(b.link.TransferImageKM2(image));
  ASSERT_EQ(b.feedback.messages.size(), 2u);
  EXPECT_EQ(b.feedback.messages[0].text, "Internal Error: EEPROM size not correct");
  EXPECT_EQ(b.feedback.messages[1].text, "Internal Error: EEPROM image not correct");
  EXPECT_TRUE(b.radio.RecordsHeard.empty());
  EXPECT_EQ(b.port.Line().Opens(), 0);
}

TEST(CheckRadioLink, RaisesTheLinesAndReportsAnAbsentRadio) {
  Bench b;
  EXPECT_TRUE(b.link.CheckRadioLink());
  EXPECT_TRUE(b.LeftIdle());
  EXPECT_TRUE(b.feedback.messages.empty());
  b.radio.Misbehave.NeverCTS = true;
  EXPECT_FALSE(b.link.CheckRadioLink());
  ASSERT_EQ(b.feedback.messages.size(), 1u);
  EXPECT_EQ(b.feedback.messages[0].text, "Error: Unable to communicate with the radio");
  EXPECT_TRUE(b.LeftIdle());
}

}  // namespace
}  // namespace tallisk::testing
