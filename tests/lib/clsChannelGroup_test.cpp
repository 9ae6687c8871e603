#include "tallisk/clsChannelGroup.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

std::string Entry(int channel, int group, bool programmed = true) {
  clsChannelGroup e;
  e.ChannelNumber = static_cast<std::int16_t>(channel);
  e.GroupNumber = static_cast<std::int16_t>(group);
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
  // A cut-off image must not invent memberships: an entry with digits missing is free
  // ("0" once read as channel 512 of group 8). Non-hex pairs read as 00.
  for (const char* cut : {"", "0", "00", "020"})
    EXPECT_EQ(Read(cut), std::make_tuple(false, 0, 0)) << cut;
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

  // Any entry text settles after one rewrite: the mark 111 frees an entry, which is written
  // FFFF; any other mark is an entry in use and comes back with the mark 000.
  const std::pair<const char*, const char*> rewrites[] = {{"E000", "FFFF"}, {"F204", "FFFF"},
                                                          {"DFFF", "1FFF"}, {"2000", "0000"},
                                                          {"8204", "0204"}, {"4A05", "0A05"}};
  for (const auto& [text, again] : rewrites) {
    const auto [programmed, channel, group] = Read(text);
    EXPECT_EQ(Entry(channel, group, programmed), again) << text;
  }
}

}  // namespace
}  // namespace tallisk
