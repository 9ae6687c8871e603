#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "tallisk/clsChannel.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

// Band values of a KM2 with a 12.5 kHz reference, 21.4 MHz IF (in units of 100 Hz) and one
// inserted synthesiser bit.
clsChannel Km2Band() {
  clsChannel ch;
  ch.ModelName = "52-8994";
  ch.PLLReferenceFreq = 12.5f;
  ch.RxIF = 214000;
  ch.TxIF = 214000;
  ch.prsclKM2 = 1;
  return ch;
}

// The worked channel "AB": CTCSS 5 on receive, DCS 023 inverted on transmit, key-up burst.
clsChannel WorkedKm2() {
  clsChannel ch = Km2Band();
  ch.ChannelName = "AB";
  ch.SubsignalingType = 3;
  ch.Scrambler = false;
  ch.RFPower = true;
  ch.RxFrequency = 155012500;
  ch.RxSignalling = 0;
  ch.RxCTCSSCode = 5;
  ch.TxFrequency = 160012500;
  ch.TxSignalling = 1;
  ch.TxSignalData = -19;
  ch.PTTBurstToneEnable = true;
  ch.TranspondToneEnable = false;
  ch.BurstDuration = 3200;
  ch.BurstFrequency = 694.4f;
  return ch;
}

clsChannel Decoded(const clsChannel& band, const std::string& record) {
  clsChannel ch;
  ch.ModelName = band.ModelName;
  ch.PLLReferenceFreq = band.PLLReferenceFreq;
  ch.RxIF = band.RxIF;
  ch.TxIF = band.TxIF;
  ch.prsclKM2 = band.prsclKM2;
  ch.AlternatePreScaler = band.AlternatePreScaler;
  ch.AlternatePreScaler2 = band.AlternatePreScaler2;
  ch.SpecialRadio = band.SpecialRadio;
  ch.ChannelData = record;
  ch.BreakChannelDataKM2();
  return ch;
}

std::string Bits(const std::string& record, int first, int width) {
  return HexToBinStr(record).substr(static_cast<std::size_t>(first - 1),
                                    static_cast<std::size_t>(width));
}

void ExpectError(int number, const std::function<void()>& f) {
  try {
    f();
    ADD_FAILURE() << "expected error " << number;
  } catch (const TalliskError& e) {
    EXPECT_EQ(e.Number(), number) << e.Description();
  }
}

TEST(clsChannelKM2, WorkedExampleEncodesAndReadsBack) {
  clsChannel ch = WorkedKm2();
  EXPECT_TRUE(ch.CreateChannelDataKM2());
  EXPECT_EQ(ch.ChannelData, "41C2A0A0A02005006E21613071317F59");
  EXPECT_EQ(ch.CheckSumKM2, "BF");
  EXPECT_EQ(ch.CheckSum, 5);  // over the name bytes and the receive code, as the radio has it

  // Models that sum the synthesiser fields themselves: the alternate prescalers, and 52-37.
  for (int variant = 0; variant < 3; ++variant) {
    clsChannel alt = WorkedKm2();
    alt.AlternatePreScaler = variant == 0;
    alt.AlternatePreScaler2 = variant == 1;
    if (variant == 2) alt.ModelName = "52-3712";
    alt.CreateChannelDataKM2();
    EXPECT_EQ(alt.ChannelData, "41C2A0A0A02005006E21613071317F59") << variant;
    EXPECT_EQ(alt.CheckSumKM2, "CF") << variant;
  }

  clsChannel back = Km2Band();
  back.CheckSumKM2 = "xx";
  back.CheckSum = 9;
  back.RxSynthesizerData = 77;
  back.ChannelData = "41C2A0A0A02005006E21613071317F59";
  EXPECT_TRUE(back.BreakChannelDataKM2());
  EXPECT_EQ(back.ChannelName, "AB    ");  // the padding of the record comes back
  EXPECT_EQ(back.SubsignalingType, 3);
  EXPECT_FALSE(back.Scrambler);
  EXPECT_TRUE(back.RFPower);
  EXPECT_EQ(back.RxFrequency, 155012500);
  EXPECT_EQ(back.RxSignalling, 0);
  EXPECT_EQ(back.RxCTCSSCode, 5);
  EXPECT_TRUE(back.RxChannelData);
  EXPECT_EQ(back.TxFrequency, 160012500);
  EXPECT_EQ(back.TxSignalling, 1);
  EXPECT_EQ(back.TxSignalData, -19);
  EXPECT_TRUE(back.TxChannelData);
  EXPECT_TRUE(back.PTTBurstToneEnable);
  EXPECT_FALSE(back.TranspondToneEnable);
  EXPECT_EQ(back.BurstDuration, 3200);
  EXPECT_FLOAT_EQ(back.BurstFrequency, 694.4444f);  // the tone divider 89 really makes
  // The reader leaves the checksums and synthesiser values alone.
  EXPECT_EQ(back.CheckSumKM2, "xx");
  EXPECT_EQ(back.CheckSum, 9);
  EXPECT_EQ(back.RxSynthesizerData, 77);
}

TEST(clsChannelKM2, BurstDividerSearch) {
  const auto divider = [](float hz, bool ptt = true, bool transpond = false) {
    clsChannel ch = WorkedKm2();
    ch.BurstFrequency = hz;
    ch.PTTBurstToneEnable = ptt;
    ch.TranspondToneEnable = transpond;
    ch.CreateChannelDataKM2();
    EXPECT_EQ(ch.BurstFrequency, hz);  // the request is kept, not replaced by the divider
    return BinToDec(Bits(ch.ChannelData, 121, 8));
  };
  EXPECT_EQ(divider(694.4f), 89);
  EXPECT_EQ(divider(1000), 61);  // 62500 / 62 = 1008 Hz, the first tone at or above
  EXPECT_EQ(divider(1008.1f), 61);
  EXPECT_EQ(divider(1008.3f), 60);
  EXPECT_EQ(divider(0), 89);
  EXPECT_EQ(divider(3125), 19);
  // Above the top of the range the highest tone, whatever the request.
  EXPECT_EQ(divider(3200), 17);
  EXPECT_EQ(divider(5000), 17);
  EXPECT_EQ(divider(1e6f), 17);
  EXPECT_EQ(divider(1000, false, true), 61);

  // Burst length and the flags.
  clsChannel ch = WorkedKm2();
  ch.BurstDuration = 100;
  ch.PTTBurstToneEnable = false;
  ch.TranspondToneEnable = true;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(Bits(ch.ChannelData, 113, 16),
            "101"
            "00000"
            "01011001");
  clsChannel back = Decoded(ch, ch.ChannelData);
  EXPECT_FALSE(back.PTTBurstToneEnable);
  EXPECT_TRUE(back.TranspondToneEnable);
  EXPECT_EQ(back.BurstDuration, 100);

  // Neither burst: thirteen ones, read back as the defaults.
  ch.TranspondToneEnable = false;
  ch.BurstDuration = 1500;
  ch.BurstFrequency = 1000;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(Bits(ch.ChannelData, 113, 16), "111" + std::string(13, '1'));
  back = Decoded(ch, ch.ChannelData);
  EXPECT_EQ(back.BurstDuration, 3200);
  EXPECT_EQ(back.BurstFrequency, 694.4f);

  // A divider of all ones reads as the default tone; 61 reads as the tone it makes.
  back = Decoded(ch, "41C2A0A0A02005006E21613071317FFF");
  EXPECT_EQ(back.BurstFrequency, 694.4f);
  back = Decoded(ch, "41C2A0A0A02005006E21613071316D3D");
  EXPECT_EQ(back.BurstDuration, 1400);
  EXPECT_FLOAT_EQ(back.BurstFrequency, 1008.0645f);
}

TEST(clsChannelKM2, EncodingTwiceGivesTheSameRecordAndKeepsTheSettings) {
  clsChannel ch = WorkedKm2();
  ch.SpecialRadio = true;
  ch.TxSignalling = 0;
  ch.TxCTCSSCode = 105;
  ch.BurstFrequency = 1000;
  ch.CreateChannelDataKM2();
  const std::string first = ch.ChannelData;
  const std::string firstSum = ch.CheckSumKM2;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(ch.ChannelData, first);
  EXPECT_EQ(ch.CheckSumKM2, firstSum);
  EXPECT_EQ(ch.TxCTCSSCode, 105);
  EXPECT_EQ(ch.BurstFrequency, 1000);
  EXPECT_EQ(BinToDec(Bits(first, 121, 8)), 61);
}

TEST(clsChannelKM2, SpecialTransmitToneBank) {
  clsChannel ch = WorkedKm2();
  ch.TxSignalling = 0;
  ch.TxCTCSSCode = 105;
  ch.CreateChannelDataKM2();
  // Written as code 5 with the scrambler flag (bit 33) set.
  EXPECT_EQ(ch.ChannelData,
            "41C2A0A02020"
            "05006E21"
            "05007131"
            "7F59");
  EXPECT_EQ(ch.TxCTCSSCode, 105);

  clsChannel special = Km2Band();
  special.SpecialRadio = true;
  special = Decoded(special, ch.ChannelData);
  EXPECT_EQ(special.TxCTCSSCode, 105);
  EXPECT_TRUE(special.Scrambler);
  const clsChannel plain = Decoded(Km2Band(), ch.ChannelData);
  EXPECT_EQ(plain.TxCTCSSCode, 5);
  EXPECT_TRUE(plain.Scrambler);
  EXPECT_EQ(plain.RxCTCSSCode, 5);  // the receive tone has no second bank

  // 100 itself is not in the special bank: its low six bits go out as they are.
  ch.TxCTCSSCode = 100;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(ch.ChannelData,
            "41C2A0A0A020"
            "05006E21"
            "24007131"
            "7F59");

  // Only a transmitted CTCSS tone selects the bank.
  ch.TxCTCSSCode = 105;
  ch.TxSignalling = 1;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(ch.ChannelData.substr(8, 2), "A0");
  ch.TxSignalling = 0;
  ch.TxFrequency = 0;
  ch.CreateChannelDataKM2();
  EXPECT_EQ(ch.ChannelData.substr(8, 2), "A0");
}

TEST(clsChannelKM2, BlankHalvesAndTheirChecksums) {
  // No receive frequency: an unused channel, whatever else is set (even an unusable band).
  clsChannel unused = WorkedKm2();
  unused.RxFrequency = 0;
  unused.PLLReferenceFreq = 0;
  unused.prsclKM2 = -1;
  unused.CheckSum = 6;
  unused.CreateChannelDataKM2();
  EXPECT_EQ(unused.ChannelData, std::string(32, 'F'));
  EXPECT_EQ(unused.CheckSumKM2, "FF");
  EXPECT_EQ(unused.CheckSum, 6);
  const clsChannel read = Decoded(Km2Band(), std::string(32, 'F'));
  EXPECT_EQ(read.ChannelName, "");
  EXPECT_EQ(read.RxFrequency, 0);
  EXPECT_EQ(read.TxFrequency, 0);
  EXPECT_EQ(read.RxSignalling, 3);
  EXPECT_EQ(read.TxSignalling, 3);
  EXPECT_FALSE(read.RxChannelData);
  EXPECT_FALSE(read.TxChannelData);
  EXPECT_FALSE(read.PTTBurstToneEnable);
  EXPECT_EQ(read.BurstDuration, 3200);
  EXPECT_EQ(read.BurstFrequency, 694.4f);

  // Transmit 0 and -1 both blank the half; the synthesiser words count FFFFF and 00000.
  const std::string blankTx =
      "41C2A0A0A020"
      "05006E21"
      "FFFFFFFF"
      "7F59";
  const auto encode = [](double tx, bool txInUse, bool alternate) {
    clsChannel ch = WorkedKm2();
    ch.TxFrequency = tx;
    ch.TxChannelData = txInUse;
    ch.AlternatePreScaler = alternate;
    ch.CheckSum = 12;
    ch.CreateChannelDataKM2();
    EXPECT_EQ(ch.CheckSum, 12);  // not recomputed without a transmit half
    return ch;
  };
  for (bool inUse : {true, false}) {
    EXPECT_EQ(encode(0, inUse, false).ChannelData, blankTx);
    EXPECT_EQ(encode(0, inUse, false).CheckSumKM2, "9B");  // 88 + 525
    EXPECT_EQ(encode(-1, inUse, false).ChannelData, blankTx);
    EXPECT_EQ(encode(-1, inUse, false).CheckSumKM2, "A8");  // 88 + 0
  }
  // The running sum counts the blank half with the channel's in-use flag.
  EXPECT_EQ(encode(0, true, true).CheckSumKM2, "6C");    // 143 + 7 + 510
  EXPECT_EQ(encode(-1, false, true).CheckSumKM2, "64");  // 143 + 15 + 510

  const clsChannel back = Decoded(Km2Band(), blankTx);
  EXPECT_EQ(back.RxFrequency, 155012500);
  EXPECT_EQ(back.TxFrequency, 0);
  EXPECT_EQ(back.TxSignalling, 3);
  EXPECT_FALSE(back.TxChannelData);

  // Halves marked not in use read as unused: a receive half takes the transmit half with it.
  clsChannel rxOff = WorkedKm2();
  rxOff.RxChannelData = false;
  rxOff.CreateChannelDataKM2();
  const clsChannel rxOffBack = Decoded(rxOff, rxOff.ChannelData);
  EXPECT_EQ(rxOffBack.RxFrequency, 0);
  EXPECT_EQ(rxOffBack.TxFrequency, 0);
  EXPECT_FALSE(rxOffBack.PTTBurstToneEnable);
  clsChannel txOff = WorkedKm2();
  txOff.TxChannelData = false;
  txOff.CreateChannelDataKM2();
  EXPECT_EQ(Decoded(txOff, txOff.ChannelData).TxFrequency, 0);

  // A checksum whose low byte sums to 0 is "00", not "100".
  clsChannel zero = Km2Band();
  zero.RxIF = 0;
  zero.prsclKM2 = 0;
  zero.RxFrequency = 12500.0 * 0xFF01;
  zero.TxFrequency = -1;
  zero.CreateChannelDataKM2();
  EXPECT_EQ(zero.CheckSumKM2, "00");
}

TEST(clsChannelKM2, NamesOfNoneThreeAndSevenCharacters) {
  const auto encode = [](const std::string& name, int subsignalling, bool scrambler, bool power) {
    clsChannel ch = WorkedKm2();
    ch.ChannelName = name;
    ch.SubsignalingType = subsignalling;
    ch.Scrambler = scrambler;
    ch.RFPower = power;
    ch.CreateChannelDataKM2();
    return ch;
  };
  clsChannel none = encode("", 3, false, false);
  EXPECT_EQ(none.ChannelData.substr(0, 12), "FFFFFFFFFFFF");
  EXPECT_EQ(Decoded(none, none.ChannelData).ChannelName, "");
  none = encode("", 0, true, true);
  EXPECT_EQ(none.ChannelData.substr(0, 12), "FFFF7F7F7F7F");
  const clsChannel noneBack = Decoded(none, none.ChannelData);
  EXPECT_EQ(noneBack.ChannelName, "");
  EXPECT_EQ(noneBack.SubsignalingType, 0);
  EXPECT_TRUE(noneBack.Scrambler);
  EXPECT_TRUE(noneBack.RFPower);

  const clsChannel three = encode("ABC", 3, false, true);
  EXPECT_EQ(three.ChannelData.substr(0, 12), "41C2C3A0A020");
  EXPECT_EQ(Decoded(three, three.ChannelData).ChannelName, "ABC   ");

  const clsChannel seven = encode("ABCDEFG", 3, false, true);
  EXPECT_EQ(seven.ChannelData.substr(0, 12), "41C2C3C4C546");
  EXPECT_EQ(Decoded(seven, seven.ChannelData).ChannelName, "ABCDEF");

  // Subsignalling types 1 and 2 split over bits 17 and 25.
  EXPECT_EQ(Bits(encode("AB", 1, false, true).ChannelData, 17, 9),
            "0"
            "0100000"
            "1");
  EXPECT_EQ(Bits(encode("AB", 2, false, true).ChannelData, 17, 9),
            "1"
            "0100000"
            "0");
  EXPECT_EQ(Decoded(Km2Band(), encode("AB", 2, false, true).ChannelData).SubsignalingType, 2);
}

TEST(clsChannelKM2, ReferenceAndPrescalerSettings) {
  // The reference is held in tenths of a kHz: 6.25 kHz becomes 6.2 kHz.
  clsChannel coarse = WorkedKm2();
  coarse.PLLReferenceFreq = 6.25f;
  coarse.CreateChannelDataKM2();
  EXPECT_EQ(Decoded(coarse, coarse.ChannelData).RxFrequency, 155014800);  // 6200 x 28454 - IF

  // A reference that rounds to 0 refuses the channel and keeps the previous record.
  for (float reference : {0.0f, 0.05f, -0.04f}) {
    clsChannel ch = WorkedKm2();
    ch.PLLReferenceFreq = reference;
    ch.ChannelData = "previous";
    ch.CheckSumKM2 = "77";
    ch.CheckSum = 4;
    ExpectError(ErrDivisionByZero, [&] { ch.CreateChannelDataKM2(); });
    EXPECT_EQ(ch.ChannelData, "previous");
    EXPECT_EQ(ch.CheckSumKM2, "77");
    EXPECT_EQ(ch.CheckSum, 4);
  }
  clsChannel fine = WorkedKm2();
  fine.PLLReferenceFreq = 0.06f;
  EXPECT_NO_THROW(fine.CreateChannelDataKM2());

  // A negative count of inserted bits is refused in the plain layout only.
  clsChannel negative = WorkedKm2();
  negative.prsclKM2 = -1;
  negative.ChannelData = "41C2A0A0A02005006E21613071317F59";
  ExpectError(ErrInvalidArgument, [&] { negative.CreateChannelDataKM2(); });
  ExpectError(ErrInvalidArgument, [&] { negative.BreakChannelDataKM2(); });
  EXPECT_EQ(negative.ChannelData, "41C2A0A0A02005006E21613071317F59");
  negative.AlternatePreScaler2 = true;
  EXPECT_NO_THROW(negative.CreateChannelDataKM2());
  EXPECT_NO_THROW(negative.BreakChannelDataKM2());

  // A synthesiser product beyond 32 bits fails before anything is read.
  clsChannel huge = Km2Band();
  huge.PLLReferenceFreq = 6000;
  huge.ChannelName = "KEEP";
  huge.RxFrequency = 1;
  huge.ChannelData = "41C2A0A0A02005006E21613071317F59";
  ExpectError(ErrOverflow, [&] { huge.BreakChannelDataKM2(); });
  EXPECT_EQ(huge.ChannelName, "KEEP");
  EXPECT_EQ(huge.RxFrequency, 1);

  // The dual-modulus layout: M in 12 bits and A in 7, read against the 2.5 kHz reference.
  clsChannel dual = Km2Band();
  dual.AlternatePreScaler = true;
  dual.PLLReferenceFreq = 2.5f;
  dual.RxFrequency = 2500.0 * (64 * 3000 + 45) - 21400000;
  dual.TxFrequency = -1;
  dual.CreateChannelDataKM2();
  EXPECT_EQ(Bits(dual.ChannelData, 62, 19), Num2BinStr(3000, 12) + Num2BinStr(45, 7));
  EXPECT_EQ(Decoded(dual, dual.ChannelData).RxFrequency, dual.RxFrequency);
}

TEST(clsChannelKM2, InsertedSynthesiserBitsReadBackForEveryCount) {
  // Reading takes M from the bits above the inserted zeros and A from the last six.
  for (int p = 0; p <= 4; ++p) {
    clsChannel ch = WorkedKm2();
    ch.PLLReferenceFreq = 5.0f;
    ch.prsclKM2 = static_cast<std::int16_t>(p);
    const int n = (1 << (18 - p)) + 12345 % (1 << (17 - p));
    ch.RxFrequency = 5000.0 * n - 21400000;
    ch.TxFrequency = 5000.0 * (n + 63) - 21400000;
    ch.CreateChannelDataKM2();
    const std::string field = Num2BinStr(n, 19);
    EXPECT_EQ(Bits(ch.ChannelData, 62, 19),
              field.substr(static_cast<std::size_t>(p), 13 - static_cast<std::size_t>(p)) +
                  std::string(static_cast<std::size_t>(p), '0') + field.substr(13))
        << p;
    const clsChannel back = Decoded(ch, ch.ChannelData);
    EXPECT_EQ(back.RxFrequency, ch.RxFrequency) << p;
    EXPECT_EQ(back.TxFrequency, ch.TxFrequency) << p;
  }
}

// One KM2 band a generated channel is tuned in.
struct Km2Layout {
  float reference;
  int referenceHz;  // what the radio makes of it
  int inserted;     // prsclKM2; -1 = dual-modulus layout
};

TEST(clsChannelKM2, GeneratedChannelsRoundTrip) {
  const Km2Layout layouts[] = {{12.5f, 12500, 0}, {12.5f, 12500, 1}, {6.25f, 6200, 1},
                               {5.0f, 5000, 2},   {25.0f, 25000, 0}, {2.5f, 2500, -1}};
  const float intermediates[] = {214000, 449000, 0};
  const char* models[] = {"52-8994", "52-3712", "52-11A"};
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -#";
  std::mt19937 rng(3202612);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  for (int i = 0; i < 3000; ++i) {
    const Km2Layout& layout = layouts[pick(0, 5)];
    clsChannel ch;
    ch.ModelName = models[pick(0, 2)];
    ch.PLLReferenceFreq = layout.reference;
    ch.RxIF = intermediates[pick(0, 2)];
    ch.TxIF = ch.RxIF;
    if (layout.inserted < 0) {
      ch.AlternatePreScaler = pick(0, 1);
      ch.AlternatePreScaler2 = !ch.AlternatePreScaler;
      ch.prsclKM2 = static_cast<std::int16_t>(pick(0, 3));  // not used by this layout
    } else {
      ch.prsclKM2 = static_cast<std::int16_t>(layout.inserted);
    }
    ch.SpecialRadio = pick(0, 1);

    const int bits = layout.inserted < 0 ? 18 : 19 - layout.inserted;
    const double ifHz = ch.RxIF * 100.0;
    const int lowest = static_cast<int>(ifHz / layout.referenceHz) + 2;
    const int highest = std::min((1 << bits) - 1, 2147483647 / layout.referenceHz);
    const auto tuned = [&] { return double(layout.referenceHz) * pick(lowest, highest) - ifHz; };

    std::string name;
    for (int k = pick(0, 7); k > 0; --k)
      name += letters[static_cast<std::size_t>(pick(0, static_cast<int>(letters.size()) - 1))];
    ch.ChannelName = name;
    ch.SubsignalingType = pick(0, 3);
    ch.RFPower = pick(0, 1);
    // On special radios the scrambler flag belongs to the tone bank.
    ch.Scrambler = !ch.SpecialRadio && pick(0, 1);
    const int kinds[] = {0, 1, 3};
    ch.RxFrequency = tuned();
    ch.RxSignalling = kinds[pick(0, 2)];
    ch.RxCTCSSCode = static_cast<std::uint8_t>(pick(0, 63));
    ch.RxSignalData = static_cast<std::int16_t>(pick(-511, 511));
    const bool txOn = pick(0, 3) != 0;
    ch.TxFrequency = txOn ? tuned() : 0;
    ch.TxChannelData = txOn;  // as a read leaves a blank half
    ch.TxSignalling = kinds[pick(0, 2)];
    const bool specialTone = ch.SpecialRadio && txOn && ch.TxSignalling == 0 && pick(0, 1);
    ch.TxCTCSSCode = static_cast<std::uint8_t>(specialTone ? pick(101, 163) : pick(0, 63));
    ch.TxSignalData = static_cast<std::int16_t>(pick(-511, 511));
    ch.PTTBurstToneEnable = pick(0, 1);
    ch.TranspondToneEnable = pick(0, 1);
    ch.BurstDuration = static_cast<float>(100 * pick(1, 32));
    const int divider = pick(19, 89);
    ch.BurstFrequency = static_cast<float>(62500.0 / (divider + 1));

    ch.CreateChannelDataKM2();
    ASSERT_EQ(ch.ChannelData.size(), 32u);
    ASSERT_EQ(ch.CheckSumKM2.size(), 2u);
    SCOPED_TRACE(ch.ChannelData);
    clsChannel back = Decoded(ch, ch.ChannelData);

    EXPECT_EQ(back.ChannelName, name.empty() ? std::string() : (name + "      ").substr(0, 6));
    EXPECT_EQ(back.SubsignalingType, ch.SubsignalingType);
    EXPECT_EQ(back.RFPower, ch.RFPower);
    EXPECT_EQ(back.Scrambler, ch.Scrambler || specialTone);
    EXPECT_EQ(back.RxFrequency, ch.RxFrequency);
    EXPECT_EQ(back.RxSignalling, ch.RxSignalling);
    if (ch.RxSignalling == 0) {
      EXPECT_EQ(back.RxCTCSSCode, ch.RxCTCSSCode);
    }
    if (ch.RxSignalling == 1) {
      EXPECT_EQ(back.RxSignalData, ch.RxSignalData);
    }
    EXPECT_EQ(back.TxFrequency, ch.TxFrequency);
    EXPECT_EQ(back.TxChannelData, txOn);
    EXPECT_EQ(back.TxSignalling, txOn ? ch.TxSignalling : 3);
    if (txOn && ch.TxSignalling == 0) {
      EXPECT_EQ(back.TxCTCSSCode, ch.TxCTCSSCode);
    }
    if (txOn && ch.TxSignalling == 1) {
      EXPECT_EQ(back.TxSignalData, ch.TxSignalData);
    }
    EXPECT_EQ(back.PTTBurstToneEnable, ch.PTTBurstToneEnable);
    EXPECT_EQ(back.TranspondToneEnable, ch.TranspondToneEnable);
    if (ch.PTTBurstToneEnable || ch.TranspondToneEnable) {
      EXPECT_EQ(back.BurstDuration, ch.BurstDuration);
      EXPECT_FLOAT_EQ(back.BurstFrequency, ch.BurstFrequency);
    } else {
      EXPECT_EQ(back.BurstDuration, 3200);
      EXPECT_EQ(back.BurstFrequency, 694.4f);
    }

    // Encoding what was read gives the same record and checksum.
    back.CreateChannelDataKM2();
    EXPECT_EQ(back.ChannelData, ch.ChannelData);
    EXPECT_EQ(back.CheckSumKM2, ch.CheckSumKM2);
  }
}

}  // namespace
}  // namespace tallisk
