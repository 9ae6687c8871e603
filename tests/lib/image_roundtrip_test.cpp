// The programming images and their records: channel records, group records, the channel-group
// table and the radio header worked by hand with their edge cases, and whole images built from
// generated settings over every band and layout, assembled, split again and read back. The
// hand-worked records pin each field's place and code; the images check that every block lands
// where the radio expects it, comes back to the object it came from, and encodes to the same
// image (the window re-uses a record's bytes when nobody touched it, so an encoding fault
// shows only here). Then the profile database: the lookups of clsOperator and the CTCSS tone
// tables over the database the build ships beside the library, and how faulty databases of the
// test's own making fail.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iomanip>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "tallisk/UserPrompt.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/colCTCSSFrequencies.h"
#include "tallisk/conversions.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

using H = clsRadioHeader;

// The TalliskError f raised, or one numbered 0 when it raised none.
TalliskError CaughtError(const std::function<void()>& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e;
  }
  return TalliskError(0, "", "");
}

int ErrorOf(const std::function<void()>& f) {
  return CaughtError(f).Number();
}

std::string RandomHex(std::mt19937& rng, std::size_t digits) {
  std::string s(digits, '0');
  for (char& c : s) c = "0123456789ABCDEF"[rng() % 16];
  return s;
}

// The code a channel half carries for its signalling: tone code, signed DCS value, or nothing.
int Code(std::int32_t signalling, int tone, int data) {
  return signalling == 0 ? tone : signalling == 1 ? data : -1000;
}

// Answers the library's questions from a script (then No) and records each question as
// "text | title | default" and each message as "text | title", while it is installed.
class ScriptedPrompt : public UserPrompt {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override {
    messages.push_back(text + " | " + title);
  }
  bool AskYesNo(const std::string& text, const std::string& title, bool defaultYes) override {
    asked.push_back(text + " | " + title + (defaultYes ? " | Yes" : " | No"));
    return asked.size() <= answers.size() && answers[asked.size() - 1];
  }
  std::vector<bool> answers;
  std::vector<std::string> asked, messages;
};

struct PromptScope {
  std::shared_ptr<ScriptedPrompt> prompt = std::make_shared<ScriptedPrompt>();
  std::shared_ptr<UserPrompt> previous = SetUserPrompt(prompt);
  ~PromptScope() { SetUserPrompt(previous); }
  ScriptedPrompt* operator->() { return prompt.get(); }
};

// Every setting of a group, in record order, for comparing two groups at once.
auto GroupSettings(const clsGroup& g) {
  return std::tuple(g.GroupName, g.PriorityChannel1, g.PriorityChannel2, g.BusyChannelLockOut,
                    g.TimeOutTimer, g.IntervalA, g.IntervalBDCS, g.IntervalBCTCSS, g.RXScanHold,
                    g.TXScanHold, g.UnKeyDelayTime, g.PriChSamplingRate, g.PriChSamplingRatio,
                    g.ScanHoldingEvents, g.TXOnPriorityChannel, g.DeleteChTableClear,
                    g.EnablePTTANI, g.EnableANITranspond, g.EnableANIOnMONButton,
                    g.MultiDigitDecodeFormat, g.ANIRate, g.ANIRepetitions, g.ANIDelay,
                    g.ANIInterval, g.DTMF2805IDNumber);
}

std::string Bits(const std::string& record, std::size_t first, std::size_t width) {
  return HexToBinStr(record).substr(first - 1, width);
}

struct Generator {
  std::mt19937 rng;
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool Coin() { return Pick(0, 1) == 1; }
  std::string Text(const std::string& alphabet, int maxLength) {
    std::string s(static_cast<std::size_t>(Pick(0, maxLength)), ' ');
    for (char& c : s) c = alphabet[static_cast<std::size_t>(Pick(0, int(alphabet.size()) - 1))];
    return s;
  }
};

// --- Conversions and the string creator ---

// Where each block of a whole image lies is checked by the whole-image round trip, and how
// a QVR image looks on the wire by the transfer tests, against a radio that checks every line.
TEST(clsStringCreator, Km2ImageOfTheWrongSizeIsReportedAndShortImagesSplitQuietly) {
  PromptScope prompt;
  std::mt19937 rng(3);
  clsStringCreator sc;
  // One channel missing: reported.
  for (int n = 0; n < 319; ++n) sc.colChannelData.Add(RandomHex(rng, 32));
  for (int g = 0; g < 16; ++g) sc.colGroupData.Add(RandomHex(rng, 64));
  for (int n = 0; n < 320; ++n) sc.colChannelGroup.Add(RandomHex(rng, 4));
  for (int n = 0; n < 320; ++n) sc.colChannelCheckSum.Add(RandomHex(rng, 2));
  sc.RadioHeader = RandomHex(rng, 3192);
  EXPECT_FALSE(sc.CreateStringKM2());
  EXPECT_EQ(
      prompt->messages,
      std::vector<std::string>{"Internal Error: EEPROM size not correct | KM2 Radio Programmer"});

  // A short image splits into short or empty pieces without a complaint.
  clsStringCreator cut;
  cut.EntireString = std::string(100, 'A');
  cut.BreakUpStringKM2();
  EXPECT_EQ(cut.RadioHeader + cut.colChannelData.Item(5) + cut.colGroupData.Item(1), "");
  EXPECT_EQ(prompt->messages.size(), 1u);
}

// --- Conversions ---

TEST(Conversions, RecordChecksums) {
  EXPECT_EQ(RecordCheckSum("04000E00"), "ED");
  EXPECT_EQ(RecordCheckSum("048000FF"), "7C");  // only the low byte of the sum counts
  EXPECT_EQ(TestRecordCheckSum("N604400020"), "9B");
  // The running sum is 16-bit: 129 bytes FF overflow it.
  EXPECT_EQ(ErrorOf([] { RecordCheckSum(std::string(2 * 129, 'F')); }), ErrOverflow);
}

TEST(Conversions, LenientReadsAndRounding) {
  EXPECT_DOUBLE_EQ(ParseNumber("  150.0125 MHz"), 150.0125);
  EXPECT_DOUBLE_EQ(ParseNumber("1e3x"), 1000);
  EXPECT_DOUBLE_EQ(ParseNumber("1e"), 1);
  EXPECT_DOUBLE_EQ(ParseNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(ParseNumber("-.5"), -0.5);
  // A finite number for every text: beyond a double, huge is the largest one and tiny is 0.
  EXPECT_EQ(ParseNumber("-1" + std::string(400, '0')), -std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("1e-400"), 0);
  EXPECT_EQ(ParseHex("8a"), 0x8A);
  EXPECT_EQ(ParseHex("1G"), 0);
  EXPECT_EQ(RoundToInt16(-0.5), 0);
  EXPECT_EQ(ErrorOf([] { RoundToInt16(32767.6); }), ErrOverflow);
  EXPECT_EQ(ErrorOf([] { RoundToByte(-1); }), ErrOverflow);
}

// --- Group records ---

constexpr char kNewGroupRecord[] =
    "FFFFFFFFFFFFFFE1A34F00323200576F7FFFFF00FFFFFFFFFFFFFFFFFFFFFFFF";

// A record with byte k (from 0) replaced.
std::string WithByte(std::string record, std::size_t k, const std::string& pair) {
  return record.replace(2 * k, 2, pair);
}

std::string Written(clsGroup& g) {
  g.CreateGroupData();
  return g.GroupData;
}

clsGroup ReadGroup(const std::string& record) {
  clsGroup g;
  g.GroupData = record;
  g.BreakGroupData();
  return g;
}

TEST(clsGroup, WorkedExamplesNameAndPriorityChannels) {
  // A new group holds the default record's settings; writing it differs from the formatted
  // record only in the fixed 0 of bit 129 and the ID length byte.
  clsGroup g;
  EXPECT_EQ(GroupSettings(g),
            std::tuple("   ", 0, 0, 3, 210.0f, 20, 0, 0, 25.5f, 25.5f, 0.0f, 1.0f, 8, 1, true, 1,
                       false, false, false, 15, 300, 15, 300, 75, ""));
  EXPECT_EQ(Written(g), kNewGroupRecord);

  // Every field at its bits, both ways.
  const std::string fields = "4142FFFFFFFFFFE1A34FA5050007199F2573350312CFFFFFFFFFFFFFFFFFFFFF";
  g = ReadGroup(fields);
  EXPECT_EQ(GroupSettings(g),
            std::tuple("AB ", 0, 0, 3, 210.0f, 20, 10, 5, 3.0f, 0.5f, 35.0f, 0.3f, 2, 2, false, 3,
                       true, false, true, 5, 140, 3, 60, 25, "12#"));
  EXPECT_EQ(Written(g), fields);

  g = clsGroup();
  g.GroupName = "ABCDE";  // only three characters fit
  g.PriorityChannel1 = 5;
  g.PriorityChannel2 = 320;
  EXPECT_EQ(Written(g).substr(0, 14), "414243FE05FF40");
  EXPECT_EQ(ReadGroup(WithByte(kNewGroupRecord, 0, "C1")).GroupName, "   ");  // top bit set
  // A record that marks its priority channel with a leading 0 reads the same channel.
  EXPECT_EQ(ReadGroup(WithByte(WithByte(kNewGroupRecord, 3, "00"), 4, "05")).PriorityChannel1, 5);
}

TEST(clsGroup, CodedFieldsRoundAsTheRadioDoes) {
  // A sampling rate halfway between two steps rounds to the even step, however the decimal
  // text falls in binary: 0.85 is 8.5 tenths and gives 8, 0.35 gives 4.
  const std::pair<float, int> rates[] = {{0.05f, 0}, {0.35f, 4}, {0.85f, 8}, {1.45f, 14}};
  clsGroup g;
  for (const auto& [rate, tenths] : rates) {
    g.PriChSamplingRate = rate;
    EXPECT_EQ(BinToDec(HexToBinStr(Written(g)).substr(112, 5)), tenths) << rate;
  }
  // Lock-out codes 100, 101, 110 are 0..2; anything else is written and read as disabled.
  const std::pair<std::int32_t, const char*> lockOuts[] = {
      {0, "81A3"}, {1, "A1A3"}, {2, "C1A3"}, {-1, "E1A3"}};
  for (const auto& [value, bytes] : lockOuts) {
    g.BusyChannelLockOut = value;
    EXPECT_EQ(Written(g).substr(14, 4), bytes) << value;
  }
  EXPECT_EQ(ReadGroup(WithByte(kNewGroupRecord, 7, "61")).BusyChannelLockOut, 3);  // code 011
  // Interval A reads to the nearest ms, ties to even: 5 -> 1.5 -> 2, 9 -> 2.5 -> 2.
  EXPECT_EQ(ReadGroup(WithByte(kNewGroupRecord, 9, "05")).IntervalA, 2);
  EXPECT_EQ(ReadGroup(WithByte(kNewGroupRecord, 9, "09")).IntervalA, 2);
}

TEST(clsGroup, OverflowRefusedAndRecordKept) {
  const auto overflows = [](auto set) {
    clsGroup bad;
    set(bad);
    EXPECT_EQ(ErrorOf([&] { bad.CreateGroupData(); }), ErrOverflow);
    EXPECT_EQ(bad.GroupData, clsGroup::DefaultGroupData);
  };
  overflows([](clsGroup& x) { x.IntervalA = 8192; });
  overflows([](clsGroup& x) { x.RXScanHold = std::numeric_limits<float>::quiet_NaN(); });
  // A time-out beyond the 13-bit field keeps its low bits: 9999 -> 1807 -> 904 s.
  clsGroup g;
  g.TimeOutTimer = 5000;
  EXPECT_EQ(Written(g).substr(14, 4), "E70F");
  EXPECT_EQ(ReadGroup(g.GroupData).TimeOutTimer, 904.0f);
}

// --- The channel-group table ---

std::string Entry(int channel, int group, bool programmed = true) {
  clsChannelGroup e;
  e.ChannelNumber = static_cast<std::int16_t>(channel);
  e.GroupNumber = static_cast<std::int16_t>(group);
  e.Programmed = programmed;
  e.CreateChannelGroup();
  return e.ChannelGroupStr;
}

// Programmed, channel and group read from an entry, over stale values a read must replace.
std::tuple<bool, int, int> ReadEntry(const std::string& text) {
  clsChannelGroup e;
  e.ChannelNumber = 99;
  e.GroupNumber = 9;
  e.ChannelGroupStr = text;
  e.BreakChannelGroup();
  return {e.Programmed, e.ChannelNumber, e.GroupNumber};
}

TEST(clsChannelGroup, WorkedExamplesAndOddEntries) {
  EXPECT_EQ(Entry(5, 2), "0204");
  EXPECT_EQ(Entry(512, 16), "1FFF");
  EXPECT_EQ(Entry(-32768, -32768, false), "FFFF");  // a free entry ignores its numbers
  EXPECT_EQ(Entry(0, 0), "1FFF");                   // out of the fields: their low bits
  EXPECT_EQ(ReadEntry("1fff"), std::make_tuple(true, 512, 16));
  // A cut-off image must not invent memberships: an entry with digits missing is free
  // ("0" once read as channel 512 of group 8). Non-hex pairs read as 00.
  for (const char* cut : {"", "0", "00", "020"})
    EXPECT_EQ(ReadEntry(cut), std::make_tuple(false, 0, 0)) << cut;
  EXPECT_EQ(ReadEntry("ZZ04"), std::make_tuple(true, 5, 1));

  // Any entry text settles after one rewrite: the mark 111 frees an entry, which is written
  // FFFF; any other mark is an entry in use and comes back with the mark 000.
  const std::pair<const char*, const char*> rewrites[] = {
      {"E000", "FFFF"}, {"DFFF", "1FFF"}, {"2000", "0000"}, {"4A05", "0A05"}};
  for (const auto& [text, again] : rewrites) {
    const auto [programmed, channel, group] = ReadEntry(text);
    EXPECT_EQ(Entry(channel, group, programmed), again) << text;
  }
}

// --- QVR block ---

std::string ByteAt(const H& h, int address) {
  return h.RadioHeader.substr(static_cast<std::size_t>(address) * 2, 2);
}

// The user settings of the block in address order (0C to 20).
using Member = std::variant<std::int32_t H::*, std::uint8_t H::*, bool H::*>;
// clang-format off
const Member kSettings[] = {
    &H::Model, &H::ChannelSwitchType, &H::IntervalATime, &H::IntervalBTime, &H::HoldTimeAfterRx,
    &H::HoldTimeAfterTx, &H::TxDelayTime, &H::ScanListClear, &H::ScanHoldConditions, &H::ScanMethod,
    &H::ChannelRollOver, &H::PriorityCnlMonitorCycle, &H::LoopSwitchTimer, &H::AuxKeyType,
    &H::PriorityCnlMonitorTime, &H::BeepA, &H::BeepB, &H::BeepC, &H::BeepD, &H::BusyChannelLockOut,
    &H::TxTimeOutTimer, &H::OffHookScanStop, &H::CTCSSRiseTime, &H::CTCSSFallTime,
    &H::CDCSSFallTime, &H::ChatteringCount, &H::Priority2Channel, &H::CDCSSFallErrCount};
// clang-format on

std::vector<int> Settings(const H& h) {
  std::vector<int> values;
  for (const auto& member : kSettings) {
    std::visit([&](auto m) { values.push_back(static_cast<int>(h.*m)); }, member);
  }
  return values;
}

TEST(clsRadioHeader, DefaultBlockAndNumberTexts) {
  H h;
  EXPECT_TRUE(h.CreateRadioHeader());
  // Serial and customer erased, date 12 30 (18)99, model 00, empty profile bytes 00;
  // E0 = DetEnt and interval A 4, the fixed bits, the erased calibration bytes.
  EXPECT_EQ(h.RadioHeader,
            "FFFFFFFFFFFFFFFFFF1230990000000000"
            "E0010080000000FFFFFFBF077FFF3F0FFF");

  // Serial and customer numbers are hex digits padded on the left with F.
  h.SerialNumber = "ABCDEF123456";  // only the last eight digits fit
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0, 8), "EF123456");
  h.SerialNumber = "12 34";   // a space is stored as F and comes back as a space
  h.CustomerNumber = "12G4";  // a character that is no hex digit is stored as 0
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0, 18), "FFF12F34FFFFFF1204");
  h.BreakUpRadioHeader();
  EXPECT_EQ(h.SerialNumber + "/" + h.CustomerNumber, "12 34/1204");
}

// Blocks worked out by hand, with values that tell neighbouring fields apart: a round trip
// alone would not notice two fields swapped in both directions.
TEST(clsRadioHeader, HandWorkedBlocksReadAndBuildAgain) {
  const struct {
    const char* block;
    std::vector<int> settings;
  } cases[] = {
      // Serial 12345 is FF F1 23 45, customer C1, 4 July 2026, model 18, profile bytes;
      // 11 = 01 110 011, 12 = 10 01 101 1, 13 = 01 10 11 0 1, 14 = 01 11 10 01,
      // 16 = 01 1 1 0 0 10, 1C = 01 110 0 11
      {"FFF12345FFFFFFFFC1070426126B00800173"
       "9B6D795A72C3FFFFFFBF7339A43F06FF",
       {18, 1, 6, 3, 2, 1, 5, 1, 2, 3, 0, 1, 1, 2, 1, 1, 1, 0, 0, 1, 6, 1, 3, 9, 10, 4, 0, 6}},
      // 13 = 01 10 11 1 0, 16 = 01 0 0 1 1 10, 1C = 01 110 1 11, 1F = 11 111111
      {"FFF12345FFFFFFFFC1070426126B00800173"
       "9B6E795A4EC3FFFFFFBF7739A4FF06FF",
       {18, 1, 6, 3, 2, 1, 5, 1, 2, 3, 1, 0, 1, 2, 1, 0, 0, 1, 1, 1, 6, 0, 3, 9, 10, 4, 1, 6}},
  };
  for (const auto& c : cases) {
    H h;
    h.RadioHeader = c.block;
    EXPECT_TRUE(h.BreakUpRadioHeader());
    EXPECT_EQ(Settings(h), c.settings) << c.block;
    EXPECT_EQ(h.SerialNumber + "/" + h.CustomerNumber, "12345/C1");
    EXPECT_EQ(h.DateRadio, Date(2026, 7, 4));
    // The profile bytes, and what the radio makes of them.
    EXPECT_EQ(h.Address0x0D + h.Address0x0F + h.Address0x10 + h.Address0x15 + h.Address0x17,
              "0x6B0x800x010x5A0xC3");
    EXPECT_EQ(h.Address0x14 + h.Address0x16, "XX11XX01XXXXXX10");
    // A read radio keeps its calibration in the low six bits of the (erased) bytes.
    EXPECT_EQ(std::vector<int>({h.ReferenceCounter, h.Polarity, h.TalkAround,
                                h.DigitalControlSquelch, h.CenterRXFreqData, h.CenterTXFreqData,
                                h.PriorityChannelMonitorEnable, h.NormalPower}),
              std::vector<int>({0x2B00, 0, 1, 3, 0x15A, 0x2C3, 1, 63}));
    h.CreateRadioHeader();
    EXPECT_EQ(h.RadioHeader, c.block);
  }
}

TEST(clsRadioHeader, SpecialRadioAndTheSynthesiserByte) {
  H h;
  h.SpecialRadio = true;
  h.Address0x0D = "0x21";
  h.CreateRadioHeader();
  EXPECT_EQ(ByteAt(h, 0x0D) + ByteAt(h, 0x0E), "9400");

  // Bits 7 and 6 of 0D select the prescaler; bits 5-0 and 0E are the reference counter.
  // The special radio's 94 reads back as its band's profile byte 8A.
  const char* const cases[][2] = {{"9400", "1 64/65 1400 0x8A special"},
                                  {"C1A5", "1 32/33 01A5 0xC1"},
                                  {"4002", "0 64/65 0002 0x40"},
                                  {"0000", "0 128/129 0000 0x00"}};
  for (const auto& c : cases) {
    h.RadioHeader.replace(0x0D * 2, 4, c[0]);
    h.SpecialRadio = false;
    h.BreakUpRadioHeader();
    EXPECT_EQ(std::to_string(h.Synthesizer) + " " + h.PrescalerSwitch + " " +
                  ToHex(static_cast<unsigned>(h.ReferenceCounter), 4) + " " + h.Address0x0D +
                  (h.SpecialRadio ? " special" : ""),
              c[1]);
  }
}

TEST(clsRadioHeader, DateDigitsErasedValidAndInvalid) {
  H h;
  h.CDCSSFallErrCount = 3;
  h.CreateRadioHeader();
  // Years 00-29 are 2000-2029. A radio that never had a date keeps the date the header
  // holds; digits that are no date leave it too and are reported, and the rest of the
  // block is still read.
  const char* const cases[][2] = {
      {"123129", "2029-12-31"},         {"010130", "1930-01-01"},
      {"FFFFFF", "2001-02-03"},         {"133299", "invalid 2001-02-03"},
      {"023024", "invalid 2001-02-03"}, {"FFFF12", "invalid 2001-02-03"}};
  for (const auto& c : cases) {
    H r;
    r.DateRadio = Date(2001, 2, 3);
    r.RadioHeader = h.RadioHeader;
    r.RadioHeader.replace(0x09 * 2, 6, c[0]);
    const bool valid = r.BreakUpRadioHeader();
    EXPECT_EQ((valid ? "" : "invalid ") + r.DateRadio.ToIsoString(), c[1]);
    EXPECT_EQ(r.CDCSSFallErrCount, 3) << c[0];
  }
}

// --- KM2 block ---

constexpr int kBlockStart = 0x1880;

// `bytes` bytes of a block (or of image text from 1880) at an image address.
std::string At(const std::string& block, int address, int bytes = 1) {
  return block.substr(static_cast<std::size_t>(address - kBlockStart) * 2,
                      static_cast<std::size_t>(bytes) * 2);
}

// The image from 1880 to its end, as the string creator hands it over after a split.
std::string ImageFromBlock(const std::string& block, std::mt19937& rng) {
  return block + RandomHex(rng, 640) + "FFFEFFFF";
}

H BaseHeader(std::mt19937& rng) {
  H h;
  h.ModelName = "52-9233B";
  h.IFRx = 21400;
  h.PLLReferenceFreq = 12.5f;
  h.DefaultKM2 = "007DC123111122223333FFFF44445555";
  h.DisplayArrangement = 3;
  h.KM2Tail = RandomHex(rng, 3654);
  return h;
}

TEST(clsRadioHeaderKM2, HandWorkedBytesOfTheSettings) {
  std::mt19937 rng(1);
  H h = BaseHeader(rng);
  const std::string lead =
      "35322D3932333342"  // model name
      "00005398"          // IFRx 21400
      "00000000"          // IFTx
      "007D"              // 12.5 kHz x 10
      "C400"              // prescaler code 3 from the stored word, divider 0400 for 12.5 kHz
      "111122223333"      // stored synthesiser words
      "FF"                // not a D model, knob not momentary, 7th character not "2"
      "F3"                // general purpose, display arrangement 3
      "44445555";         // stored synthesiser words
  ASSERT_TRUE(h.CreateRadioHeaderKM2());
  ASSERT_EQ(h.RadioHeader.size(), 3192u);
  EXPECT_EQ(h.RadioHeader.substr(0, 64), lead);

  // Without a reference frequency there is no offset word; the old block stays.
  const std::string before = h.RadioHeader;
  h.PLLReferenceFreq = 0;
  EXPECT_EQ(ErrorOf([&] { h.CreateRadioHeaderKM2(); }), ErrDivisionByZero);
  EXPECT_EQ(h.RadioHeader, before);

  const auto deluxe = [](H& h) {
    h.ModelName = "52-1102B", h.MuteUntilSignalled = true;
    h.OperationType = h.OneTouchSelection = 1, h.SquelchTonesCodes = 2;
  };
  const auto carried = [](H& h) {
    h.KM2Tail.replace(16, 8, "A5C3D2E1");  // 18E5-18E8 of the radio
    h.EnableGroupRollover = h.TalkAroundMic = true, h.OneTouchSelection = 1;
  };
  const auto flipped = [](H& h) {
    h.KM2Tail.replace(16, 8, "5A3C2D1E");
    h.EnableCTCSSHPF = h.EnableChannelRollover = true, h.ScanChannelSlaving = 1;
  };
  const auto keys = [&](H& h) {
    deluxe(h);
    h.CTCSSKeyForm1 = 5, h.CTCSSKeyForm2 = 0, h.CTCSSKeyForm3 = 12, h.CTCSSKeyForm10 = 255;
  };
  const std::string none(40, 'F');
  const struct {
    std::function<void(H&)> set;
    int address, bytes;
    std::string expected;
  } cases[] = {
      {[](H&) {}, 0x18D9, 4, "FFFFFF55"},  // (0 - 21400) / 125 = -171.2
      // The offset word rounds to nearest, ties to even.
      {[](H& h) { h.IFRx = 0, h.IFTx = 312.5f; }, 0x18D9, 4, "00000002"},
      {[](H& h) { h.IFRx = 0, h.IFTx = 437.5f; }, 0x18D9, 4, "00000004"},
      {[](H& h) { h.PLLReferenceFreq = 5; }, 0x1890, 4, "0032CA00"},
      // The stored word keeps the divider of 2.5 kHz.
      {[](H& h) { h.PLLReferenceFreq = 2.5f; }, 0x1890, 4, "0019C123"},
      {[](H& h) { h.AlternatePreScaler2 = true; }, 0x1892, 10, "4400111101B401F7FFFF"},
      {[](H& h) { h.AlternatePreScaler = true; }, 0x1892, 10, "8400111101B401F7FFFF"},
      // 189A: special radio (D models only), D model, momentary knob, 7th character "2".
      {[](H& h) { h.ModelName = "52-9233BD", h.SpecialRadio = true; }, 0x189A, 1, "7B"},
      {[](H& h) { h.SpecialRadio = h.MomentaryChannelKnob = true; }, 0x189A, 1, "FD"},
      {deluxe, 0x189A, 2, "FE03"},
      {[&](H& h) { deluxe(h), h.SCANPRIMonitor = 1; }, 0x189B, 1, "13"},
      // 18D8: squelch tones/codes 11 on "1" models, 10 on others but the deluxe "2" ones.
      {deluxe, 0x18D8, 1, "7E"},
      {[](H& h) { h.ModelName = "52-1101B", h.SquelchTonesCodes = 0; }, 0x18D8, 1, "5F"},
      {[](H& h) { h.ModelName = "52-1103B", h.SquelchTonesCodes = 3; }, 0x18D8, 1, "5E"},
      {[&](H& h) { deluxe(h), h.SquelchTonesCodes = 1; }, 0x18D8, 1, "7D"},
      {[](H& h) { h.OneTouchSelection = 2, h.ScanStopMicOffHook = true; }, 0x18D8, 1, "4A"},
      {[](H& h) { h.PRIButtonFunctionEnable = true; }, 0x18D8, 1, "56"},
      // 18D0: any second local receiver but Low is High; the 52-37 has the bit inverted.
      {[](H& h) { h.SecondLocalRX = 0; }, 0x18D0, 1, "1F"},
      {[](H& h) { h.SecondLocalRX = 1, h.SelectiveCallReceipt = 1; }, 0x18D0, 1, "3E"},
      {[](H& h) { h.ModelName = "52-3701A", h.SecondLocalRX = 0; }, 0x18D0, 1, "3F"},
      // 18E5 and 18E8: settings over the bits carried from the radio.
      // 18E5 = 101 1 0 1 0 1, 18E8 = 0 1 111 1 00
      {carried, 0x18E5, 4, "B5C3D27C"},
      // 18E5 = 010 0 1 0 1 0, 18E8 = 1 0 111 0 11
      {flipped, 0x18E5, 4, "4A3C2DBB"},
      {[](H&) {}, 0x1E1C, 2, "FFFF"},  // add and delete keys where they were
      // 18EC-18FF: CTCSS keys only for a deluxe radio with one-touch signalling selection.
      {keys, 0x18EC, 20, "0507FFFF0C07FFFFFFFFFFFFFFFFFFFFFFFFFF07"},
      {[&](H& h) { keys(h), h.OneTouchSelection = 2; }, 0x18EC, 20, none},
      {[&](H& h) { keys(h), h.ModelName = "52-1101B"; }, 0x18EC, 20, none},
  };
  PromptScope prompt;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    H c = BaseHeader(rng);
    cases[i].set(c);
    ASSERT_TRUE(c.CreateRadioHeaderKM2());
    EXPECT_EQ(At(c.RadioHeader, cases[i].address, cases[i].bytes), cases[i].expected)
        << "case " << i;
    // Read and built again, the block is the same: each setting is read as it was built.
    H r;
    r.RadioHeader = ImageFromBlock(c.RadioHeader, rng);
    ASSERT_TRUE(r.BreakUpRadioHeaderKM2()) << "case " << i;
    ASSERT_TRUE(r.CreateRadioHeaderKM2());
    EXPECT_EQ(r.RadioHeader, c.RadioHeader) << "case " << i;
  }
}

TEST(clsRadioHeaderKM2, TextsDatesVolumesAndTypeCodes) {
  std::mt19937 rng(3);
  H h = BaseHeader(rng);
  h.ModelName = "52-37";
  h.SerialNumber = "AB CD";
  h.CustomerNumber = "ACME RADIO SERVICE";
  h.DateRadio = Date(2026, 12, 6);
  h.TimeOutBusyLockOut = 1;
  h.PushButtonFeedback = 2;
  h.SelfTestAndError = 5;
  h.CTCSSSquelchTail = 250;
  h.NoiseSquelchTail = 12.5f;  // half a step: ties to even
  h.DCSTail = 46;
  h.FrontPanelConfiguration = 2;
  h.OptionPortType = 4;
  h.Aux1 = h.Aux8 = true;
  h.CreateRadioHeaderKM2();
  EXPECT_EQ(At(h.RadioHeader, 0x1880, 8), "35322D3337FFFFFF");
  EXPECT_EQ(At(h.RadioHeader, 0x18A0, 48),
            "4142FF4344FFFFFFFFFFFFFFFFFFFFFF"    // serial, a space is FF
            "41434D45FF524144494FFF5345525649"    // customer, cut at 16
            "313230363236FFFFFFFFFFFFFFFFFFFF");  // date "120626"
  // 18D1 = 11 10 00 00, squelch tails in 5 ms steps, DCS tail in ms, front panel 2 and
  // option port 1111 (none), Aux8 and Aux1.
  EXPECT_EQ(At(h.RadioHeader, 0x18D1, 7), "E002322EFF2F81");

  PromptScope prompt;  // the 52-37 is no radio to ask about
  H r;
  r.DateRadio = Date(2001, 2, 3);
  const auto read = [&](int address, const std::string& bytes) {
    r.RadioHeader = ImageFromBlock(h.RadioHeader, rng);
    r.RadioHeader.replace(static_cast<std::size_t>(address - kBlockStart) * 2, bytes.size(), bytes);
    return r.BreakUpRadioHeaderKM2();
  };
  // Six characters that are no date leave the date alone and are reported; the later
  // fields are still read.
  EXPECT_FALSE(read(0x18C0, "313333323939"));  // 13/32/99
  EXPECT_EQ(r.DateRadio, Date(2001, 2, 3));
  EXPECT_EQ(std::tie(r.NoiseSquelchTail, r.CTCSSSquelchTail, r.DCSTail),
            std::make_tuple(10.0f, 250.0f, 46.0f));  // 02 and 32 in 5 ms steps, 2E in ms
  // No stored date (erased bytes) gives today's date, not the one the header held.
  EXPECT_TRUE(read(0x18C0, std::string(32, 'F')));
  EXPECT_GE(r.DateRadio.Year(), 2026) << r.DateRadio.ToIsoString();
  EXPECT_TRUE(read(0x18A0, ""));
  EXPECT_EQ(r.SerialNumber + "/" + r.CustomerNumber, "AB/ACME");  // a space ends the text
  // Front panel code 3 is type 3; option port code 9, like any other than 0-3, is "None".
  read(0x18D6, "39");
  EXPECT_EQ(r.FrontPanelConfiguration * 10 + r.OptionPortType, 34);
  // A block without its settings bytes is refused before anything is asked or changed.
  r.RadioHeader.resize(254);
  r.DCSTail = 1;
  EXPECT_EQ(ErrorOf([&] { r.BreakUpRadioHeaderKM2(); }), ErrInvalidArgument);
  EXPECT_EQ(r.DCSTail, 1.0f);
  EXPECT_TRUE(prompt->asked.empty());
}

TEST(clsRadioHeaderKM2, SpecialRadioPatchesTheCarriedTail) {
  std::mt19937 rng(5);
  H h = BaseHeader(rng);
  h.CreateRadioHeaderKM2();
  const std::string plain = h.RadioHeader;
  h.SpecialRadio = true;
  h.RelocateAddDelKeys = 1;
  h.CreateRadioHeaderKM2();
  const std::pair<int, std::string> patches[] = {
      {0x1B39, "B6FFE9810A2622"},
      {0x1B40, "96AE261E7B104C27167B80F4260D7B40F42703BDD3C186BB97F4397A00F4397100F439"},
      {0x1B83,
       "968C7B084C270572108C200371EF8CD68C112703F75002C6097B104C2705BDC7CD2003BDC7D1C6087B344B"
       "27037EC7CD7EC7D1"},
      {0x1C37, "7B04F527047280D939717FD939B66000850126057204F5200371FBF5399B39"},
      {0x1D8D, "B698D6840F260C7B104C270471FB153972041539"},
      {0x1E0F, "A5"},
      {0x1E1C, "0D0E"},
  };
  std::string expected = plain;
  for (const auto& [address, bytes] : patches) {
    expected.replace(static_cast<std::size_t>(address - kBlockStart) * 2, bytes.size(), bytes);
  }
  EXPECT_EQ(h.RadioHeader, expected);  // and nothing else moved
}

// A read asks only the 52-11, 52-91, 52-92 and 52-12 lines whether they are the alternate
// hardware; the second question follows a No.
TEST(clsRadioHeaderKM2, AReadAsksOnlyTheAlternateCandidatesWhichHardwareTheyAre) {
  const std::string q1 =
      "Does the radio being read have model number = 52-9233B-MM and serial number ending in "
      "'A'? | Alternate Radio Identification | No";
  const std::string q2 =
      "Does the radio being read have model number between 145216 and 146215 or between "
      "0107MM0001 and 0107MM1000? | Alternate Radio Identification | No";
  const struct {
    const char* model;
    std::vector<bool> answers;
    std::vector<std::string> asked;
    int alternate;  // the hardware the answers name: 1 or 2, 0 neither
  } cases[] = {
      {"52-9233B", {true}, {q1}, 2},
      {"52-1102BD", {false, true}, {q1, q2}, 1},
      {"52-1201C", {false, false}, {q1, q2}, 0},
      {"52-9101A", {false, true}, {q1, q2}, 1},
      {"52-3712A", {true, true}, {}, 0},
  };
  std::mt19937 rng(7);
  for (const auto& c : cases) {
    H h = BaseHeader(rng);
    h.ModelName = c.model;
    ASSERT_TRUE(h.CreateRadioHeaderKM2());
    PromptScope prompt;
    prompt->answers = c.answers;
    H r;
    r.AlternatePreScaler = r.AlternatePreScaler2 = true;  // a read decides them afresh
    r.RadioHeader = ImageFromBlock(h.RadioHeader, rng);
    ASSERT_TRUE(r.BreakUpRadioHeaderKM2());
    EXPECT_EQ(prompt->asked, c.asked) << c.model;
    EXPECT_EQ(std::tie(r.AlternatePreScaler, r.AlternatePreScaler2),
              std::make_tuple(c.alternate == 1, c.alternate == 2))
        << c.model;
    // The name comes back as eight characters and a D or a blank.
    EXPECT_EQ(r.ModelName, (std::string(c.model) + " ").substr(0, 9)) << c.model;
  }
}

// --- QVR record ---
namespace qvr {

// A channel carrying the band values of a model: 6.25 kHz reference, 21.4 MHz IFs.
clsChannel Band(const std::string& prescaler = "128/129", const std::string& model = "VHF-H",
                float reference = 6.25f, float intermediate = 21400) {
  clsChannel ch;
  std::tie(ch.ModelName, ch.PLLReferenceFreq, ch.Prescaler) = std::tie(model, reference, prescaler);
  ch.RxIF = ch.TxIF = intermediate;
  return ch;
}

// The worked channel: CTCSS code 5 on receive, DCS 023 inverted on transmit, group A.
clsChannel Worked() {
  clsChannel ch = Band();
  std::tie(ch.RxFrequency, ch.RxCTCSSCode, ch.TxFrequency, ch.TxSignalling, ch.TxSignalData) =
      std::tuple{150012500.0, 5, 155012500.0, 1, -19};
  std::tie(ch.TxPowerControl, ch.GroupA, ch.AuxData) = std::tuple{1, true, "11111111"};
  return ch;
}

clsChannel Read(clsChannel band, const std::string& record) {
  band.ChannelData = record;
  band.BreakChannelData();
  return band;
}

auto Settings(const clsChannel& c) {
  return std::make_tuple(c.RxFrequency, c.RxSignalling,
                         Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.RxChannelData,
                         c.TxFrequency, c.TxSignalling,
                         Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData), c.TxChannelData,
                         c.TxPowerControl, c.Scrambler, c.GroupA, c.GroupB, c.AuxData);
}

TEST(clsChannel, WorkedExampleAndItsVariations) {
  clsChannel ch = Worked();
  EXPECT_TRUE(ch.CreateChannelData());
  EXPECT_EQ(std::tie(ch.RxSynthesizerData, ch.TxSynthesizerData), std::make_tuple(27426, 28226));
  const clsChannel back = Read(Band(), "05006b2261306e42d9ff");  // the checksum is not read
  EXPECT_EQ(Settings(back), Settings(ch));
  EXPECT_EQ(back.RxSynthesizerData, 27426);

  // The checksum counts an erased receive half as F nibbles; without a transmit half, or
  // without any record, the previous one is kept.
  using Edit = void (*)(clsChannel&);
  const std::tuple<Edit, const char*, int> cases[] = {
      {[](clsChannel&) {}, "05006B2261306E42D1FF", 1},
      {[](clsChannel& c) { c.RxFrequency = 0; }, "FFFFFFFF61306E42DBFF", 11},
      {[](clsChannel& c) { c.TxFrequency = -1; }, "05006B22FFFFFFFFDCFF", 12},
      {[](clsChannel& c) { c.RxFrequency = c.TxFrequency = 0; }, "FFFFFFFFFFFFFFFFFFFF", 12},
      // Signalling "10" names no setting: ten ones as its code, so later channels do not
      // shift; auxiliary text is completed with ones or cut to eight bits.
      {[](clsChannel& c) { c.RxSignalling = 2; }, "BFF06B2261306E42D1FF", 1},
      {[](clsChannel& c) { c.AuxData = "101"; }, "05006B2261306E42D1BF", 1},
      {[](clsChannel& c) { c.AuxData = "0101010111"; }, "05006B2261306E42D155", 1}};
  for (const auto& [edit, record, checksum] : cases) {
    ch = Worked();
    ch.CheckSum = 12;
    edit(ch);
    ch.CreateChannelData();
    EXPECT_EQ(std::make_tuple(ch.ChannelData, int{ch.CheckSum}), std::make_tuple(record, checksum));
  }
  // Transmit 0 Hz is a real word (IF / reference, below), unless "uhf" would make it negative:
  // then the half is erased, and the checksum is that of the record as written whatever the
  // object held before.
  ch = Band("128/129", "QVR UHF-L", 12.5f);
  std::tie(ch.RxFrequency, ch.RxSignalling, ch.CheckSum) = std::tuple{450e6, 3, 12};
  ch.CreateChannelData();
  EXPECT_EQ(std::make_tuple(ch.ChannelData, int{ch.CheckSum}),
            std::make_tuple("FFF085F0FFFFFFFF79FF", 9));

  // 64/65: the synthesiser field puts an extra 0 before the low six bits (M = 428, A = 34).
  ch = Worked();
  ch.Prescaler = "64/65";
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch.ChannelData, 14, 19), "0001101011000100010");
  // The checksum covers the in-use flags and synthesiser fields, not the signalling digits.
  EXPECT_EQ(ch.GetChannelCheckSum("FFF06B22FFF06E42"), 1);
  EXPECT_EQ(ch.GetChannelCheckSum("0000000000000000"), 0);
  EXPECT_EQ(ErrorOf([&] { ch.GetChannelCheckSum("05006B2261306E4"); }), ErrInvalidArgument);
}

TEST(clsChannel, ReadingErasedAndOddRecords) {
  clsChannel ch = Worked();
  ch.RxChannelData = false;
  ch = Read(ch, "ffffffffffffffffffff");
  EXPECT_EQ(Settings(ch), std::make_tuple(0.0, 3, -1000, true, 0.0, 3, -1000, true, 1, false, false,
                                          false, std::string("11111111")));
  EXPECT_EQ(std::tie(ch.RxSignalData, ch.BurstFrequency), std::make_tuple(-777, 694.4f));
  // An erased receive half leaves the frequency as it was.
  ch.RxFrequency = 123;
  ch = Read(ch, "FFFFFFFF61306E42DBFF");
  EXPECT_EQ(std::tie(ch.RxFrequency, ch.RxSignalling, ch.RxChannelData, ch.TxFrequency),
            std::make_tuple(123.0, 3, false, 155012500.0));
  // So does an erased transmit half: over a new channel it reads as 0 Hz and not in use, which
  // is written again as the real 0 Hz word (IF / reference). A blank half is not carried back.
  ch = Read(Band(), "05006B22FFFFFFFFDCFF");
  EXPECT_EQ(std::tie(ch.TxFrequency, ch.TxChannelData), std::make_tuple(0.0, false));
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, "05006B22FFF80D60D0FF");

  // Erased fields: nineteen ones, or "0" and eighteen ones; one bit short of that is a word.
  const std::tuple<const char*, const char*, int> fields[] = {
      {"128/129", "1111111111111111111", -1},
      {"128/129", "0111111111111111111", -1},
      {"64/65", "1111111111110111111", -1},
      {"64/65", "1111111111111111111", -1},
      {"128/129", "1011111111111111111", 0x5FFFF}};
  for (const auto& [prescaler, field, n] : fields) {
    std::string bits = HexToBinStr("05006B2261306E42D1FF");
    bits.replace(13, 19, field);
    ch = Band(prescaler);
    ch.RxSynthesizerData = -1;
    EXPECT_EQ(Read(ch, BinStrToHex(bits)).RxSynthesizerData, n) << prescaler << " " << field;
  }
}

TEST(clsChannel, RefusedChannelKeepsItsRecord) {
  using Edit = void (*)(clsChannel&);
  const std::pair<Edit, int> cases[] = {
      {[](clsChannel& c) { c.PLLReferenceFreq = 0; }, ErrDivisionByZero},
      // Words the 19-bit field, or the 18 bits of the 64/65 field, cannot hold.
      {[](clsChannel& c) { c.TxFrequency = 4e9; }, ErrOverflow},
      {[](clsChannel& c) { c.RxFrequency = -30e6; }, ErrOverflow},
      {[](clsChannel& c) { c.Prescaler = "64/65", c.TxFrequency = 1.7e9; }, ErrOverflow},
      // Every auxiliary character is checked, also those that would be cut away.
      {[](clsChannel& c) { c.AuxData = "1111x111"; }, ErrInvalidArgument},
      {[](clsChannel& c) { c.AuxData = "10110011X"; }, ErrInvalidArgument}};
  for (const auto& [edit, error] : cases) {
    clsChannel ch = Worked();
    edit(ch);
    ch.ChannelData = "previous";
    ch.CheckSum = 3;
    ch.RxSynthesizerData = 11;
    // Braced, so the properties are read after the attempt.
    EXPECT_EQ((std::tuple{ErrorOf([&] { ch.CreateChannelData(); }), ch.ChannelData, ch.CheckSum,
                          ch.RxSynthesizerData}),
              std::make_tuple(error, std::string("previous"), std::uint8_t{3}, 11));
  }
}

// The whole QVR image.

struct QvrBand {
  std::string modelName;
  float reference, intermediate;
  std::string prescaler;
  int sign;  // +1 injects above the channel, -1 ("uhf" in the name) below
};

clsChannel QvrChannel(const QvrBand& band) {
  return Band(band.prescaler, band.modelName, band.reference, band.intermediate);
}

clsChannel RandomQvrChannel(Generator& g, const QvrBand& band) {
  clsChannel ch = QvrChannel(band);
  if (g.Pick(0, 5) == 0) return ch;  // unused channel
  // Anywhere the field holds up to 2 GHz, short of the words that read as erased: nineteen
  // ones, and "0" with eighteen ones.
  const int widest = band.prescaler == "64/65" ? (1 << 18) - 2 : (1 << 19) - 2;
  const int lowest = static_cast<int>(band.intermediate / band.reference) + 100;
  const int highest = std::min(widest, static_cast<int>(2.0e6 / band.reference) - 20000);
  const auto tuned = [&] {
    const int n = g.Pick(lowest, highest);
    return (double(band.reference) * (n == (1 << 18) - 1 ? n - 1 : n) -
            band.sign * band.intermediate) *
           1000.0;
  };
  // A receive-only channel as the channel page stores it: an empty transmit text is 0 Hz.
  std::tie(ch.RxFrequency, ch.TxFrequency) =
      std::tuple{g.Pick(0, 7) ? tuned() : 0.0, g.Pick(0, 7) ? tuned() : 0.0};
  const int kinds[] = {0, 1, 3};
  std::tie(ch.RxSignalling, ch.TxSignalling, ch.TxPowerControl) =
      std::tuple{kinds[g.Pick(0, 2)], kinds[g.Pick(0, 2)], g.Pick(0, 1)};
  std::tie(ch.RxCTCSSCode, ch.TxCTCSSCode, ch.RxSignalData, ch.TxSignalData) =
      std::tuple{g.Pick(0, 63), g.Pick(0, 63), g.Pick(-511, 511), g.Pick(-511, 511)};
  std::tie(ch.RxChannelData, ch.TxChannelData, ch.Scrambler, ch.GroupA, ch.GroupB) =
      std::tuple{g.Coin(), g.Coin(), g.Coin(), g.Coin(), g.Coin()};
  ch.AuxData = Num2BinStr(g.Pick(0, 255), 8);
  return ch;
}

// What a read gives back of a channel: each half only when the record holds it.
auto QvrSettings(const clsChannel& c, const std::string& record) {
  const bool rx = record.substr(0, 8) != "FFFFFFFF";
  const bool tx = record.substr(8, 8) != "FFFFFFFF";
  const bool any = rx || tx;
  return std::make_tuple(rx ? c.RxFrequency : 0.0, rx ? c.RxSignalling : -1,
                         rx ? Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData) : 0,
                         rx && c.RxChannelData, tx ? c.TxFrequency : 0.0, tx ? c.TxSignalling : -1,
                         tx ? Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData) : 0,
                         tx && c.TxChannelData, any ? c.TxPowerControl : 1, any && c.Scrambler,
                         any && c.GroupA, any && c.GroupB, any ? c.AuxData : "11111111");
}

TEST(ImageRoundTrip, QvrImagesOf16And8Channels) {
  Generator g{std::mt19937(19)};
  const QvrBand bands[] = {{"VHF 148-174 MHz", 6.25f, 21400, "128/129", 1},
                           {"VHF 136-150 MHz", 5.0f, 45000, "64/65", 1},
                           {"UHF 450-470 MHz", 12.5f, 21400, "128/129", -1},
                           {"uhf 403-430 MHz", 2.5f, 10700, "64/65", -1},
                           {"Uhf 470-490 MHz", 6.25f, 21400, "32/33", -1}};
  for (int round = 0; round < 60; ++round) {
    const QvrBand& band = bands[g.Pick(0, 4)];
    const int channels = g.Coin() ? 16 : 8;
    // The header's fields are worked by hand in the header tests; here it has only to lead
    // the image and come back whole.
    H header;
    header.SerialNumber = g.Text("0123456789ABCDE", 8);
    header.DateRadio = Date(1930 + g.Pick(0, 99), g.Pick(1, 12), g.Pick(1, 28));
    ASSERT_TRUE(header.CreateRadioHeader());

    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    std::vector<clsChannel> sent;
    for (int n = 0; n < channels; ++n) {
      sent.push_back(RandomQvrChannel(g, band));
      sent.back().CreateChannelData();
      creator.colChannelData.Add(sent.back().ChannelData);
    }
    creator.CreateString();
    const std::string lines = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
    // 34 + 10 n bytes in lines of 8, all below 0100, the last line padded with FF.
    ASSERT_EQ(lines.size(), 28u * ((34 + 10 * channels + 7) / 8));
    EXPECT_TRUE(creator.ProgrammingStringPart1.empty());

    clsStringCreator splitter;
    splitter.EntireString = lines;
    splitter.BreakUpString();
    EXPECT_EQ(splitter.RadioHeader, header.RadioHeader);
    // The channel records, then the filler of the last line as one short item.
    ASSERT_EQ(splitter.colChannelData.Count(), channels + 1);
    EXPECT_EQ(splitter.colChannelData.Item(channels + 1), std::string(12, 'F'));

    clsStringCreator again;
    again.RadioHeader = header.RadioHeader;
    for (int n = 1; n <= channels; ++n) {
      const clsChannel& original = sent[static_cast<std::size_t>(n - 1)];
      clsChannel ch = QvrChannel(band);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelData();
      EXPECT_EQ(QvrSettings(ch, original.ChannelData), QvrSettings(original, original.ChannelData))
          << "channel " << n << " " << ch.ChannelData;
      ch.CreateChannelData();
      again.colChannelData.Add(ch.ChannelData);
    }
    again.CreateString();
    EXPECT_EQ(again.ProgrammingStringPart1 + again.ProgrammingStringPart2, lines);
  }
}

}  // namespace qvr

// --- KM2 record ---
namespace km2 {

// A KM2 band: 12.5 kHz reference, 21.4 MHz IF (in units of 100 Hz), one inserted bit.
clsChannel Band(float reference = 12.5f, std::int16_t inserted = 1) {
  clsChannel ch;
  std::tie(ch.ModelName, ch.PLLReferenceFreq, ch.prsclKM2) =
      std::tuple{"52-8994", reference, inserted};
  ch.RxIF = ch.TxIF = 214000;
  return ch;
}

// The worked channel "AB": CTCSS 5 on receive, DCS 023 inverted on transmit, key-up burst.
clsChannel Worked(std::int16_t inserted = 1) {
  clsChannel ch = Band(12.5f, inserted);
  std::tie(ch.ChannelName, ch.SubsignalingType, ch.RFPower) = std::tuple{"AB", 3, true};
  std::tie(ch.RxFrequency, ch.RxCTCSSCode, ch.TxFrequency, ch.TxSignalling, ch.TxSignalData) =
      std::tuple{155012500.0, 5, 160012500.0, 1, -19};
  std::tie(ch.PTTBurstToneEnable, ch.BurstDuration, ch.BurstFrequency) =
      std::tuple{true, 3200.0f, 694.4f};
  return ch;
}

constexpr char kWorked[] = "41C2A0A0A02005006E21613071317F59";

clsChannel Read(clsChannel band, const std::string& record) {
  band.ChannelData = record;
  band.BreakChannelDataKM2();
  return band;
}

clsChannel Encoded(clsChannel ch) {
  ch.CreateChannelDataKM2();
  return ch;
}

// The record holds six characters of a name, padded with blanks.
auto Settings(const clsChannel& c) {
  return std::make_tuple(c.ChannelName.empty() ? "" : (c.ChannelName + "      ").substr(0, 6),
                         c.SubsignalingType, c.Scrambler, c.RFPower, c.RxFrequency, c.RxSignalling,
                         Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.RxChannelData,
                         c.TxFrequency, c.TxSignalling,
                         Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData), c.TxChannelData,
                         c.PTTBurstToneEnable, c.TranspondToneEnable, c.BurstDuration);
}

TEST(clsChannelKM2, WorkedExampleBothWays) {
  clsChannel ch = Worked();
  EXPECT_TRUE(ch.CreateChannelDataKM2());
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSumKM2, ch.CheckSum),
            std::make_tuple(std::string(kWorked), std::string("BF"), std::uint8_t{5}));
  const clsChannel back = Read(Band(), kWorked);
  EXPECT_EQ(Settings(back), Settings(ch));
  EXPECT_FLOAT_EQ(back.BurstFrequency, 694.4444f);  // the tone divider 89 really makes
}

TEST(clsChannelKM2, VariationsOfTheWorkedChannel) {
  // A blank transmit half counts as FFFFF (0 Hz) or 00000 (-1) in the plain checksum; the
  // running sum of the alternate prescalers and the 52-37 counts the channel's in-use flag.
  using C = clsChannel;
  const std::tuple<void (*)(C&), const char*, const char*> cases[] = {
      {[](C& c) { c.AlternatePreScaler = true; }, kWorked, "CF"},
      {[](C& c) { c.ModelName = "52-3712"; }, kWorked, "CF"},
      {[](C& c) { c.TxFrequency = 0, c.TxChannelData = false; }, "41C2A0A0A02005006E21FFFFFFFF7F59",
       "9B"},  // 88 + 525
      {[](C& c) { c.TxFrequency = -1; }, "41C2A0A0A02005006E21FFFFFFFF7F59", "A8"},
      {[](C& c) { c.TxFrequency = 0, c.AlternatePreScaler2 = true; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", "6C"},  // 143 + 7 + 510
      {[](C& c) { c.TxFrequency = -1, c.TxChannelData = false, c.ModelName = "52-37"; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", "64"},                // 143 + 15 + 510
      {[](C& c) { c.RxFrequency = 0, c.PLLReferenceFreq = 0; },  // even unusable band
       "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "FF"},
      // The special transmit tone bank: code 105 is 5 with the scrambler flag (bit 33) set;
      // 100 is no bank tone, and only a transmitted CTCSS tone selects the bank. The names,
      // flags and tones below leave the synthesiser checksum as it was.
      {[](C& c) { c.TxSignalling = 0, c.TxCTCSSCode = 105; }, "41C2A0A0202005006E21050071317F59",
       "BF"},
      {[](C& c) { c.TxSignalling = 0, c.TxCTCSSCode = 100; }, "41C2A0A0A02005006E21240071317F59",
       "BF"},
      {[](C& c) { c.TxCTCSSCode = 105; }, kWorked, "BF"},
      {[](C& c) { c.TxSignalling = 0, c.TxCTCSSCode = 105, c.TxFrequency = 0; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", "9B"},
      // Names of 0 and 7 characters; the flags in the name bytes' top bits.
      {[](C& c) { c.ChannelName = "", c.RFPower = false; }, "FFFFFFFFFFFF05006E21613071317F59",
       "BF"},
      {[](C& c) { c.ChannelName = "", c.SubsignalingType = 0, c.Scrambler = true; },
       "FFFF7F7F7F7F05006E21613071317F59", "BF"},
      {[](C& c) { c.ChannelName = "ABCDEFG"; }, "41C2C3C4C54605006E21613071317F59", "BF"},
      {[](C& c) { c.SubsignalingType = 1; }, "41C220A0A02005006E21613071317F59", "BF"},
      // Burst: transpond only for 100 ms; neither (thirteen ones); 1000 Hz is divider 61.
      {[](C& c) {
         c.PTTBurstToneEnable = false, c.TranspondToneEnable = true, c.BurstDuration = 100;
       },
       "41C2A0A0A02005006E2161307131A059", "BF"},
      {[](C& c) { c.PTTBurstToneEnable = false; }, "41C2A0A0A02005006E2161307131FFFF", "BF"},
      {[](C& c) { c.BurstFrequency = 1000; }, "41C2A0A0A02005006E21613071317F3D", "BF"}};
  for (const auto& [edit, record, checksum] : cases) {
    clsChannel ch = Worked();
    ch.CheckSum = 12;
    edit(ch);
    ch.CreateChannelDataKM2();
    EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSumKM2), std::tie(record, checksum));
    // The 4-bit checksum is taken only when there are both halves.
    EXPECT_EQ(ch.CheckSum == 12, ch.RxFrequency == 0 || ch.TxFrequency <= 0) << record;
  }
}

TEST(clsChannelKM2, ReadingOddRecords) {
  // An erased channel reads as unused without looking at the band.
  clsChannel ch = Read(Band(0, -1), std::string(32, 'F'));
  EXPECT_EQ(std::tie(ch.ChannelName, ch.RxFrequency, ch.RxSignalling, ch.PTTBurstToneEnable),
            std::make_tuple(std::string(), 0.0, 3, false));
  // A receive half not in use takes the transmit half along.
  EXPECT_EQ(Read(Band(), "41C2A0A0A02005006E21613071317F59").TxFrequency, 160012500);
  EXPECT_EQ(Read(Band(), "41C2A0A0A02005086E21613071317F59").TxFrequency, 0);
  // A name byte of seven ones holds no character; an erased divider is the default tone.
  EXPECT_EQ(Read(Band(), std::string("41FFC2A0FF20") + (kWorked + 12)).ChannelName, "AB  ");
  EXPECT_EQ(Read(Band(), "41C2A0A0A02005006E21613071317FFF").BurstFrequency, 694.4f);
}

TEST(clsChannelKM2, ReferenceAndPrescalerSettings) {
  // A reference that rounds to 0 (it is held in tenths of a kHz) refuses the channel and
  // keeps the previous record.
  clsChannel ch = Worked();
  ch.PLLReferenceFreq = 0.05f;
  ch.ChannelData = "previous";
  EXPECT_EQ(ErrorOf([&] { ch.CreateChannelDataKM2(); }), ErrDivisionByZero);
  EXPECT_EQ(ch.ChannelData, "previous");
  // A negative count of inserted bits is refused both ways, and a synthesiser product beyond
  // 32 bits on reading.
  EXPECT_EQ(ErrorOf([] { Encoded(Worked(-1)); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorOf([] { Read(Band(12.5f, -1), kWorked); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorOf([] { Read(Band(6000), kWorked); }), ErrOverflow);

  // Dual modulus: M in 12 bits and A in 7. The reader counts in the radio's fixed 2.5 kHz
  // steps whatever the band says: a 12.5 kHz band writes N = 14113 (M 220, A 33) for
  // 155.0125 MHz and reads it back as 14113 x 2500 Hz less the IF.
  ch = Worked();
  ch.AlternatePreScaler2 = true;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(Bits(ch.ChannelData, 62, 19), Num2BinStr(220, 12) + Num2BinStr(33, 7));
  EXPECT_EQ(Read(ch, ch.ChannelData).RxFrequency, 2500.0 * 14113 - 21400000);

  // A word the field cannot hold is refused and the record kept, never wrapped round to
  // another frequency. With M at its top the dual-modulus swallow count runs on to 127, as the
  // reader counts it, so a channel read as 634.1175 MHz (N 262207) is written as it was read.
  const std::tuple<bool, std::int16_t, int, int> words[] = {
      {true, 0, 262207, 0},  {true, 0, 262208, ErrOverflow},  {true, 0, -1, ErrOverflow},
      {false, 1, 262143, 0}, {false, 1, 262144, ErrOverflow}, {false, 0, 524288, ErrOverflow},
      {false, 14, 63, 0},    {false, 14, 64, ErrOverflow}};
  for (const auto& [dual, p, n, error] : words) {
    ch = Band(2.5f, p);
    ch.AlternatePreScaler = dual;
    ch.RxFrequency = 2500.0 * n - 21400000;
    ch.TxFrequency = -1;
    ch.ChannelData = "previous";
    EXPECT_EQ(ErrorOf([&] { ch.CreateChannelDataKM2(); }), error) << n;
    if (error != 0) {
      EXPECT_EQ(ch.ChannelData, "previous") << n;
    } else {
      EXPECT_EQ(Read(ch, ch.ChannelData).RxFrequency, ch.RxFrequency) << n;
    }
  }

  // Inserted zeros sit above the low six bits; M loses as many of its top bits.
  for (std::int16_t p = 0; p <= 4; ++p) {
    ch = Band(5.0f, p);
    const int n = (1 << (18 - p)) + 12345 % (1 << (17 - p));
    ch.RxFrequency = 5000.0 * n - 21400000;
    ch.TxFrequency = -1;
    const std::string field = Num2BinStr(n, 19);
    const auto up = static_cast<std::size_t>(p);
    EXPECT_EQ(Bits(Encoded(ch).ChannelData, 62, 19),
              field.substr(up, 13 - up) + std::string(up, '0') + field.substr(13))
        << p;
  }
}

// The whole KM2 image.

// A KM2 band's synthesiser layout: the reference, what the radio makes of it (tenths of a kHz)
// and the zeros inserted into the plain field; -1 is the dual-modulus layout, which the radio
// always counts in 2.5 kHz steps.
struct Km2Layout {
  float reference;
  int referenceHz, inserted;
};

clsChannel RandomKm2Channel(Generator& g, const clsChannel& band, const Km2Layout& layout) {
  clsChannel ch = band;
  if (g.Pick(0, 9) == 0) {
    ch.ChannelData = std::string(32, 'F');
    ch.BreakChannelDataKM2();  // an unused channel, as a read leaves it
    return ch;
  }
  // Anywhere the field holds, from just above the IF up.
  const int bits = layout.inserted < 0 ? 18 : 19 - layout.inserted;
  const int lowest = static_cast<int>(band.RxIF * 100.0 / layout.referenceHz) + 2;
  const int highest = std::min((1 << bits) - 1, 2147483647 / layout.referenceHz);
  const auto tuned = [&] {
    return double(layout.referenceHz) * g.Pick(lowest, highest) - band.RxIF * 100.0;
  };
  ch.ChannelName = g.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -#", 7);
  const int kinds[] = {0, 1, 3};
  std::tie(ch.SubsignalingType, ch.RFPower, ch.PTTBurstToneEnable, ch.TranspondToneEnable) =
      std::tuple{g.Pick(0, 3), g.Coin(), g.Coin(), g.Coin()};
  std::tie(ch.RxFrequency, ch.RxSignalling, ch.RxCTCSSCode, ch.RxSignalData) =
      std::tuple{tuned(), kinds[g.Pick(0, 2)], g.Pick(0, 63), g.Pick(-511, 511)};
  // A blank transmit half as a read leaves it.
  std::tie(ch.TxChannelData, ch.TxSignalData) = std::tuple{g.Pick(0, 4) != 0, g.Pick(-511, 511)};
  ch.TxFrequency = ch.TxChannelData ? tuned() : 0;
  ch.TxSignalling = ch.TxChannelData ? kinds[g.Pick(0, 2)] : 3;
  // A special radio's scrambler flag marks its second transmit tone bank, codes 101 up; a
  // read sets the flag for a bank tone.
  const bool bankTone = band.SpecialRadio && ch.TxSignalling == 0 && g.Coin();
  ch.TxCTCSSCode = static_cast<std::uint8_t>(bankTone ? g.Pick(101, 163) : g.Pick(0, 63));
  ch.Scrambler = band.SpecialRadio ? bankTone : g.Coin();
  const bool burst = ch.PTTBurstToneEnable || ch.TranspondToneEnable;
  ch.BurstDuration = burst ? static_cast<float>(100 * g.Pick(1, 32)) : 3200.0f;
  ch.BurstFrequency = burst ? static_cast<float>(62500.0 / (g.Pick(19, 89) + 1)) : 694.4f;
  return ch;
}

TEST(ImageRoundTrip, Km2ImageOf320ChannelsAnd16Groups) {
  // One image for each layout. The header's alternate-prescaler flags stay off: a read
  // sets them from the identification questions, not from the image.
  const Km2Layout layouts[] = {{12.5f, 12500, 0}, {12.5f, 12500, 1}, {6.25f, 6200, 1},
                               {5.0f, 5000, 2},   {25.0f, 25000, 3}, {2.5f, 2500, 4},
                               {2.5f, 2500, -1}};
  const char* models[] = {"52-8994", "52-3712", "52-9233B"};
  const float intermediates[] = {214000, 449000, 0};  // units of 100 Hz
  Generator g{std::mt19937(2026)};
  for (const Km2Layout& layout : layouts) {
    const bool special = g.Coin();
    clsChannel band;
    // Only a D model carries the special-radio mark.
    std::tie(band.ModelName, band.PLLReferenceFreq, band.SpecialRadio) =
        std::tuple{special ? "52-9233BD" : models[g.Pick(0, 2)], layout.reference, special};
    band.RxIF = band.TxIF = intermediates[g.Pick(0, 2)];
    band.prsclKM2 = static_cast<std::int16_t>(std::max(layout.inserted, 0));
    band.AlternatePreScaler = layout.inserted < 0 && g.Coin();
    band.AlternatePreScaler2 = layout.inserted < 0 && !band.AlternatePreScaler;
    H header = BaseHeader(g.rng);
    std::tie(header.ModelName, header.PLLReferenceFreq, header.SpecialRadio) =
        std::tie(band.ModelName, band.PLLReferenceFreq, band.SpecialRadio);
    header.IFRx = header.IFTx = band.RxIF;
    header.SerialNumber = g.Text("0123456789", 8);
    header.DateRadio = Date(2000 + g.Pick(0, 29), g.Pick(1, 12), g.Pick(1, 28));
    ASSERT_TRUE(header.CreateRadioHeaderKM2());

    std::vector<clsChannel> channels;
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 1; n <= 320; ++n) {
      channels.push_back(RandomKm2Channel(g, band, layout));
      channels.back().CreateChannelDataKM2();
      creator.colChannelData.Add(channels.back().ChannelData);
      creator.colChannelCheckSum.Add(channels.back().CheckSumKM2);
      // The table's entries are worked by hand in their own tests; here each has only to come
      // back to its own place.
      clsChannelGroup entry;
      entry.Programmed = g.Pick(0, 4) != 0;
      entry.ChannelNumber = static_cast<std::int16_t>(entry.Programmed ? n : 0);
      entry.GroupNumber = static_cast<std::int16_t>(entry.Programmed ? g.Pick(1, 16) : 0);
      entry.CreateChannelGroup();
      creator.colChannelGroup.Add(entry.ChannelGroupStr);
    }
    // The group records' fields are worked by hand in the group tests; here each group has
    // only to come back to its own place.
    for (int k = 1; k <= 16; ++k) {
      clsGroup group;
      group.GroupName = "G" + std::to_string(k);
      group.CreateGroupData();
      creator.colGroupData.Add(group.GroupData);
    }
    ASSERT_TRUE(creator.CreateStringKM2());
    const std::string image = creator.ProgrammingStringPart1;
    ASSERT_EQ(image.size(), 16384u);
    EXPECT_EQ(image.substr(16376), "FFFEFFFF");
    // Each block at its fixed address.
    EXPECT_EQ(Address(image, 5 * 16, 32), channels[5].ChannelData);
    EXPECT_EQ(Address(image, 0x1400 + 2 * 32, 64), creator.colGroupData.Item(3));
    EXPECT_EQ(Address(image, 0x1600 + 319 * 2, 4), creator.colChannelGroup.Item(320));
    EXPECT_EQ(Address(image, 0x1880, 3192), header.RadioHeader);
    EXPECT_EQ(Address(image, 0x1EBC + 41, 2), channels[41].CheckSumKM2);

    clsStringCreator splitter;
    splitter.EntireString = image;
    splitter.BreakUpStringKM2();
    H read;
    read.RadioHeader = splitter.RadioHeader;
    ASSERT_TRUE(read.BreakUpRadioHeaderKM2());
    EXPECT_EQ(std::tie(read.SerialNumber, read.DateRadio, read.SpecialRadio),
              std::tie(header.SerialNumber, header.DateRadio, header.SpecialRadio));
    // The tail is carried from the image: everything from 18DD to the end, patches included.
    EXPECT_EQ(read.KM2Tail, Address(image, 0x18DD, 3654));

    clsStringCreator again;
    for (int n = 1; n <= 320; ++n) {
      clsChannel ch = band;
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelDataKM2();
      const clsChannel& sent = channels[static_cast<std::size_t>(n - 1)];
      EXPECT_EQ(std::tuple(Settings(ch), ch.BurstFrequency),
                std::tuple(Settings(sent), sent.BurstFrequency))
          << "channel " << n;
      ch.CreateChannelDataKM2();
      again.colChannelData.Add(ch.ChannelData);
      again.colChannelCheckSum.Add(ch.CheckSumKM2);
      again.colChannelGroup.Add(splitter.colChannelGroup.Item(n));
    }
    for (int k = 1; k <= 16; ++k) again.colGroupData.Add(splitter.colGroupData.Item(k));
    ASSERT_TRUE(read.CreateRadioHeaderKM2());
    again.RadioHeader = read.RadioHeader;
    ASSERT_TRUE(again.CreateStringKM2());
    EXPECT_EQ(again.ProgrammingStringPart1, image);
  }
}

}  // namespace km2

// --- The profile database ---

// A database file made from SQL that TALLISK_PROFILE_DB points at while the object lives.
struct ScratchDatabase {
  explicit ScratchDatabase(const std::string& sql) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    setenv("TALLISK_PROFILE_DB", path.c_str(), 1);
  }
  ~ScratchDatabase() {
    unsetenv("TALLISK_PROFILE_DB");
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tallisk-profiles-" + std::to_string(getpid()) + ".db"))
                               .string();
};

// A band as one line, in the order of the database's columns.
std::string Row(const clsNonPersistentInfo& b) {
  std::ostringstream row;
  row << std::setprecision(10) << b.Address0x0D << '|' << b.Address0x0F << '|' << b.Address0x10
      << '|' << b.Address0x14 << '|' << b.Address0x15 << '|' << b.Address0x16 << '|'
      << b.Address0x17 << '|' << b.InjectAspect << '|' << b.PllReferenceFrequency << '|'
      << b.Default << '|' << b.SynthesizerType << '|' << b.PrescalerSwitch << '|' << b.IFRx << '|'
      << b.IFTx << '|' << int{b.ChannelSwitchType} << '|' << b.FreqMinHz << '|' << b.FreqMaxHz
      << '|' << b.FreqBand << '|' << b.Address0x18D0;
  return row.str();
}

TEST(ProfilesOperator, LookupsOfBothFamiliesAndLoadingAgain) {
  clsOperator op;
  std::string def;
  // Not loaded yet.
  EXPECT_EQ(CaughtError([&] { op.GetRadioInfoKM2("52-8991A"); }).Number(), 91);
  EXPECT_EQ(CaughtError([&] { op.IsRadioModelExist("52-8991A", def); }).Number(), 91);
  op.LoadProfiles();
  op.LoadProfiles();
  ASSERT_EQ(op.RadioData->Count(), 19);
  EXPECT_FALSE(op.GetRadioInfoByModelNumber(19));
  const auto uhfLowA = op.GetRadioInfo("UHF Low A 403-423 MHz 16 Ch");
  ASSERT_TRUE(uhfLowA);
  EXPECT_EQ(uhfLowA->ModelCode, value_of(enumModel::UHF_L_A_Band));
  const auto& band = *uhfLowA->collectionNonPersistentRadioInfo.Item(1);
  EXPECT_EQ(Row(band),  // each column in its field
            "0x04|0x06|0xB0|XX11XX01|0x88|XXXXXX01|0x9D|0|12.5|1|MB1501|128/129|21400|0|3|"
            "403000000|423000000||");
  EXPECT_FALSE(op.GetRadioInfo("uhf Low A 403-423 MHz 16 Ch"));  // matched exactly

  op.LoadProfilesKM2();

  // KM2: seven characters are needed; only the first six are compared.
  EXPECT_FALSE(op.GetRadioInfoKM2("52-899"));
  EXPECT_FALSE(op.GetRadioInfoKM2("52-8981A"));
  const auto line899 = op.GetRadioInfoKM2("52-899X");
  ASSERT_TRUE(line899);
  EXPECT_EQ(line899, op.GetRadioInfoKM2("52-8991AD"));
  EXPECT_EQ(Row(*line899->collectionNonPersistentRadioInfo.Item(1)),
            "|||||||1|12.5|1|||214000|0|0|136000000|156000000|A|0x1F");
  // Model number = line, feature digit 1/2/7, band letter, optional D; in either case.
  const std::string bandA = "007D040006B0008800B2FFF00000FFFF";
  for (const auto& [number, text] : std::initializer_list<std::pair<const char*, std::string>>{
           {"52-8991A", bandA},
           {"52-8991ad", bandA},
           {"52-8992A", bandA},
           {"52-8997A", bandA},
           {"52-8991C", "00320A0010B8008800C4FFF00000FFFF"},
           {"52-8994", ""},
           {"52-8991AX", ""},
           {"52-8993A", ""},
           {"52-8991Z", ""},
           {"52-1231A", ""}}) {
    def = "left over";
    EXPECT_EQ(op.IsRadioModelExist(number, def), !text.empty()) << number;
    EXPECT_EQ(def, text) << number;
  }
  op.UnloadProfiles();
  EXPECT_FALSE(op.RadioData);
}

// A QVR database shaped like the shipped one, without the optional tuning range.
constexpr const char* kQvrSchema = R"(
CREATE TABLE tblRadioList (RadioModelCode INTEGER, RadioModel TEXT, NumberOfChannels INTEGER);
CREATE TABLE tblRadioBand (RadioModelCode INTEGER, Address0x0D TEXT, Address0x0F TEXT,
  Address0x10 TEXT, Address0x14 TEXT, Address0x15 TEXT, Address0x16 TEXT, Address0x17 TEXT,
  InjectAspect INTEGER, PllReferenceFrequency REAL, "Default" INTEGER, SynthesizerType TEXT,
  PrescalerSwitch TEXT, IFRx REAL, IFTx REAL, ChannelSwitchType INTEGER);
CREATE VIEW qryGetInfoForRadio AS SELECT RadioModelCode AS RadioCode, * FROM tblRadioBand;
INSERT INTO tblRadioBand VALUES (3, '0x84', '0x86', '0xB0', 'XX11XX00', '0x5C', 'XXXXXX00',
  '0x47', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3);
CREATE TABLE tblCTCSSFrequencies ("Index" INTEGER, ToneFrequency REAL);
CREATE TABLE KM2CTCSSFrequencies ("Index", ToneFrequency, SpecialRadio, CTCSSCode);
)";

TEST(ProfilesDatabase, SmallDatabasesReadAsStoredAndOnlyWhileTheLookupRuns) {
  ScratchDatabase db(
      std::string(kQvrSchema) +
      "INSERT INTO tblRadioList VALUES (3, 'VHF Test', 16), (4, 'Bandless', '8');"
      "INSERT INTO KM2CTCSSFrequencies VALUES (1, 100.0, 0, '1A'),"
      "  (2, 88.5, 1, 'zz'), (4, 71.9, 'True', ' 7F ');"
      "CREATE TABLE KM2RadioList (ModelCode INTEGER, RadioModel TEXT);"
      "CREATE TABLE KM2RadioFeqBand (ModelCode INTEGER, FreqBand TEXT, IFRx REAL, IFTx REAL,"
      "  Address0x18D0 TEXT, InjectAspect INTEGER, PllReferenceFrequency REAL,"
      "  \"Default\" INTEGER, Address0x1890 TEXT);"
      "CREATE VIEW qryGetInfoForRadioKM2 AS SELECT ModelCode AS RadioCode, * FROM KM2RadioFeqBand;"
      "INSERT INTO KM2RadioList VALUES (9, '52-555 Test');"
      "INSERT INTO KM2RadioFeqBand VALUES (9, 'A', 214000, 0, '0x3F', 1, 12.5, 1, 'first'),"
      "  (9, 'A', 214000, 0, '0x3F', 1, 12.5, 0, 'second'),"
      "  (9, '''', 214000, 0, '0x3F', 1, 12.5, 0, 'quoted');");
  const auto written = std::filesystem::last_write_time(db.path);
  clsOperator op;
  op.LoadProfiles();
  ASSERT_EQ(op.RadioData->Count(), 2);
  const auto model = op.GetRadioInfo("VHF Test");
  ASSERT_TRUE(model);
  ASSERT_EQ(model->collectionNonPersistentRadioInfo.Count(), 1);
  // No tuning range known: 0.
  EXPECT_EQ(Row(*model->collectionNonPersistentRadioInfo.Item(1)),
            "0x84|0x86|0xB0|XX11XX00|0x5C|XXXXXX00|0x47|1|12.5|1|MB1504|64/65|21400|0|3|0|0||");
  // A number stored as text converts; a model without bands has an empty band list.
  EXPECT_EQ(op.GetRadioInfo("Bandless")->NumberOfChannels, 8);
  EXPECT_EQ(op.GetRadioInfo("Bandless")->collectionNonPersistentRadioInfo.Count(), 0);

  colCTCSSFrequencies tones;
  tones.LoadCodesKM2();
  std::string read;  // index, code and bank of each tone, in ascending frequency
  for (const auto& t : tones) {
    read += std::to_string(t.Index) + ":" + std::to_string(t.CTCSSCodeKM2) +
            (t.SpecialRadioKM2 ? "S " : " ");
  }
  EXPECT_EQ(read, "4:127S 2:0S 1:26 ");  // "zz" is not hexadecimal
  op.LoadProfilesKM2();
  ASSERT_EQ(op.RadioData->Count(), 1);
  EXPECT_EQ(op.RadioData->Item(1)->collectionNonPersistentRadioInfo.Count(), 3);
  std::string def;
  // With several rows for a band, the last one counts.
  EXPECT_TRUE(op.IsRadioModelExist("52-5551A", def));
  EXPECT_EQ(def, "second");
  // A quote typed as the band letter is compared as a letter, never read as SQL.
  EXPECT_TRUE(op.IsRadioModelExist("52-5551'", def));
  EXPECT_EQ(def, "quoted");
  // Opened read-only and closed again: untouched, and a removed file is missed at once.
  EXPECT_EQ(std::filesystem::last_write_time(db.path), written);
  EXPECT_FALSE(std::filesystem::exists(db.path + "-journal"));
  std::filesystem::remove(db.path);
  const TalliskError e = CaughtError([&] { op.IsRadioModelExist("52-5551A", def); });
  EXPECT_EQ(e.Number(), 3024);
  EXPECT_EQ(e.Source(), "clsOperator.LookupBandDefault");
  EXPECT_TRUE(op.GetRadioInfoKM2("52-5551A"));  // the loaded profiles need no database
}

TEST(ProfilesDatabase, FaultyDatabasesFailNamingTheFileAndTheProblem) {
  const std::string schema = kQvrSchema;
  const std::string models = "clsOperator.LoadProfiles";
  const std::string km2Tones = "colCTCSSFrequencies.LoadCodesKM2";
  const struct {
    std::string sql;
    std::string source;  // the load
    int number;
    const char* message;
    int kept = 0;  // tones read before the failure stay
  } cases[] = {
      {"-- no file", "clsOperator.LoadProfilesKM2", 3024, "(named by TALLISK_PROFILE_DB)"},
      {"-- text", models, 3049, "file is not a database"},
      {"CREATE TABLE other (x INTEGER);", models, 3078, "no such table: tblRadioList"},
      {"CREATE TABLE tblRadioList (RadioModelCode, RadioModel);"
       "INSERT INTO tblRadioList VALUES (0, 'A');",
       models, 3265, "NumberOfChannels"},
      {schema + "INSERT INTO tblRadioList VALUES (3, NULL, 16);", models, 94, "RadioModel"},
      {schema + "INSERT INTO tblRadioList VALUES (300, 'A', 16);", models, ErrOverflow,
       "RadioModelCode"},
      {schema + "UPDATE tblRadioBand SET PllReferenceFrequency = '12,5 kHz';"
                "INSERT INTO tblRadioList VALUES (3, 'A', 16);",
       models, 13, "PllReferenceFrequency"},
      // Blank texts in a numeric and in a yes/no column; the good model read first is dropped.
      {schema + "UPDATE tblRadioBand SET IFRx = '  ';"
                "INSERT INTO tblRadioList VALUES (4, 'Good', 16), (3, 'A', 16);",
       models, 13, "IFRx"},
      {schema + "UPDATE tblRadioBand SET InjectAspect = '';"
                "INSERT INTO tblRadioList VALUES (3, 'A', 16);",
       models, 13, "InjectAspect"},
      {"CREATE TABLE KM2CTCSSFrequencies (x);", "colCTCSSFrequencies.LoadCodes", 3078,
       "no such table: tblCTCSSFrequencies"},
      {schema + "INSERT INTO KM2CTCSSFrequencies VALUES (1, 67.0, 0, '1'),"
                " (NULL, 71.9, 0, '2'), (3, 74.4, 0, '3');",
       km2Tones, 94, "Index", 1},
      {schema + "INSERT INTO KM2CTCSSFrequencies VALUES (1, 67.0, 0, '8000');", km2Tones,
       ErrOverflow, "8000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    ScratchDatabase db(c.sql);
    // Some other file under the name, or none at all.
    if (c.sql == "-- text") std::ofstream(db.path) << "These are not the profiles you want.\n";
    if (c.sql == "-- no file") std::filesystem::remove(db.path);
    clsOperator op;
    colCTCSSFrequencies tones;
    const TalliskError e = CaughtError([&] {
      if (c.source == models) op.LoadProfiles();
      if (c.source == "clsOperator.LoadProfilesKM2") op.LoadProfilesKM2();
      if (c.source == "colCTCSSFrequencies.LoadCodes") tones.LoadCodes();
      if (c.source == km2Tones) tones.LoadCodesKM2();
    });
    EXPECT_EQ(e.Number(), c.number) << e.Description();
    EXPECT_EQ(e.Source(), c.source);
    EXPECT_NE(e.Description().find(db.path), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find(c.message), std::string::npos) << e.Description();
    // A failed load leaves an empty list of models, not the half read before the fault.
    EXPECT_EQ(op.RadioData != nullptr, c.source.rfind("clsOperator", 0) == 0);
    if (op.RadioData) {
      EXPECT_EQ(op.RadioData->Count(), 0);
    }
    EXPECT_EQ(tones.Count(), c.kept);
  }
  setenv("TALLISK_PROFILE_DB", "", 1);  // an empty setting is no setting: the shipped database
  clsOperator op;
  op.LoadProfiles();
  EXPECT_EQ(op.RadioData->Count(), 19);
  unsetenv("TALLISK_PROFILE_DB");
}

}  // namespace
}  // namespace tallisk