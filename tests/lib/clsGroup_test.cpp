#include "tallisk/clsGroup.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "LibTestSupport.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

using testing::ErrorOf;
using testing::GroupSettings;

constexpr char kNewGroupRecord[] =
    "FFFFFFFFFFFFFFE1A34F00323200576F7FFFFF00FFFFFFFFFFFFFFFFFFFFFFFF";

// A record with byte k (from 0) replaced.
std::string WithByte(std::string record, std::size_t k, const std::string& pair) {
  return record.replace(2 * k, 2, pair);
}

std::string Written(clsGroup& g) {
  g.CreateGroupData();
  return g.GroupData;
}

clsGroup Read(const std::string& record) {
  clsGroup g;
  g.GroupData = record;
  g.BreakGroupData();
  return g;
}

TEST(clsGroup, WorkedExamplesNameAndPriorityChannels) {
  // A new group holds the default record's settings; writing it differs from the formatted
  // record only in the fixed 0 of bit 129 and the ID length byte.
  clsGroup g;
  EXPECT_EQ(GroupSettings(g),
            std::tuple("   ", 0, 0, 3, 210.0f, 20, 0, 0, 25.5f, 25.5f, 0.0f, 1.0f, 8, 1, true, 1,
                       false, false, false, 15, 300, 15, 300, 75, ""));
  EXPECT_EQ(Written(g), kNewGroupRecord);
  EXPECT_EQ(GroupSettings(Read(kNewGroupRecord)), GroupSettings(clsGroup()));

  g.GroupName = "AB";
  g.DTMF2805IDNumber = "12#";
  EXPECT_EQ(Written(g), "4142FFFFFFFFFFE1A34F00323200576F7FFFFF0312CFFFFFFFFFFFFFFFFFFFFF");

  // Every field at its bits, both ways.
  const std::string fields = "4142FFFFFFFFFFE1A34FA5050007199F2573350312CFFFFFFFFFFFFFFFFFFFFF";
  g = Read(fields);
  EXPECT_EQ(GroupSettings(g),
            std::tuple("AB ", 0, 0, 3, 210.0f, 20, 10, 5, 3.0f, 0.5f, 35.0f, 0.3f, 2, 2, false, 3,
                       true, false, true, 5, 140, 3, 60, 25, "12#"));
  EXPECT_EQ(Written(g), fields);

  g = clsGroup();
  g.GroupName = "ABCDE";  // only three characters fit
  g.PriorityChannel1 = 5;
  g.PriorityChannel2 = 320;
  EXPECT_EQ(Written(g).substr(0, 14), "414243FE05FF40");
  EXPECT_EQ(Read(WithByte(kNewGroupRecord, 0, "C1")).GroupName, "   ");  // top bit set
  // A record that marks its priority channel with a leading 0 reads the same channel.
  EXPECT_EQ(Read(WithByte(WithByte(kNewGroupRecord, 3, "00"), 4, "05")).PriorityChannel1, 5);
}

TEST(clsGroup, CodedFieldsRoundAsTheRadioDoes) {
  // A sampling rate halfway between two steps rounds to the even step, however the decimal
  // text falls in binary: 0.85 is 8.5 tenths and gives 8, 0.35 gives 4.
  const std::pair<float, int> rates[] = {{0.05f, 0}, {0.35f, 4}, {0.85f, 8}, {1.45f, 14}};
  clsGroup g;
  for (const auto& [rate, tenths] : rates) {
    g.PriChSamplingRate = rate;
    EXPECT_EQ(BinToDec(HexToBinStr(Written(g)).substr(112, 5)), tenths) << rate;
  }
  // Lock-out codes 100, 101, 110 are 0..2; anything else is written and read as disabled.
  const std::pair<std::int32_t, const char*> lockOuts[] = {
      {0, "81A3"}, {1, "A1A3"}, {2, "C1A3"}, {3, "E1A3"}, {-1, "E1A3"}};
  for (const auto& [value, bytes] : lockOuts) {
    g.BusyChannelLockOut = value;
    EXPECT_EQ(Written(g).substr(14, 4), bytes) << value;
  }
  EXPECT_EQ(Read(WithByte(kNewGroupRecord, 7, "61")).BusyChannelLockOut, 3);  // code 011
  // Interval A reads to the nearest ms, ties to even: 5 -> 1.5 -> 2, 9 -> 2.5 -> 2.
  EXPECT_EQ(Read(WithByte(kNewGroupRecord, 9, "05")).IntervalA, 2);
  EXPECT_EQ(Read(WithByte(kNewGroupRecord, 9, "09")).IntervalA, 2);
}

TEST(clsGroup, OverflowRefusedAndRecordKept) {
  const auto overflows = [](auto set) {
    clsGroup bad;
    set(bad);
    EXPECT_EQ(ErrorOf([&] { bad.CreateGroupData(); }), ErrOverflow);
    EXPECT_EQ(bad.GroupData, clsGroup::DefaultGroupData);
  };
  overflows([](clsGroup& x) { x.IntervalA = 8192; });
  overflows([](clsGroup& x) { x.PriChSamplingRatio = -32768; });
  overflows([](clsGroup& x) { x.RXScanHold = std::numeric_limits<float>::quiet_NaN(); });
  // A time-out beyond the 13-bit field keeps its low bits: 9999 -> 1807 -> 904 s.
  clsGroup g;
  g.TimeOutTimer = 5000;
  EXPECT_EQ(Written(g).substr(14, 4), "E70F");
  EXPECT_EQ(Read(g.GroupData).TimeOutTimer, 904.0f);
}

// --- The channel-group table ---

std::string Entry(int channel, int group, bool programmed = true) {
  clsChannelGroup e;
  e.ChannelNumber = static_cast<std::int16_t>(channel);
  e.GroupNumber = static_cast<std::int16_t>(group);
  e.Programmed = programmed;
  e.CreateChannelGroup();
  return e.ChannelGroupStr;
}

// Programmed, channel and group read from an entry, over stale values a read must replace.
std::tuple<bool, int, int> ReadEntry(const std::string& text) {
  clsChannelGroup e;
  e.ChannelNumber = 99;
  e.GroupNumber = 9;
  e.ChannelGroupStr = text;
  e.BreakChannelGroup();
  return {e.Programmed, e.ChannelNumber, e.GroupNumber};
}

TEST(clsChannelGroup, WorkedExamplesAndOddEntries) {
  EXPECT_EQ(Entry(5, 2), "0204");
  EXPECT_EQ(Entry(512, 16), "1FFF");
  EXPECT_EQ(Entry(-32768, -32768, false), "FFFF");  // a free entry ignores its numbers
  EXPECT_EQ(Entry(0, 0), "1FFF");                   // out of the fields: their low bits
  EXPECT_EQ(ReadEntry("1fff"), std::make_tuple(true, 512, 16));
  // A cut-off image must not invent memberships: an entry with digits missing is free
  // ("0" once read as channel 512 of group 8). Non-hex pairs read as 00.
  for (const char* cut : {"", "0", "00", "020"})
    EXPECT_EQ(ReadEntry(cut), std::make_tuple(false, 0, 0)) << cut;
  EXPECT_EQ(ReadEntry("ZZ04"), std::make_tuple(true, 5, 1));

  // 16-bit arithmetic: -32768 less one is refused, and the previous entry kept.
  clsChannelGroup e;
  e.ChannelNumber = -32768;
  e.GroupNumber = 1;
  e.Programmed = true;
  e.ChannelGroupStr = "0204";
  EXPECT_EQ(ErrorOf([&] { e.CreateChannelGroup(); }), ErrOverflow);
  EXPECT_EQ(e.ChannelGroupStr, "0204");

  // Any entry text settles after one rewrite: the mark 111 frees an entry, which is written
  // FFFF; any other mark is an entry in use and comes back with the mark 000.
  const std::pair<const char*, const char*> rewrites[] = {{"E000", "FFFF"}, {"F204", "FFFF"},
                                                          {"DFFF", "1FFF"}, {"2000", "0000"},
                                                          {"8204", "0204"}, {"4A05", "0A05"}};
  for (const auto& [text, again] : rewrites) {
    const auto [programmed, channel, group] = ReadEntry(text);
    EXPECT_EQ(Entry(channel, group, programmed), again) << text;
  }
}

}  // namespace
}  // namespace tallisk
