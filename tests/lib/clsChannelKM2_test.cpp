#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tallisk/clsChannel.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

// A KM2 band: 12.5 kHz reference, 21.4 MHz IF (in units of 100 Hz), one inserted bit.
clsChannel Band(float reference = 12.5f, std::int16_t inserted = 1) {
  clsChannel ch;
  ch.ModelName = "52-8994";
  ch.PLLReferenceFreq = reference;
  ch.RxIF = ch.TxIF = 214000;
  ch.prsclKM2 = inserted;
  return ch;
}

// The worked channel "AB": CTCSS 5 on receive, DCS 023 inverted on transmit, key-up burst.
clsChannel Worked() {
  clsChannel ch = Band();
  ch.ChannelName = "AB";
  ch.SubsignalingType = 3;
  ch.RFPower = true;
  ch.RxFrequency = 155012500;
  ch.RxCTCSSCode = 5;
  ch.TxFrequency = 160012500;
  ch.TxSignalling = 1;
  ch.TxSignalData = -19;
  ch.PTTBurstToneEnable = true;
  ch.BurstDuration = 3200;
  ch.BurstFrequency = 694.4f;
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

std::string Bits(const std::string& record, std::size_t first, std::size_t width) {
  return HexToBinStr(record).substr(first - 1, width);
}

template <typename F>
int ErrorOf(F f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

int Code(std::int32_t signalling, std::uint8_t tone, std::int16_t data) {
  return signalling == 0 ? tone : signalling == 1 ? data : -1000;
}

auto Settings(const clsChannel& c) {
  return std::make_tuple(c.ChannelName, c.SubsignalingType, c.Scrambler, c.RFPower, c.RxFrequency,
                         c.RxSignalling, Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData),
                         c.RxChannelData, c.TxFrequency, c.TxSignalling,
                         Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData), c.TxChannelData,
                         c.PTTBurstToneEnable, c.TranspondToneEnable, c.BurstDuration);
}

TEST(clsChannelKM2, WorkedExampleBothWays) {
  clsChannel ch = Worked();
  EXPECT_TRUE(ch.CreateChannelDataKM2());
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSumKM2, ch.CheckSum),
            std::make_tuple(std::string(kWorked), std::string("BF"), std::uint8_t{5}));
  const clsChannel back = Read(Band(), kWorked);
  ch.ChannelName = "AB    ";  // the record's padding comes back
  EXPECT_EQ(Settings(back), Settings(ch));
  EXPECT_FLOAT_EQ(back.BurstFrequency, 694.4444f);  // the tone divider 89 really makes
}

TEST(clsChannelKM2, VariationsOfTheWorkedChannel) {
  // A blank transmit half counts as FFFFF (0 Hz) or 00000 (-1) in the plain checksum; the
  // running sum of the alternate prescalers and the 52-37 counts the channel's in-use flag.
  using Edit = void (*)(clsChannel&);
  const std::tuple<Edit, const char*, const char*> cases[] = {
      {[](clsChannel& c) { c.AlternatePreScaler = true; }, kWorked, "CF"},
      {[](clsChannel& c) { c.ModelName = "52-3712"; }, kWorked, "CF"},
      {[](clsChannel& c) { c.TxFrequency = 0, c.TxChannelData = false; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", "9B"},  // 88 + 525
      {[](clsChannel& c) { c.TxFrequency = -1; }, "41C2A0A0A02005006E21FFFFFFFF7F59", "A8"},
      {[](clsChannel& c) { c.TxFrequency = 0, c.AlternatePreScaler2 = true; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", "6C"},  // 143 + 7 + 510
      {[](clsChannel& c) { c.TxFrequency = -1, c.TxChannelData = false, c.ModelName = "52-37"; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", "64"},                         // 143 + 15 + 510
      {[](clsChannel& c) { c.RxFrequency = 0, c.PLLReferenceFreq = 0; },  // even unusable band
       "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "FF"},
      // The special transmit tone bank: code 105 is 5 with the scrambler flag (bit 33) set;
      // 100 is no bank tone, and only a transmitted CTCSS tone selects the bank.
      {[](clsChannel& c) { c.TxSignalling = 0, c.TxCTCSSCode = 105; },
       "41C2A0A0202005006E21050071317F59", nullptr},
      {[](clsChannel& c) { c.TxSignalling = 0, c.TxCTCSSCode = 100; },
       "41C2A0A0A02005006E21240071317F59", nullptr},
      {[](clsChannel& c) { c.TxCTCSSCode = 105; }, kWorked, nullptr},
      {[](clsChannel& c) { c.TxSignalling = 0, c.TxCTCSSCode = 105, c.TxFrequency = 0; },
       "41C2A0A0A02005006E21FFFFFFFF7F59", nullptr},
      // Names of 0, 3 and 7 characters; the flags in the name bytes' top bits.
      {[](clsChannel& c) { c.ChannelName = "", c.RFPower = false; },
       "FFFFFFFFFFFF05006E21613071317F59", nullptr},
      {[](clsChannel& c) { c.ChannelName = "", c.SubsignalingType = 0, c.Scrambler = true; },
       "FFFF7F7F7F7F05006E21613071317F59", nullptr},
      {[](clsChannel& c) { c.ChannelName = "ABC"; }, "41C2C3A0A02005006E21613071317F59", nullptr},
      {[](clsChannel& c) { c.ChannelName = "ABCDEFG"; }, "41C2C3C4C54605006E21613071317F59",
       nullptr},
      {[](clsChannel& c) { c.SubsignalingType = 1; }, "41C220A0A02005006E21613071317F59", nullptr},
      // Burst: transpond only for 100 ms; neither (thirteen ones); 1000 Hz is divider 61.
      {[](clsChannel& c) {
         c.PTTBurstToneEnable = false, c.TranspondToneEnable = true, c.BurstDuration = 100;
       },
       "41C2A0A0A02005006E2161307131A059", nullptr},
      {[](clsChannel& c) { c.PTTBurstToneEnable = false; }, "41C2A0A0A02005006E2161307131FFFF",
       nullptr},
      {[](clsChannel& c) { c.BurstFrequency = 1000; }, "41C2A0A0A02005006E21613071317F3D",
       nullptr}};
  for (const auto& [edit, record, checksum] : cases) {
    clsChannel ch = Worked();
    ch.CheckSum = 12;
    edit(ch);
    ch.CreateChannelDataKM2();
    EXPECT_EQ(ch.ChannelData, record);
    if (checksum) {
      EXPECT_EQ(ch.CheckSumKM2, checksum) << record;
    }
    // The 4-bit checksum is taken only when there are both halves.
    EXPECT_EQ(ch.CheckSum == 12, ch.RxFrequency == 0 || ch.TxFrequency <= 0) << record;
  }
}

TEST(clsChannelKM2, BurstTonesAndRepeatableEncoding) {
  // The largest divider whose tone reaches the request; above the range the highest tone.
  const std::pair<float, int> dividers[] = {{694.4f, 89}, {1000, 61}, {1008.3f, 60}, {0, 89},
                                            {3125, 19},   {3200, 17}, {1e6f, 17}};
  for (const auto& [hz, divider] : dividers) {
    clsChannel ch = Worked();
    ch.BurstFrequency = hz;
    EXPECT_EQ(BinToDec(Bits(Encoded(ch).ChannelData, 121, 8)), divider) << hz;
  }
  // Encoding twice gives the same record and keeps the requested tones as set.
  clsChannel ch = Worked();
  ch.SpecialRadio = true;
  ch.TxSignalling = 0;
  ch.TxCTCSSCode = 105;
  ch.BurstFrequency = 1000;
  ch.CreateChannelDataKM2();
  const auto first = std::make_tuple(ch.ChannelData, ch.CheckSumKM2, ch.CheckSum);
  ch.CreateChannelDataKM2();
  EXPECT_EQ(std::make_tuple(ch.ChannelData, ch.CheckSumKM2, ch.CheckSum), first);
  EXPECT_EQ(std::tie(ch.TxCTCSSCode, ch.BurstFrequency), std::make_tuple(105, 1000.0f));
}

TEST(clsChannelKM2, ReadingOddRecords) {
  // The special tone bank is read only by a special radio.
  const std::string bank = "41C2A0A0202005006E21050071317F59";
  clsChannel ch = Band();
  ch.SpecialRadio = true;
  EXPECT_EQ(std::make_tuple(Read(ch, bank).TxCTCSSCode, Read(Band(), bank).TxCTCSSCode),
            std::make_tuple(105, 5));
  // An erased channel reads as unused without looking at the band.
  ch = Read(Band(0, -1), std::string(32, 'F'));
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
  ch.CheckSumKM2 = "77";
  EXPECT_EQ(ErrorOf([&] { ch.CreateChannelDataKM2(); }), ErrDivisionByZero);
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSumKM2),
            std::make_tuple(std::string("previous"), std::string("77")));
  // A negative count of inserted bits is refused in the plain layout only.
  ch = Worked();
  ch.prsclKM2 = -1;
  ch.ChannelData = kWorked;
  EXPECT_EQ(ErrorOf([&] { ch.CreateChannelDataKM2(); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { ch.BreakChannelDataKM2(); }), ErrInvalidArgument);
  // A synthesiser product beyond 32 bits fails before anything is read.
  ch = Band(6000);
  ch.ChannelName = "KEEP";
  ch.ChannelData = kWorked;
  EXPECT_EQ(ErrorOf([&] { ch.BreakChannelDataKM2(); }), ErrOverflow);
  EXPECT_EQ(ch.ChannelName, "KEEP");

  // Dual modulus: M in 12 bits and A in 7. The reader counts in the radio's fixed 2.5 kHz
  // steps whatever the band says: a 12.5 kHz band writes N = 14113 (M 220, A 33) for
  // 155.0125 MHz and reads it back as 14113 x 2500 Hz less the IF.
  ch = Worked();
  ch.AlternatePreScaler2 = true;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(Bits(ch.ChannelData, 62, 19), Num2BinStr(220, 12) + Num2BinStr(33, 7));
  EXPECT_EQ(Read(ch, ch.ChannelData).RxFrequency, 2500.0 * 14113 - 21400000);

  // Inserted zeros sit above the low six bits, and reading takes them out for every count.
  for (std::int16_t p = 0; p <= 4; ++p) {
    ch = Band(5.0f, p);
    const int n = (1 << (18 - p)) + 12345 % (1 << (17 - p));
    ch.RxFrequency = 5000.0 * n - 21400000;
    ch.TxFrequency = -1;
    const std::string field = Num2BinStr(n, 19);
    const auto up = static_cast<std::size_t>(p);
    EXPECT_EQ(Bits(Encoded(ch).ChannelData, 62, 19),
              field.substr(up, 13 - up) + std::string(up, '0') + field.substr(13));
    EXPECT_EQ(Read(ch, Encoded(ch).ChannelData).RxFrequency, ch.RxFrequency) << p;
  }
  // A sum whose low byte is 0 gives "00".
  ch = Band(12.5f, 0);
  ch.RxIF = 0;
  ch.RxFrequency = 12500.0 * 0xFF01;
  ch.TxFrequency = -1;
  EXPECT_EQ(Encoded(ch).CheckSumKM2, "00");
}

}  // namespace
}  // namespace tallisk
