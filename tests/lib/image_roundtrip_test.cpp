// Whole programming images: every block built from settings, assembled, split again and read
// back. The per-class tests check each field; these check that every block lands where the
// radio expects it and comes back to the object it came from.

#include <gtest/gtest.h>

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

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Coin() { return Pick(0, 1) == 1; }
  std::string Hex(std::size_t digits) {
    std::string s(digits, '0');
    for (char& c : s) c = "0123456789ABCDEF"[Pick(0, 15)];
    return s;
  }
  std::string Text(const std::string& alphabet, int maxLength) {
    std::string s(static_cast<std::size_t>(Pick(0, maxLength)), ' ');
    for (char& c : s) c = alphabet[static_cast<std::size_t>(Pick(0, int(alphabet.size()) - 1))];
    return s;
  }

 private:
  std::mt19937 rng_;
};

// --- QVR ---

struct QvrBand {
  std::string modelName;
  float reference;  // kHz
  float intermediate;
  std::string prescaler;
};

void ApplyBand(const QvrBand& band, clsChannel& ch) {
  ch.ModelName = band.modelName;
  ch.PLLReferenceFreq = band.reference;
  ch.RxIF = ch.TxIF = band.intermediate;
  ch.Prescaler = band.prescaler;
}

clsChannel QvrChannel(Generator& g, const QvrBand& band) {
  clsChannel ch;
  ApplyBand(band, ch);
  if (g.Pick(0, 5) == 0) return ch;  // unused channel
  const int sign = band.modelName[0] == 'U' || band.modelName[0] == 'u' ? -1 : 1;
  const auto tuned = [&](int lo, int hi) {
    return (band.reference * g.Pick(lo, hi) - sign * band.intermediate) * 1000.0;
  };
  const int centre = static_cast<int>((150000 + sign * band.intermediate) / band.reference);
  ch.RxFrequency = g.Pick(0, 7) == 0 ? 0 : tuned(centre - 2000, centre + 2000);
  // A receive-only channel as the channel page stores it: an empty transmit text is 0 Hz.
  const bool receiveOnly = g.Pick(0, 7) == 0;
  ch.TxFrequency = receiveOnly ? 0 : tuned(centre - 2000, centre + 2000);
  const int kinds[] = {0, 1, 3};
  ch.RxSignalling = kinds[g.Pick(0, 2)];
  ch.TxSignalling = kinds[g.Pick(0, 2)];
  ch.RxCTCSSCode = static_cast<std::uint8_t>(g.Pick(0, 63));
  ch.TxCTCSSCode = static_cast<std::uint8_t>(g.Pick(0, 63));
  ch.RxSignalData = static_cast<std::int16_t>(g.Pick(-511, 511));
  ch.TxSignalData = static_cast<std::int16_t>(g.Pick(-511, 511));
  ch.RxChannelData = g.Coin();
  ch.TxChannelData = g.Coin();
  ch.TxPowerControl = g.Pick(0, 1);
  ch.Scrambler = g.Coin();
  ch.GroupA = g.Coin();
  ch.GroupB = g.Coin();
  ch.AuxData = g.Text("01", 8);
  ch.AuxData = (ch.AuxData + "10101010").substr(0, 8);
  return ch;
}

// What a read gives back of a channel: the code of the signalling in use, and each half only
// when the record holds it.
auto QvrSettings(const clsChannel& c, const std::string& record) {
  const auto code = [](std::int32_t kind, int tone, int data) {
    return kind == 0 ? tone : kind == 1 ? data : -1000;
  };
  const bool rx = record.substr(0, 8) != "FFFFFFFF";
  const bool tx = record.substr(8, 8) != "FFFFFFFF";
  return std::make_tuple(rx ? c.RxFrequency : 0.0, rx ? c.RxSignalling : -1,
                         rx ? code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData) : 0,
                         rx && c.RxChannelData, tx ? c.TxFrequency : 0.0, tx ? c.TxSignalling : -1,
                         tx ? code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData) : 0,
                         tx && c.TxChannelData, rx || tx ? c.TxPowerControl : 1,
                         (rx || tx) && c.Scrambler, (rx || tx) && c.GroupA, (rx || tx) && c.GroupB,
                         rx || tx ? c.AuxData : "11111111");
}

auto QvrHeaderSettings(const clsRadioHeader& h) {
  return std::make_tuple(
      h.SerialNumber, h.CustomerNumber, h.DateRadio, h.Model, h.ChannelSwitchType, h.IntervalATime,
      h.IntervalBTime, h.HoldTimeAfterRx, h.HoldTimeAfterTx, h.TxDelayTime, h.ScanListClear,
      h.ScanHoldConditions, h.ScanMethod, h.ChannelRollOver, h.PriorityCnlMonitorCycle,
      h.LoopSwitchTimer, h.AuxKeyType, h.PriorityCnlMonitorTime, h.BeepA, h.BeepB, h.BeepC, h.BeepD,
      h.BusyChannelLockOut, h.TxTimeOutTimer, h.OffHookScanStop, h.CTCSSRiseTime, h.CTCSSFallTime,
      h.CDCSSFallTime, h.ChatteringCount, h.Priority2Channel, h.CDCSSFallErrCount);
}

clsRadioHeader QvrHeader(Generator& g, int model) {
  clsRadioHeader h;
  h.SerialNumber = g.Text("0123456789ABCDE", 8);
  h.CustomerNumber = g.Text("0123456789ABCDE", 10);
  h.DateRadio = Date(1930 + g.Pick(0, 99), g.Pick(1, 12), g.Pick(1, 28));
  h.Model = model;
  // The band's identification bytes, in the form a read gives them back.
  h.Address0x0D = "0x" + g.Hex(2);
  h.Address0x0F = "0x" + g.Hex(2);
  h.Address0x10 = "0x" + g.Hex(2);
  h.Address0x15 = "0x" + g.Hex(2);
  h.Address0x17 = "0x" + g.Hex(2);
  h.Address0x14 = "XX" + std::string(g.Coin() ? "1" : "0") + "0XX" + (g.Coin() ? "11" : "01");
  h.Address0x16 = "XXXXXX" + std::string(g.Coin() ? "10" : "00");
  h.ChannelSwitchType = g.Pick(0, 3);
  h.IntervalATime = static_cast<std::uint8_t>(g.Pick(0, 7));
  h.IntervalBTime = static_cast<std::uint8_t>(g.Pick(0, 7));
  h.HoldTimeAfterRx = g.Pick(0, 3);
  h.HoldTimeAfterTx = g.Pick(0, 3);
  h.TxDelayTime = static_cast<std::uint8_t>(g.Pick(0, 7));
  h.ScanListClear = g.Pick(0, 3);
  h.ScanHoldConditions = g.Pick(0, 3);
  h.ScanMethod = g.Pick(0, 3);
  h.ChannelRollOver = g.Coin();
  h.PriorityCnlMonitorCycle = g.Pick(0, 1);
  h.LoopSwitchTimer = static_cast<std::uint8_t>(g.Pick(0, 3));
  h.AuxKeyType = g.Pick(0, 3);
  h.PriorityCnlMonitorTime = g.Pick(0, 3);
  h.BeepA = g.Coin();
  h.BeepB = g.Coin();
  h.BeepC = g.Coin();
  h.BeepD = g.Coin();
  h.BusyChannelLockOut = g.Pick(0, 3);
  h.TxTimeOutTimer = g.Pick(0, 7);
  h.OffHookScanStop = g.Coin();
  h.CTCSSRiseTime = static_cast<std::uint8_t>(g.Pick(0, 15));
  h.CTCSSFallTime = static_cast<std::uint8_t>(g.Pick(0, 15));
  h.CDCSSFallTime = static_cast<std::uint8_t>(g.Pick(0, 15));
  h.ChatteringCount = static_cast<std::uint8_t>(g.Pick(0, 15));
  h.Priority2Channel = g.Coin();
  h.CDCSSFallErrCount = static_cast<std::uint8_t>(g.Pick(0, 15));
  return h;
}

TEST(ImageRoundTrip, QvrImagesOf16And8Channels) {
  Generator g(19);
  const QvrBand bands[] = {{"VHF 148-174 MHz 16 ch", 6.25f, 21400, "128/129"},
                           {"VHF 136-150 MHz 16 ch", 5.0f, 21400, "64/65"},
                           {"UHF 450-470 MHz 16 ch", 12.5f, 21400, "64/65"},
                           {"uhf 403-430 MHz 8 ch", 6.25f, 21400, "32/33"}};
  for (int round = 0; round < 200; ++round) {
    const QvrBand& band = bands[g.Pick(0, 3)];
    const int channels = g.Coin() ? 16 : 8;
    clsRadioHeader header = QvrHeader(g, g.Pick(0, 18));
    ASSERT_TRUE(header.CreateRadioHeader());
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    std::vector<clsChannel> sent;
    for (int n = 0; n < channels; ++n) {
      sent.push_back(QvrChannel(g, band));
      sent.back().CreateChannelData();
      creator.colChannelData.Add(sent.back().ChannelData);
    }
    creator.CreateString();
    const std::string lines = creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
    // 34 + 10 n bytes, in lines of 8 bytes with the last one padded with FF.
    const std::size_t lineCount = (34 + 10 * channels + 7) / 8;
    ASSERT_EQ(lines.size(), 28 * lineCount);
    EXPECT_TRUE(creator.ProgrammingStringPart1.empty());  // a QVR image stays below 0100

    clsStringCreator splitter;
    splitter.EntireString = lines;
    splitter.BreakUpString();
    EXPECT_EQ(splitter.RadioHeader, header.RadioHeader);
    // The channel records, then the filler of the last line as one short item.
    ASSERT_EQ(splitter.colChannelData.Count(), channels + 1);
    EXPECT_EQ(splitter.colChannelData.Item(channels + 1), std::string(12, 'F'));

    clsRadioHeader readHeader;
    readHeader.RadioHeader = splitter.RadioHeader;
    EXPECT_TRUE(readHeader.BreakUpRadioHeader());
    EXPECT_EQ(QvrHeaderSettings(readHeader), QvrHeaderSettings(header));

    clsStringCreator again;
    ASSERT_TRUE(readHeader.CreateRadioHeader());
    again.RadioHeader = readHeader.RadioHeader;
    for (int n = 1; n <= channels; ++n) {
      clsChannel ch;
      ApplyBand(band, ch);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelData();
      const clsChannel& original = sent[static_cast<std::size_t>(n - 1)];
      EXPECT_EQ(QvrSettings(ch, original.ChannelData), QvrSettings(original, original.ChannelData))
          << "channel " << n << " " << ch.ChannelData;
      ch.CreateChannelData();
      again.colChannelData.Add(ch.ChannelData);
    }
    again.CreateString();
    EXPECT_EQ(again.ProgrammingStringPart1 + again.ProgrammingStringPart2, lines);
  }
}

TEST(ImageRoundTrip, QvrBlankTransmitHalfIsNotCarriedBack) {
  // A transmit half written blank (a negative frequency) reads back as 0 Hz and not in use;
  // writing that again programs a 0 Hz half whose in-use flag stays off. The radio ignores
  // it, but the bytes differ from the blank half.
  const QvrBand band{"VHF 148-174 MHz 16 ch", 6.25f, 21400, "128/129"};
  clsChannel ch;
  ApplyBand(band, ch);
  ch.RxFrequency = 150012500;
  ch.RxSignalling = 3;
  ch.TxFrequency = -1;
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData.substr(8, 8), "FFFFFFFF");

  clsChannel back;
  ApplyBand(band, back);
  back.ChannelData = ch.ChannelData;
  back.BreakChannelData();
  EXPECT_EQ(back.TxFrequency, 0);
  EXPECT_FALSE(back.TxChannelData);
  back.CreateChannelData();
  EXPECT_EQ(back.ChannelData.substr(0, 8), ch.ChannelData.substr(0, 8));
  EXPECT_NE(back.ChannelData.substr(8, 8), "FFFFFFFF");
  EXPECT_EQ(HexToBinStr(back.ChannelData)[44], '1');  // the in-use flag stays off
}

TEST(ImageRoundTrip, QvrZeroHzTransmitHalf) {
  // 0 Hz is written as a synthesiser word like any frequency, and below the IF that word
  // (IF / reference) reads back as 0 Hz. Above the IF (UHF) the word would be negative and
  // read back far outside any band, so the half is written erased and reads back as 0 Hz.
  for (const QvrBand& band : {QvrBand{"VHF 148-174 MHz", 6.25f, 21400, "128/129"},
                              QvrBand{"UHF 450-470 MHz", 12.5f, 21400, "128/129"}}) {
    const bool uhf = band.modelName[0] == 'U';
    clsChannel ch;
    ApplyBand(band, ch);
    ch.RxFrequency = uhf ? 460012500 : 150012500;
    ch.RxSignalling = 3;
    ch.TxFrequency = 0;
    ch.CreateChannelData();
    EXPECT_EQ(ch.ChannelData.substr(8, 8) == "FFFFFFFF", uhf) << ch.ChannelData;
    EXPECT_EQ(ch.TxSynthesizerData, uhf ? 0 : 3424);

    clsChannel back;
    ApplyBand(band, back);
    back.ChannelData = ch.ChannelData;
    back.BreakChannelData();
    EXPECT_EQ(back.TxFrequency, 0);
    EXPECT_EQ(back.TxChannelData, !uhf);
    back.CreateChannelData();
    EXPECT_EQ(back.ChannelData, ch.ChannelData) << band.modelName;
  }
}

// --- KM2 ---

clsChannel Km2Band(bool specialRadio) {
  clsChannel ch;
  ch.ModelName = "52-9233B";
  ch.PLLReferenceFreq = 12.5f;
  ch.RxIF = ch.TxIF = 214000;  // units of 100 Hz
  ch.prsclKM2 = 1;
  ch.SpecialRadio = specialRadio;
  return ch;
}

clsChannel Km2Channel(Generator& g, bool specialRadio) {
  clsChannel ch = Km2Band(specialRadio);
  if (g.Pick(0, 9) == 0) {
    ch.ChannelData = std::string(32, 'F');
    ch.BreakChannelDataKM2();  // an unused channel, as a read leaves it
    return ch;
  }
  const auto tuned = [&] { return 12500.0 * g.Pick(13000, 15000) - 214000 * 100.0; };
  ch.ChannelName = g.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 6);
  ch.ChannelName = ch.ChannelName.empty() ? "" : (ch.ChannelName + "      ").substr(0, 6);
  ch.SubsignalingType = g.Pick(0, 3);
  ch.RFPower = g.Coin();
  ch.Scrambler = !specialRadio && g.Coin();
  const int kinds[] = {0, 1, 3};
  ch.RxFrequency = tuned();
  ch.RxSignalling = kinds[g.Pick(0, 2)];
  ch.RxCTCSSCode = static_cast<std::uint8_t>(g.Pick(1, 50));
  ch.RxSignalData = static_cast<std::int16_t>(g.Pick(-511, 511));
  const bool tx = g.Pick(0, 4) != 0;
  ch.TxFrequency = tx ? tuned() : 0;
  ch.TxChannelData = tx;  // a blank transmit half, as a read leaves it
  ch.TxSignalling = tx ? kinds[g.Pick(0, 2)] : 3;
  ch.TxCTCSSCode = static_cast<std::uint8_t>(g.Pick(1, 50));
  ch.TxSignalData = static_cast<std::int16_t>(g.Pick(-511, 511));
  ch.PTTBurstToneEnable = g.Coin();
  ch.TranspondToneEnable = g.Coin();
  ch.BurstDuration = ch.PTTBurstToneEnable || ch.TranspondToneEnable
                         ? static_cast<float>(100 * g.Pick(1, 32))
                         : 3200.0f;
  ch.BurstFrequency = ch.PTTBurstToneEnable || ch.TranspondToneEnable
                          ? static_cast<float>(62500.0 / (g.Pick(19, 89) + 1))
                          : 694.4f;
  return ch;
}

auto Km2Settings(const clsChannel& c) {
  const auto code = [](std::int32_t kind, int tone, int data) {
    return kind == 0 ? tone : kind == 1 ? data : -1000;
  };
  return std::make_tuple(c.ChannelName, c.RxFrequency, c.RxSignalling,
                         code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.TxFrequency,
                         c.TxSignalling, code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData),
                         c.SubsignalingType, c.RFPower, c.Scrambler, c.PTTBurstToneEnable,
                         c.TranspondToneEnable, c.BurstDuration, c.BurstFrequency);
}

auto GroupSettings(const clsGroup& g) {
  return std::make_tuple(g.GroupName, g.PriorityChannel1, g.PriorityChannel2, g.BusyChannelLockOut,
                         g.TimeOutTimer, g.IntervalA, g.IntervalBDCS, g.IntervalBCTCSS,
                         g.RXScanHold, g.TXScanHold, g.ScanHoldingEvents, g.TXOnPriorityChannel,
                         g.DeleteChTableClear, g.DTMF2805IDNumber, g.EnablePTTANI,
                         g.EnableANITranspond, g.EnableANIOnMONButton);
}

clsGroup Km2Group(Generator& g) {
  clsGroup group;
  group.GroupName = g.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 3);
  group.GroupName = (group.GroupName + "   ").substr(0, 3);
  group.PriorityChannel1 = static_cast<std::int16_t>(g.Pick(0, 320));
  group.PriorityChannel2 = static_cast<std::int16_t>(g.Pick(0, 320));
  group.BusyChannelLockOut = g.Pick(0, 3);
  group.TimeOutTimer = static_cast<float>(g.Pick(1, 255)) / 2;
  group.IntervalA = static_cast<std::int16_t>(g.Pick(3, 64));
  group.IntervalBDCS = static_cast<std::int16_t>(g.Pick(0, 15));
  group.IntervalBCTCSS = static_cast<std::int16_t>(g.Pick(0, 15));
  // 0 s does not fit the field (it is stored as hold x 2 - 1); the page offers 0.5 s up.
  group.RXScanHold = static_cast<float>(g.Pick(1, 15)) / 2;
  group.TXScanHold = static_cast<float>(g.Pick(1, 15)) / 2;
  group.ScanHoldingEvents = g.Pick(0, 3);
  group.TXOnPriorityChannel = g.Coin();
  group.DeleteChTableClear = g.Pick(0, 3);
  group.DTMF2805IDNumber = g.Text("0123456789ABCD*#", 10);
  group.EnablePTTANI = g.Coin();
  group.EnableANITranspond = g.Coin();
  group.EnableANIOnMONButton = g.Coin();
  return group;
}

TEST(ImageRoundTrip, Km2ImageOf320ChannelsAnd16Groups) {
  Generator g(2026);
  for (int round = 0; round < 10; ++round) {
    const bool special = g.Coin();
    clsRadioHeader header;
    // Only a D model carries the special-radio mark.
    header.ModelName = special ? "52-9233BD" : "52-9233B";
    header.IFRx = 214000;
    header.IFTx = 214000;
    header.PLLReferenceFreq = 12.5f;
    header.SpecialRadio = special;
    header.SerialNumber = g.Text("0123456789", 8);
    header.DateRadio = Date(2000 + g.Pick(0, 29), g.Pick(1, 12), g.Pick(1, 28));
    header.DefaultKM2 = g.Hex(32);
    header.KM2Tail = g.Hex(3654);
    ASSERT_TRUE(header.CreateRadioHeaderKM2());

    std::vector<clsChannel> channels;
    std::vector<clsGroup> groups;
    std::vector<clsChannelGroup> table;
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 1; n <= 320; ++n) {
      channels.push_back(Km2Channel(g, special));
      channels.back().CreateChannelDataKM2();
      creator.colChannelData.Add(channels.back().ChannelData);
      creator.colChannelCheckSum.Add(channels.back().CheckSumKM2);
      clsChannelGroup entry;
      entry.Programmed = g.Pick(0, 4) != 0;
      entry.ChannelNumber = static_cast<std::int16_t>(entry.Programmed ? n : 0);
      entry.GroupNumber = static_cast<std::int16_t>(entry.Programmed ? g.Pick(1, 16) : 0);
      entry.CreateChannelGroup();
      table.push_back(entry);
      creator.colChannelGroup.Add(entry.ChannelGroupStr);
    }
    for (int k = 1; k <= 16; ++k) {
      groups.push_back(Km2Group(g));
      groups.back().CreateGroupData();
      creator.colGroupData.Add(groups.back().GroupData);
    }
    ASSERT_TRUE(creator.CreateStringKM2());
    const std::string image = creator.ProgrammingStringPart1;
    ASSERT_EQ(image.size(), 16384u);
    EXPECT_EQ(image.substr(16376), "FFFEFFFF");
    // The channel checksums sit after the settings block, one byte per channel.
    EXPECT_EQ(Address(image, 0x1EBC + 41, 2), channels[41].CheckSumKM2);

    clsStringCreator splitter;
    splitter.EntireString = image;
    splitter.BreakUpStringKM2();
    ASSERT_EQ(splitter.colChannelData.Count(), 320);
    ASSERT_EQ(splitter.colGroupData.Count(), 16);
    ASSERT_EQ(splitter.colChannelGroup.Count(), 320);

    clsRadioHeader readHeader;
    readHeader.RadioHeader = splitter.RadioHeader;
    ASSERT_TRUE(readHeader.BreakUpRadioHeaderKM2());
    EXPECT_EQ(readHeader.SerialNumber, header.SerialNumber);
    EXPECT_EQ(readHeader.DateRadio, header.DateRadio);
    // The tail is carried from the image: everything from 18DD to the end, patches included.
    EXPECT_EQ(readHeader.KM2Tail, Address(image, 0x18DD, 3654));
    EXPECT_EQ(readHeader.SpecialRadio, header.SpecialRadio);

    clsStringCreator again;
    for (int n = 1; n <= 320; ++n) {
      clsChannel ch = Km2Band(special);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelDataKM2();
      const clsChannel& sent = channels[static_cast<std::size_t>(n - 1)];
      EXPECT_EQ(Km2Settings(ch), Km2Settings(sent)) << "channel " << n;
      ch.CreateChannelDataKM2();
      again.colChannelData.Add(ch.ChannelData);
      again.colChannelCheckSum.Add(ch.CheckSumKM2);

      clsChannelGroup entry;
      entry.ChannelGroupStr = splitter.colChannelGroup.Item(n);
      entry.BreakChannelGroup();
      const clsChannelGroup& sentEntry = table[static_cast<std::size_t>(n - 1)];
      EXPECT_EQ(std::tie(entry.Programmed, entry.ChannelNumber, entry.GroupNumber),
                std::tie(sentEntry.Programmed, sentEntry.ChannelNumber, sentEntry.GroupNumber))
          << "entry " << n;
      entry.CreateChannelGroup();
      again.colChannelGroup.Add(entry.ChannelGroupStr);
    }
    for (int k = 1; k <= 16; ++k) {
      clsGroup group;
      group.GroupData = splitter.colGroupData.Item(k);
      group.BreakGroupData();
      EXPECT_EQ(GroupSettings(group), GroupSettings(groups[static_cast<std::size_t>(k - 1)]))
          << "group " << k;
      group.CreateGroupData();
      again.colGroupData.Add(group.GroupData);
    }
    ASSERT_TRUE(readHeader.CreateRadioHeaderKM2());
    again.RadioHeader = readHeader.RadioHeader;
    ASSERT_TRUE(again.CreateStringKM2());
    EXPECT_EQ(again.ProgrammingStringPart1, image);
  }
}

}  // namespace
}  // namespace tallisk
