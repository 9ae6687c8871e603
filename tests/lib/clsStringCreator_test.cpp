#include "tallisk/clsStringCreator.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "LibTestSupport.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

using testing::ErrorOf;
using testing::PromptScope;
using testing::RandomHex;

// Splits transfer text into its lines and checks that each is a well-formed S1 record of
// eight bytes, the addresses rising by 8 from `first`.
std::vector<std::string> S1Lines(const std::string& text, int first) {
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < text.size(); pos += 28) {
    const std::string line = text.substr(pos, 28);
    EXPECT_EQ(line.substr(0, 8) + line.substr(26), "S10B" + ToHex(first, 4) + "\r\n") << line;
    EXPECT_EQ(line.substr(24, 2), RecordCheckSum(line.substr(2, 22))) << line;
    lines.push_back(line);
    first += 8;
  }
  return lines;
}

// How a 16-channel image looks on the wire (one part, the last line filled with FF) is held by
// the QVR transfer test, against a radio that checks every line; these are the part boundary
// cases no QVR model reaches. Splitting is checked by the whole-image round trips.
TEST(clsStringCreator, QvrImageIsOneOrTwoPartsOfS1Lines) {
  std::mt19937 rng(7);
  clsStringCreator sc;
  sc.RadioHeader = RandomHex(rng, 68);
  for (int n = 0; n < 30; ++n) sc.colChannelData.Add(RandomHex(rng, 20));
  // 334 bytes: the second phase starts with the line at 0100.
  ASSERT_TRUE(sc.CreateString());
  EXPECT_EQ(S1Lines(sc.ProgrammingStringPart1, 0).size(), 32u);
  EXPECT_EQ(S1Lines(sc.ProgrammingStringPart2, 0x100).size(), 10u);

  // Exactly 256 bytes: no line starts at 0100, so nothing is cut.
  clsStringCreator exact;
  exact.RadioHeader = std::string(512, '0');
  exact.CreateString();
  EXPECT_TRUE(exact.ProgrammingStringPart1.empty());
  EXPECT_EQ(S1Lines(exact.ProgrammingStringPart2, 0).size(), 32u);
}

// Where each block of a whole image lies is checked by the whole-image round trip.
TEST(clsStringCreator, Km2ImageOfTheWrongSizeIsReportedAndShortImagesSplitQuietly) {
  PromptScope prompt;
  std::mt19937 rng(3);
  clsStringCreator sc;
  for (int n = 0; n < 320; ++n) sc.colChannelData.Add(RandomHex(rng, 32));
  for (int g = 0; g < 16; ++g) sc.colGroupData.Add(RandomHex(rng, 64));
  for (int n = 0; n < 320; ++n) sc.colChannelGroup.Add(RandomHex(rng, 4));
  for (int n = 0; n < 320; ++n) sc.colChannelCheckSum.Add(RandomHex(rng, 2));
  sc.RadioHeader = RandomHex(rng, 3192);
  EXPECT_TRUE(sc.CreateStringKM2());
  EXPECT_TRUE(prompt->messages.empty());
  // Addresses in the header text here count from its start.
  EXPECT_EQ(sc.Address(2, 6), sc.RadioHeader.substr(4, 6));

  // One channel missing: reported, and the short image is kept.
  sc.colChannelData.Remove(1);
  EXPECT_FALSE(sc.CreateStringKM2());
  EXPECT_EQ(
      prompt->messages,
      std::vector<std::string>{"Internal Error: EEPROM size not correct | KM2 Radio Programmer"});
  EXPECT_EQ(sc.ProgrammingStringPart1.size(), 16384u - 32u);

  // A short image splits into short or empty pieces without a complaint.
  clsStringCreator cut;
  cut.EntireString = std::string(100, 'A');
  cut.BreakUpStringKM2();
  EXPECT_EQ(cut.RadioHeader + cut.colChannelData.Item(5) + cut.colGroupData.Item(1), "");
  EXPECT_EQ(cut.colChannelData.Item(4), "AAAA");
  EXPECT_EQ(prompt->messages.size(), 1u);
}

// --- Conversions ---

TEST(Conversions, RecordChecksums) {
  EXPECT_EQ(RecordCheckSum("04000E00"), "ED");
  EXPECT_EQ(RecordCheckSum(""), "FF");
  EXPECT_EQ(RecordCheckSum("048000FF"), "7C");  // only the low byte of the sum counts
  EXPECT_EQ(RecordCheckSum("0B00000000000000000000"), "F4");
  EXPECT_EQ(TestRecordCheckSum("N604400020"), "9B");
  // The running sum is 16-bit: 129 bytes FF overflow it.
  EXPECT_EQ(ErrorOf([] { RecordCheckSum(std::string(2 * 129, 'F')); }), ErrOverflow);
}

TEST(Conversions, LenientReadsAndRounding) {
  EXPECT_DOUBLE_EQ(ParseNumber("  150.0125 MHz"), 150.0125);
  EXPECT_DOUBLE_EQ(ParseNumber("1e3x"), 1000);
  EXPECT_DOUBLE_EQ(ParseNumber("1e"), 1);
  EXPECT_DOUBLE_EQ(ParseNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(ParseNumber("-.5"), -0.5);
  // A finite number for every text: beyond a double, huge is the largest one and tiny is 0.
  EXPECT_EQ(ParseNumber("0E1001"), 0);
  EXPECT_DOUBLE_EQ(ParseNumber("0." + std::string(400, '3')), 1.0 / 3);
  EXPECT_EQ(ParseNumber("-1" + std::string(400, '0')), -std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("1e-400"), 0);
  EXPECT_EQ(ParseHex("8a"), 0x8A);
  EXPECT_EQ(ParseHex("FFFFFFFF"), 0xFFFFFFFFLL);
  EXPECT_EQ(ParseHex("1G"), 0);
  EXPECT_EQ(RoundToInt16(-0.5), 0);
  EXPECT_EQ(ErrorOf([] { RoundToInt16(32767.6); }), ErrOverflow);
  EXPECT_EQ(ErrorOf([] { RoundToByte(-1); }), ErrOverflow);
}

}  // namespace
}  // namespace tallisk
