#include "tallisk/clsRadioHeader.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "LibTestSupport.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

using testing::ErrorOf;
using testing::PromptScope;
using testing::RandomHex;
using H = clsRadioHeader;

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
  EXPECT_TRUE(h.Address0x0D.empty() && h.Address0x14.empty() && h.KM2Tail.empty());
  h.NormalPower = 12;
  h.CDCSSRiseErrCount = 9;
  EXPECT_TRUE(h.CreateRadioHeader());
  // Serial and customer erased, date 12 30 (18)99, model 00, empty profile bytes 00;
  // E0 = DetEnt and interval A 4, the fixed bits, the erased calibration bytes.
  EXPECT_EQ(h.RadioHeader,
            "FFFFFFFFFFFFFFFFFF1230990000000000"
            "E0010080000000FFFFFFBF077FFF3F0FFF");
  // The block always carries the erased calibration, and the properties say so.
  EXPECT_EQ(h.NormalPower, 255);
  EXPECT_EQ(h.CDCSSRiseErrCount, 0);

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

  // Values wider than their fields keep only their low bits.
  H h;
  h.Model = 0x1FE;
  h.IntervalATime = 14;      // 110
  h.ChannelSwitchType = -3;  // 01
  h.TxTimeOutTimer = 13;     // 101
  h.CTCSSRiseTime = 0x23;
  h.CreateRadioHeader();
  EXPECT_EQ(ByteAt(h, 0x0C) + ByteAt(h, 0x11) + ByteAt(h, 0x1C) + ByteAt(h, 0x1D), "FE702F3F");
  h.BreakUpRadioHeader();
  EXPECT_EQ(h.Model, 0xFE);  // the whole byte comes back
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
                                  {"BF00", "1 64/65 3F00 0xBF"},
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
      {"023024", "invalid 2001-02-03"}, {"1A0199", "invalid 2001-02-03"},
      {"FFFF12", "invalid 2001-02-03"}};
  for (const auto& c : cases) {
    H r;
    r.DateRadio = Date(2001, 2, 3);
    r.RadioHeader = h.RadioHeader;
    r.RadioHeader.replace(0x09 * 2, 6, c[0]);
    const bool valid = r.BreakUpRadioHeader();
    EXPECT_EQ((valid ? "" : "invalid ") + r.DateRadio.ToIsoString(), c[1]);
    EXPECT_EQ(r.CDCSSFallErrCount, 3) << c[0];
    EXPECT_TRUE(r.CreateRadioHeader());  // still usable
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
  EXPECT_EQ(h.CreateTestStr(), lead.substr(0, 56));  // up to 189C
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
      {[](H& h) { h.ModelName = "52-9233BD", h.MomentaryChannelKnob = true; }, 0x189A, 1, "F9"},
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
      {[](H& h) { h.SecondLocalRX = -1; }, 0x18D0, 1, "3F"},
      {[](H& h) { h.ModelName = "52-3701A", h.SecondLocalRX = 0; }, 0x18D0, 1, "3F"},
      {[](H& h) { h.ModelName = "52-3701A", h.SecondLocalRX = 1; }, 0x18D0, 1, "1F"},
      // 18E5 and 18E8: settings over the bits carried from the radio.
      // 18E5 = 101 1 0 1 0 1, 18E8 = 0 1 111 1 00
      {carried, 0x18E5, 4, "B5C3D27C"},
      // 18E5 = 010 0 1 0 1 0, 18E8 = 1 0 111 0 11
      {flipped, 0x18E5, 4, "4A3C2DBB"},
      {[](H&) {}, 0x1E1C, 2, "FFFF"},  // add and delete keys where they were
      // 18EC-18FF: CTCSS keys only for a deluxe radio with one-touch signalling selection.
      {keys, 0x18EC, 20, "0507FFFF0C07FFFFFFFFFFFFFFFFFFFFFFFFFF07"},
      {[&](H& h) { keys(h), h.OneTouchSelection = 0; }, 0x18EC, 20, none},
      {[&](H& h) { keys(h), h.OneTouchSelection = 2; }, 0x18EC, 20, none},
      {[&](H& h) { keys(h), h.ModelName = "52-1101B"; }, 0x18EC, 20, none},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    H c = BaseHeader(rng);
    cases[i].set(c);
    ASSERT_TRUE(c.CreateRadioHeaderKM2());
    EXPECT_EQ(At(c.RadioHeader, cases[i].address, cases[i].bytes), cases[i].expected)
        << "case " << i;
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

TEST(clsRadioHeaderKM2, CarriedTailSpecialRadioPatchesAndShortTails) {
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

  // A short tail gives a short block, which the image assembly then refuses. Only whole
  // bytes are carried: a lone last digit must not make the block look whole.
  // With 17 digits: the settings to 18DC, 18DD-18E4, and 18E5, 18E8 and the keys.
  for (std::size_t digits : {3005u, 17u}) {
    h.KM2Tail = RandomHex(rng, digits);
    h.CreateRadioHeaderKM2();
    EXPECT_EQ(h.RadioHeader.size(), digits > 70 ? 256 + (digits - 71) : 246) << digits;
  }
  // 18E5 missing: its carried bits are erased, not made up.
  EXPECT_EQ(At(h.RadioHeader, 0x18E5), "F9");
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
  } cases[] = {{"52-9233B", {true}, {q1}, 2},
               {"52-1102BD", {false, true}, {q1, q2}, 1},
               {"52-1201C", {false, false}, {q1, q2}, 0},
               {"52-9101A", {false, true}, {q1, q2}, 1},
               {"52-3712A", {true, true}, {}, 0},
               {"52-6581AD", {true, true}, {}, 0}};
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

}  // namespace
}  // namespace tallisk
