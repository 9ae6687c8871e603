#include "link/RecordExchange.h"

#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "tallisk/errors.h"

namespace tallisk::testing {
namespace {

const std::string kErased(16704, 'F');

// A record as a radio sends it, without the line end.
std::string Answer(std::uint32_t address, const std::string& data) {
  const std::string body = ToHex(data.size() / 2 + 3, 2) + ToHex(address, 4) + data;
  return "R1" + body + RecordCheckSum(body);
}

TEST(StoreAnswerRecord, StoresByAddressFrom8000hAndRefusesAnythingDoubtful) {
  struct Case {
    std::string record;
    bool ok;
    std::size_t at = 0;
    std::string stored = "";
  };
  const Case cases[] = {
      {Answer(0x8000, "0123456789ABCDEF"), true, 0, "0123456789ABCDEF"},
      {Answer(0x8020, "abcdef"), true, 64, "ABCDEF"},          // the image keeps upper case
      {Answer(0xA09F, "5A"), true, 16702, "5A"},               // the last byte of the image
      {"R1030000FC", true},                                    // count 3: nothing to store
      {"R10300000", false},                                    // too short to be a record
      {"R1030000fc", false},                                   // checksum compared as text
      {"R10480001122" + RecordCheckSum("0480001122"), false},  // count says one byte, two follow
      {"R1058000ZZ11" + RecordCheckSum("058000ZZ11"),
       false},                            // a stray digit would read as 0 and land in the image
      {Answer(0xA0A0, "00"), false},      // just past the end
      {Answer(0xA09E, "000000"), false},  // runs over the end
      {Answer(0x7FFF, "00"), false},      // below the image
      // Noise with count FF: its sum overflows the 16-bit checksum, and it is simply refused.
      {"R1FF8000" + std::string(506, 'F'), false},
  };
  for (const auto& c : cases) {
    std::string image = kErased, want = kErased;
    want.replace(c.at, c.stored.size(), c.stored);
    EXPECT_EQ(StoreAnswerRecord(image, c.record), c.ok) << c.record;
    EXPECT_EQ(image, want) << c.record;
  }
}

// A port whose lines stay as they were last set, whose n-th write fails as a cable pulled
// out of a USB adapter would, and whose radio is silent.
class ScriptedPort : public SerialPort {
 public:
  void SetPortNumber(int) override {}
  void SetLineSettings(const std::string& s) override { settings = s; }
  void Open() override { open = true; }
  void Close() override { open = false; }
  void SetRTS(bool on) override { rts = on; }
  void SetDTR(bool on) override { dtr = on; }
  bool CTS() override { return true; }
  int BytesWaiting() override { return 0; }
  std::string ReadAll() override { return ""; }
  void Write(const std::string&) override {
    if (++writes == failAt) throw TalliskError(ErrPortFailed, "Write", "Input/output error");
  }

  bool open = false, rts = false, dtr = false;
  int failAt = 0, writes = 0;
  std::string settings;
};

struct ScriptBench {
  VirtualClock clock;
  ScriptedPort port;
  RecordingFeedback feedback;
  TransferState state;
  NoEventPump pump;
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
};

TEST(Conversations, LowerTheLinesAndCloseOnEveryPathFailuresIncluded) {
  const std::string km2 = HexOf(RandomBytes(8192, 20));
  const auto qvr = QvrParts(RandomBytes(194, 21));
  struct Case {
    int failAt;
    std::function<bool(RadioLink&)> run;
    std::string said;
  };
  const Case cases[] = {
      {0, [](RadioLink& l) { return l.CheckRadioLink(); }, ""},
      {5, [](RadioLink& l) { return !l.ReadRadioKM2().Accepted.empty(); },
       "Following error has occured while reading the radio:\rInput/output error #8015"},
      {30, [&](RadioLink& l) { return l.TransferImageKM2(km2); },
       "Following error has occured while writing to radio:\rInput/output error #8015"},
      {40, [&](RadioLink& l) { return l.TransferImageQVR(qvr.first, qvr.second); },
       "Unable to program the radio because a following error has occured:Input/output error "
       "#8015 (QVR Radio Programmer)"},
  };
  for (const auto& c : cases) {
    ScriptBench b;
    b.port.failAt = c.failAt;
    const bool ok = c.run(b.link);
    EXPECT_EQ(ok, c.said.empty()) << c.said;
    EXPECT_EQ(b.feedback.said, c.said);
    EXPECT_TRUE(ok || b.feedback.writeStatus.empty() || b.feedback.writeStatus.back().empty());
    // Only the link can have lowered the lines of this port.
    EXPECT_FALSE(b.port.open || b.port.rts || b.port.dtr) << c.said;
    EXPECT_EQ(b.port.settings, "2400,N,8,1");
    EXPECT_FALSE(b.state.TransferBusy);
  }
}

}  // namespace
}  // namespace tallisk::testing
