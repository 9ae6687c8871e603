#include "files/ReportDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace tallisk {
namespace {

// The document one line at a time, each line behind the letter of its style (H heading,
// C channel heading, B body), so a line in the wrong style shows as plainly as a wrong text.
std::vector<std::string> Styled(const ReportDocument& document) {
  std::vector<std::string> out;
  for (const auto& block : document) {
    const char letter = block.Style == ReportStyle::Heading          ? 'H'
                        : block.Style == ReportStyle::ChannelHeading ? 'C'
                                                                     : 'B';
    for (const auto& line : block.Lines) out.push_back(letter + std::string("|") + line);
  }
  return out;
}

// A library text as the document's body lines: one per CR LF, the last one empty.
std::vector<std::string> Body(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
    out.push_back("B|" + text.substr(from, end - from));
  out.push_back("B|" + text.substr(from));
  return out;
}

// `parts` one after another.
std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The lines after the first one equal to `from`, up to the next empty line or the end.
std::vector<std::string> LinesAfter(const std::vector<std::string>& lines,
                                    const std::string& from) {
  auto at = std::find(lines.begin(), lines.end(), from);
  if (at == lines.end()) return {"(no " + from + ")"};
  std::vector<std::string> out;
  for (++at; at != lines.end() && *at != "B|"; ++at) out.push_back(*at);
  return out;
}

TEST(ReportDocument, QvrReportOfAKnownProgrammingLineByLine) {
  clsRadioHeader h;
  h.ModelName = "52-37211";

  std::vector<clsChannel> channels(4);
  clsChannel& one = channels[0];
  one.RxFrequency = 150012500;
  one.RxSignalling = 0;
  one.RxSquelchToneFrequency = 67;
  one.TxFrequency = 155500000;
  one.TxSignalling = 1;
  one.TxSignalData = 19;
  one.TxPowerControl = 1;
  one.AuxData = "10100000";
  one.GroupA = true;
  clsChannel& three = channels[2];
  three.TxFrequency = 151000000;
  three.TxSignalling = 3;
  three.Scrambler = true;
  three.GroupB = true;

  // The settings and channel texts are the library's own (tests/lib/report_test.cpp); here
  // what matters is where they go, in which style, and what the document adds.
  const std::vector<std::string> expected =
      Join({{"H|General Radio Information", "H|"},
            Body(h.CreateHumanViewableString()),
            {"B|", "H|Channel Information", "H|", "C|Channel 1"},
            Body(one.CreateHumanViewableString()),
            {"B|", "C|Channel 3"},
            Body(three.CreateHumanViewableString()),
            {"B|", "B|Following Channels Have Not Been Defined", "B|2, 4", "B|"}});
  ASSERT_EQ(expected.size(), 57u);
  const ReportDocument document = PrintReportQVR(h, channels);
  EXPECT_EQ(Styled(document), expected);
  // The printer changes font where the style changes.
  EXPECT_EQ(document.size(), 8u);
  std::string fonts;
  for (const auto style : {ReportStyle::Heading, ReportStyle::ChannelHeading, ReportStyle::Body})
    fonts += std::string(FontOf(style).Name) + " " + std::to_string(FontOf(style).Size) + ";";
  EXPECT_EQ(fonts, "Arial 14;Arial 12;Courier 10;");
}

TEST(ReportDocument, QvrUndefinedChannelsListBreaksPastThirtyCharactersAndGoesWhenAllAreDefined) {
  const auto undefinedLines = [](int count, std::vector<int> undefined) {
    std::vector<clsChannel> channels(count);
    for (int i = 1; i <= count; ++i) {
      if (std::find(undefined.begin(), undefined.end(), i) == undefined.end())
        channels[i - 1].RxFrequency = 150000000 + i * 12500.0;
    }
    return LinesAfter(Styled(PrintReportQVR(clsRadioHeader{}, channels)),
                      "B|Following Channels Have Not Been Defined");
  };
  EXPECT_EQ(undefinedLines(16, {3, 4, 9}), (std::vector<std::string>{"B|3, 4, 9"}));
  // A line breaks only once it has run past 30 characters: 1, 2 and 10 to 15 make exactly 30.
  EXPECT_EQ(undefinedLines(20, {1, 2, 10, 11, 12, 13, 14, 15, 16, 17}),
            (std::vector<std::string>{"B|1, 2, 10, 11, 12, 13, 14, 15, 16, ", "B|17"}));
  EXPECT_EQ(
      undefinedLines(16, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
      (std::vector<std::string>{"B|1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ", "B|11, 12, 13, 14, 15, 16"}));

  std::vector<clsChannel> defined(8);
  for (auto& channel : defined) channel.RxFrequency = 450000000;
  const auto lines = Styled(PrintReportQVR(clsRadioHeader{}, defined));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "B|Following Channels Have Not Been Defined"),
            0);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("C|Channel "); }),
            8);
  EXPECT_EQ(lines.back(), "B|");
}

// A KM2 programming: channels with and without tones, a row left out for
// want of a receive frequency, and one group with its channels.
struct Km2Programming {
  clsRadioHeader header;
  std::vector<clsChannel> channels = std::vector<clsChannel>(5);
  std::vector<clsGroup> groups = std::vector<clsGroup>(16);
  std::vector<clsChannelGroup> table = std::vector<clsChannelGroup>(320);
  colCTCSSFrequencies tones;

  Km2Programming() {
    tones.LoadCodesKM2();
    header.ModelName = "KM2-450";

    clsChannel& c1 = channels[0];
    c1.ChannelName = "BASE";
    c1.RxFrequency = 450125000;
    c1.RxSignalling = 0;
    c1.RxCTCSSCode = 0x01;  // 67 Hz
    c1.TxFrequency = 455125000;
    c1.TxSignalling = 0;
    c1.TxCTCSSCode = 0x65;  // 69.3 Hz, special bank: the code already counts the bank's 100
    channels[1].TxFrequency = 460000000;
    clsChannel& c3 = channels[2];
    c3.ChannelName = "REPEATER1";
    c3.RxFrequency = 451000000;
    c3.RxSignalling = 1;
    c3.RxSignalData = 19;
    c3.TxFrequency = 456000000;
    c3.TxSignalling = 1;
    c3.TxSignalData = -492;
    clsChannel& c4 = channels[3];
    c4.ChannelName = "LOC";
    c4.RxFrequency = c4.TxFrequency = 452500000;
    c4.RxSignalling = 0;
    c4.RxCTCSSCode = 0x30;  // no such tone
    c4.TxSignalling = 3;
    clsChannel& c5 = channels[4];
    c5.RxFrequency = c5.TxFrequency = 453000000;
    c5.RxSignalling = c5.TxSignalling = 0;
    c5.RxCTCSSCode = 0x65;  // a transmit-only tone: the receive list does not hold it
    c5.TxCTCSSCode = 0x02;  // 71.9 Hz

    groups[2].GroupName = "FIR";
  }

  // Channel `channel` into group `group`, as the next table entry.
  void Assign(int group, int channel, bool programmed = true) {
    clsChannelGroup& entry = table[next++];
    entry.GroupNumber = static_cast<std::int16_t>(group);
    entry.ChannelNumber = static_cast<std::int16_t>(channel);
    entry.Programmed = programmed;
  }
  std::size_t next = 0;

  std::vector<std::string> Report(bool specialRadio) const {
    return Styled(PrintReportKM2(header, channels, groups, table, tones, specialRadio));
  }
};

TEST(ReportDocument, Km2ReportOfAKnownProgrammingLineByLine) {
  Km2Programming p;
  for (int channel : {12, 3, 1, 4, 5, 6, 7, 8, 9, 10, 11, 13}) p.Assign(3, channel);
  p.Assign(3, 2, false);
  p.Assign(1, 2, false);

  const std::vector<std::string> expected =
      Join({{"H|General Radio Information", "H|"},
            Body(p.header.CreateHumanViewableStringKM2()),
            {"B|", "H|Channel Information", "B|",
             "B|CH  NAME      RXF[MHZ]  RX-DEC     TXF[MHZ]  RX-DEC    ",
             // Columns: 4 number, 6 name, 10 + 6 + mark receive, 10 + 6 + mark transmit.
             "B|   1   BASE  450.125000     67T   455.125000   69.3T",
             "B|   3 REPEAT  451.000000    +23D   456.000000   -754D",
             "B|   4    LOC  452.500000       T   452.500000   None ",
             "B|   5         453.000000       T   453.000000   71.9T", "B|", "H|Group Information",
             "B|"},
            Body(p.groups[2].CreateHumanViewableString(3)),
            {"B|Programmed channel:", "B| 1  3  4  5  6  7  8  9  10  11 ", "B| 12  13 "}});
  ASSERT_EQ(expected.size(), 66u);
  EXPECT_EQ(p.Report(true), expected);
}

TEST(ReportDocument, Km2TransmitToneOfTheSpecialBankShowsOnlyOnASpecialRadio) {
  Km2Programming p;
  const auto rows = LinesAfter(p.Report(false), "B|" + std::string(kReportKM2ColumnHeading));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "B|   1   BASE  450.125000     67T   455.125000       T");
  EXPECT_EQ(rows[3], "B|   5         453.000000       T   453.000000   71.9T");
}

TEST(ReportDocument, Km2GroupsPrintTenChannelNumbersALineAndGroupsWithoutChannelsAreLeftOut) {
  Km2Programming p;
  for (int channel = 1; channel <= 23; ++channel) p.Assign(2, channel);
  for (int channel = 301; channel <= 310; ++channel) p.Assign(16, channel);
  p.Assign(5, 40, false);  // not programmed: group 5 has no channel

  const auto lines = p.Report(true);
  std::vector<std::string> groupNumbers;
  for (const auto& line : lines) {
    if (line.starts_with("B|Group Number")) groupNumbers.push_back(line.substr(34));
  }
  EXPECT_EQ(groupNumbers, (std::vector<std::string>{" 2", " 16"}));

  // The lines under the n-th "Programmed channel:", up to the blank line before the next group.
  const auto numbers = [&lines](int n) {
    auto at = lines.begin();
    for (int k = 0; k <= n; ++k) at = std::find(at + (k > 0), lines.end(), "B|Programmed channel:");
    std::vector<std::string> found;
    for (++at; at < lines.end(); ++at) {
      if (at + 1 < lines.end() && at[1].starts_with("B|Group Number")) break;
      found.push_back(*at);
    }
    return found;
  };
  EXPECT_EQ(numbers(0), (std::vector<std::string>{"B| 1  2  3  4  5  6  7  8  9  10 ",
                                                  "B| 11  12  13  14  15  16  17  18  19  20 ",
                                                  "B| 21  22  23 "}));
  // A tenth number ends its line, and the line in progress after it is printed empty.
  EXPECT_EQ(numbers(1), (std::vector<std::string>{
                            "B| 301  302  303  304  305  306  307  308  309  310 ", "B|"}));
}

}  // namespace
}  // namespace tallisk
