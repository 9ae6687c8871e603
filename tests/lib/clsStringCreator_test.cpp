#include "tallisk/clsStringCreator.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tallisk/UserPrompt.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

// Records every message the library shows while it is installed.
class RecordingPrompt : public UserPrompt {
 public:
  void ShowMessage(const std::string& text, const std::string& title) override {
    messages.emplace_back(text, title);
  }
  bool AskYesNo(const std::string&, const std::string&, bool) override { return false; }
  std::vector<std::pair<std::string, std::string>> messages;
};

class PromptScope {
 public:
  PromptScope() : prompt_(std::make_shared<RecordingPrompt>()), previous_(SetUserPrompt(prompt_)) {}
  ~PromptScope() { SetUserPrompt(previous_); }
  RecordingPrompt& operator*() { return *prompt_; }
  RecordingPrompt* operator->() { return prompt_.get(); }

 private:
  std::shared_ptr<RecordingPrompt> prompt_;
  std::shared_ptr<UserPrompt> previous_;
};

std::string RandomHex(std::mt19937& rng, std::size_t digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::uniform_int_distribution<int> digit(0, 15);
  std::string s(digits, '0');
  for (char& c : s) c = kDigits[digit(rng)];
  return s;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < text.size(); pos += 28) lines.push_back(text.substr(pos, 28));
  return lines;
}

// Every line is a well-formed S1 record of eight bytes, addresses rising by 8 from `first`.
void ExpectS1Lines(const std::vector<std::string>& lines, int first) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ASSERT_EQ(line.size(), 28u);
    EXPECT_EQ(line.substr(0, 4), "S10B");
    EXPECT_EQ(line.substr(4, 4), ToHex(first + 8 * i, 4));
    EXPECT_EQ(line.substr(24, 2), RecordCheckSum(line.substr(2, 22))) << line;
    EXPECT_EQ(line.substr(26), "\r\n");
  }
}

TEST(clsStringCreator, QvrImageOf194BytesIsOnePartOf25Lines) {
  std::mt19937 rng(7);
  clsStringCreator sc;
  sc.RadioHeader = RandomHex(rng, 68);
  std::string image = sc.RadioHeader;
  for (int n = 0; n < 16; ++n) {
    sc.colChannelData.Add(RandomHex(rng, 20));
    image += sc.colChannelData.Item(n + 1);
  }
  ASSERT_TRUE(sc.CreateString());
  EXPECT_TRUE(sc.ProgrammingStringPart1.empty());
  const auto lines = Lines(sc.ProgrammingStringPart2);
  ASSERT_EQ(lines.size(), 25u);
  ExpectS1Lines(lines, 0);
  EXPECT_EQ(lines.back().substr(4, 4), "00C0");
  // 194 bytes fill the last line with six erased bytes.
  EXPECT_EQ(lines.back().substr(8, 16), image.substr(384, 4) + "FFFFFFFFFFFF");

  // Splitting the lines gives the blocks back, plus the filler as a short last item.
  clsStringCreator split;
  split.EntireString = sc.ProgrammingStringPart2;
  split.BreakUpString();
  EXPECT_EQ(split.RadioHeader, sc.RadioHeader);
  ASSERT_EQ(split.colChannelData.Count(), 17);
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(split.colChannelData.Item(n), sc.colChannelData.Item(n));
  EXPECT_EQ(split.colChannelData.Item(17), "FFFFFFFFFFFF");
}

TEST(clsStringCreator, QvrImageBeyond256BytesIsCutAt0100) {
  std::mt19937 rng(11);
  clsStringCreator sc;
  sc.RadioHeader = RandomHex(rng, 68);
  for (int n = 0; n < 30; ++n) sc.colChannelData.Add(RandomHex(rng, 20));  // 334 bytes
  sc.CreateString();
  const auto first = Lines(sc.ProgrammingStringPart1);
  const auto second = Lines(sc.ProgrammingStringPart2);
  ASSERT_EQ(first.size(), 32u);
  ExpectS1Lines(first, 0);
  EXPECT_EQ(first.back().substr(4, 4), "00F8");
  ASSERT_EQ(second.size(), 10u);
  ExpectS1Lines(second, 0x100);

  // Exactly 256 bytes: no line starts at 0100, so nothing is cut.
  clsStringCreator exact;
  exact.RadioHeader = std::string(512, '0');
  exact.CreateString();
  EXPECT_TRUE(exact.ProgrammingStringPart1.empty());
  EXPECT_EQ(Lines(exact.ProgrammingStringPart2).size(), 32u);
}

TEST(clsStringCreator, ChecksumIsOnesComplementOfCountAddressAndData) {
  clsStringCreator sc;
  sc.RadioHeader = std::string(16, '0');
  sc.CreateString();
  EXPECT_EQ(sc.ProgrammingStringPart2, "S10B00000000000000000000F4\r\n");

  clsStringCreator ff;
  ff.RadioHeader = std::string(26, 'F');  // 13 bytes: the second line is padded
  ff.CreateString();
  // 0B + 00 + 00 + 8 x FF = 0x803 -> FC; with address 0008 the sum is 0x80B -> F4.
  EXPECT_EQ(ff.ProgrammingStringPart2,
            "S10B0000FFFFFFFFFFFFFFFFFC\r\nS10B0008FFFFFFFFFFFFFFFFF4\r\n");
}

TEST(clsStringCreator, Km2ImageHasFixedBlockAddressesAndRoundTrips) {
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
  const std::string& image = sc.ProgrammingStringPart1;
  ASSERT_EQ(image.size(), 16384u);
  EXPECT_EQ(image.substr(16376), "FFFEFFFF");
  EXPECT_EQ(image.substr(32 * 5, 32), sc.colChannelData.Item(6));
  EXPECT_EQ(image.substr(0x1400 * 2 + 64 * 2, 64), sc.colGroupData.Item(3));
  EXPECT_EQ(image.substr(0x1600 * 2 + 4 * 319, 4), sc.colChannelGroup.Item(320));
  EXPECT_EQ(image.substr(0x1880 * 2, 3192), sc.RadioHeader);
  EXPECT_EQ(image.substr((0x1EBC + 4) * 2, 2), sc.colChannelCheckSum.Item(5));

  clsStringCreator split;
  split.EntireString = image;
  split.BreakUpStringKM2();
  ASSERT_EQ(split.colChannelData.Count(), 320);
  ASSERT_EQ(split.colGroupData.Count(), 16);
  ASSERT_EQ(split.colChannelGroup.Count(), 320);
  EXPECT_EQ(split.colChannelCheckSum.Count(), 0);  // they stay inside the header text
  for (int n = 1; n <= 320; ++n) {
    EXPECT_EQ(split.colChannelData.Item(n), sc.colChannelData.Item(n));
    EXPECT_EQ(split.colChannelGroup.Item(n), sc.colChannelGroup.Item(n));
  }
  for (int g = 1; g <= 16; ++g) EXPECT_EQ(split.colGroupData.Item(g), sc.colGroupData.Item(g));
  EXPECT_EQ(split.RadioHeader, image.substr(0x1880 * 2));
  // Address counts from image address 0 over the header text, two characters per byte.
  EXPECT_EQ(split.Address(2, 6), split.RadioHeader.substr(4, 6));
  EXPECT_EQ(split.Address(0x7FF, 10), "");
}

TEST(clsStringCreator, Km2ImageOfWrongSizeIsReportedAndKept) {
  PromptScope prompt;
  clsStringCreator sc;
  for (int n = 0; n < 319; ++n) sc.colChannelData.Add(std::string(32, 'F'));  // one missing
  for (int g = 0; g < 16; ++g) sc.colGroupData.Add(std::string(64, 'F'));
  for (int n = 0; n < 320; ++n) sc.colChannelGroup.Add("FFFF");
  for (int n = 0; n < 320; ++n) sc.colChannelCheckSum.Add("FF");
  sc.RadioHeader = std::string(3192, '0');
  EXPECT_FALSE(sc.CreateStringKM2());
  ASSERT_EQ(prompt->messages.size(), 1u);
  EXPECT_EQ(prompt->messages[0].first, "Internal Error: EEPROM size not correct");
  EXPECT_EQ(prompt->messages[0].second, "KM2 Radio Programmer");
  EXPECT_EQ(sc.ProgrammingStringPart1.size(), 16384u - 32u);

  // A short image splits into short or empty pieces without a complaint.
  clsStringCreator split;
  split.EntireString = std::string(100, 'A');
  split.BreakUpStringKM2();
  EXPECT_EQ(split.RadioHeader, "");
  EXPECT_EQ(split.colChannelData.Count(), 320);
  EXPECT_EQ(split.colChannelData.Item(4), std::string(4, 'A'));
  EXPECT_EQ(split.colChannelData.Item(5), "");
  EXPECT_EQ(split.colGroupData.Item(1), "");
  EXPECT_EQ(prompt->messages.size(), 1u);
}

}  // namespace
}  // namespace tallisk
