// Whole programming images: every block built from settings, assembled, split again and read
// back. The per-class tests check each field; these check that every block lands where the
// radio expects it, comes back to the object it came from, and encodes to the same image.

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

// The code of the signalling in use (the other code is not carried).
int Code(std::int32_t kind, int tone, int data) {
  return kind == 0 ? tone : kind == 1 ? data : -1000;
}

// --- QVR ---

struct QvrBand {
  std::string modelName;
  float reference, intermediate;
  std::string prescaler;
  int sign;  // +1 injects above the channel, -1 ("uhf" in the name) below
};

clsChannel QvrChannel(const QvrBand& band) {
  clsChannel ch;
  ch.ModelName = band.modelName;
  ch.PLLReferenceFreq = band.reference;
  ch.RxIF = ch.TxIF = band.intermediate;
  ch.Prescaler = band.prescaler;
  return ch;
}

clsChannel RandomQvrChannel(Generator& g, const QvrBand& band) {
  clsChannel ch = QvrChannel(band);
  if (g.Pick(0, 5) == 0) return ch;  // unused channel
  const int centre = static_cast<int>((150000 + band.sign * band.intermediate) / band.reference);
  const auto tuned = [&] {
    return (band.reference * g.Pick(centre - 2000, centre + 2000) - band.sign * band.intermediate) *
           1000.0;
  };
  ch.RxFrequency = g.Pick(0, 7) == 0 ? 0 : tuned();
  // A receive-only channel as the channel page stores it: an empty transmit text is 0 Hz.
  ch.TxFrequency = g.Pick(0, 7) == 0 ? 0 : tuned();
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
  ch.AuxData = (g.Text("01", 8) + "10101010").substr(0, 8);
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

// The user settings of the QVR block, with the highest value each field holds. The profile
// bytes and the calibration bytes (always written FF) are checked by re-encoding.
const std::pair<std::int32_t H::*, int> kQvrNumbers[] = {{&H::Model, 18},
                                                         {&H::ChannelSwitchType, 3},
                                                         {&H::HoldTimeAfterRx, 3},
                                                         {&H::HoldTimeAfterTx, 3},
                                                         {&H::ScanListClear, 3},
                                                         {&H::ScanHoldConditions, 3},
                                                         {&H::ScanMethod, 3},
                                                         {&H::PriorityCnlMonitorCycle, 1},
                                                         {&H::AuxKeyType, 3},
                                                         {&H::PriorityCnlMonitorTime, 3},
                                                         {&H::BusyChannelLockOut, 3},
                                                         {&H::TxTimeOutTimer, 7}};
const std::pair<std::uint8_t H::*, int> kQvrBytes[] = {
    {&H::IntervalATime, 7},   {&H::IntervalBTime, 7},    {&H::TxDelayTime, 7},
    {&H::LoopSwitchTimer, 3}, {&H::CTCSSRiseTime, 15},   {&H::CTCSSFallTime, 15},
    {&H::CDCSSFallTime, 15},  {&H::ChatteringCount, 15}, {&H::CDCSSFallErrCount, 15}};
bool H::*const kQvrFlags[] = {&H::ChannelRollOver, &H::BeepA, &H::BeepB,
                              &H::BeepC,           &H::BeepD, &H::OffHookScanStop,
                              &H::Priority2Channel};

std::vector<int> QvrHeaderSettings(const H& h) {
  std::vector<int> v = {h.DateRadio.Year(), h.DateRadio.Month(), h.DateRadio.Day()};
  for (auto [m, max] : kQvrNumbers) v.push_back(h.*m);
  for (auto [m, max] : kQvrBytes) v.push_back(h.*m);
  for (auto m : kQvrFlags) v.push_back(h.*m);
  return v;
}

TEST(ImageRoundTrip, QvrImagesOf16And8Channels) {
  Generator g{std::mt19937(19)};
  const QvrBand bands[] = {{"VHF 148-174 MHz", 6.25f, 21400, "128/129", 1},
                           {"VHF 136-150 MHz", 5.0f, 21400, "64/65", 1},
                           {"UHF 450-470 MHz", 12.5f, 21400, "64/65", -1},
                           {"uhf 403-430 MHz", 6.25f, 21400, "32/33", -1}};
  for (int round = 0; round < 100; ++round) {
    const QvrBand& band = bands[g.Pick(0, 3)];
    const int channels = g.Coin() ? 16 : 8;
    H header;
    header.SerialNumber = g.Text("0123456789ABCDE", 8);
    header.CustomerNumber = g.Text("0123456789ABCDE", 10);
    header.DateRadio = Date(1930 + g.Pick(0, 99), g.Pick(1, 12), g.Pick(1, 28));
    header.Address0x0D = "0x4A";
    header.Address0x0F = "0x" + ToHex(static_cast<unsigned>(g.Pick(0, 255)), 2);
    header.Address0x10 = "0x" + ToHex(static_cast<unsigned>(g.Pick(0, 255)), 2);
    header.Address0x15 = "0x" + ToHex(static_cast<unsigned>(g.Pick(0, 255)), 2);
    header.Address0x17 = "0x" + ToHex(static_cast<unsigned>(g.Pick(0, 255)), 2);
    header.Address0x14 =
        std::string("XX") + (g.Coin() ? "11" : "01") + "XX" + (g.Coin() ? "11" : "01");
    header.Address0x16 = std::string("XXXXXX") + (g.Coin() ? "10" : "00");
    for (auto [m, max] : kQvrNumbers) header.*m = g.Pick(0, max);
    for (auto [m, max] : kQvrBytes) header.*m = static_cast<std::uint8_t>(g.Pick(0, max));
    for (auto m : kQvrFlags) header.*m = g.Coin();
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
    H read;
    read.RadioHeader = splitter.RadioHeader;
    EXPECT_TRUE(read.BreakUpRadioHeader());
    EXPECT_EQ(std::tie(read.SerialNumber, read.CustomerNumber),
              std::tie(header.SerialNumber, header.CustomerNumber));
    EXPECT_EQ(QvrHeaderSettings(read), QvrHeaderSettings(header));
    // The channel records, then the filler of the last line as one short item.
    ASSERT_EQ(splitter.colChannelData.Count(), channels + 1);
    EXPECT_EQ(splitter.colChannelData.Item(channels + 1), std::string(12, 'F'));

    clsStringCreator again;
    ASSERT_TRUE(read.CreateRadioHeader());
    again.RadioHeader = read.RadioHeader;
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

TEST(ImageRoundTrip, QvrTransmitHalvesThatAreNotCarriedBack) {
  // A half written blank (a negative frequency) reads back as 0 Hz and not in use; written
  // again, 0 Hz is a synthesiser word (IF / reference) with the in-use flag still off.
  const QvrBand vhf{"VHF 148-174 MHz", 6.25f, 21400, "128/129", 1};
  clsChannel ch = QvrChannel(vhf);
  ch.RxFrequency = 150012500;
  ch.TxFrequency = -1;
  ch.CreateChannelData();
  EXPECT_EQ(ch.ChannelData.substr(8, 8), "FFFFFFFF");
  clsChannel back = QvrChannel(vhf);
  back.ChannelData = ch.ChannelData;
  back.BreakChannelData();
  EXPECT_EQ(std::tie(back.TxFrequency, back.TxChannelData), std::make_tuple(0.0, false));
  back.CreateChannelData();
  EXPECT_EQ(back.ChannelData.substr(0, 8), ch.ChannelData.substr(0, 8));
  EXPECT_EQ(back.TxSynthesizerData, 3424);
  EXPECT_EQ(HexToBinStr(back.ChannelData)[44], '1');  // in-use flag off

  // Injecting below the channel, 0 Hz would need a negative word that reads back far outside
  // any band: the half is written erased instead, and reads back as 0 Hz again.
  clsChannel uhf = QvrChannel({"UHF 450-470 MHz", 12.5f, 21400, "128/129", -1});
  uhf.RxFrequency = 460012500;
  uhf.TxFrequency = 0;
  uhf.CreateChannelData();
  EXPECT_EQ(uhf.ChannelData.substr(8, 8), "FFFFFFFF");
  const std::string record = uhf.ChannelData;
  uhf.BreakChannelData();
  EXPECT_EQ(uhf.TxFrequency, 0);
  uhf.CreateChannelData();
  EXPECT_EQ(uhf.ChannelData, record);
}

// --- KM2 ---

clsChannel Km2Channel(bool specialRadio) {
  clsChannel ch;
  ch.ModelName = specialRadio ? "52-9233BD" : "52-9233B";
  ch.PLLReferenceFreq = 12.5f;
  ch.RxIF = ch.TxIF = 214000;  // units of 100 Hz
  ch.prsclKM2 = 1;
  ch.SpecialRadio = specialRadio;
  return ch;
}

clsChannel RandomKm2Channel(Generator& g, bool specialRadio) {
  clsChannel ch = Km2Channel(specialRadio);
  if (g.Pick(0, 9) == 0) {
    ch.ChannelData = std::string(32, 'F');
    ch.BreakChannelDataKM2();  // an unused channel, as a read leaves it
    return ch;
  }
  const auto tuned = [&] { return 12500.0 * g.Pick(13000, 15000) - 214000 * 100.0; };
  ch.ChannelName = g.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 6);
  if (!ch.ChannelName.empty()) ch.ChannelName.resize(6, ' ');
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
  const bool burst = ch.PTTBurstToneEnable || ch.TranspondToneEnable;
  ch.BurstDuration = burst ? static_cast<float>(100 * g.Pick(1, 32)) : 3200.0f;
  ch.BurstFrequency = burst ? static_cast<float>(62500.0 / (g.Pick(19, 89) + 1)) : 694.4f;
  return ch;
}

auto Km2Settings(const clsChannel& c) {
  return std::make_tuple(c.ChannelName, c.RxFrequency, c.RxSignalling,
                         Code(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData), c.TxFrequency,
                         c.TxSignalling, Code(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData),
                         c.SubsignalingType, c.RFPower, c.Scrambler, c.PTTBurstToneEnable,
                         c.TranspondToneEnable, c.BurstDuration, c.BurstFrequency);
}

clsGroup RandomGroup(Generator& g) {
  clsGroup group;
  group.GroupName = (g.Text("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 3) + "   ").substr(0, 3);
  group.PriorityChannel1 = static_cast<std::int16_t>(g.Pick(0, 320));
  group.PriorityChannel2 = static_cast<std::int16_t>(g.Pick(0, 320));
  group.BusyChannelLockOut = g.Pick(0, 3);
  // Times are stored as value x 2 - 1, so 0 s does not fit; the page offers 0.5 s up.
  group.TimeOutTimer = static_cast<float>(g.Pick(1, 255)) / 2;
  group.RXScanHold = static_cast<float>(g.Pick(1, 15)) / 2;
  group.TXScanHold = static_cast<float>(g.Pick(1, 15)) / 2;
  group.IntervalA = static_cast<std::int16_t>(g.Pick(3, 64));
  group.IntervalBDCS = static_cast<std::int16_t>(g.Pick(0, 15));
  group.ScanHoldingEvents = g.Pick(0, 3);
  group.TXOnPriorityChannel = g.Coin();
  group.DTMF2805IDNumber = g.Text("0123456789ABCD*#", 10);
  group.EnablePTTANI = g.Coin();
  return group;
}

auto GroupSettings(const clsGroup& g) {
  return std::make_tuple(g.GroupName, g.PriorityChannel1, g.PriorityChannel2, g.BusyChannelLockOut,
                         g.TimeOutTimer, g.RXScanHold, g.TXScanHold, g.IntervalA, g.IntervalBDCS,
                         g.ScanHoldingEvents, g.TXOnPriorityChannel, g.DTMF2805IDNumber,
                         g.EnablePTTANI);
}

TEST(ImageRoundTrip, Km2ImageOf320ChannelsAnd16Groups) {
  Generator g{std::mt19937(2026)};
  for (int round = 0; round < 6; ++round) {
    const bool special = round % 2 == 1;
    H header;
    // Only a D model carries the special-radio mark.
    header.ModelName = special ? "52-9233BD" : "52-9233B";
    header.IFRx = header.IFTx = 214000;
    header.PLLReferenceFreq = 12.5f;
    header.SpecialRadio = special;
    header.SerialNumber = g.Text("0123456789", 8);
    header.DateRadio = Date(2000 + g.Pick(0, 29), g.Pick(1, 12), g.Pick(1, 28));
    header.DefaultKM2 = "007DC123111122223333FFFF44445555";
    header.KM2Tail.clear();
    for (int i = 0; i < 3654; ++i) header.KM2Tail += "0123456789ABCDEF"[g.Pick(0, 15)];
    ASSERT_TRUE(header.CreateRadioHeaderKM2());

    std::vector<clsChannel> channels;
    std::vector<clsChannelGroup> table(320);
    std::vector<clsGroup> groups;
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 1; n <= 320; ++n) {
      channels.push_back(RandomKm2Channel(g, special));
      channels.back().CreateChannelDataKM2();
      creator.colChannelData.Add(channels.back().ChannelData);
      creator.colChannelCheckSum.Add(channels.back().CheckSumKM2);
      clsChannelGroup& entry = table[static_cast<std::size_t>(n - 1)];
      entry.Programmed = g.Pick(0, 4) != 0;
      entry.ChannelNumber = static_cast<std::int16_t>(entry.Programmed ? n : 0);
      entry.GroupNumber = static_cast<std::int16_t>(entry.Programmed ? g.Pick(1, 16) : 0);
      entry.CreateChannelGroup();
      creator.colChannelGroup.Add(entry.ChannelGroupStr);
    }
    for (int k = 1; k <= 16; ++k) {
      groups.push_back(RandomGroup(g));
      groups.back().CreateGroupData();
      creator.colGroupData.Add(groups.back().GroupData);
    }
    ASSERT_TRUE(creator.CreateStringKM2());
    const std::string image = creator.ProgrammingStringPart1;
    ASSERT_EQ(image.size(), 16384u);
    EXPECT_EQ(image.substr(16376), "FFFEFFFF");
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
      const auto i = static_cast<std::size_t>(n - 1);
      clsChannel ch = Km2Channel(special);
      ch.ChannelData = splitter.colChannelData.Item(n);
      ch.BreakChannelDataKM2();
      EXPECT_EQ(Km2Settings(ch), Km2Settings(channels[i])) << "channel " << n;
      ch.CreateChannelDataKM2();
      again.colChannelData.Add(ch.ChannelData);
      again.colChannelCheckSum.Add(ch.CheckSumKM2);

      clsChannelGroup entry;
      entry.ChannelGroupStr = splitter.colChannelGroup.Item(n);
      entry.BreakChannelGroup();
      EXPECT_EQ(std::tie(entry.Programmed, entry.ChannelNumber, entry.GroupNumber),
                std::tie(table[i].Programmed, table[i].ChannelNumber, table[i].GroupNumber));
      entry.CreateChannelGroup();
      again.colChannelGroup.Add(entry.ChannelGroupStr);
    }
    for (int k = 1; k <= 16; ++k) {
      clsGroup group;
      group.GroupData = splitter.colGroupData.Item(k);
      group.BreakGroupData();
      EXPECT_EQ(GroupSettings(group), GroupSettings(groups[static_cast<std::size_t>(k - 1)]));
      group.CreateGroupData();
      again.colGroupData.Add(group.GroupData);
    }
    ASSERT_TRUE(read.CreateRadioHeaderKM2());
    again.RadioHeader = read.RadioHeader;
    ASSERT_TRUE(again.CreateStringKM2());
    EXPECT_EQ(again.ProgrammingStringPart1, image);
  }
}

}  // namespace
}  // namespace tallisk
