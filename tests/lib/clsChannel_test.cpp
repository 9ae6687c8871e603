#include "tallisk/clsChannel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

// A channel carrying the band values of a model: 6.25 kHz reference, 21.4 MHz IFs.
clsChannel Band(const std::string& prescaler = "128/129", const std::string& model = "VHF-H",
                float reference = 6.25f, float intermediate = 21400) {
  clsChannel ch;
  ch.ModelName = model;
  ch.PLLReferenceFreq = reference;
  ch.RxIF = ch.TxIF = intermediate;
  ch.Prescaler = prescaler;
  return ch;
}

// The worked channel: CTCSS code 5 on receive, DCS 023 inverted on transmit, group A.
clsChannel Worked(const std::string& prescaler = "128/129") {
  clsChannel ch = Band(prescaler);
  ch.RxFrequency = 150012500;
  ch.RxCTCSSCode = 5;
  ch.TxFrequency = 155012500;
  ch.TxSignalling = 1;
  ch.TxSignalData = -19;
  ch.TxPowerControl = 1;
  ch.GroupA = true;
  ch.AuxData = "11111111";
  return ch;
}

clsChannel Read(clsChannel band, const std::string& record) {
  band.ChannelData = record;
  band.BreakChannelData();
  return band;
}

std::string Bits(const std::string& record, std::size_t first, std::size_t width) {
  return HexToBinStr(record).substr(first - 1, width);
}

// The code a half carries for its signalling: tone code, signed DCS value, or nothing.
int Code(std::int32_t signalling, std::uint8_t tone, std::int16_t data) {
  return signalling == 0 ? tone : signalling == 1 ? data : -1000;
}

auto Settings(const clsChannel& c) {
  return std::make_tuple(c.RxFrequency, c.RxSignalling,
                         Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.RxChannelData,
                         c.TxFrequency, c.TxSignalling,
                         Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData), c.TxChannelData,
                         c.TxPowerControl, c.Scrambler, c.GroupA, c.GroupB, c.AuxData);
}

TEST(clsChannel, WorkedExamplesAndChecksum) {
  clsChannel ch = Worked();
  EXPECT_TRUE(ch.CreateChannelData());
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSum, ch.RxSynthesizerData, ch.TxSynthesizerData),
            std::make_tuple(std::string("05006B2261306E42D1FF"), std::uint8_t{1}, 27426, 28226));
  const clsChannel back = Read(Band(), "05006b2261306e42d9ff");  // the checksum is not read
  EXPECT_EQ(Settings(back), Settings(ch));
  EXPECT_EQ(back.RxSynthesizerData, 27426);

  // 64/65: the synthesiser field puts an extra 0 before the low six bits (M = 428, A = 34).
  clsChannel dual = Worked("64/65");
  dual.CreateChannelData();
  EXPECT_EQ(Bits(dual.ChannelData, 14, 19), "0001101011000100010");
  EXPECT_EQ(Read(Band("64/65"), dual.ChannelData).RxFrequency, 150012500);

  // The checksum covers the in-use flags and synthesiser fields, not the signalling digits.
  EXPECT_EQ(ch.GetChannelCheckSum("FFF06B22FFF06E42"), 1);
  try {
    ch.GetChannelCheckSum("05006B2261306E4");
    ADD_FAILURE() << "a short text must be refused";
  } catch (const TalliskError& e) {
    EXPECT_EQ(std::make_tuple(e.Number(), e.Source(), e.Description()),
              std::make_tuple(5, std::string("GetChannelCheckSum"), std::string("Invalid String")));
  }
}

TEST(clsChannel, BlankAndErasedHalves) {
  clsChannel ch = Worked();
  ch.RxFrequency = ch.TxFrequency = 0;
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, std::string(20, 'F'));
  ch.RxChannelData = false;
  ch = Read(ch, "ffffffffffffffffffff");
  EXPECT_EQ(Settings(ch), std::make_tuple(0.0, 3, -1000, true, 0.0, 3, -1000, true, 1, false, false,
                                          false, std::string("11111111")));
  EXPECT_EQ(std::tie(ch.RxSignalData, ch.BurstFrequency), std::make_tuple(-777, 694.4f));

  // No receive frequency: an erased receive half, counted by the checksum as F nibbles. An
  // erased field leaves the frequency as it was.
  ch = Worked();
  ch.RxFrequency = 0;
  ch.CreateChannelData();
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSum),
            std::make_tuple(std::string("FFFFFFFF61306E42DBFF"), std::uint8_t{11}));
  ch.RxFrequency = 123;
  ch = Read(ch, ch.ChannelData);
  EXPECT_EQ(std::tie(ch.RxFrequency, ch.RxSignalling, ch.RxChannelData, ch.TxFrequency),
            std::make_tuple(123.0, 3, false, 155012500.0));

  // A negative transmit frequency erases the half and keeps the previous checksum.
  ch = Worked();
  ch.TxFrequency = -1;
  ch.CheckSum = 7;
  ch.CreateChannelData();
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSum),
            std::make_tuple(std::string("05006B22FFFFFFFFD7FF"), std::uint8_t{7}));
  // Transmit 0 Hz is a real word, N = IF / reference, unless "uhf" would make it negative.
  ch.TxFrequency = 0;
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch.ChannelData, 46, 19), Num2BinStr(3424, 19));
  ch.ModelName = "UHF";
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData.substr(8, 8), "FFFFFFFF");

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

TEST(clsChannel, UhfAndRecordLength) {
  for (const char* model : {"uhf", "Model uHf-2", "U H F"}) {
    clsChannel ch = Worked();
    ch.ModelName = model;
    ch.RxFrequency = 450012500;
    ch.CreateChannelData();
    const bool uhf = std::string(model) != "U H F";
    EXPECT_EQ(ch.RxSynthesizerData, uhf ? 68578 : 75426) << model;  // (450012 -/+ 21400) / 6.25
    EXPECT_EQ(Read(Band("128/129", model), ch.ChannelData).RxFrequency, 450012500) << model;
  }
  // Signalling "10" names no setting: ten ones as its code, so later channels do not shift.
  // Short auxiliary text is completed with ones.
  clsChannel two = Worked();
  two.RxSignalling = 2;
  two.AuxData = "101";
  two.CreateChannelData();
  EXPECT_EQ(two.ChannelData, "BFF06B2261306E42D1BF");
  const clsChannel back = Read(Band(), two.ChannelData);
  EXPECT_EQ(std::tie(back.RxSignalling, back.RxSignalData), std::make_tuple(2, 0));
  EXPECT_NO_THROW(Read(Band(), "ZZ006B2261306E42D"));
}

TEST(clsChannel, RefusedChannelKeepsItsRecord) {
  const auto refused = [](clsChannel ch) {
    ch.ChannelData = "previous";
    ch.CheckSum = 3;
    ch.RxSynthesizerData = 11;
    int error = 0;
    try {
      ch.CreateChannelData();
    } catch (const TalliskError& e) {
      error = e.Number();
    }
    EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSum, ch.RxSynthesizerData),
              std::make_tuple(std::string("previous"), std::uint8_t{3}, 11));
    return error;
  };
  clsChannel ch = Worked();
  ch.PLLReferenceFreq = 0;
  EXPECT_EQ(refused(ch), ErrDivisionByZero);
  ch.RxFrequency = 0;  // the transmit half divides as well
  EXPECT_EQ(refused(ch), ErrDivisionByZero);
  ch = Worked();
  ch.TxFrequency = 3e9;
  EXPECT_EQ(refused(ch), ErrOverflow);
  ch = Worked();
  ch.AuxData = "1111x111";
  EXPECT_EQ(refused(ch), ErrInvalidArgument);
}

TEST(clsChannel, GeneratedChannelsRoundTrip) {
  const clsChannel bands[] = {Band("128/129"), Band("64/65", "VHF-L", 5.0f, 45000),
                              Band("128/129", "UHF-L", 12.5f, 21400),
                              Band("64/65", "uhf", 2.5f, 10700)};
  std::mt19937 rng(20261206);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const auto coin = [&] { return pick(0, 1) == 1; };
  const int kinds[] = {0, 1, 3};

  for (int i = 0; i < 200; ++i) {
    clsChannel ch = bands[pick(0, 3)];
    const int sign = ch.ModelName.find_first_of("Uu") == 0 ? -1 : 1;
    const int widest = ch.Prescaler == "64/65" ? (1 << 18) - 2 : (1 << 19) - 2;
    const int lowest = static_cast<int>(ch.RxIF / ch.PLLReferenceFreq) + 100;
    const int highest = std::min(widest, static_cast<int>(2.0e6 / ch.PLLReferenceFreq) - 20000);
    const auto tuned = [&](int& n) {
      n = pick(lowest, highest);
      if (n == (1 << 18) - 1) --n;  // "0" and eighteen ones reads as erased
      return (static_cast<double>(ch.PLLReferenceFreq) * n - sign * ch.RxIF) * 1000;
    };
    int rxN = 0, txN = 0;
    const bool rxOn = pick(0, 9) != 0;
    ch.RxFrequency = rxOn ? tuned(rxN) : 0;
    ch.TxFrequency = tuned(txN);
    std::tie(ch.RxSignalling, ch.TxSignalling, ch.TxPowerControl) =
        std::tuple{kinds[pick(0, 2)], kinds[pick(0, 2)], pick(0, 1)};
    std::tie(ch.RxCTCSSCode, ch.TxCTCSSCode, ch.RxSignalData, ch.TxSignalData) =
        std::tuple{pick(0, 63), pick(0, 63), pick(-511, 511), pick(-511, 511)};
    std::tie(ch.RxChannelData, ch.TxChannelData, ch.Scrambler, ch.GroupA, ch.GroupB) =
        std::tuple{coin(), coin(), coin(), coin(), coin()};
    ch.AuxData = Num2BinStr(pick(0, 255), 8);
    ch.CreateChannelData();
    ASSERT_EQ(ch.ChannelData.size(), 20u);
    // The in-use flags and synthesiser fields plus the checksum sum to a multiple of 16.
    int nibbles = ch.CheckSum;
    for (std::size_t first : {13, 17, 21, 25, 29, 45, 49, 53, 57, 61}) {
      nibbles += BinToDec(Bits(ch.ChannelData, first, 4));
    }
    EXPECT_EQ(nibbles % 16, 0);

    clsChannel back = Read(Read(ch, ""), ch.ChannelData);  // read over a blank channel
    if (!rxOn) {
      // An unused receive half reads as no signalling, not in use, the frequency untouched.
      ch.RxSignalling = 3;
      ch.RxChannelData = false;
      rxN = 0;
    }
    EXPECT_EQ(Settings(back), Settings(ch)) << ch.ChannelData;
    EXPECT_EQ(std::tie(back.RxSynthesizerData, back.TxSynthesizerData), std::tie(rxN, txN));
    back.CreateChannelData();
    EXPECT_EQ(back.ChannelData, ch.ChannelData);
  }
}

}  // namespace
}  // namespace tallisk
