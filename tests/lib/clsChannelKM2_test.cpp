#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
  // The alternate prescalers and the 52-37 take the running sum of the fields instead.
  for (int variant = 0; variant < 3; ++variant) {
    clsChannel alt = Worked();
    alt.AlternatePreScaler = variant == 0;
    alt.AlternatePreScaler2 = variant == 1;
    if (variant == 2) alt.ModelName = "52-3712";
    alt.CreateChannelDataKM2();
    EXPECT_EQ(std::tie(alt.ChannelData, alt.CheckSumKM2),
              std::make_tuple(std::string(kWorked), std::string("CF")));
  }
  const clsChannel back = Read(Band(), kWorked);
  ch.ChannelName = "AB    ";  // the record's padding comes back
  EXPECT_EQ(Settings(back), Settings(ch));
  EXPECT_FLOAT_EQ(back.BurstFrequency, 694.4444f);  // the tone divider 89 really makes
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

  // Transpond only, then neither: thirteen ones, read back as the default burst, as is an
  // erased divider.
  ch = Worked();
  ch.BurstDuration = 100;
  ch.PTTBurstToneEnable = false;
  ch.TranspondToneEnable = true;
  EXPECT_EQ(Bits(Encoded(ch).ChannelData, 113, 16), "1010000001011001");
  ch.TranspondToneEnable = false;
  EXPECT_EQ(Bits(Encoded(ch).ChannelData, 113, 16), std::string(16, '1'));
  EXPECT_EQ(Read(Band(), Encoded(ch).ChannelData).BurstFrequency, 694.4f);
  EXPECT_EQ(Read(Band(), "41C2A0A0A02005006E21613071317FFF").BurstFrequency, 694.4f);
}

TEST(clsChannelKM2, SpecialTransmitToneBank) {
  clsChannel ch = Worked();
  ch.TxSignalling = 0;
  ch.TxCTCSSCode = 105;  // code 5 with the scrambler flag (bit 33) set
  EXPECT_EQ(Encoded(ch).ChannelData, "41C2A0A0202005006E21050071317F59");
  clsChannel special = Band();
  special.SpecialRadio = true;
  special = Read(special, Encoded(ch).ChannelData);
  const clsChannel plain = Read(Band(), Encoded(ch).ChannelData);
  EXPECT_EQ(std::tie(special.TxCTCSSCode, special.Scrambler, special.RxCTCSSCode),
            std::make_tuple(105, true, 5));
  EXPECT_EQ(std::tie(plain.TxCTCSSCode, plain.Scrambler), std::make_tuple(5, true));

  ch.TxCTCSSCode = 100;  // not in the bank: its low six bits as they are
  EXPECT_EQ(Encoded(ch).ChannelData, "41C2A0A0A02005006E21240071317F59");
  ch.TxCTCSSCode = 105;
  ch.TxSignalling = 1;  // only a transmitted CTCSS tone selects the bank
  EXPECT_EQ(Encoded(ch).ChannelData.substr(8, 2), "A0");
  ch.TxSignalling = 0;
  ch.TxFrequency = 0;
  EXPECT_EQ(Encoded(ch).ChannelData.substr(8, 2), "A0");
}

TEST(clsChannelKM2, BlankHalvesAndTheirChecksums) {
  // No receive frequency: an unused channel, even with an unusable band.
  clsChannel ch = Worked();
  ch.RxFrequency = 0;
  ch.PLLReferenceFreq = 0;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSumKM2),
            std::make_tuple(std::string(32, 'F'), std::string("FF")));
  ch = Read(Band(0, -1), ch.ChannelData);
  EXPECT_EQ(std::tie(ch.ChannelName, ch.RxFrequency, ch.RxSignalling, ch.PTTBurstToneEnable),
            std::make_tuple(std::string(), 0.0, 3, false));

  // Transmit 0 and -1 both blank the half. The plain sum counts the word as FFFFF and 00000;
  // the running sum of the alternate prescalers counts the channel's in-use flag.
  const auto checksum = [](double tx, bool txInUse, bool alternate) {
    clsChannel ch = Worked();
    ch.TxFrequency = tx;
    ch.TxChannelData = txInUse;
    ch.AlternatePreScaler = alternate;
    ch.CheckSum = 12;
    ch.CreateChannelDataKM2();
    EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSum),
              std::make_tuple(std::string("41C2A0A0A02005006E21FFFFFFFF7F59"), std::uint8_t{12}));
    return ch.CheckSumKM2;
  };
  EXPECT_EQ(checksum(0, false, false), "9B");  // 88 + 525
  EXPECT_EQ(checksum(-1, true, false), "A8");  // 88 + 0
  EXPECT_EQ(checksum(0, true, true), "6C");    // 143 + 7 + 510
  EXPECT_EQ(checksum(-1, false, true), "64");  // 143 + 15 + 510
  ch = Read(Band(), "41C2A0A0A02005006E21FFFFFFFF7F59");
  EXPECT_EQ(std::tie(ch.RxFrequency, ch.TxFrequency, ch.TxSignalling, ch.TxChannelData),
            std::make_tuple(155012500.0, 0.0, 3, false));

  // A receive half marked not in use takes the transmit half along.
  ch = Worked();
  ch.RxChannelData = false;
  ch = Read(Band(), Encoded(ch).ChannelData);
  EXPECT_EQ(std::tie(ch.RxFrequency, ch.TxFrequency), std::make_tuple(0.0, 0.0));

  // A sum whose low byte is 0 gives "00".
  ch = Band(12.5f, 0);
  ch.RxIF = 0;
  ch.RxFrequency = 12500.0 * 0xFF01;
  ch.TxFrequency = -1;
  EXPECT_EQ(Encoded(ch).CheckSumKM2, "00");
}

TEST(clsChannelKM2, NamesOfNoneThreeAndSevenCharacters) {
  const auto encode = [](const std::string& name, int subsignalling, bool flags) {
    clsChannel ch = Worked();
    ch.ChannelName = name;
    ch.SubsignalingType = subsignalling;
    ch.Scrambler = ch.RFPower = flags;
    return Encoded(ch).ChannelData;
  };
  EXPECT_EQ(encode("", 3, false).substr(0, 12), "FFFFFFFFFFFF");
  EXPECT_EQ(encode("", 0, true).substr(0, 12), "FFFF7F7F7F7F");
  const clsChannel none = Read(Band(), encode("", 0, true));
  EXPECT_EQ(std::tie(none.ChannelName, none.SubsignalingType, none.Scrambler, none.RFPower),
            std::make_tuple(std::string(), 0, true, true));
  EXPECT_EQ(encode("ABC", 3, false).substr(0, 12), "41C2C3A0A0A0");
  EXPECT_EQ(Read(Band(), encode("ABC", 3, false)).ChannelName, "ABC   ");
  EXPECT_EQ(encode("ABCDEFG", 3, false).substr(0, 12), "41C2C3C4C5C6");
  EXPECT_EQ(Read(Band(), encode("ABCDEFG", 3, false)).ChannelName, "ABCDEF");
  EXPECT_EQ(Bits(encode("AB", 1, true), 17, 9), "001000001");  // type 1: bit 25 only
  // A name byte whose low seven bits are all ones holds no character.
  EXPECT_EQ(Read(Band(), std::string("41FFC2A0FF20") + (kWorked + 12)).ChannelName, "AB  ");
}

TEST(clsChannelKM2, ReferenceAndPrescalerSettings) {
  // The reference is held in tenths of a kHz: 6.25 kHz works as 6.2 kHz.
  clsChannel ch = Worked();
  ch.PLLReferenceFreq = 6.25f;
  EXPECT_EQ(Read(ch, Encoded(ch).ChannelData).RxFrequency, 155014800);  // 6200 x 28454

  // A reference that rounds to 0 refuses the channel and keeps the previous record.
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
  ch.AlternatePreScaler2 = true;
  EXPECT_EQ(ErrorOf([&] { ch.CreateChannelDataKM2(), ch.BreakChannelDataKM2(); }), 0);
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
}

TEST(clsChannelKM2, GeneratedChannelsRoundTrip) {
  struct Layout {
    float reference;
    int referenceHz;  // what the radio makes of it
    int inserted;     // prsclKM2; -1 = dual-modulus layout
  };
  const Layout layouts[] = {{12.5f, 12500, 0}, {12.5f, 12500, 1}, {6.25f, 6200, 1},
                            {5.0f, 5000, 2},   {25.0f, 25000, 0}, {2.5f, 2500, -1}};
  const float intermediates[] = {214000, 449000, 0};
  const char* models[] = {"52-8994", "52-3712", "52-11A"};
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -#";
  std::mt19937 rng(3202612);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const int kinds[] = {0, 1, 3};

  for (int i = 0; i < 300; ++i) {
    const Layout& layout = layouts[pick(0, 5)];
    clsChannel ch = Band(layout.reference, static_cast<std::int16_t>(std::max(layout.inserted, 0)));
    ch.ModelName = models[pick(0, 2)];
    ch.RxIF = ch.TxIF = intermediates[pick(0, 2)];
    ch.AlternatePreScaler = layout.inserted < 0 && pick(0, 1);
    ch.AlternatePreScaler2 = layout.inserted < 0 && !ch.AlternatePreScaler;
    ch.SpecialRadio = pick(0, 1);
    const int bits = layout.inserted < 0 ? 18 : 19 - layout.inserted;
    const int lowest = static_cast<int>(ch.RxIF * 100.0 / layout.referenceHz) + 2;
    const int highest = std::min((1 << bits) - 1, 2147483647 / layout.referenceHz);
    const auto tuned = [&] {
      return double(layout.referenceHz) * pick(lowest, highest) - ch.RxIF * 100.0;
    };
    ch.ChannelName.clear();
    for (int k = pick(0, 7); k > 0; --k) ch.ChannelName += letters[pick(0, letters.size() - 1)];
    ch.SubsignalingType = pick(0, 3);
    ch.RFPower = pick(0, 1);
    ch.Scrambler = !ch.SpecialRadio && pick(0, 1);  // special radios use it for the tone bank
    ch.RxFrequency = tuned();
    ch.RxSignalling = kinds[pick(0, 2)];
    ch.RxCTCSSCode = static_cast<std::uint8_t>(pick(0, 63));
    ch.RxSignalData = static_cast<std::int16_t>(pick(-511, 511));
    const bool txOn = pick(0, 3) != 0;
    ch.TxFrequency = txOn ? tuned() : 0;
    ch.TxChannelData = txOn;  // as a read leaves a blank half
    ch.TxSignalling = txOn ? kinds[pick(0, 2)] : 3;
    const bool specialTone = ch.SpecialRadio && ch.TxSignalling == 0 && pick(0, 1);
    ch.TxCTCSSCode = static_cast<std::uint8_t>(specialTone ? pick(101, 163) : pick(0, 63));
    ch.TxSignalData = static_cast<std::int16_t>(pick(-511, 511));
    ch.PTTBurstToneEnable = pick(0, 1);
    ch.TranspondToneEnable = pick(0, 1);
    const bool burst = ch.PTTBurstToneEnable || ch.TranspondToneEnable;
    ch.BurstDuration = burst ? static_cast<float>(100 * pick(1, 32)) : 3200;
    ch.BurstFrequency = static_cast<float>(62500.0 / (pick(19, 89) + 1));
    ch.CreateChannelDataKM2();
    ASSERT_EQ(ch.ChannelData.size(), 32u);

    clsChannel back = Read(ch, ch.ChannelData);
    clsChannel expected = ch;
    if (!ch.ChannelName.empty()) expected.ChannelName = (ch.ChannelName + "      ").substr(0, 6);
    expected.Scrambler = ch.Scrambler || specialTone;
    EXPECT_EQ(Settings(back), Settings(expected)) << ch.ChannelData;
    EXPECT_FLOAT_EQ(back.BurstFrequency, burst ? ch.BurstFrequency : 694.4f);
    // Encoding what was read gives the same record and checksum.
    back.CreateChannelDataKM2();
    EXPECT_EQ(std::tie(back.ChannelData, back.CheckSumKM2),
              std::tie(ch.ChannelData, ch.CheckSumKM2));
  }
}

}  // namespace
}  // namespace tallisk
