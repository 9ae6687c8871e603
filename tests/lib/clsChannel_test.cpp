#include "tallisk/clsChannel.h"

#include <gtest/gtest.h>

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
clsChannel Worked() {
  clsChannel ch = Band();
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
  // Transmit 0 Hz is a real word, N = IF / reference, unless "uhf" would make it negative.
  ch = Worked();
  ch.TxFrequency = 0;
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch.ChannelData, 46, 19), Num2BinStr(3424, 19));
  ch.ModelName = "UHF";
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData.substr(8, 8), "FFFFFFFF");

  // 64/65: the synthesiser field puts an extra 0 before the low six bits (M = 428, A = 34).
  ch = Worked();
  ch.Prescaler = "64/65";
  ch.CreateChannelData();
  EXPECT_EQ(Bits(ch.ChannelData, 14, 19), "0001101011000100010");
  EXPECT_EQ(Read(Band("64/65"), ch.ChannelData).RxFrequency, 150012500);
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
  // "uhf" in any letter case injects below the channel.
  for (const char* model : {"uhf", "Model uHf-2", "U H F"}) {
    ch = Worked();
    ch.ModelName = model;
    ch.RxFrequency = 450012500;
    ch.CreateChannelData();
    const bool uhf = std::string(model) != "U H F";
    EXPECT_EQ(ch.RxSynthesizerData, uhf ? 68578 : 75426) << model;  // (450012 -/+ 21400) / 6.25
    EXPECT_EQ(Read(Band("128/129", model), ch.ChannelData).RxFrequency, 450012500) << model;
  }
}

TEST(clsChannel, RefusedChannelKeepsItsRecord) {
  using Edit = void (*)(clsChannel&);
  const std::pair<Edit, int> cases[] = {
      {[](clsChannel& c) { c.PLLReferenceFreq = 0; }, ErrDivisionByZero},
      {[](clsChannel& c) { c.PLLReferenceFreq = 0, c.RxFrequency = 0; }, ErrDivisionByZero},
      {[](clsChannel& c) { c.TxFrequency = 3e9; }, ErrOverflow},
      {[](clsChannel& c) { c.AuxData = "1111x111"; }, ErrInvalidArgument}};
  for (const auto& [edit, error] : cases) {
    clsChannel ch = Worked();
    edit(ch);
    ch.ChannelData = "previous";
    ch.CheckSum = 3;
    ch.RxSynthesizerData = 11;
    int thrown = 0;
    try {
      ch.CreateChannelData();
    } catch (const TalliskError& e) {
      thrown = e.Number();
    }
    EXPECT_EQ(std::tie(thrown, ch.ChannelData, ch.CheckSum, ch.RxSynthesizerData),
              std::make_tuple(error, std::string("previous"), std::uint8_t{3}, 11));
  }
}

}  // namespace
}  // namespace tallisk
