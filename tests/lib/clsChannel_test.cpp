#include "tallisk/clsChannel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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
  ch.RxIF = intermediate;
  ch.TxIF = intermediate;
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

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

TEST(clsChannel, WorkedExampleBothWays) {
  const clsChannel fresh;
  EXPECT_TRUE(fresh.RxChannelData && fresh.TxChannelData);
  EXPECT_EQ(std::tie(fresh.RxFrequency, fresh.CheckSum, fresh.BurstFrequency, fresh.AuxData),
            std::make_tuple(0.0, std::uint8_t{0}, 0.0f, std::string()));

  clsChannel ch = Worked();
  EXPECT_TRUE(ch.CreateChannelData());
  EXPECT_EQ(ch.ChannelData, "05006B2261306E42D1FF");
  EXPECT_EQ(std::tie(ch.CheckSum, ch.RxSynthesizerData, ch.TxSynthesizerData),
            std::make_tuple(std::uint8_t{1}, 27426, 28226));

  for (const char* text : {"05006B2261306E42D1FF", "05006b2261306e42d1ff"}) {
    const clsChannel back = Read(Band(), text);
    EXPECT_EQ(Settings(back), Settings(ch)) << text;
    EXPECT_EQ(back.RxFrequency, 150012500);
    EXPECT_EQ(back.RxSynthesizerData, 27426);
  }
  // The member bit routines are the shared ones.
  EXPECT_EQ(ch.Num2BinStr(300, 8), "00101100");
  EXPECT_EQ(ch.BinToDec("0101"), 5);
  EXPECT_EQ(ErrorOf([&] { ch.BinToDec("012"); }), ErrInvalidArgument);
}

TEST(clsChannel, DualModulusPrescalerField) {
  clsChannel ch = Worked("64/65");
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch.ChannelData, 14, 19),
            "000110101100"
            "0100010");  // M = 428, A = 34
  EXPECT_EQ(ch.CheckSum, ch.GetChannelCheckSum(ch.ChannelData));
  EXPECT_EQ(Read(Band("64/65"), ch.ChannelData).RxFrequency, 150012500);
  EXPECT_NE(Read(Band(), ch.ChannelData).RxFrequency, 150012500);
}

TEST(clsChannel, ChecksumCoversFlagsAndSynthesiserFieldsOnly) {
  const clsChannel ch;
  EXPECT_EQ(ch.GetChannelCheckSum("05006B2261306E42"), 1);
  EXPECT_EQ(ch.GetChannelCheckSum("FFF06B22FFF06E42"), 1);  // signalling digits changed
  EXPECT_EQ(ch.GetChannelCheckSum("0000000000000000"), 0);
  try {
    ch.GetChannelCheckSum("05006B2261306E4");
    ADD_FAILURE() << "a short text must be refused";
  } catch (const TalliskError& e) {
    EXPECT_EQ(std::make_tuple(e.Number(), e.Source(), e.Description()),
              std::make_tuple(5, std::string("GetChannelCheckSum"), std::string("Invalid String")));
  }
}

TEST(clsChannel, BlankRecordsBothWays) {
  clsChannel ch = Worked();
  ch.RxFrequency = ch.TxFrequency = 0;
  ch.CheckSum = 9;
  ch.RxSynthesizerData = 1234;
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, std::string(20, 'F'));
  EXPECT_EQ(std::tie(ch.CheckSum, ch.RxSynthesizerData), std::make_tuple(std::uint8_t{9}, 1234));

  for (const char* erased : {"FFFFFFFFFFFFFFFFFFFF", "ffffffffffffffffffff", ""}) {
    clsChannel back = Worked();
    back.RxChannelData = back.TxChannelData = false;
    back = Read(back, erased);
    EXPECT_EQ(Settings(back), std::make_tuple(0.0, 3, -1000, true, 0.0, 3, -1000, true, 1, false,
                                              false, false, std::string("11111111")));
    EXPECT_EQ(std::tie(back.RxCTCSSCode, back.TxCTCSSCode, back.RxSignalData, back.TxSignalData),
              std::make_tuple(0, 0, -777, -777));
    EXPECT_EQ(std::tie(back.RxSquelchToneFrequency, back.TxSquelchToneFrequency, back.BurstDuration,
                       back.BurstFrequency),
              std::make_tuple(67.0f, 67.0f, 3200.0f, 694.4f));
  }
}

TEST(clsChannel, ErasedHalves) {
  // No receive frequency: an erased receive half that the checksum counts as F nibbles.
  clsChannel rxOff = Worked();
  rxOff.RxFrequency = 0;
  rxOff.RxSynthesizerData = 555;
  rxOff.CreateChannelData();
  EXPECT_EQ(rxOff.ChannelData, "FFFFFFFF61306E42DBFF");
  EXPECT_EQ(std::tie(rxOff.CheckSum, rxOff.RxSynthesizerData),
            std::make_tuple(std::uint8_t{11}, 555));
  clsChannel back = Band();
  back.RxFrequency = 123;
  back = Read(back, rxOff.ChannelData);
  // An erased synthesiser field leaves the frequency as it was.
  EXPECT_EQ(std::tie(back.RxFrequency, back.RxSignalling, back.RxChannelData, back.TxFrequency),
            std::make_tuple(123.0, 3, false, 155012500.0));

  // A negative transmit frequency erases the transmit half and keeps the previous checksum.
  clsChannel txOff = Worked();
  txOff.TxFrequency = -1;
  txOff.CheckSum = 7;
  txOff.CreateChannelData();
  EXPECT_EQ(txOff.ChannelData, "05006B22FFFFFFFFD7FF");
  EXPECT_EQ(txOff.CheckSum, 7);

  // A transmit frequency of 0 is a real synthesiser setting: N = sign x IF / reference.
  clsChannel txZero = Worked();
  txZero.TxFrequency = 0;
  txZero.CreateChannelData();
  EXPECT_EQ(Bits(txZero.ChannelData, 46, 19), Num2BinStr(3424, 19));
  // Injecting above the channel, 0 Hz would need a negative word: the half is erased instead.
  txZero.ModelName = "UHF";
  txZero.CreateChannelData();
  EXPECT_EQ(txZero.TxSynthesizerData, 3424);  // unchanged
  EXPECT_EQ(txZero.ChannelData.substr(8, 8), "FFFFFFFF");

  // Erased fields: all ones, or a 0 and eighteen ones once the 64/65 gap is taken out.
  const std::pair<const char*, const char*> fields[] = {{"128/129", "1111111111111111111"},
                                                        {"128/129", "0111111111111111111"},
                                                        {"64/65", "1111111111111111111"},
                                                        {"64/65", "1111111111110111111"}};
  for (const auto& [prescaler, field] : fields) {
    std::string bits = HexToBinStr("05006B2261306E42D1FF");
    bits.replace(13, 19, field);
    clsChannel erased = Band(prescaler);
    erased.RxFrequency = 42;
    erased.RxSynthesizerData = 7;
    erased = Read(erased, BinStrToHex(bits));
    EXPECT_EQ(std::tie(erased.RxFrequency, erased.RxSynthesizerData, erased.RxCTCSSCode),
              std::make_tuple(42.0, 7, 5))
        << prescaler << " " << field;
  }
  // One bit short of erased is a real word.
  std::string bits = HexToBinStr("05006B2261306E42D1FF");
  bits.replace(13, 19, "1011111111111111111");
  EXPECT_EQ(Read(Band(), BinStrToHex(bits)).RxSynthesizerData, 0x5FFFF);
}

TEST(clsChannel, UhfInAnyLetterCaseInjectsBelow) {
  for (const char* model : {"UHF", "uhf", "Model uHf-2", "U H F"}) {
    clsChannel ch = Worked();
    ch.ModelName = model;
    ch.RxFrequency = 450012500;
    ch.CreateChannelData();
    const bool uhf = std::string(model) != "U H F";
    EXPECT_EQ(ch.RxSynthesizerData, uhf ? 68578 : 75426) << model;  // (450012 -/+ 21400) / 6.25
    EXPECT_EQ(Read(Band("128/129", model), ch.ChannelData).RxFrequency, 450012500) << model;
  }
}

TEST(clsChannel, ReaderIgnoresChecksumAndNeverFails) {
  EXPECT_EQ(Settings(Read(Band(), "05006B2261306E42D9FF")), Settings(Worked()));

  // Signalling "10" names no setting: ten ones as its code, so the record stays 80 bits.
  clsChannel two = Worked();
  two.RxSignalling = 2;
  two.CreateChannelData();
  EXPECT_EQ(two.ChannelData, "BFF06B2261306E42D1FF");
  clsChannel back = Band();
  back.RxSignalData = back.RxCTCSSCode = 12;
  back = Read(back, two.ChannelData);
  EXPECT_EQ(std::tie(back.RxSignalling, back.RxSignalData, back.RxCTCSSCode),
            std::make_tuple(2, 0, 0));
  two.TxSignalling = 7;
  two.CreateChannelData();
  EXPECT_EQ(Bits(two.ChannelData, 33, 12), std::string(12, '1'));

  for (const char* text : {"05", "0", "05006B2261306E42D1", "ZZ006B2261306E42D1FF"}) {
    clsChannel any = Band();
    EXPECT_NO_THROW(any.ChannelData = text; any.BreakChannelData()) << text;
  }
}

TEST(clsChannel, RefusedChannelKeepsItsRecord) {
  const auto refused = [](clsChannel ch) {
    ch.ChannelData = "previous";
    ch.CheckSum = 3;
    ch.RxSynthesizerData = ch.TxSynthesizerData = 11;
    const int error = ErrorOf([&] { ch.CreateChannelData(); });
    EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSum, ch.RxSynthesizerData, ch.TxSynthesizerData),
              std::make_tuple(std::string("previous"), std::uint8_t{3}, 11, 11));
    return error;
  };
  clsChannel ch = Worked();
  ch.PLLReferenceFreq = 0;
  EXPECT_EQ(refused(ch), ErrDivisionByZero);
  ch.RxFrequency = 0;  // the transmit half divides as well
  EXPECT_EQ(refused(ch), ErrDivisionByZero);
  ch.TxFrequency = 0;  // nothing to divide
  EXPECT_NO_THROW(ch.CreateChannelData());
  ch = Worked();
  ch.PLLReferenceFreq = 1e-6f;  // quotient beyond 32 bits
  EXPECT_EQ(refused(ch), ErrOverflow);
  ch = Worked();
  ch.TxFrequency = 3e9;
  EXPECT_EQ(refused(ch), ErrOverflow);
  ch = Worked();
  ch.AuxData = "1111x111";
  EXPECT_EQ(refused(ch), ErrInvalidArgument);
}

TEST(clsChannel, AuxiliaryBitsAlwaysFillEightBits) {
  clsChannel ch = Worked();
  // A short text is completed with ones and a long one cut, so later channels never shift.
  const std::pair<const char*, const char*> cases[] = {
      {"10100101", "A5"}, {"101", "BF"}, {"", "FF"}, {"0101010111", "55"}};
  for (const auto& [aux, tail] : cases) {
    ch.AuxData = aux;
    ch.CreateChannelData();
    EXPECT_EQ(ch.ChannelData, std::string("05006B2261306E42D1") + tail) << aux;
  }
}

TEST(clsChannel, GeneratedChannelsRoundTrip) {
  const clsChannel bands[] = {Band("128/129"), Band("64/65", "VHF-L", 5.0f, 45000),
                              Band("128/129", "UHF-L", 12.5f, 21400),
                              Band("64/65", "uhf", 2.5f, 10700)};
  std::mt19937 rng(20261206);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  for (int i = 0; i < 2000; ++i) {
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
    const int kinds[] = {0, 1, 3};
    ch.RxSignalling = kinds[pick(0, 2)];
    ch.TxSignalling = kinds[pick(0, 2)];
    ch.RxCTCSSCode = static_cast<std::uint8_t>(pick(0, 63));
    ch.TxCTCSSCode = static_cast<std::uint8_t>(pick(0, 63));
    ch.RxSignalData = static_cast<std::int16_t>(pick(-511, 511));
    ch.TxSignalData = static_cast<std::int16_t>(pick(-511, 511));
    ch.RxChannelData = pick(0, 1);
    ch.TxChannelData = pick(0, 1);
    ch.TxPowerControl = pick(0, 1);
    ch.Scrambler = pick(0, 1);
    ch.GroupA = pick(0, 1);
    ch.GroupB = pick(0, 1);
    ch.AuxData = Num2BinStr(pick(0, 255), 8);
    ch.CreateChannelData();
    ASSERT_EQ(ch.ChannelData.size(), 20u);
    // The in-use flags and synthesiser fields plus the checksum sum to a multiple of 16.
    const std::string bits = HexToBinStr(ch.ChannelData);
    int nibbles = ch.CheckSum;
    for (std::size_t first : {13, 17, 21, 25, 29, 45, 49, 53, 57, 61}) {
      nibbles += BinToDec(bits.substr(first - 1, 4));
    }
    EXPECT_EQ(nibbles % 16, 0);

    clsChannel back = Read(bands[0], "");  // a blank channel, then this channel's band
    back.ModelName = ch.ModelName;
    back.PLLReferenceFreq = ch.PLLReferenceFreq;
    back.RxIF = back.TxIF = ch.RxIF;
    back.Prescaler = ch.Prescaler;
    back = Read(back, ch.ChannelData);
    if (!rxOn) {
      // An unused receive half reads as no signalling, not in use, the frequency untouched.
      ch.RxSignalling = 3;
      ch.RxChannelData = false;
      rxN = 0;
    }
    EXPECT_EQ(Settings(back), Settings(ch)) << ch.ChannelData;
    EXPECT_EQ(std::tie(back.RxSynthesizerData, back.TxSynthesizerData), std::tie(rxN, txN));
    // The checksum is not read back; encoding what was read recomputes it, to the same record.
    back.CreateChannelData();
    EXPECT_EQ(back.ChannelData, ch.ChannelData);
  }
}

}  // namespace
}  // namespace tallisk
