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
  channels[0].RxFrequency = 150012500;
  channels[2].TxFrequency = 151000000;  // a channel that only transmits is defined too

  // The settings and channel texts are the library's own (tests/lib/report_test.cpp); here
  // what matters is where they go, in which style, and what the document adds.
  const std::vector<std::string> expected =
      Join({{"H|General Radio Information", "H|"},
            Body(h.CreateHumanViewableString()),
            {"B|", "H|Channel Information", "H|", "C|Channel 1"},
            Body(channels[0].CreateHumanViewableString()),
            {"B|", "C|Channel 3"},
            Body(channels[2].CreateHumanViewableString()),
            {"B|", "B|Following Channels Have Not Been Defined", "B|2, 4", "B|"}});
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
  const struct {
    int count;
    std::vector<int> undefined;
    std::vector<std::string> lines;
  } cases[] = {
      {16, {3, 4, 9}, {"B|3, 4, 9"}},
      // A line breaks only once it has run past 30 characters: 1, 2 and 10 to 15 make exactly 30.
      {20,
       {1, 2, 10, 11, 12, 13, 14, 15, 16, 17},
       {"B|1, 2, 10, 11, 12, 13, 14, 15, 16, ", "B|17"}},
      {16,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       {"B|1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ", "B|11, 12, 13, 14, 15, 16"}},
      {8, {}, {"(no B|Following Channels Have Not Been Defined)"}},
  };
  for (const auto& c : cases) {
    std::vector<clsChannel> channels(static_cast<std::size_t>(c.count));
    for (int i = 1; i <= c.count; ++i) {
      if (std::find(c.undefined.begin(), c.undefined.end(), i) == c.undefined.end())
        channels[i - 1].RxFrequency = 150000000 + i * 12500.0;
    }
    const auto lines = Styled(PrintReportQVR(clsRadioHeader{}, channels));
    EXPECT_EQ(LinesAfter(lines, "B|Following Channels Have Not Been Defined"), c.lines);
    EXPECT_EQ(lines.back(), "B|");
  }
}

// A KM2 channel: name, then frequency, signalling and code of each half (the code is a tone
// code under CTCSS, the DCS data under CDCSS).
clsChannel Km2Channel(std::string name, double rx, int rxSignalling, int rxCode, double tx,
                      int txSignalling, int txCode) {
  clsChannel c;
  c.ChannelName = std::move(name);
  c.RxFrequency = rx;
  c.TxFrequency = tx;
  c.RxSignalling = rxSignalling;
  c.TxSignalling = txSignalling;
  c.RxCTCSSCode = static_cast<std::uint8_t>(rxCode);
  c.TxCTCSSCode = static_cast<std::uint8_t>(txCode);
  c.RxSignalData = static_cast<std::int16_t>(rxCode);
  c.TxSignalData = static_cast<std::int16_t>(txCode);
  return c;
}

// A KM2 programming: channels with and without tones, a row left out for want of a receive
// frequency, and groups of channels.
struct Km2Programming {
  clsRadioHeader header;
  std::vector<clsChannel> channels = {
      // 67 Hz; 69.3 Hz of the special bank, whose code already counts the bank's 100.
      Km2Channel("BASE", 450125000, 0, 0x01, 455125000, 0, 0x65),
      Km2Channel("", 0, 0, 0, 460000000, 0, 0),
      Km2Channel("REPEATER1", 451000000, 1, 19, 456000000, 1, -492),
      Km2Channel("LOC", 452500000, 0, 0x30, 452500000, 3, 0),  // no such tone
      // A transmit-only tone, which the receive list does not hold; 71.9 Hz.
      Km2Channel("", 453000000, 0, 0x65, 453000000, 0, 0x02)};
  std::vector<clsGroup> groups = std::vector<clsGroup>(16);
  std::vector<clsChannelGroup> table = std::vector<clsChannelGroup>(320);
  colCTCSSFrequencies tones;

  Km2Programming() {
    tones.LoadCodesKM2();
    header.ModelName = "KM2-450";
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
  p.Assign(1, 2, false);  // no programmed channel: group 1 is left out
  for (int channel = 301; channel <= 310; ++channel) p.Assign(16, channel);

  const std::vector<std::string> expected = Join(
      {{"H|General Radio Information", "H|"},
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
       // Ten channel numbers a line; a tenth ends its line, and the line after is empty.
       {"B|Programmed channel:", "B| 1  3  4  5  6  7  8  9  10  11 ", "B| 12  13 ", "B|"},
       Body(p.groups[15].CreateHumanViewableString(16)),
       {"B|Programmed channel:", "B| 301  302  303  304  305  306  307  308  309  310 ", "B|"}});
  EXPECT_EQ(p.Report(true), expected);

  // The transmit tone of the special bank shows only on a special radio.
  auto plain = expected;
  *std::find(plain.begin(), plain.end(), "B|   1   BASE  450.125000     67T   455.125000   69.3T") =
      "B|   1   BASE  450.125000     67T   455.125000       T";
  EXPECT_EQ(p.Report(false), plain);
}

}  // namespace
}  // namespace tallisk
