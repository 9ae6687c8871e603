#include "link/RecordExchange.h"

#include <gtest/gtest.h>

#include <cctype>

#include "LinkTestSupport.h"
#include "link/LinkConstants.h"
#include "tallisk/errors.h"

namespace tallisk::testing {
namespace {

const std::string kErased(16704, 'F');

// A record as a radio sends it, without the line end.
std::string Record(const char* letters, std::uint32_t address, const std::string& data) {
  const std::string body = ToHex(data.size() / 2 + 3, 2) + ToHex(address, 4) + data;
  return letters + body + RecordCheckSum(body);
}
std::string Answer(std::uint32_t address, const std::string& data) {
  return Record("R1", address, data);
}
std::string ToLower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
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

TEST(StoreAnswerLines, StoresAnswerLinesOnlyAndStopsAtTheFirstBadOne) {
  std::string image = kErased;
  ASSERT_TRUE(StoreAnswerLines(image, "TA048000FF7C\r\n" + Answer(0x8000, "1111") +
                                          "\r\n\nnoise\r" + Answer(0x8002, "2222") + "\r\n" +
                                          Answer(0x8004, "3333")));  // no CR: not processed
  EXPECT_EQ(image.substr(0, 12), "11112222FFFF");

  std::string bad = Answer(0x8006, "4444");
  bad.back() = bad.back() == '0' ? '1' : '0';
  image = kErased;
  EXPECT_FALSE(StoreAnswerLines(
      image, Answer(0x8000, "5555") + "\r\n" + bad + "\r\n" + Answer(0x8008, "6666") + "\r\n"));
  EXPECT_EQ(image.substr(0, 20), "5555FFFFFFFFFFFFFFFF");

  // A block's answer is complete once checked records cover its 208 bytes.
  std::string block;
  for (std::uint32_t a = 0x80D0; a < 0x81A0; a += 16)
    block += Answer(a, std::string(32, '7')) + "\r\n";
  EXPECT_TRUE(AnswerCompleteKM2(block, 0x80D0));
  EXPECT_FALSE(AnswerCompleteKM2(block.substr(0, block.size() - 2), 0x80D0));  // no CR yet
  EXPECT_FALSE(AnswerCompleteKM2(block, 0x80E0));
}

// A QVR dump of 32 lines whose model byte (000C) is `model`.
std::string DumpQVR(int model) {
  std::string dump;
  for (std::uint32_t a = 0; a < 0x100; a += 8) {
    std::string data = ToHex(a * 0x01010101ULL, 16);
    if (a == 8) data.replace(8, 2, ToHex(static_cast<std::uint64_t>(model), 2));
    dump += Record("S1", a, data) + "\r\n";
  }
  return dump;
}

TEST(CheckAnswerLinesQVR, AcceptsOnlyWholeConsecutiveCheckedLines) {
  const std::string good = DumpQVR(0);
  auto changed = [&](std::size_t at, const std::string& by) {
    return std::string(good).replace(at, by.size(), by);
  };
  EXPECT_TRUE(CheckAnswerLinesQVR(good));
  EXPECT_TRUE(CheckAnswerLinesQVR(good.substr(0, 15 * 28)));  // header and eight channels
  // Count, address and data digits may come in lower case; the checksum may not.
  const std::string lower = Record("S1", 0x18, "abcdef0123456789");
  EXPECT_TRUE(CheckAnswerLinesQVR(changed(28 * 3, "S10b0018" + lower.substr(8))));
  for (const std::string& bad :
       {std::string(), good.substr(0, 14 * 28),                               // a dump cut short
        good.substr(0, good.size() - 1),                                      // a torn last line
        good + "S9030000FC\r\n",                                              // anything after
        good.substr(28),                                                      // not from 0000
        good.substr(0, 28) + good.substr(56),                                 // a line missing
        changed(28 * 3 + 27, " "),                                            // no line end
        changed(28 * 3 + 2, "0C"),                                            // wrong count
        changed(28 * 3, "S20B"),                                              // not an S1 line
        changed(28 * 3, Record("S1", 0x18, "0123456789ABCDZZ")),              // not hex
        changed(28 * 3, lower.substr(0, 24) + ToLower(lower.substr(24)))}) {  // lower checksum
    EXPECT_FALSE(CheckAnswerLinesQVR(bad)) << bad.substr(0, 60);
  }
}

TEST(AnswerCompleteQVR, TheSettingsBlockAndTheChannelsOfTheModel) {
  // 34 + 8 x 10 bytes are 15 lines, 34 + 16 x 10 bytes 25; a model byte that names no
  // 8-channel model needs the 16 channels.
  for (const auto& [model, lines] : {std::pair{16, 15}, std::pair{11, 25}, std::pair{0xFF, 25}}) {
    const std::string dump = DumpQVR(model);
    EXPECT_FALSE(AnswerCompleteQVR(dump.substr(0, lines * 28 - 1))) << model;
    EXPECT_TRUE(AnswerCompleteQVR(dump.substr(0, lines * 28))) << model;
    // A bad line on the way: never complete, the silence limit ends the answer.
    EXPECT_FALSE(AnswerCompleteQVR(std::string(dump).replace(28 * 4 + 24, 2, "00"))) << model;
  }
}

// A port whose lines stay as they were last set, whose n-th write fails as a cable pulled
// out of a USB adapter would, and whose radio is silent or, when talking, never stops: a
// character every 100 ms.
class ScriptedPort : public SerialPort {
 public:
  explicit ScriptedPort(Clock& clock) : clock_(clock), start_(clock.Now()) {}
  void SetPortNumber(int) override {}
  void SetLineSettings(const std::string& s) override { settings = s; }
  void Open() override { open = true; }
  void Close() override { open = false; }
  void SetRTS(bool on) override { rts = on; }
  void SetDTR(bool on) override { dtr = on; }
  bool CTS() override { return true; }
  int BytesWaiting() override { return static_cast<int>(Arrived() - taken_); }
  std::string ReadAll() override {
    const std::size_t fresh = Arrived() - taken_;
    taken_ += fresh;
    return std::string(fresh, 'x');
  }
  void Write(const std::string& text) override {
    if (++writes_ == failAt) throw TalliskError(ErrPortFailed, "Write", "Input/output error");
    written += text;
  }

  bool open = false, rts = false, dtr = false, talking = false;
  int failAt = 0;
  std::string settings, written;

 private:
  std::size_t Arrived() { return talking ? (clock_.Now() - start_) / link::milliseconds(100) : 0; }
  Clock& clock_;
  Clock::Nanos start_;
  std::size_t taken_ = 0;
  int writes_ = 0;
};

struct ScriptBench {
  VirtualClock clock;
  ScriptedPort port{clock};
  RecordingFeedback feedback;
  TransferState state;
  NoEventPump pump;
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
};

TEST(CollectAnswerAndSendText, SilenceLimitsAndPacing) {
  // The clock starts a quarter past a whole second: the fifth boundary ends the silence.
  for (const auto& [talking, characters, seconds] :
       {std::tuple{false, 0, 4.75}, std::tuple{true, 297, 29.75}}) {
    ScriptBench b;
    b.port.talking = talking;
    const auto start = b.clock.Now();
    EXPECT_EQ(b.link.CollectAnswer(30), std::string(characters, 'x'));
    EXPECT_NEAR(std::chrono::duration<double>(b.clock.Now() - start).count(), seconds, 0.01);
  }
  // Text goes out a character at a time with its pause, a record in one write.
  ScriptBench b;
  auto start = b.clock.Now();
  EXPECT_TRUE(b.link.SendText("N3030000FC\r\n", true));
  EXPECT_EQ(b.port.written, "N3030000FC\r\n");
  EXPECT_EQ(b.clock.Now() - start, 12 * link::kCharacterPause);
  start = b.clock.Now();
  EXPECT_TRUE(b.link.SendRecord("T9030000FC\r\n"));
  EXPECT_EQ(b.clock.Now() - start, link::kRecordPause);
}

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
