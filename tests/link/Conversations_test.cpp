#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "link/LinkConstants.h"
#include "link/RecordExchange.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"

namespace tallisk::testing {
namespace {

using namespace std::chrono_literals;
using QvrBench = LinkBench<sim::VirtualRadioQVR>;
using Km2Bench = LinkBench<sim::VirtualRadioKM2>;

TEST(QVR, WritesBothPhasesOfARunAndReadsTheWholeEepromBack) {
  QvrBench b(512);
  b.Pace();
  const auto image = RandomBytes(300, 12);
  const auto [first, second] = QvrParts(image);
  bool linesUp = true;
  b.onPump = [&] { linesUp = linesUp && b.radio.RTS() && b.radio.DTR(); };

  // 300 bytes reach past address 0100: two phases, each opened by its own page command.
  EXPECT_TRUE(b.link.TransferImageQVR(first, second));
  EXPECT_EQ(b.radio.EepromHex().substr(0, 608), HexOf(image) + "FFFFFFFF");
  const auto& heard = b.radio.RecordsHeard;
  ASSERT_EQ(heard.size(), 2u + 32 + 1 + 2 + 6 + 1);
  EXPECT_EQ(heard[0], "N004006D008E");
  EXPECT_EQ(heard[35], "N004006D404E");
  EXPECT_EQ(b.feedback.writeStatus, (std::vector<std::string>{"Radio Programming In Progress",
                                                              "Radio Programming Complete"}));
  EXPECT_TRUE(linesUp);
  EXPECT_TRUE(b.LeftIdle());

  b.mark = b.clock.Now();
  // What the answer holds is the read log's in Transfers.QvrReadEditAndWriteBack...
  const std::string answer = b.link.ReadRadioQVR();
  EXPECT_EQ(answer.size(), 64u * 28);
  EXPECT_EQ(b.feedback.said, "");
  EXPECT_TRUE(b.LeftIdle());
  // The read command and 1792 characters at 2400 baud, then only the quiet gap: the answer
  // was complete, and the radio fell quiet after the rest of its memory.
  const double line = (12 + 1792) * 10 / 2400.0;
  EXPECT_GT(b.Seconds(), line);
  EXPECT_LT(b.Seconds(), line + 0.1);

  // A radio that pauses 2 s in the middle of a line still gives the whole dump.
  b.radio.Misbehave.PauseBlock = 10;
  b.mark = b.clock.Now();
  EXPECT_EQ(b.link.ReadRadioQVR(), answer);
  EXPECT_GT(b.Seconds(), line + 2);

  // The 8-channel models, codes 12 to 18, hold 15 lines: the read ends with the last of them,
  // not at the silence limit.
  for (const std::uint8_t model : {12, 18}) {
    QvrBench eight(120);
    eight.Pace();
    eight.radio.Eeprom[0x0C] = model;
    EXPECT_EQ(eight.link.ReadRadioQVR().size(), 15u * 28) << int{model};
    EXPECT_LT(eight.Seconds(), (12 + 15 * 28) * 10 / 2400.0 + 0.1) << int{model};
  }
}

TEST(QVR, ABadLineSilenceOrNoCtsLeavesNothingDone) {
  const auto [first, second] = QvrParts(RandomBytes(194, 13));
  struct Case {
    sim::Misbehaviour misbehave;
    bool write;
    std::string said;
  };
  const Case cases[] = {
      {{.GarbleBlock = 21}, false, "Checksum Error"},  // the calibration line
      {{.Silent = true}, false, "No Data Read"},
      {{.NeverCTS = true},
       true,
       "The radio is not ready (no CTS). Check the cable and that the radio is switched on."},
  };
  for (const auto& c : cases) {
    QvrBench b;
    b.radio.Misbehave = c.misbehave;
    EXPECT_FALSE(c.write ? b.link.TransferImageQVR(first, second) : b.link.ReadRadioQVR() != "");
    EXPECT_EQ(b.feedback.said, c.said + " (QVR Radio Programmer)");
    EXPECT_TRUE(b.feedback.writeStatus.empty() || b.feedback.writeStatus.back().empty());
    EXPECT_EQ(b.radio.PhasesStored(), 0);
    // Silence ends a read after four whole seconds, no CTS a write after ten.
    EXPECT_LT(b.Seconds(), c.write ? 10.5 : 5.0);
    EXPECT_TRUE(b.LeftIdle());
  }
}

// The read image when the first `blocks` blocks were accepted: the radio's bytes, then erased.
std::string ReadImage(Km2Bench& b, std::size_t blocks) {
  const std::size_t n = std::min<std::size_t>(blocks * 2 * 208, 16384);
  return b.radio.EepromHex().substr(0, n) + std::string(16704 - n, 'F');
}

// A block that is bad every time from the first, and a radio that stops answering part way,
// are Transfers.Km2ReadsThatDoNotFinishLeaveTheProgrammingInMemoryAsItWas's.
TEST(KM2Read, StopsBadBlocksAndAbsentSilentOrVanishingRadios) {
  struct Case {
    sim::Misbehaviour misbehave;
    std::size_t stopAt;  // the stop comes with this block request
    std::size_t requests;
    int kept;  // whole blocks kept in the image; -1: no image at all
    std::string said;
    int seconds = 0;  // when set: how long it took, to the whole second
  };
  const std::string title = " (KM2 Radio Programmer)";
  const std::string checksum = "Checksum Error" + title, noData = "No Data Read" + title;
  const Case cases[] = {
      {{}, 5, 5, 5, ""},                    // the stop keeps the blocks read before it
      {{.GarbleBlock = 7}, 0, 41, 40, ""},  // bad once: asked again and recovered
      {{.GarbleBlock = 7, .GarbleAlways = true}, 0, 9, 7, checksum},
      {{.CutBlock = 3}, 0, 5, 3, checksum},  // a block cut short is no whole block
      // A pause mid-answer is waited out: the answer is not yet complete.
      {{.PauseBlock = 5}, 0, 40, 40, "", 4},
      // A stray character after a block: in the quiet gap it ends that answer, later it is
      // cleared before the next request, and once the request has gone it spoils the first
      // record of the next answer, which is asked for again. Nothing lands at a wrong address.
      {{.StrayAfterBlock = 5}, 0, 40, 40, ""},
      {{.StrayAfterBlock = 5, .StrayDelay = 50ms}, 0, 40, 40, ""},
      {{.StrayAfterBlock = 5, .StrayDelay = 100ms}, 0, 41, 40, ""},
      {{.Silent = true}, 0, 2, 0, noData},
      {{.NotAttached = true}, 0, 0, -1, "Error: Unable to communicate with the radio" + title, 3},
      // The link check sees CTS; the cable comes off once the test-mode record is through.
      {{.DropLineAfter = 1}, 0, 0, -1, link::kNoCts + title, 10},
  };
  for (const auto& c : cases) {
    Km2Bench b;
    b.radio.Eeprom = RandomBytes(8192, 3);
    b.radio.Misbehave = c.misbehave;
    b.onPump = [&] {
      b.state.StopRequested |= c.stopAt > 0 && b.radio.BlockRequests().size() == c.stopAt;
    };
    b.state.StopRequested = true;  // a stop left over from before is cleared at the start
    // The read's verdict is said once the radio's lines are down (and, but for a radio that
    // stopped answering its CTS, the port is closed).
    bool idleWhenSaid = true, linesDownWhenSaid = true;
    b.feedback.onSaid = [&] {
      idleWhenSaid = idleWhenSaid && b.LeftIdle();
      linesDownWhenSaid = linesDownWhenSaid && !b.radio.RTS() && !b.radio.DTR();
    };
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_TRUE(idleWhenSaid || (c.said != checksum && c.said != noData)) << c.said;
    EXPECT_TRUE(linesDownWhenSaid) << c.said;
    EXPECT_EQ(b.radio.BlockRequests().size(), c.requests) << c.said;
    EXPECT_EQ(b.feedback.said, c.said);
    EXPECT_EQ(r.Image, c.kept < 0 ? "" : ReadImage(b, c.kept)) << c.said;
    EXPECT_EQ(c.seconds > 0 ? static_cast<int>(b.Seconds()) : 0, c.seconds) << c.said;
    EXPECT_TRUE(b.LeftIdle()) << c.said;
  }
}

// What the radio then holds, the addresses asked for, the pace and the window's progress are
// Transfers.Km2ReadEditAndWriteBackChangeOnlyWhatWasEdited's.
TEST(KM2, WritesStartDataAndEndRecordsThenReadsTheImageBackInFortyBlocks) {
  Km2Bench b;
  EXPECT_TRUE(b.link.TransferImageKM2(HexOf(RandomBytes(8192, 6))));
  const auto& heard = b.radio.RecordsHeard;
  ASSERT_EQ(heard.size(), 258u);
  EXPECT_EQ(heard.front(),
            "T023000035322D3132373842FFFCBC100000000000191400169500DA00FBEFFB0174014818");
  EXPECT_EQ(heard.back(), "T9030000FC");
  const auto& status = b.feedback.writeStatus;
  ASSERT_EQ(status.size(), 257u);
  EXPECT_EQ(status.front(), "Writing... 0%");
  EXPECT_EQ(status[31], "Writing... 12%");  // 12.5 and 37.5: ties to even
  EXPECT_EQ(status[95], "Writing... 38%");
  EXPECT_EQ(status[255], "Writing... 100%");
  EXPECT_EQ(status.back(), "Radio Programming Complete");
  EXPECT_TRUE(b.LeftIdle());

  bool linesAndBusy = true;
  b.onPump = [&] {
    linesAndBusy =
        linesAndBusy && b.state.TransferBusy && (b.radio.BlockRequests().empty() || b.radio.DTR());
  };
  EXPECT_EQ(b.link.ReadRadioKM2().Image, b.radio.EepromHex() + std::string(320, 'F'));
  EXPECT_EQ(b.radio.BlockRequests().size(), 40u);
  ASSERT_EQ(b.feedback.readStatus.size(), 40u);
  EXPECT_EQ(b.feedback.readStatus.front(), "Reading... 3%");
  EXPECT_EQ(b.feedback.readStatus.back(), "Reading... 100%");
  EXPECT_EQ(b.feedback.said, "");
  EXPECT_TRUE(linesAndBusy);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, RefusalsStopsAndCablesThatComeOffEndItCleanly) {
  const std::string image = HexOf(RandomBytes(8192, 7));
  std::string stray = image;
  stray[100] = 'G';
  struct Case {
    std::string sent;
    sim::Misbehaviour misbehave;
    int stopAtPump, stored, heard;
    std::string said;
  };
  const std::string title = " (KM2 Radio Programmer)";
  const Case cases[] = {
      {image.substr(2), {}, 0, 0, 0, "Internal Error: EEPROM size not correct" + title},
      {stray, {}, 0, 0, 0, "Internal Error: EEPROM image not correct" + title},
      // The stop is looked at between records: the record after its pump still goes, and
      // the end record follows.
      {image, {}, 11, 11, 1 + 11 + 1, ""},
      {image, {.NeverCTS = true}, 200, 0, 0, ""},  // stopped before anything was begun
      {image, {.DropLineAfter = 20}, 0, 19, 20, link::kNoCts + title},
  };
  for (const auto& c : cases) {
    Km2Bench b;
    b.radio.Misbehave = c.misbehave;
    int pumps = 0;
    b.onPump = [&] { b.state.StopRequested |= ++pumps == c.stopAtPump; };
    EXPECT_FALSE(b.link.TransferImageKM2(c.sent));
    EXPECT_EQ(b.radio.DataRecordsStored(), c.stored);
    EXPECT_EQ(b.radio.RecordsHeard.size(), static_cast<std::size_t>(c.heard));
    EXPECT_EQ(b.radio.WritesEnded(), c.heard == c.stored + 2 ? 1 : 0);
    EXPECT_EQ(b.radio.EepromHex(),
              image.substr(0, 64 * c.stored) + std::string(16384 - 64 * c.stored, 'F'));
    EXPECT_EQ(b.feedback.said, c.said);
    EXPECT_EQ(b.feedback.writeStatus.back(), "");
    EXPECT_LT(b.Seconds(), c.said.empty() ? 1.0 : 11.0);  // CTS is given up after 10 s
    EXPECT_TRUE(b.LeftIdle());
  }
}

}  // namespace
}  // namespace tallisk::testing
