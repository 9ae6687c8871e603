#include "tallisk/clsChannelGroup.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

std::string Entry(std::int16_t channel, std::int16_t group, bool programmed = true) {
  clsChannelGroup e;
  e.ChannelNumber = channel;
  e.GroupNumber = group;
  e.Programmed = programmed;
  e.CreateChannelGroup();
  return e.ChannelGroupStr;
}

clsChannelGroup Read(const std::string& text) {
  clsChannelGroup e;
  e.ChannelNumber = 99;  // stale values that a read must replace
  e.GroupNumber = 9;
  e.ChannelGroupStr = text;
  e.BreakChannelGroup();
  return e;
}

void ExpectEntry(const clsChannelGroup& e, bool programmed, int channel, int group) {
  EXPECT_EQ(e.Programmed, programmed) << e.ChannelGroupStr;
  EXPECT_EQ(e.ChannelNumber, channel) << e.ChannelGroupStr;
  EXPECT_EQ(e.GroupNumber, group) << e.ChannelGroupStr;
}

TEST(clsChannelGroup, WorkedExamples) {
  const clsChannelGroup fresh;
  ExpectEntry(fresh, false, 0, 0);
  EXPECT_EQ(fresh.ChannelGroupStr, "");

  EXPECT_EQ(Entry(5, 2), "0204");
  ExpectEntry(Read("0204"), true, 5, 2);

  EXPECT_EQ(Entry(512, 16), "1FFF");
  ExpectEntry(Read("1FFF"), true, 512, 16);

  EXPECT_EQ(Entry(1, 1), "0000");
  ExpectEntry(Read("0000"), true, 1, 1);

  // A free entry ignores its numbers and reads back with none.
  EXPECT_EQ(Entry(5, 2, false), "FFFF");
  ExpectEntry(Read("FFFF"), false, 0, 0);
}

TEST(clsChannelGroup, OnlyTheFreeMarkFreesAnEntry) {
  // 001, 010 and 110 are unusual marks but not 111: the entry is in use.
  ExpectEntry(Read("2204"), true, 5, 2);
  ExpectEntry(Read("4204"), true, 5, 2);
  ExpectEntry(Read("C204"), true, 5, 2);
  // 111 frees the entry whatever the other bits hold.
  ExpectEntry(Read("E204"), false, 0, 0);
  // Lower-case hex reads like upper case.
  ExpectEntry(Read("1fff"), true, 512, 16);
}

TEST(clsChannelGroup, NumbersOutsideTheFieldsAndOverflow) {
  // 0 stores the low bits of -1; too large a number keeps its low bits.
  EXPECT_EQ(Entry(0, 0), "1FFF");
  EXPECT_EQ(Entry(513, 17), "0000");

  for (auto [channel, group] : {std::pair<std::int16_t, std::int16_t>{-32768, 1}, {1, -32768}}) {
    clsChannelGroup e;
    e.ChannelNumber = channel;
    e.GroupNumber = group;
    e.Programmed = true;
    e.ChannelGroupStr = "0204";
    try {
      e.CreateChannelGroup();
      ADD_FAILURE() << "no overflow";
    } catch (const TalliskError& err) {
      EXPECT_EQ(err.Number(), ErrOverflow);
    }
    EXPECT_EQ(e.ChannelGroupStr, "0204");
  }
  // A free entry never looks at its numbers, so it cannot overflow.
  EXPECT_EQ(Entry(-32768, -32768, false), "FFFF");
}

TEST(clsChannelGroup, ShortTextReadsAsErased) {
  // A cut-off image must not invent channel 1 in group 1 for its missing entries.
  ExpectEntry(Read(""), false, 0, 0);
  ExpectEntry(Read("E"), false, 0, 0);
  // Digits that are there still count; the missing ones are erased (F).
  ExpectEntry(Read("02"), true, 256, 2);
  // Non-hex pairs read as 00, as everywhere else in the image.
  ExpectEntry(Read("ZZ04"), true, 5, 1);
}

TEST(clsChannelGroup, EveryChannelInEveryGroupRoundTrips) {
  std::set<std::string> seen;
  for (std::int16_t group = 1; group <= 16; ++group) {
    for (std::int16_t channel = 1; channel <= 512; ++channel) {
      const std::string text = Entry(channel, group);
      ASSERT_EQ(text.size(), 4u);
      ASSERT_LT(ParseHex(text), 0x2000) << text;  // the in-use mark 000
      const clsChannelGroup back = Read(text);
      ASSERT_TRUE(back.Programmed) << text;
      ASSERT_EQ(back.ChannelNumber, channel) << text;
      ASSERT_EQ(back.GroupNumber, group) << text;
      seen.insert(text);
    }
  }
  EXPECT_EQ(seen.size(), 16u * 512u);
}

TEST(clsChannelGroup, WholeTableOfGeneratedAssignmentsRoundTrips) {
  std::mt19937 rng(1600);
  for (int round = 0; round < 50; ++round) {
    std::vector<clsChannelGroup> table(320);
    std::string image;
    for (int n = 0; n < 320; ++n) {
      clsChannelGroup& e = table[n];
      e.Programmed = rng() % 4 != 0;
      e.ChannelNumber = static_cast<std::int16_t>(n + 1);
      e.GroupNumber = static_cast<std::int16_t>(rng() % 16 + 1);
      e.CreateChannelGroup();
      image += e.ChannelGroupStr;
    }
    ASSERT_EQ(image.size(), 1280u);
    for (int n = 0; n < 320; ++n) {
      SCOPED_TRACE("entry " + std::to_string(n + 1));
      const clsChannelGroup back = Read(image.substr(4 * n, 4));
      const clsChannelGroup& e = table[n];
      ASSERT_EQ(back.Programmed, e.Programmed);
      ASSERT_EQ(back.ChannelNumber, e.Programmed ? e.ChannelNumber : 0);
      ASSERT_EQ(back.GroupNumber, e.Programmed ? e.GroupNumber : 0);
    }
  }
}

TEST(clsChannelGroup, EveryEntryTextSettlesAfterOneRewrite) {
  for (int code = 0; code <= 0xFFFF; ++code) {
    const std::string text = ToHex(static_cast<unsigned>(code), 4);
    clsChannelGroup e = Read(text);
    e.CreateChannelGroup();
    // An entry in use comes back with the 000 mark, a free one as FFFF; nothing else moves.
    const std::string expected = code >= 0xE000 ? "FFFF" : ToHex(code & 0x1FFF, 4);
    ASSERT_EQ(e.ChannelGroupStr, expected) << text;
  }
}

TEST(clsChannelGroup, Num2BinStrIsTheSharedConversion) {
  const clsChannelGroup e;
  EXPECT_EQ(e.Num2BinStr(4, 9), "000000100");
  EXPECT_EQ(e.Num2BinStr(-1, 4), "1111");
  EXPECT_EQ(e.Num2BinStr(7, 0), "");
}

}  // namespace
}  // namespace tallisk
