#include "tallisk/clsStringCreator.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tallisk/UserPrompt.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

// Records the messages the library shows while it is installed.
class RecordingPrompt : public UserPrompt {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override {
    messages.push_back(text + " | " + title);
  }
  bool AskYesNo(const std::string&, const std::string&, bool) override { return false; }
  std::vector<std::string> messages;
};

struct PromptScope {
  std::shared_ptr<RecordingPrompt> prompt = std::make_shared<RecordingPrompt>();
  std::shared_ptr<UserPrompt> previous = SetUserPrompt(prompt);
  ~PromptScope() { SetUserPrompt(previous); }
};

std::string RandomHex(std::mt19937& rng, std::size_t digits) {
  std::string s(digits, '0');
  for (char& c : s) c = "0123456789ABCDEF"[rng() % 16];
  return s;
}

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

TEST(clsStringCreator, QvrImageIsOneOrTwoPartsOfS1Lines) {
  std::mt19937 rng(7);
  clsStringCreator sc;
  sc.RadioHeader = RandomHex(rng, 68);
  for (int n = 0; n < 16; ++n) sc.colChannelData.Add(RandomHex(rng, 20));
  ASSERT_TRUE(sc.CreateString());
  // 194 bytes: 25 lines, all below 0100, the last one filled with six erased bytes.
  EXPECT_TRUE(sc.ProgrammingStringPart1.empty());
  const auto lines = S1Lines(sc.ProgrammingStringPart2, 0);
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(lines.back().substr(8, 16), sc.colChannelData.Item(16).substr(16) + "FFFFFFFFFFFF");
  // (Splitting is checked by the whole-image round trips.)

  // 334 bytes: the second phase starts with the line at 0100.
  for (int n = 0; n < 14; ++n) sc.colChannelData.Add(RandomHex(rng, 20));
  sc.CreateString();
  EXPECT_EQ(S1Lines(sc.ProgrammingStringPart1, 0).size(), 32u);
  EXPECT_EQ(S1Lines(sc.ProgrammingStringPart2, 0x100).size(), 10u);

  // Exactly 256 bytes: no line starts at 0100, so nothing is cut.
  clsStringCreator exact;
  exact.RadioHeader = std::string(512, '0');
  exact.CreateString();
  EXPECT_TRUE(exact.ProgrammingStringPart1.empty());
  EXPECT_EQ(S1Lines(exact.ProgrammingStringPart2, 0).size(), 32u);
}

TEST(clsStringCreator, ChecksumIsOnesComplementOfCountAddressAndData) {
  clsStringCreator sc;
  sc.RadioHeader = std::string(16, '0');
  sc.CreateString();
  EXPECT_EQ(sc.ProgrammingStringPart2, "S10B00000000000000000000F4\r\n");
  // 0B + 8 x FF = 0x803 -> FC; with address 0008 the sum is 0x80B -> F4.
  sc.RadioHeader = std::string(26, 'F');
  sc.CreateString();
  EXPECT_EQ(sc.ProgrammingStringPart2,
            "S10B0000FFFFFFFFFFFFFFFFFC\r\nS10B0008FFFFFFFFFFFFFFFFF4\r\n");
}

TEST(clsStringCreator, Km2ImageHasFixedBlockAddressesAndItsSizeIsChecked) {
  PromptScope scope;
  const auto& prompt = scope.prompt;
  std::mt19937 rng(3);
  clsStringCreator sc;
  for (int n = 0; n < 320; ++n) sc.colChannelData.Add(RandomHex(rng, 32));
  for (int g = 0; g < 16; ++g) sc.colGroupData.Add(RandomHex(rng, 64));
  for (int n = 0; n < 320; ++n) sc.colChannelGroup.Add(RandomHex(rng, 4));
  for (int n = 0; n < 320; ++n) sc.colChannelCheckSum.Add(RandomHex(rng, 2));
  sc.RadioHeader = RandomHex(rng, 3192);
  EXPECT_TRUE(sc.CreateStringKM2());
  EXPECT_TRUE(prompt->messages.empty());
  const std::string image = sc.ProgrammingStringPart1;
  ASSERT_EQ(image.size(), 16384u);
  EXPECT_EQ(image.substr(16376), "FFFEFFFF");
  EXPECT_EQ(Address(image, 5 * 16, 32), sc.colChannelData.Item(6));
  EXPECT_EQ(Address(image, 0x1400 + 2 * 32, 64), sc.colGroupData.Item(3));
  EXPECT_EQ(Address(image, 0x1600 + 319 * 2, 4), sc.colChannelGroup.Item(320));
  EXPECT_EQ(Address(image, 0x1880, 3192), sc.RadioHeader);
  EXPECT_EQ(Address(image, 0x1EBC + 4, 2), sc.colChannelCheckSum.Item(5));

  // (The split is checked by the whole-image round trip.) Addresses in the header text
  // here count from its start.
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

}  // namespace
}  // namespace tallisk
