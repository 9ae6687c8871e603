#include "tallisk/clsChannel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

// Band values of a VHF model with a 6.25 kHz reference and 21.4 MHz intermediate frequencies.
clsChannel VhfChannel(const std::string& prescaler = "128/129") {
  clsChannel ch;
  ch.ModelName = "VHF High A";
  ch.PLLReferenceFreq = 6.25f;
  ch.RxIF = 21400;
  ch.TxIF = 21400;
  ch.Prescaler = prescaler;
  return ch;
}

// The settings of the worked channel: CTCSS code 5 on receive, DCS 023 inverted on transmit.
clsChannel WorkedChannel(const std::string& prescaler = "128/129") {
  clsChannel ch = VhfChannel(prescaler);
  ch.RxFrequency = 150012500;
  ch.RxSignalling = 0;
  ch.RxCTCSSCode = 5;
  ch.TxFrequency = 155012500;
  ch.TxSignalling = 1;
  ch.TxSignalData = -19;
  ch.TxPowerControl = 1;
  ch.Scrambler = false;
  ch.GroupA = true;
  ch.GroupB = false;
  ch.AuxData = "11111111";
  return ch;
}

std::string Bits(const clsChannel& ch, int first, int width) {
  return HexToBinStr(ch.ChannelData)
      .substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width));
}

void ExpectError(int number, const std::function<void()>& f) {
  try {
    f();
    ADD_FAILURE() << "expected error " << number;
  } catch (const TalliskError& e) {
    EXPECT_EQ(e.Number(), number) << e.Description();
  }
}

TEST(clsChannel, NewChannelHasBothHalvesInUseAndEverythingElseZero) {
  const clsChannel ch;
  EXPECT_TRUE(ch.RxChannelData);
  EXPECT_TRUE(ch.TxChannelData);
  EXPECT_EQ(ch.RxFrequency, 0);
  EXPECT_EQ(ch.TxFrequency, 0);
  EXPECT_EQ(ch.RxSignalling, 0);
  EXPECT_EQ(ch.TxSignalData, 0);
  EXPECT_EQ(ch.CheckSum, 0);
  EXPECT_EQ(ch.BurstFrequency, 0);
  EXPECT_EQ(ch.prsclKM2, 0);
  EXPECT_FALSE(ch.AlternatePreScaler);
  EXPECT_TRUE(ch.AuxData.empty());
  EXPECT_TRUE(ch.ChannelData.empty());
  EXPECT_TRUE(ch.CheckSumKM2.empty());
  EXPECT_TRUE(ch.ChannelName.empty());
}

TEST(clsChannel, WorkedExampleEncodesAndReadsBack) {
  clsChannel ch = WorkedChannel();
  EXPECT_TRUE(ch.CreateChannelData());
  EXPECT_EQ(ch.ChannelData, "05006B2261306E42D1FF");
  EXPECT_EQ(ch.CheckSum, 1);
  EXPECT_EQ(ch.RxSynthesizerData, 27426);
  EXPECT_EQ(ch.TxSynthesizerData, 28226);

  clsChannel back = VhfChannel();
  back.ChannelData = "05006B2261306E42D1FF";
  EXPECT_TRUE(back.BreakChannelData());
  EXPECT_EQ(back.RxSynthesizerData, 27426);
  EXPECT_EQ(back.RxFrequency, 150012500);
  EXPECT_EQ(back.TxFrequency, 155012500);
  EXPECT_EQ(back.RxSignalling, 0);
  EXPECT_EQ(back.RxCTCSSCode, 5);
  EXPECT_EQ(back.TxSignalling, 1);
  EXPECT_EQ(back.TxSignalData, -19);
  EXPECT_TRUE(back.RxChannelData);
  EXPECT_TRUE(back.TxChannelData);
  EXPECT_EQ(back.TxPowerControl, 1);
  EXPECT_FALSE(back.Scrambler);
  EXPECT_TRUE(back.GroupA);
  EXPECT_FALSE(back.GroupB);
  EXPECT_EQ(back.AuxData, "11111111");

  // Hex digits in lower case read the same.
  clsChannel lower = VhfChannel();
  lower.ChannelData = "05006b2261306e42d1ff";
  lower.BreakChannelData();
  EXPECT_EQ(lower.RxFrequency, 150012500);
  EXPECT_EQ(lower.TxSignalData, -19);
}

TEST(clsChannel, DualModulusPrescalerMovesTheSwallowCountIntoSevenBits) {
  clsChannel ch = WorkedChannel("64/65");
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch, 14, 19),
            "000110101100"
            "0100010");  // M = 428, A = 34
  EXPECT_EQ(ch.RxSynthesizerData, 27426);
  EXPECT_EQ(ch.ChannelData.size(), 20u);
  EXPECT_EQ(ch.CheckSum, ch.GetChannelCheckSum(ch.ChannelData));

  clsChannel back = VhfChannel("64/65");
  back.ChannelData = ch.ChannelData;
  back.BreakChannelData();
  EXPECT_EQ(back.RxFrequency, 150012500);
  EXPECT_EQ(back.TxFrequency, 155012500);

  // The same record read with the plain prescaler is a different synthesiser setting.
  clsChannel plain = VhfChannel();
  plain.ChannelData = ch.ChannelData;
  plain.BreakChannelData();
  EXPECT_NE(plain.RxFrequency, 150012500);
}

TEST(clsChannel, ChecksumCoversOnlyFlagsAndSynthesiserFields) {
  const clsChannel ch;
  EXPECT_EQ(ch.GetChannelCheckSum("05006B2261306E42"), 1);
  EXPECT_EQ(ch.GetChannelCheckSum("05006b2261306e42D1FF"), 1);
  // Signalling type and code digits do not count.
  EXPECT_EQ(ch.GetChannelCheckSum("FFF06B22FFF06E42"), 1);
  // A sum that is already a multiple of 16 gives 0, not 16.
  EXPECT_EQ(ch.GetChannelCheckSum("0000000000000000"), 0);
  try {
    ch.GetChannelCheckSum("05006B2261306E4");
    ADD_FAILURE() << "a short text must be refused";
  } catch (const TalliskError& e) {
    EXPECT_EQ(e.Number(), ErrInvalidArgument);
    EXPECT_EQ(e.Source(), "GetChannelCheckSum");
    EXPECT_EQ(e.Description(), "Invalid String");
  }
}

TEST(clsChannel, BlankRecordsBothWays) {
  clsChannel ch = WorkedChannel();
  ch.RxFrequency = 0;
  ch.TxFrequency = 0;
  ch.CheckSum = 9;
  ch.RxSynthesizerData = 1234;
  ch.AuxData = "";  // not consulted for a blank record
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, "FFFFFFFFFFFFFFFFFFFF");
  EXPECT_EQ(ch.CheckSum, 9);
  EXPECT_EQ(ch.RxSynthesizerData, 1234);

  for (const char* erased : {"FFFFFFFFFFFFFFFFFFFF", "ffffffffffffffffffff", ""}) {
    clsChannel back = WorkedChannel();
    back.RxChannelData = false;
    back.TxChannelData = false;
    back.ChannelData = erased;
    back.BreakChannelData();
    EXPECT_EQ(back.RxFrequency, 0) << erased;
    EXPECT_EQ(back.TxFrequency, 0);
    EXPECT_EQ(back.RxSignalling, 3);
    EXPECT_EQ(back.TxSignalling, 3);
    EXPECT_EQ(back.TxPowerControl, 1);
    EXPECT_FALSE(back.Scrambler);
    EXPECT_FALSE(back.GroupA);
    EXPECT_FALSE(back.GroupB);
    EXPECT_EQ(back.AuxData, "11111111");
    EXPECT_EQ(back.RxCTCSSCode, 0);
    EXPECT_EQ(back.TxCTCSSCode, 0);
    EXPECT_EQ(back.RxSquelchToneFrequency, 67.0f);
    EXPECT_EQ(back.TxSquelchToneFrequency, 67.0f);
    EXPECT_EQ(back.RxSignalData, -777);
    EXPECT_EQ(back.TxSignalData, -777);
    EXPECT_EQ(back.BurstDuration, 3200.0f);
    EXPECT_EQ(back.BurstFrequency, 694.4f);
    EXPECT_TRUE(back.RxChannelData);
    EXPECT_TRUE(back.TxChannelData);
  }
}

TEST(clsChannel, ErasedHalvesAndTheirChecksums) {
  // Receive off, transmit on: the receive nibbles count as F in the checksum.
  clsChannel rxOff = WorkedChannel();
  rxOff.RxFrequency = 0;
  rxOff.RxSynthesizerData = 555;
  rxOff.CreateChannelData();
  EXPECT_EQ(rxOff.ChannelData, "FFFFFFFF61306E42DBFF");
  EXPECT_EQ(rxOff.CheckSum, 11);
  EXPECT_EQ(rxOff.RxSynthesizerData, 555);

  clsChannel back = VhfChannel();
  back.RxFrequency = 123;
  back.ChannelData = rxOff.ChannelData;
  back.BreakChannelData();
  EXPECT_EQ(back.RxSignalling, 3);
  EXPECT_FALSE(back.RxChannelData);
  EXPECT_EQ(back.RxFrequency, 123);  // an erased synthesiser field leaves the half as it was
  EXPECT_EQ(back.TxFrequency, 155012500);

  // A negative transmit frequency erases the transmit half and keeps the previous checksum.
  clsChannel txOff = WorkedChannel();
  txOff.TxFrequency = -1;
  txOff.CheckSum = 7;
  txOff.TxSynthesizerData = 999;
  txOff.CreateChannelData();
  EXPECT_EQ(txOff.ChannelData, "05006B22FFFFFFFFD7FF");
  EXPECT_EQ(txOff.CheckSum, 7);
  EXPECT_EQ(txOff.TxSynthesizerData, 999);

  // A transmit frequency of 0 is a real synthesiser setting: N = IF / reference.
  clsChannel txZero = WorkedChannel();
  txZero.TxFrequency = 0;
  txZero.CreateChannelData();
  EXPECT_EQ(txZero.TxSynthesizerData, 3424);
  EXPECT_EQ(Bits(txZero, 46, 19), Num2BinStr(3424, 19));
  EXPECT_EQ(txZero.CheckSum, txZero.GetChannelCheckSum(txZero.ChannelData));
  txZero.ModelName = "UHF";
  txZero.CreateChannelData();
  EXPECT_EQ(txZero.TxSynthesizerData, -3424);
  EXPECT_EQ(Bits(txZero, 46, 19), Num2BinStr(-3424, 19));  // the low 19 bits

  // An all-ones synthesiser field is erased whatever the prescaler.
  for (const char* prescaler : {"128/129", "64/65"}) {
    std::string bits = HexToBinStr("05006B2261306E42D1FF");
    bits.replace(13, 19, std::string(19, '1'));
    clsChannel erased = VhfChannel(prescaler);
    erased.RxFrequency = 42;
    erased.RxSynthesizerData = 42;
    erased.ChannelData = BinStrToHex(bits);
    erased.BreakChannelData();
    EXPECT_EQ(erased.RxFrequency, 42) << prescaler;
    EXPECT_EQ(erased.RxSynthesizerData, 42);
    EXPECT_EQ(erased.RxCTCSSCode, 5);
  }
}

TEST(clsChannel, UhfInAnyCaseInjectsBelowTheChannel) {
  for (const char* model : {"UHF", "uhf", "Model uHf-2", "xxUHFxx"}) {
    clsChannel ch = WorkedChannel();
    ch.ModelName = model;
    ch.RxFrequency = 450012500;
    ch.CreateChannelData();
    EXPECT_EQ(ch.RxSynthesizerData, 68578) << model;  // (450012 - 21400) / 6.25 = 68577.92
    clsChannel back = VhfChannel();
    back.ModelName = model;
    back.ChannelData = ch.ChannelData;
    back.BreakChannelData();
    EXPECT_EQ(back.RxFrequency, 450012500) << model;
  }
  clsChannel vhf = WorkedChannel();
  vhf.ModelName = "U H F";
  vhf.CreateChannelData();
  EXPECT_EQ(vhf.RxSynthesizerData, 27426);
}

TEST(clsChannel, ChecksumAndUnknownSignallingOnRead) {
  // The reader ignores the checksum nibble.
  clsChannel wrong = VhfChannel();
  wrong.ChannelData = "05006B2261306E42D9FF";
  wrong.BreakChannelData();
  EXPECT_EQ(wrong.RxFrequency, 150012500);
  EXPECT_TRUE(wrong.GroupA);
  EXPECT_EQ(wrong.AuxData, "11111111");

  // Signalling type "10" names no setting: written with ten ones as its code, so the record
  // stays 80 bits, and read back as that value without a code.
  clsChannel two = WorkedChannel();
  two.RxSignalling = 2;
  two.RxSignalData = 77;
  two.CreateChannelData();
  EXPECT_EQ(two.ChannelData.size(), 20u);
  EXPECT_EQ(Bits(two, 1, 12), "101111111111");
  EXPECT_EQ(two.ChannelData.substr(4), "6B2261306E42D1FF");
  clsChannel back = VhfChannel();
  back.RxSignalData = 12;
  back.RxCTCSSCode = 12;
  back.ChannelData = two.ChannelData;
  back.BreakChannelData();
  EXPECT_EQ(back.RxSignalling, 2);
  EXPECT_EQ(back.RxSignalData, 0);
  EXPECT_EQ(back.RxCTCSSCode, 0);
  EXPECT_EQ(back.RxFrequency, 150012500);

  // So does a value outside the two bits.
  clsChannel seven = WorkedChannel();
  seven.TxSignalling = 7;
  seven.CreateChannelData();
  EXPECT_EQ(seven.ChannelData.size(), 20u);
  EXPECT_EQ(Bits(seven, 33, 12), std::string(12, '1'));

  // Short or damaged records never make the reader fail.
  for (const char* text : {"05", "05006B2261306E42D1", "ZZ006B2261306E42D1FF", "0"}) {
    clsChannel any = VhfChannel();
    any.ChannelData = text;
    EXPECT_NO_THROW(any.BreakChannelData()) << text;
  }
}

TEST(clsChannel, RefusedChannelKeepsItsRecord) {
  const auto expectUnchanged = [](clsChannel ch, int error) {
    ch.ChannelData = "previous";
    ch.CheckSum = 3;
    ch.RxSynthesizerData = 11;
    ch.TxSynthesizerData = 12;
    ExpectError(error, [&] { ch.CreateChannelData(); });
    EXPECT_EQ(ch.ChannelData, "previous");
    EXPECT_EQ(ch.CheckSum, 3);
    EXPECT_EQ(ch.RxSynthesizerData, 11);
    EXPECT_EQ(ch.TxSynthesizerData, 12);
  };
  clsChannel noReference = WorkedChannel();
  noReference.PLLReferenceFreq = 0;
  expectUnchanged(noReference, ErrDivisionByZero);
  noReference.RxFrequency = 0;  // the transmit half divides as well
  expectUnchanged(noReference, ErrDivisionByZero);

  clsChannel tiny = WorkedChannel();
  tiny.PLLReferenceFreq = 1e-6f;  // quotient beyond 32 bits
  expectUnchanged(tiny, ErrOverflow);

  clsChannel far = WorkedChannel();
  far.TxFrequency = 3e9;
  expectUnchanged(far, ErrOverflow);

  clsChannel badAux = WorkedChannel();
  badAux.AuxData = "1111x111";
  expectUnchanged(badAux, ErrInvalidArgument);

  // Both halves off needs no reference at all.
  clsChannel blank = WorkedChannel();
  blank.PLLReferenceFreq = 0;
  blank.RxFrequency = 0;
  blank.TxFrequency = 0;
  EXPECT_NO_THROW(blank.CreateChannelData());
}

TEST(clsChannel, AuxiliaryBitsAlwaysFillEightBits) {
  clsChannel ch = WorkedChannel();
  ch.AuxData = "10100101";
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, "05006B2261306E42D1A5");
  // A short text is completed with ones, a long one cut, so later channels never shift.
  ch.AuxData = "101";
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, "05006B2261306E42D1BF");
  ch.AuxData = "";
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, "05006B2261306E42D1FF");
  ch.AuxData = "0101010111";
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData, "05006B2261306E42D155");
}

TEST(clsChannel, BitTextMembersForwardToTheConversions) {
  const clsChannel ch;
  EXPECT_EQ(ch.Num2BinStr(300, 8), "00101100");
  EXPECT_EQ(ch.Num2BinStr(5, 8), "00000101");
  EXPECT_EQ(ch.Num2BinStr(-1, 4), "1111");
  EXPECT_EQ(ch.BinToDec("0101"), 5);
  EXPECT_EQ(ch.BinToDec("1" + std::string(31, '0')), -2147483647 - 1);
  ExpectError(ErrInvalidArgument, [&] { ch.BinToDec("012"); });
  ExpectError(ErrInvalidArgument, [&] { ch.Num2BinStr(1, -1); });
}

// A band the generated channels are tuned in: reference (kHz), IF (kHz), model text.
struct Band {
  float reference;
  float intermediate;
  const char* model;
  int injectionSign;
};

TEST(clsChannel, GeneratedChannelsRoundTrip) {
  const Band bands[] = {{6.25f, 21400, "VHF High", 1},
                        {5.0f, 45000, "VHF Low", 1},
                        {12.5f, 21400, "UHF Low", -1},
                        {2.5f, 10700, "uhf high", -1},
                        {6.25f, 45050, "Model U-UHF", -1}};
  std::mt19937 rng(20261206);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  for (int i = 0; i < 2000; ++i) {
    const Band& band = bands[pick(0, 4)];
    const std::string prescaler = pick(0, 1) ? "64/65" : "128/129";
    // Synthesiser words that fit the field, are not the erased patterns and give a positive
    // frequency below the 32-bit range.
    const int fieldMax = prescaler == "64/65" ? (1 << 18) - 2 : (1 << 19) - 2;
    const int lowest = static_cast<int>(band.intermediate / band.reference) + 100;
    const int highest =
        std::min(fieldMax, static_cast<int>((2.0e6 - band.intermediate) / band.reference));
    const auto tuned = [&](int n) {
      return (static_cast<double>(band.reference) * n - band.injectionSign * band.intermediate) *
             1000;
    };
    const auto word = [&] {
      const int n = pick(lowest, highest);
      return n == (1 << 18) - 1 ? n - 1 : n;  // "0" and eighteen ones reads as erased
    };

    clsChannel ch;
    ch.ModelName = band.model;
    ch.PLLReferenceFreq = band.reference;
    ch.RxIF = band.intermediate;
    ch.TxIF = band.intermediate;
    ch.Prescaler = prescaler;
    const int rxN = word();
    const int txN = word();
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
    EXPECT_EQ(ch.TxSynthesizerData, txN);
    // The in-use flags and synthesiser fields (bits 13-32 and 45-64) plus the checksum
    // nibble sum to a multiple of 16.
    const std::string bits = HexToBinStr(ch.ChannelData);
    int nibbles = ch.CheckSum;
    for (int first : {13, 17, 21, 25, 29, 45, 49, 53, 57, 61}) {
      nibbles += BinToDec(bits.substr(static_cast<std::size_t>(first - 1), 4));
    }
    EXPECT_EQ(nibbles % 16, 0);

    clsChannel back;
    back.ModelName = ch.ModelName;
    back.PLLReferenceFreq = ch.PLLReferenceFreq;
    back.RxIF = ch.RxIF;
    back.TxIF = ch.TxIF;
    back.Prescaler = ch.Prescaler;
    back.ChannelData = ch.ChannelData;
    back.BreakChannelData();
    SCOPED_TRACE(ch.ChannelData);

    if (rxOn) {
      EXPECT_EQ(back.RxFrequency, ch.RxFrequency);
      EXPECT_EQ(back.RxSynthesizerData, rxN);
      EXPECT_EQ(back.RxSignalling, ch.RxSignalling);
      if (ch.RxSignalling == 0) {
        EXPECT_EQ(back.RxCTCSSCode, ch.RxCTCSSCode);
      }
      if (ch.RxSignalling == 1) {
        EXPECT_EQ(back.RxSignalData, ch.RxSignalData);
      }
      EXPECT_EQ(back.RxChannelData, ch.RxChannelData);
    } else {
      // An unused receive half reads as no signalling, not in use, frequency untouched.
      EXPECT_EQ(back.RxFrequency, 0);
      EXPECT_EQ(back.RxSignalling, 3);
      EXPECT_FALSE(back.RxChannelData);
    }
    EXPECT_EQ(back.TxFrequency, ch.TxFrequency);
    EXPECT_EQ(back.TxSynthesizerData, txN);
    EXPECT_EQ(back.TxSignalling, ch.TxSignalling);
    if (ch.TxSignalling == 0) {
      EXPECT_EQ(back.TxCTCSSCode, ch.TxCTCSSCode);
    }
    if (ch.TxSignalling == 1) {
      EXPECT_EQ(back.TxSignalData, ch.TxSignalData);
    }
    EXPECT_EQ(back.TxChannelData, ch.TxChannelData);
    EXPECT_EQ(back.TxPowerControl, ch.TxPowerControl);
    EXPECT_EQ(back.Scrambler, ch.Scrambler);
    EXPECT_EQ(back.GroupA, ch.GroupA);
    EXPECT_EQ(back.GroupB, ch.GroupB);
    EXPECT_EQ(back.AuxData, ch.AuxData);

    // The checksum is not read back, but encoding the decoded channel recomputes it and gives
    // the same record, character for character.
    back.CreateChannelData();
    EXPECT_EQ(back.ChannelData, ch.ChannelData);
    EXPECT_EQ(back.CheckSum, ch.CheckSum);
  }
}

}  // namespace
}  // namespace tallisk
