// The channel records worked by hand, with their edge cases, and whole programming images
// built from generated settings over every band and layout, assembled, split again and read
// back. The hand-worked records pin each field's place and code; the images check that every
// block lands where the radio expects it, comes back to the object it came from, and encodes
// to the same image.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "LibTestSupport.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

using testing::Code;
using testing::ErrorOf;
using H = clsRadioHeader;

std::string Bits(const std::string& record, std::size_t first, std::size_t width) {
  return HexToBinStr(record).substr(first - 1, width);
}

struct Generator {
  std::mt19937 rng;
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool Coin() { return Pick(0, 1) == 1; }
  std::string Text(const std::string& alphabet, int maxLength) {
    std::string s(static_cast<std::size_t>(Pick(0, maxLength)), ' ');
    for (char& c : s) c = alphabet[static_cast<std::size_t>(Pick(0, int(alphabet.size()) - 1))];
    return s;
  }
};

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

// The whole QVR image.

struct QvrBand {
  std::string modelName;
  float reference, intermediate;
  std::string prescaler;
  int sign;  // +1 injects above the channel, -1 ("uhf" in the name) below
};

clsChannel QvrChannel(const QvrBand& band) {
  return Band(band.prescaler, band.modelName, band.reference, band.intermediate);
}

clsChannel RandomQvrChannel(Generator& g, const QvrBand& band) {
  clsChannel ch = QvrChannel(band);
  if (g.Pick(0, 5) == 0) return ch;  // unused channel
  // Anywhere the field holds up to 2 GHz, short of the words that read as erased: nineteen
  // ones, and "0" with eighteen ones.
  const int widest = band.prescaler == "64/65" ? (1 << 18) - 2 : (1 << 19) - 2;
  const int lowest = static_cast<int>(band.intermediate / band.reference) + 100;
  const int highest = std::min(widest, static_cast<int>(2.0e6 / band.reference) - 20000);
  const auto tuned = [&] {
    const int n = g.Pick(lowest, highest);
    return (double(band.reference) * (n == (1 << 18) - 1 ? n - 1 : n) -
            band.sign * band.intermediate) *
           1000.0;
  };
  // A receive-only channel as the channel page stores it: an empty transmit text is 0 Hz.
  std::tie(ch.RxFrequency, ch.TxFrequency) =
      std::tuple{g.Pick(0, 7) ? tuned() : 0.0, g.Pick(0, 7) ? tuned() : 0.0};
  const int kinds[] = {0, 1, 3};
  std::tie(ch.RxSignalling, ch.TxSignalling, ch.TxPowerControl) =
      std::tuple{kinds[g.Pick(0, 2)], kinds[g.Pick(0, 2)], g.Pick(0, 1)};
  std::tie(ch.RxCTCSSCode, ch.TxCTCSSCode, ch.RxSignalData, ch.TxSignalData) =
      std::tuple{g.Pick(0, 63), g.Pick(0, 63), g.Pick(-511, 511), g.Pick(-511, 511)};
  std::tie(ch.RxChannelData, ch.TxChannelData, ch.Scrambler, ch.GroupA, ch.GroupB) =
      std::tuple{g.Coin(), g.Coin(), g.Coin(), g.Coin(), g.Coin()};
  ch.AuxData = Num2BinStr(g.Pick(0, 255), 8);
  return ch;
}

// What a read gives back of a channel: each half only when the record holds it.
auto QvrSettings(const clsChannel& c, const std::string& record) {
  const bool rx = record.substr(0, 8) != "FFFFFFFF";
  const bool tx = record.substr(8, 8) != "FFFFFFFF";
  const bool any = rx || tx;
  return std::make_tuple(rx ? c.RxFrequency : 0.0, rx ? c.RxSignalling : -1,
                         rx ? Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData) : 0,
                         rx && c.RxChannelData, tx ? c.TxFrequency : 0.0, tx ? c.TxSignalling : -1,
                         tx ? Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData) : 0,
                         tx && c.TxChannelData, any ? c.TxPowerControl : 1, any && c.Scrambler,
                         any && c.GroupA, any && c.GroupB, any ? c.AuxData : "11111111");
}

TEST(ImageRoundTrip, QvrImagesOf16And8Channels) {
  Generator g{std::mt19937(19)};
  const QvrBand bands[] = {{"VHF 148-174 MHz", 6.25f, 21400, "128/129", 1},
                           {"VHF 136-150 MHz", 5.0f, 45000, "64/65", 1},
                           {"UHF 450-470 MHz", 12.5f, 21400, "128/129", -1},
                           {"uhf 403-430 MHz", 2.5f, 10700, "64/65", -1},
                           {"Uhf 470-490 MHz", 6.25f, 21400, "32/33", -1}};
  for (int round = 0; round < 60; ++round) {
    const QvrBand& band = bands[g.Pick(0, 4)];
    const int channels = g.Coin() ? 16 : 8;
    // The header's fields are worked by hand in the header tests; here it has only to lead
    // the image and come back whole.
    H header;
    header.SerialNumber = g.Text("0123456789ABCDE", 8);
    header.DateRadio = Date(1930 + g.Pick(0, 99), g.Pick(1, 12), g.Pick(1, 28));
    ASSERT_TRUE(header.CreateRadioHeader());

    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    std::vector<clsChannel> sent;
    for (int n = 0; n < channels; ++n) {
      sent.push_back(RandomQvrChannel(g, band));
      sent.back().CreateChannelData();
      creator.colChannelData.Add(sent.back().ChannelData);
    }
    creator.CreateString();
    const std::string lines = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
    // 34 + 10 n bytes in lines of 8, all below 0100, the last line padded with FF.
    ASSERT_EQ(lines.size(), 28u * ((34 + 10 * channels + 7) / 8));
    EXPECT_TRUE(creator.ProgrammingStringPart1.empty());

    clsStringCreator splitter;
    splitter.EntireString = lines;
    splitter.BreakUpString();
    EXPECT_EQ(splitter.RadioHeader, header.RadioHeader);
    // The channel records, then the filler of the last line as one short item.
    ASSERT_EQ(splitter.colChannelData.Count(), channels + 1);
    EXPECT_EQ(splitter.colChannelData.Item(channels + 1), std::string(12, 'F'));

    clsStringCreator again;
    again.RadioHeader = header.RadioHeader;
    for (int n = 1; n <= channels; ++n) {
      const clsChannel& original = sent[static_cast<std::size_t>(n - 1)];
      clsChannel ch = QvrChannel(band);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelData();
      EXPECT_EQ(QvrSettings(ch, original.ChannelData), QvrSettings(original, original.ChannelData))
          << "channel " << n << " " << ch.ChannelData;
      ch.CreateChannelData();
      again.colChannelData.Add(ch.ChannelData);
    }
    again.CreateString();
    EXPECT_EQ(again.ProgrammingStringPart1 + again.ProgrammingStringPart2, lines);
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

// The record holds six characters of a name, padded with blanks.
auto Settings(const clsChannel& c) {
  return std::make_tuple(c.ChannelName.empty() ? "" : (c.ChannelName + "      ").substr(0, 6),
                         c.SubsignalingType, c.Scrambler, c.RFPower, c.RxFrequency, c.RxSignalling,
                         Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.RxChannelData,
                         c.TxFrequency, c.TxSignalling,
                         Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData), c.TxChannelData,
                         c.PTTBurstToneEnable, c.TranspondToneEnable, c.BurstDuration);
}

TEST(clsChannelKM2, WorkedExampleBothWays) {
  clsChannel ch = Worked();
  EXPECT_TRUE(ch.CreateChannelDataKM2());
  EXPECT_EQ(std::tie(ch.ChannelData, ch.CheckSumKM2, ch.CheckSum),
            std::make_tuple(std::string(kWorked), std::string("BF"), std::uint8_t{5}));
  const clsChannel back = Read(Band(), kWorked);
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

// The whole KM2 image.

// A KM2 band's synthesiser layout: the reference, what the radio makes of it (tenths of a kHz)
// and the zeros inserted into the plain field; -1 is the dual-modulus layout, which the radio
// always counts in 2.5 kHz steps.
struct Km2Layout {
  float reference;
  int referenceHz, inserted;
};

clsChannel RandomKm2Channel(Generator& g, const clsChannel& band, const Km2Layout& layout) {
  clsChannel ch = band;
  if (g.Pick(0, 9) == 0) {
    ch.ChannelData = std::string(32, 'F');
    ch.BreakChannelDataKM2();  // an unused channel, as a read leaves it
    return ch;
  }
  // Anywhere the field holds, from just above the IF up.
  const int bits = layout.inserted < 0 ? 18 : 19 - layout.inserted;
  const int lowest = static_cast<int>(band.RxIF * 100.0 / layout.referenceHz) + 2;
  const int highest = std::min((1 << bits) - 1, 2147483647 / layout.referenceHz);
  const auto tuned = [&] {
    return double(layout.referenceHz) * g.Pick(lowest, highest) - band.RxIF * 100.0;
  };
  ch.ChannelName = g.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -#", 7);
  const int kinds[] = {0, 1, 3};
  std::tie(ch.SubsignalingType, ch.RFPower, ch.PTTBurstToneEnable, ch.TranspondToneEnable) =
      std::tuple{g.Pick(0, 3), g.Coin(), g.Coin(), g.Coin()};
  std::tie(ch.RxFrequency, ch.RxSignalling, ch.RxCTCSSCode, ch.RxSignalData) =
      std::tuple{tuned(), kinds[g.Pick(0, 2)], g.Pick(0, 63), g.Pick(-511, 511)};
  // A blank transmit half as a read leaves it.
  std::tie(ch.TxChannelData, ch.TxSignalData) = std::tuple{g.Pick(0, 4) != 0, g.Pick(-511, 511)};
  ch.TxFrequency = ch.TxChannelData ? tuned() : 0;
  ch.TxSignalling = ch.TxChannelData ? kinds[g.Pick(0, 2)] : 3;
  // A special radio's scrambler flag marks its second transmit tone bank, codes 101 up; a
  // read sets the flag for a bank tone.
  const bool bankTone = band.SpecialRadio && ch.TxSignalling == 0 && g.Coin();
  ch.TxCTCSSCode = static_cast<std::uint8_t>(bankTone ? g.Pick(101, 163) : g.Pick(0, 63));
  ch.Scrambler = band.SpecialRadio ? bankTone : g.Coin();
  const bool burst = ch.PTTBurstToneEnable || ch.TranspondToneEnable;
  ch.BurstDuration = burst ? static_cast<float>(100 * g.Pick(1, 32)) : 3200.0f;
  ch.BurstFrequency = burst ? static_cast<float>(62500.0 / (g.Pick(19, 89) + 1)) : 694.4f;
  return ch;
}

TEST(ImageRoundTrip, Km2ImageOf320ChannelsAnd16Groups) {
  // One image for each layout. The header's alternate-prescaler flags stay off: a read
  // sets them from the identification questions, not from the image.
  const Km2Layout layouts[] = {{12.5f, 12500, 0}, {12.5f, 12500, 1}, {6.25f, 6200, 1},
                               {5.0f, 5000, 2},   {25.0f, 25000, 3}, {2.5f, 2500, 4},
                               {2.5f, 2500, -1}};
  const char* models[] = {"52-8994", "52-3712", "52-9233B"};
  const float intermediates[] = {214000, 449000, 0};  // units of 100 Hz
  Generator g{std::mt19937(2026)};
  for (const Km2Layout& layout : layouts) {
    const bool special = g.Coin();
    clsChannel band;
    // Only a D model carries the special-radio mark.
    std::tie(band.ModelName, band.PLLReferenceFreq, band.SpecialRadio) =
        std::tuple{special ? "52-9233BD" : models[g.Pick(0, 2)], layout.reference, special};
    band.RxIF = band.TxIF = intermediates[g.Pick(0, 2)];
    band.prsclKM2 = static_cast<std::int16_t>(std::max(layout.inserted, 0));
    band.AlternatePreScaler = layout.inserted < 0 && g.Coin();
    band.AlternatePreScaler2 = layout.inserted < 0 && !band.AlternatePreScaler;
    H header;
    std::tie(header.ModelName, header.PLLReferenceFreq, header.SpecialRadio) =
        std::tie(band.ModelName, band.PLLReferenceFreq, band.SpecialRadio);
    header.IFRx = header.IFTx = band.RxIF;
    header.SerialNumber = g.Text("0123456789", 8);
    header.DateRadio = Date(2000 + g.Pick(0, 29), g.Pick(1, 12), g.Pick(1, 28));
    header.DefaultKM2 = "007DC123111122223333FFFF44445555";
    header.KM2Tail.clear();
    for (int i = 0; i < 3654; ++i) header.KM2Tail += "0123456789ABCDEF"[g.Pick(0, 15)];
    ASSERT_TRUE(header.CreateRadioHeaderKM2());

    std::vector<clsChannel> channels;
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 1; n <= 320; ++n) {
      channels.push_back(RandomKm2Channel(g, band, layout));
      channels.back().CreateChannelDataKM2();
      creator.colChannelData.Add(channels.back().ChannelData);
      creator.colChannelCheckSum.Add(channels.back().CheckSumKM2);
      // The table's entries are worked by hand in their own tests; here each has only to come
      // back to its own place.
      clsChannelGroup entry;
      entry.Programmed = g.Pick(0, 4) != 0;
      entry.ChannelNumber = static_cast<std::int16_t>(entry.Programmed ? n : 0);
      entry.GroupNumber = static_cast<std::int16_t>(entry.Programmed ? g.Pick(1, 16) : 0);
      entry.CreateChannelGroup();
      creator.colChannelGroup.Add(entry.ChannelGroupStr);
    }
    // The group records' fields are worked by hand in the group tests; here each group has
    // only to come back to its own place.
    for (int k = 1; k <= 16; ++k) {
      clsGroup group;
      group.GroupName = "G" + std::to_string(k);
      group.CreateGroupData();
      creator.colGroupData.Add(group.GroupData);
    }
    ASSERT_TRUE(creator.CreateStringKM2());
    const std::string image = creator.ProgrammingStringPart1;
    ASSERT_EQ(image.size(), 16384u);
    EXPECT_EQ(image.substr(16376), "FFFEFFFF");
    // Each block at its fixed address.
    EXPECT_EQ(Address(image, 5 * 16, 32), channels[5].ChannelData);
    EXPECT_EQ(Address(image, 0x1400 + 2 * 32, 64), creator.colGroupData.Item(3));
    EXPECT_EQ(Address(image, 0x1600 + 319 * 2, 4), creator.colChannelGroup.Item(320));
    EXPECT_EQ(Address(image, 0x1880, 3192), header.RadioHeader);
    EXPECT_EQ(Address(image, 0x1EBC + 41, 2), channels[41].CheckSumKM2);

    clsStringCreator splitter;
    splitter.EntireString = image;
    splitter.BreakUpStringKM2();
    H read;
    read.RadioHeader = splitter.RadioHeader;
    ASSERT_TRUE(read.BreakUpRadioHeaderKM2());
    EXPECT_EQ(std::tie(read.SerialNumber, read.DateRadio, read.SpecialRadio),
              std::tie(header.SerialNumber, header.DateRadio, header.SpecialRadio));
    // The tail is carried from the image: everything from 18DD to the end, patches included.
    EXPECT_EQ(read.KM2Tail, Address(image, 0x18DD, 3654));

    clsStringCreator again;
    for (int n = 1; n <= 320; ++n) {
      clsChannel ch = band;
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelDataKM2();
      const clsChannel& sent = channels[static_cast<std::size_t>(n - 1)];
      EXPECT_EQ(std::tuple(Settings(ch), ch.BurstFrequency),
                std::tuple(Settings(sent), sent.BurstFrequency))
          << "channel " << n;
      ch.CreateChannelDataKM2();
      again.colChannelData.Add(ch.ChannelData);
      again.colChannelCheckSum.Add(ch.CheckSumKM2);
      EXPECT_EQ(splitter.colChannelGroup.Item(n), creator.colChannelGroup.Item(n)) << n;
      again.colChannelGroup.Add(splitter.colChannelGroup.Item(n));
    }
    for (int k = 1; k <= 16; ++k) {
      EXPECT_EQ(splitter.colGroupData.Item(k), creator.colGroupData.Item(k)) << "group " << k;
      again.colGroupData.Add(splitter.colGroupData.Item(k));
    }
    ASSERT_TRUE(read.CreateRadioHeaderKM2());
    again.RadioHeader = read.RadioHeader;
    ASSERT_TRUE(again.CreateStringKM2());
    EXPECT_EQ(again.ProgrammingStringPart1, image);
  }
}

}  // namespace km2

}  // namespace
}  // namespace tallisk
