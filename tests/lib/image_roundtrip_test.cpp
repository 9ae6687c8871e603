// Whole programming images built from generated settings over every band and layout,
// assembled, split again and read back. The per-class tests check hand-worked records and the
// edge cases; these check that every block lands where the radio expects it, comes back to the
// object it came from, and encodes to the same image.

#include <gtest/gtest.h>

#include "LibTestSupport.h"

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

using testing::Code;

using H = clsRadioHeader;

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

// --- QVR ---

struct QvrBand {
  std::string modelName;
  float reference, intermediate;
  std::string prescaler;
  int sign;  // +1 injects above the channel, -1 ("uhf" in the name) below
};

clsChannel QvrChannel(const QvrBand& band) {
  clsChannel ch;
  std::tie(ch.ModelName, ch.PLLReferenceFreq, ch.Prescaler) =
      std::tie(band.modelName, band.reference, band.prescaler);
  ch.RxIF = ch.TxIF = band.intermediate;
  return ch;
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

// --- KM2 ---

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

// The record holds six characters of a name, padded with blanks.
auto Km2Settings(const clsChannel& c) {
  return std::make_tuple(c.ChannelName.empty() ? "" : (c.ChannelName + "      ").substr(0, 6),
                         c.RxFrequency, c.RxSignalling,
                         Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.TxFrequency,
                         c.TxSignalling, Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData),
                         c.SubsignalingType, c.RFPower, c.Scrambler, c.PTTBurstToneEnable,
                         c.TranspondToneEnable, c.BurstDuration, c.BurstFrequency);
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
      EXPECT_EQ(Km2Settings(ch), Km2Settings(channels[static_cast<std::size_t>(n - 1)]))
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

}  // namespace
}  // namespace tallisk
