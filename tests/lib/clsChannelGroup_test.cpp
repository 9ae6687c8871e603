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
  EXPECT_EQ(Entry(5, 2, false), "FFFF");  // a free entry ignores its numbers
  EXPECT_EQ(Entry(-32768, -32768, false), "FFFF");
  EXPECT_EQ(Entry(0, 0), "1FFF");  // out of the fields: their low bits
  EXPECT_EQ(Entry(513, 17), "0000");

  const std::pair<const char*, std::tuple<bool, int, int>> reads[] = {
      {"0204", {true, 5, 2}},
      {"1fff", {true, 512, 16}},
      {"FFFF", {false, 0, 0}},
      // Only the free mark 111 frees an entry, whatever the other bits hold.
      {"C204", {true, 5, 2}},
      {"E204", {false, 0, 0}},
      // A cut-off image must not invent channel 1 in group 1: missing digits are erased (F);
      // non-hex pairs read as 00, as everywhere else in the image.
      {"", {false, 0, 0}},
      {"02", {true, 256, 2}},
      {"ZZ04", {true, 5, 1}}};
  for (const auto& [text, entry] : reads) EXPECT_EQ(Read(text), entry) << text;

  // 16-bit arithmetic: -32768 less one is refused, and the previous entry kept.
  for (const auto& [channel, group] :
       {std::pair<std::int16_t, std::int16_t>{-32768, 1}, {1, -32768}}) {
    clsChannelGroup e;
    e.ChannelNumber = channel;
    e.GroupNumber = group;
    e.Programmed = true;
    e.ChannelGroupStr = "0204";
    int error = 0;
    try {
      e.CreateChannelGroup();
    } catch (const TalliskError& err) {
      error = err.Number();
    }
    EXPECT_EQ(std::tie(error, e.ChannelGroupStr),
              std::make_tuple(ErrOverflow, std::string("0204")));
  }
}

TEST(clsChannelGroup, EveryChannelInEveryGroupAndEveryEntryText) {
  for (std::int16_t group = 1; group <= 16; ++group) {
    for (std::int16_t channel = 1; channel <= 512; ++channel) {
      const std::string text = Entry(channel, group);
      ASSERT_LT(ParseHex(text), 0x2000) << text;  // the in-use mark 000
      ASSERT_EQ(Read(text), std::make_tuple(true, int{channel}, int{group})) << text;
    }
  }
  // Any entry text settles after one rewrite: in use with the 000 mark, or free as FFFF.
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
