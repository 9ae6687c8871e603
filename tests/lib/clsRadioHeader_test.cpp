#include "tallisk/clsRadioHeader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

int ErrorNumberOf(auto&& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

// Byte `address` of a QVR block as two hex digits.
std::string ByteAt(const clsRadioHeader& h, int address) {
  return h.RadioHeader.substr(static_cast<std::size_t>(address) * 2, 2);
}

// The defaults the QVR block does not show (the block test below covers the rest).
TEST(clsRadioHeader, NewHeaderHasTheDefaultSettings) {
  const clsRadioHeader h;
  EXPECT_EQ(h.DateRadio, Date());
  for (auto k : {h.CTCSSKeyForm1, h.CTCSSKeyForm5, h.CTCSSKeyForm10}) EXPECT_EQ(k, -1);
  EXPECT_EQ(h.NormalPower, 255);
  EXPECT_EQ(h.FrequencyControlData, 255);
  EXPECT_EQ(h.CDCSSFallErrCount, 15);
  EXPECT_TRUE(h.Address0x0D.empty() && h.Address0x14.empty() && h.KM2Tail.empty());
  EXPECT_FALSE(h.SpecialRadio || h.AlternatePreScaler || h.EnableCTCSSHPF || h.Aux1);
}

TEST(clsRadioHeader, DefaultBlockIsErasedNumbersAndFixedBits) {
  clsRadioHeader h;
  h.NormalPower = 12;
  h.CDCSSRiseErrCount = 9;
  EXPECT_TRUE(h.CreateRadioHeader());
  // Serial and customer erased, date 12 30 (18)99, model 00, empty profile bytes 00,
  // E0 = DetEnt and interval A 4, the fixed bits, the erased calibration bytes.
  EXPECT_EQ(h.RadioHeader,
            "FFFFFFFF"
            "FFFFFFFFFF"
            "123099"
            "00"
            "0000"
            "0000"
            "E0"
            "01"
            "00"
            "80"
            "00"
            "00"
            "00"
            "FFFFFF"
            "BF"
            "07"
            "7F"
            "FF"
            "3F"
            "0F"
            "FF");
  // The block always carries the erased calibration, and the properties say so.
  EXPECT_EQ(h.NormalPower, 255);
  EXPECT_EQ(h.CDCSSRiseErrCount, 0);
}

// Every setting at its own bits, with values that tell neighbouring fields apart (a round
// trip alone would not notice two fields swapped in both directions).
TEST(clsRadioHeader, EachSettingLandsOnItsOwnBits) {
  clsRadioHeader h;
  h.Model = 18;
  h.Address0x0D = "0x6B";
  h.Address0x0F = "0x80";
  h.Address0x10 = "0x01";
  h.ChannelSwitchType = 1;
  h.IntervalATime = 6;
  h.IntervalBTime = 3;
  h.HoldTimeAfterRx = 2;
  h.HoldTimeAfterTx = 1;
  h.TxDelayTime = 5;
  h.ScanListClear = 1;
  h.ScanHoldConditions = 2;
  h.ScanMethod = 3;
  h.PriorityCnlMonitorCycle = 1;
  h.LoopSwitchTimer = 1;
  h.Address0x14 = "XX11XX01";
  h.AuxKeyType = 2;
  h.Address0x15 = "0x5A";
  h.PriorityCnlMonitorTime = 1;
  h.BeepA = true;
  h.BeepB = true;
  h.Address0x16 = "XXXXXX10";
  h.Address0x17 = "0xC3";
  h.BusyChannelLockOut = 1;
  h.TxTimeOutTimer = 6;
  h.OffHookScanStop = true;
  h.CTCSSRiseTime = 3;
  h.CTCSSFallTime = 9;
  h.CDCSSFallTime = 10;
  h.ChatteringCount = 4;
  h.CDCSSFallErrCount = 6;
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0x0C * 2),
            "12"
            "6B00"
            "8001"
            "73"  // 01 110 011
            "9B"  // 10 01 101 1
            "6D"  // 01 10 11 0 1
            "79"  // 01 11 10 01
            "5A"
            "72"  // 01 1100 10
            "C3"
            "FFFFFF"
            "BF"
            "73"  // 01 110 0 11
            "39"
            "A4"
            "3F"
            "06"
            "FF");

  // The other value of each one-bit setting, and values wider than their fields (only
  // their low bits are kept).
  h.ChannelRollOver = true;
  h.PriorityCnlMonitorCycle = 0;
  h.BeepA = h.BeepB = false;
  h.BeepC = h.BeepD = true;
  h.OffHookScanStop = false;
  h.IntervalATime = 14;      // 110
  h.TxTimeOutTimer = 13;     // 101
  h.ChannelSwitchType = -3;  // 01
  h.CTCSSRiseTime = 0x23;
  h.Model = 0x1FE;
  h.CreateRadioHeader();
  EXPECT_EQ(ByteAt(h, 0x0C), "FE");
  EXPECT_EQ(ByteAt(h, 0x11), "73");
  EXPECT_EQ(ByteAt(h, 0x13), "6E");  // 01 10 11 1 0
  EXPECT_EQ(ByteAt(h, 0x16), "4E");  // 01 0011 10
  EXPECT_EQ(ByteAt(h, 0x1C), "6F");  // 01 101 1 11
  EXPECT_EQ(ByteAt(h, 0x1D), "39");
}

TEST(clsRadioHeader, SerialAndCustomerNumbersAreHexDigitsPaddedWithF) {
  clsRadioHeader h;
  h.SerialNumber = "12345";
  h.CustomerNumber = "C1";
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0, 18), "FFF12345FFFFFFFFC1");

  h.SerialNumber = "ABCDEF123456";  // only the last eight digits fit
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0, 8), "EF123456");

  h.SerialNumber = "12 34";   // a space is stored as F and comes back as a space
  h.CustomerNumber = "12G4";  // a character that is no hex digit is stored as 0
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0, 18), "FFF12F34FFFFFF1204");
  clsRadioHeader back;
  back.RadioHeader = h.RadioHeader;
  back.BreakUpRadioHeader();
  EXPECT_EQ(back.SerialNumber, "12 34");
  EXPECT_EQ(back.CustomerNumber, "1204");
}

TEST(clsRadioHeader, SpecialRadioAndTheSynthesiserByte) {
  clsRadioHeader h;
  h.SpecialRadio = true;
  h.Address0x0D = "0x21";
  h.CreateRadioHeader();
  EXPECT_EQ(ByteAt(h, 0x0D), "94");
  EXPECT_EQ(ByteAt(h, 0x0E), "00");

  clsRadioHeader back;
  back.RadioHeader = h.RadioHeader;
  back.BreakUpRadioHeader();
  EXPECT_TRUE(back.SpecialRadio);
  EXPECT_EQ(back.Address0x0D, "0x8A");
  EXPECT_EQ(back.Synthesizer, 1);
  EXPECT_EQ(back.PrescalerSwitch, "64/65");
  EXPECT_EQ(back.ReferenceCounter, 0x1400);

  // Bits 7 and 6 of 0D select the prescaler; bits 5-0 and 0E are the reference counter.
  const struct {
    const char* bytes;
    int synthesizer;
    const char* prescaler;
    int counter;
  } cases[] = {{"C1A5", 1, "32/33", 0x01A5},
               {"BF00", 1, "64/65", 0x3F00},
               {"4002", 0, "64/65", 0x0002},
               {"0000", 0, "128/129", 0}};
  for (const auto& c : cases) {
    clsRadioHeader r;
    r.CreateRadioHeader();
    r.RadioHeader.replace(0x0D * 2, 4, c.bytes);
    r.BreakUpRadioHeader();
    EXPECT_EQ(r.Synthesizer, c.synthesizer) << c.bytes;
    EXPECT_EQ(r.PrescalerSwitch, c.prescaler) << c.bytes;
    EXPECT_EQ(r.ReferenceCounter, c.counter) << c.bytes;
    EXPECT_FALSE(r.SpecialRadio);
    EXPECT_EQ(r.Address0x0D, "0x" + std::string(c.bytes).substr(0, 2));
  }
}

TEST(clsRadioHeader, DateDigitsErasedValidAndInvalid) {
  clsRadioHeader h;
  h.DateRadio = Date(2026, 7, 4);
  h.CreateRadioHeader();
  EXPECT_EQ(h.RadioHeader.substr(0x09 * 2, 6), "070426");

  clsRadioHeader r;
  r.RadioHeader = h.RadioHeader;
  EXPECT_TRUE(r.BreakUpRadioHeader());
  EXPECT_EQ(r.DateRadio, Date(2026, 7, 4));
  r.RadioHeader.replace(0x09 * 2, 6, "123129");
  r.BreakUpRadioHeader();
  EXPECT_EQ(r.DateRadio, Date(2029, 12, 31));
  r.RadioHeader.replace(0x09 * 2, 6, "010130");
  r.BreakUpRadioHeader();
  EXPECT_EQ(r.DateRadio, Date(1930, 1, 1));

  // A radio that never had a date keeps the date the header holds.
  r.DateRadio = Date(2001, 2, 3);
  r.RadioHeader.replace(0x09 * 2, 6, "FFFFFF");
  EXPECT_TRUE(r.BreakUpRadioHeader());
  EXPECT_EQ(r.DateRadio, Date(2001, 2, 3));

  // Digits that are no date: the date stays, the rest of the block is still read.
  for (const char* digits : {"133299", "023024", "1A0199", "FFFF12"}) {
    clsRadioHeader bad;
    bad.DateRadio = Date(2001, 2, 3);
    bad.RadioHeader = h.RadioHeader;
    bad.RadioHeader.replace(0x09 * 2, 6, digits);
    bad.RadioHeader.replace(0x20 * 2, 2, "03");
    EXPECT_FALSE(bad.BreakUpRadioHeader()) << digits;
    EXPECT_EQ(bad.DateRadio, Date(2001, 2, 3)) << digits;
    EXPECT_EQ(bad.CDCSSFallErrCount, 3) << digits;
    EXPECT_TRUE(bad.CreateRadioHeader());  // still usable
  }
}

TEST(clsRadioHeader, ActiveLowAndDoubleBitFlags) {
  clsRadioHeader h;
  h.OffHookScanStop = true;
  h.Priority2Channel = true;
  h.CreateRadioHeader();
  EXPECT_EQ(ByteAt(h, 0x1C), "03");  // bit 2 is 0 for "stop scanning"
  EXPECT_EQ(ByteAt(h, 0x1F), "FF");
  h.OffHookScanStop = false;
  h.Priority2Channel = false;
  h.CreateRadioHeader();
  EXPECT_EQ(ByteAt(h, 0x1C), "07");
  EXPECT_EQ(ByteAt(h, 0x1F), "3F");
}

TEST(clsRadioHeader, RefusesAShortBlockAndABrokenProfile) {
  clsRadioHeader h;
  h.SerialNumber = "77";
  h.RadioHeader = std::string(66, '0');
  EXPECT_EQ(ErrorNumberOf([&] { h.BreakUpRadioHeader(); }), ErrInvalidArgument);
  EXPECT_EQ(h.SerialNumber, "77");

  // Missing bit characters of a profile text are 0 bits; other characters are refused.
  h.Address0x14 = "XX1";
  h.Address0x16 = "";
  EXPECT_TRUE(h.CreateRadioHeader());
  EXPECT_EQ(ByteAt(h, 0x14), "A0");
  h.Address0x14 = "XX1AXX00";
  h.RadioHeader = "kept";
  EXPECT_EQ(ErrorNumberOf([&] { h.CreateRadioHeader(); }), ErrInvalidArgument);
  EXPECT_EQ(h.RadioHeader, "kept");
}

std::string Bits2(std::mt19937& rng) {
  return Num2BinStr(static_cast<int>(rng() % 4), 2);
}

TEST(clsRadioHeader, QvrBlockRoundTripsGeneratedSettings) {
  std::mt19937 rng(2024);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const auto digits = [&](std::size_t max) {
    // F is the padding digit and reads back as a space, so numbers are made without it.
    std::string s(static_cast<std::size_t>(pick(static_cast<int>(max) + 1)), '0');
    for (char& c : s) c = "0123456789ABCDE"[pick(15)];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    clsRadioHeader h;
    h.SerialNumber = digits(8);
    h.CustomerNumber = digits(10);
    h.DateRadio = Date(1930 + pick(100), 1 + pick(12), 1 + pick(28));
    h.Model = pick(256);
    h.SpecialRadio = pick(4) == 0;
    int byte0D = pick(256);
    if (byte0D == 0x94) byte0D = 0x95;  // that byte is the special radio's own
    h.Address0x0D = h.SpecialRadio ? "0x8A" : "0x" + ToHex(byte0D, 2);
    h.Address0x0F = "0x" + ToHex(pick(256), 2);
    h.Address0x10 = "0x" + ToHex(pick(256), 2);
    h.Address0x14 = "XX" + Bits2(rng) + "XX" + Bits2(rng);
    h.Address0x15 = "0x" + ToHex(pick(256), 2);
    h.Address0x16 = "XXXXXX" + Bits2(rng);
    h.Address0x17 = "0x" + ToHex(pick(256), 2);
    h.ChannelSwitchType = pick(4);
    h.IntervalATime = static_cast<std::uint8_t>(pick(8));
    h.IntervalBTime = static_cast<std::uint8_t>(pick(8));
    h.HoldTimeAfterRx = pick(4);
    h.HoldTimeAfterTx = pick(4);
    h.TxDelayTime = static_cast<std::uint8_t>(pick(8));
    h.ScanListClear = pick(4);
    h.ScanHoldConditions = pick(4);
    h.ScanMethod = pick(4);
    h.ChannelRollOver = pick(2);
    h.PriorityCnlMonitorCycle = pick(2);
    h.PriorityCnlMonitorTime = pick(4);
    h.Priority2Channel = pick(2);
    h.LoopSwitchTimer = static_cast<std::uint8_t>(pick(4));
    h.AuxKeyType = pick(4);
    h.BeepA = pick(2);
    h.BeepB = pick(2);
    h.BeepC = pick(2);
    h.BeepD = pick(2);
    h.BusyChannelLockOut = pick(4);
    h.TxTimeOutTimer = pick(8);
    h.OffHookScanStop = pick(2);
    h.CTCSSRiseTime = static_cast<std::uint8_t>(pick(16));
    h.CTCSSFallTime = static_cast<std::uint8_t>(pick(16));
    h.CDCSSFallTime = static_cast<std::uint8_t>(pick(16));
    h.ChatteringCount = static_cast<std::uint8_t>(pick(16));
    h.CDCSSFallErrCount = static_cast<std::uint8_t>(pick(16));
    h.CreateRadioHeader();
    ASSERT_EQ(h.RadioHeader.size(), 68u);

    clsRadioHeader r;
    r.RadioHeader = h.RadioHeader;
    ASSERT_TRUE(r.BreakUpRadioHeader());
    EXPECT_EQ(r.SerialNumber, h.SerialNumber);
    EXPECT_EQ(r.CustomerNumber, h.CustomerNumber);
    EXPECT_EQ(r.DateRadio, h.DateRadio);
    EXPECT_EQ(r.Model, h.Model);
    EXPECT_EQ(r.SpecialRadio, h.SpecialRadio);
    EXPECT_EQ(r.Address0x0D, h.Address0x0D);
    EXPECT_EQ(r.Address0x0F, h.Address0x0F);
    EXPECT_EQ(r.Address0x10, h.Address0x10);
    EXPECT_EQ(r.Address0x14, h.Address0x14);
    EXPECT_EQ(r.Address0x15, h.Address0x15);
    EXPECT_EQ(r.Address0x16, h.Address0x16);
    EXPECT_EQ(r.Address0x17, h.Address0x17);
    EXPECT_EQ(r.ChannelSwitchType, h.ChannelSwitchType);
    EXPECT_EQ(r.IntervalATime, h.IntervalATime);
    EXPECT_EQ(r.IntervalBTime, h.IntervalBTime);
    EXPECT_EQ(r.HoldTimeAfterRx, h.HoldTimeAfterRx);
    EXPECT_EQ(r.HoldTimeAfterTx, h.HoldTimeAfterTx);
    EXPECT_EQ(r.TxDelayTime, h.TxDelayTime);
    EXPECT_EQ(r.ScanListClear, h.ScanListClear);
    EXPECT_EQ(r.ScanHoldConditions, h.ScanHoldConditions);
    EXPECT_EQ(r.ScanMethod, h.ScanMethod);
    EXPECT_EQ(r.ChannelRollOver, h.ChannelRollOver);
    EXPECT_EQ(r.PriorityCnlMonitorCycle, h.PriorityCnlMonitorCycle);
    EXPECT_EQ(r.PriorityCnlMonitorTime, h.PriorityCnlMonitorTime);
    EXPECT_EQ(r.Priority2Channel, h.Priority2Channel);
    EXPECT_EQ(r.LoopSwitchTimer, h.LoopSwitchTimer);
    EXPECT_EQ(r.AuxKeyType, h.AuxKeyType);
    EXPECT_EQ(r.BeepA, h.BeepA);
    EXPECT_EQ(r.BeepB, h.BeepB);
    EXPECT_EQ(r.BeepC, h.BeepC);
    EXPECT_EQ(r.BeepD, h.BeepD);
    EXPECT_EQ(r.BusyChannelLockOut, h.BusyChannelLockOut);
    EXPECT_EQ(r.TxTimeOutTimer, h.TxTimeOutTimer);
    EXPECT_EQ(r.OffHookScanStop, h.OffHookScanStop);
    EXPECT_EQ(r.CTCSSRiseTime, h.CTCSSRiseTime);
    EXPECT_EQ(r.CTCSSFallTime, h.CTCSSFallTime);
    EXPECT_EQ(r.CDCSSFallTime, h.CDCSSFallTime);
    EXPECT_EQ(r.ChatteringCount, h.ChatteringCount);
    EXPECT_EQ(r.CDCSSFallErrCount, h.CDCSSFallErrCount);

    // Not settings of their own: read from the profile bytes and the fixed bits.
    const int b0D = static_cast<int>(ParseHex(h.RadioHeader.substr(0x0D * 2, 2)));
    EXPECT_EQ(r.Synthesizer, b0D >> 7);
    EXPECT_EQ(r.ReferenceCounter, (b0D & 0x3F) << 8);
    const int talk = static_cast<int>(ParseHex(h.RadioHeader.substr(0x0F * 2, 4)));
    EXPECT_EQ(r.Polarity, talk < 0x8000);
    EXPECT_EQ(r.TalkAround, talk & 0x7FFF);
    EXPECT_EQ(r.DigitalControlSquelch, BinToDec(h.Address0x14.substr(2, 2)));
    EXPECT_EQ(r.CenterRXFreqData,
              BinToDec(h.Address0x14.substr(6, 2) + HexToBinStr(h.Address0x15.substr(2))));
    EXPECT_EQ(r.CenterTXFreqData,
              BinToDec(h.Address0x16.substr(6, 2) + HexToBinStr(h.Address0x17.substr(2))));
    EXPECT_TRUE(r.PriorityChannelMonitorEnable);  // always written as 1
    EXPECT_EQ(r.NormalPower, 63);                 // erased byte, low six bits
    EXPECT_EQ(r.CDCSSRiseErrCount, 0);
    EXPECT_EQ(r.CrystalCharType, 2);

    // What was read builds the same block again.
    r.CreateRadioHeader();
    EXPECT_EQ(r.RadioHeader, h.RadioHeader);
  }
}

TEST(clsRadioHeader, AddressReadsTheKm2BlockByImageAddress) {
  clsRadioHeader h;
  h.RadioHeader = "0011223344";
  EXPECT_EQ(h.Address(0x1880, 2), "00");
  EXPECT_EQ(h.Address(0x1882, 4), "2233");
  EXPECT_EQ(h.Address(0x1884, 6), "44");
  EXPECT_EQ(h.Address(0x1890, 2), "");
  EXPECT_EQ(h.ConvertFtoSpace("FFABCFFF"), "ABC");
  EXPECT_EQ(h.ConvertFtoSpace("ffAB"), "ffAB");
}

}  // namespace
}  // namespace tallisk
