#include "tallisk/clsChannel.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "LibTestSupport.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

std::string Bits(const std::string& record, std::size_t first, std::size_t width) {
  return HexToBinStr(record).substr(first - 1, width);
}

using testing::Code;
using testing::ErrorOf;

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
  for (const int before : {0, 12}) {
    ch = Band("128/129", "QVR UHF-L", 12.5f);
    std::tie(ch.RxFrequency, ch.RxSignalling, ch.CheckSum) = std::tuple{450e6, 3, before};
    ch.CreateChannelData();
    EXPECT_EQ(std::make_tuple(ch.ChannelData, int{ch.CheckSum}),
              std::make_tuple("FFF085F0FFFFFFFF79FF", 9));
  }

  // 64/65: the synthesiser field puts an extra 0 before the low six bits (M = 428, A = 34).
  ch = Worked();
  ch.Prescaler = "64/65";
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch.ChannelData, 14, 19), "0001101011000100010");
  // The checksum covers the in-use flags and synthesiser fields, not the signalling digits.
  EXPECT_EQ(ch.GetChannelCheckSum("FFF06B22FFF06E42"), 1);
  EXPECT_EQ(ch.GetChannelCheckSum("0000000000000000"), 0);
  try {
    ch.GetChannelCheckSum("05006B2261306E4");
    ADD_FAILURE() << "a short text must be refused";
  } catch (const TalliskError& e) {
    EXPECT_EQ(std::make_tuple(e.Number(), e.Source(), e.Description()),
              std::make_tuple(5, std::string("GetChannelCheckSum"), std::string("Invalid String")));
  }
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
  EXPECT_NO_THROW(Read(Band(), "ZZ006B2261306E42D"));

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
  // "uhf" anywhere in the name, in any letter case, injects below the channel.
  for (const char* model : {"uhf", "Model uHf-2", "U H F"}) {
    ch = Worked();
    ch.ModelName = model;
    ch.RxFrequency = 450012500;
    ch.CreateChannelData();
    const bool uhf = std::string(model) != "U H F";
    EXPECT_EQ(ch.RxSynthesizerData, uhf ? 68578 : 75426) << model;  // (450012 -/+ 21400) / 6.25
  }
}

TEST(clsChannel, RefusedChannelKeepsItsRecord) {
  using Edit = void (*)(clsChannel&);
  const std::pair<Edit, int> cases[] = {
      {[](clsChannel& c) { c.PLLReferenceFreq = 0; }, ErrDivisionByZero},
      {[](clsChannel& c) { c.PLLReferenceFreq = 0, c.RxFrequency = 0; }, ErrDivisionByZero},
      // Words the 19-bit field, or the 18 bits of the 64/65 field, cannot hold.
      {[](clsChannel& c) { c.TxFrequency = 4e9; }, ErrOverflow},
      {[](clsChannel& c) { c.RxFrequency = -30e6; }, ErrOverflow},
      {[](clsChannel& c) { c.Prescaler = "64/65", c.TxFrequency = 1.7e9; }, ErrOverflow},
      // Every auxiliary character is checked, also those that would be cut away.
      {[](clsChannel& c) { c.AuxData = "1111x111"; }, ErrInvalidArgument},
      {[](clsChannel& c) { c.AuxData = "1111111112"; }, ErrInvalidArgument},
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
clsChannel Worked() {
  clsChannel ch = Band();
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
      // Names of 0, 3 and 7 characters; the flags in the name bytes' top bits.
      {[](C& c) { c.ChannelName = "", c.RFPower = false; }, "FFFFFFFFFFFF05006E21613071317F59",
       "BF"},
      {[](C& c) { c.ChannelName = "", c.SubsignalingType = 0, c.Scrambler = true; },
       "FFFF7F7F7F7F05006E21613071317F59", "BF"},
      {[](C& c) { c.ChannelName = "ABC"; }, "41C2C3A0A02005006E21613071317F59", "BF"},
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
  // A sum whose low byte is 0 gives "00".
  ch = Band(12.5f, 0);
  ch.RxIF = 0;
  ch.RxFrequency = 12500.0 * 0xFF01;
  ch.TxFrequency = -1;
  EXPECT_EQ(Encoded(ch).CheckSumKM2, "00");
}

}  // namespace km2

}  // namespace
}  // namespace tallisk
