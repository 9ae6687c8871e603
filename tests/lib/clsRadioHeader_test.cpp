#include "tallisk/clsRadioHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

using H = clsRadioHeader;

int ErrorNumberOf(auto&& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

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

}  // namespace
}  // namespace tallisk
