#include "tallisk/clsChannelGroup.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

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

// Programmed, channel and group read from an entry, over stale values a read must replace.
std::tuple<bool, int, int> Read(const std::string& text) {
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
  EXPECT_EQ(Read("1fff"), std::make_tuple(true, 512, 16));
  // A cut-off image must not invent channel 1 in group 1: missing digits read as erased (F),
  // non-hex pairs as 00.
  EXPECT_EQ(Read(""), std::make_tuple(false, 0, 0));
  EXPECT_EQ(Read("02"), std::make_tuple(true, 256, 2));
  EXPECT_EQ(Read("ZZ04"), std::make_tuple(true, 5, 1));

  // 16-bit arithmetic: -32768 less one is refused, and the previous entry kept.
  clsChannelGroup e;
  e.ChannelNumber = -32768;
  e.GroupNumber = 1;
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

TEST(clsChannelGroup, EveryChannelInEveryGroupAndEveryEntryText) {
  for (std::int16_t group = 1; group <= 16; ++group) {
    for (std::int16_t channel = 1; channel <= 512; ++channel) {
      const std::string text = Entry(channel, group);
      ASSERT_LT(ParseHex(text), 0x2000) << text;  // the in-use mark 000
      ASSERT_EQ(Read(text), std::make_tuple(true, int{channel}, int{group})) << text;
    }
  }
  // Any entry text settles after one rewrite: only the mark 111 frees an entry, which is
  // written FFFF; any other is in use and comes back with the mark 000.
  for (int code = 0; code <= 0xFFFF; ++code) {
    clsChannelGroup e;
    e.ChannelGroupStr = ToHex(static_cast<unsigned>(code), 4);
    e.BreakChannelGroup();
    e.CreateChannelGroup();
    ASSERT_EQ(e.ChannelGroupStr, code >= 0xE000 ? "FFFF" : ToHex(code & 0x1FFF, 4)) << code;
  }
}

}  // namespace
}  // namespace tallisk
