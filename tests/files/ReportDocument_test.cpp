// The printed report as whole documents, against reviewed texts in tests/data, and its pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "files/ReportDocument.h"
#include "files/ReportPages.h"

namespace tallisk {
namespace {

// The document as text: first the font of each style, then one line per document line between
// its style's letter (H heading, C channel heading, B body) and a bar that shows where its
// trailing blanks end, so a line in the wrong style shows as plainly as a wrong text.
std::string Text(const ReportDocument& document) {
  std::string text;
  for (const auto style : {ReportStyle::Heading, ReportStyle::ChannelHeading, ReportStyle::Body})
    text += std::string(FontOf(style).Name) + " " + std::to_string(FontOf(style).Size) + ";";
  for (const auto& block : document)
    for (const auto& line : block.Lines)
      text += "\n" + std::string(1, "HCB"[static_cast<int>(block.Style)]) + "|" + line + "|";
  return text + "\n";
}

std::string Expected(const std::string& name) {
  std::ifstream file(std::string(TALLISK_TEST_DATA) + "/" + name);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Every setting away from its default, neighbouring lists on different codes.
clsRadioHeader FullySetHeader() {
  clsRadioHeader h;
  h.ModelName = "52-37211";
  h.PLLReferenceFreq = 6.25f;
  h.SerialNumber = "12345";
  h.CustomerNumber = "C0001";
  h.DateRadio = Date(2026, 12, 6);
  h.InjectionAspect = h.PriorityCnlMonitorCycle = h.HoldTimeAfterRx = h.BusyChannelLockOut = 1;
  h.ScanMethod = h.PriorityCnlMonitorTime = h.ScanListClear = 2;
  h.AuxKeyType = h.ScanHoldConditions = h.HoldTimeAfterTx = 3;
  h.TxTimeOutTimer = 4;
  h.ChannelRollOver = h.Priority2Channel = h.OffHookScanStop = h.BeepA = h.BeepC = true;
  h.OperationType = h.RelocateAddDelKeys = h.PRI1PRI2 = h.SelectiveCallReceipt = 1;
  h.ScanChannelSlaving = h.SecondLocalRX = 1;
  h.PushButtonFeedback = 2;
  h.SelfTestAndError = -1;
  h.OptionPortType = 4;
  h.FrontPanelConfiguration = 3;
  h.Aux1 = h.Aux3 = h.Aux5 = h.Aux7 = true;
  h.EnableChannelRollover = h.PRIButtonFunctionEnable = h.MomentaryChannelKnob = true;
  h.NoiseSquelchTail = 250;
  h.CTCSSSquelchTail = 25.5f;
  return h;
}

// A channel: name, then frequency, signalling and code of each half (the code is a tone
// code under CTCSS, the DCS data under CDCSS).
clsChannel Channel(std::string name, double rx, int rxSignalling, int rxCode, double tx,
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

// Channels 3 to 9 defined, each in its own way; 1, 2 and 10 to 17 make an undefined list
// of exactly 30 characters before 16, which does not break it yet.
ReportDocument QvrReport() {
  std::vector<clsChannel> channels(17);
  channels[2] = Channel("", 150012500, 0, 0, 155012500, 1, -19);
  channels[2].RxSquelchToneFrequency = 88.5f;
  channels[2].TxPowerControl = 1;
  channels[2].AuxData = "11111111";
  channels[2].GroupA = true;
  // No transmit frequency: no signalling lines for that half.
  channels[3] = Channel("", 450100000, 3, 0, 0, 1, 0);
  channels[3].Scrambler = channels[3].GroupB = true;
  channels[3].AuxData = "10100000";
  // Transmit only; 0 is "+0", and the lowest code has no positive twin.
  channels[4] = Channel("", 0, 0, 0, 151000000, 1, 0);
  channels[5] = Channel("", 1, 1, -32768, 0, 0, 0);
  // A signalling code with no name prints the frequency and nothing about the decoder.
  channels[6] = Channel("", 150012499.6, 2, 0, 0, 0, 0);
  channels[7] = Channel("", 1234567890, 2, 0, 0, 0, 0);
  channels[8] = Channel("", -1, 2, 0, 0, 0, 0);
  return PrintReportQVR(FullySetHeader(), channels);
}

// A KM2 programming: channels with and without tones, rows left out for want of a receive
// frequency, and groups of channels.
struct Km2Programming {
  clsRadioHeader header = FullySetHeader();
  std::vector<clsChannel> channels = std::vector<clsChannel>(320);
  std::vector<clsGroup> groups = std::vector<clsGroup>(16);
  std::vector<clsChannelGroup> table = std::vector<clsChannelGroup>(320);
  colCTCSSFrequencies tones;
  std::size_t next = 0;

  Km2Programming() {
    tones.LoadCodesKM2();
    // 67 Hz; 69.3 Hz of the special bank, whose code already counts the bank's 100.
    channels[0] = Channel("BASE", 450125000, 0, 0x01, 455125000, 0, 0x65);
    channels[1] = Channel("", 0, 0, 0, 460000000, 0, 0);
    channels[2] = Channel("REPEATER1", 451000000, 1, 19, 456000000, 1, -492);
    channels[3] = Channel("LOC", 452500000, 0, 0x30, 452500000, 3, 0);  // no such tone
    // A transmit-only tone, which the receive list does not hold; 71.9 Hz.
    channels[4] = Channel("", 453000000, 0, 0x65, 453000000, 0, 0x02);
    channels[44] = Channel("", 150012500, 3, 0, 0, 3, 0);
    channels[319] = Channel("REPEATER", 150012500, 1, 0, 155012500, 0, 0x0D);
    clsGroup& g = groups[2];
    g.GroupName = "FIR";
    g.PriorityChannel1 = 12;
    g.BusyChannelLockOut = g.ScanHoldingEvents = g.MultiDigitDecodeFormat = 1;
    g.TimeOutTimer = 67.5f;
    g.IntervalA = 250;
    g.IntervalBDCS = 15;
    g.IntervalBCTCSS = 3;
    g.RXScanHold = 2.5f;
    g.TXScanHold = 0.5f;
    g.PriChSamplingRatio = 4;
    g.PriChSamplingRate = 0.3f;
    g.DeleteChTableClear = 3;
    g.UnKeyDelayTime = 105;
    g.TXOnPriorityChannel = g.EnablePTTANI = g.EnableANIOnMONButton = true;
    g.DTMF2805IDNumber = "12AB*#";
    for (int channel : {12, 3, 1, 4, 5, 6, 7, 8, 9, 10, 11, 13}) Assign(3, channel);
    Assign(3, 2, false);
    Assign(1, 2, false);  // no programmed channel: group 1 is left out
    for (int channel = 301; channel <= 310; ++channel) Assign(16, channel);
  }

  void Assign(int group, int channel, bool programmed = true) {
    clsChannelGroup& entry = table[next++];
    entry.GroupNumber = static_cast<std::int16_t>(group);
    entry.ChannelNumber = static_cast<std::int16_t>(channel);
    entry.Programmed = programmed;
  }

  ReportDocument Report(bool specialRadio) const {
    return PrintReportKM2(header, channels, groups, table, tones, specialRadio);
  }
};

TEST(ReportDocument, EachFamilysReportOfAFullySetProgrammingIsTheReviewedText) {
  EXPECT_EQ(Text(QvrReport()), Expected("report-qvr.txt"));
  const Km2Programming km2;
  const std::string special = Text(km2.Report(true));
  EXPECT_EQ(special, Expected("report-km2.txt"));
  // The transmit tone of the special bank shows only on a special radio.
  std::string plain = special;
  plain.replace(plain.find("   69.3T"), 8, "       T");
  EXPECT_EQ(Text(km2.Report(false)), plain);

  // With every channel defined the undefined list and its heading are left out.
  const std::vector<clsChannel> defined(2, Channel("", 150000000, 3, 0, 0, 0, 0));
  EXPECT_EQ(Text(PrintReportQVR({}, defined)).find(kReportUndefined), std::string::npos);
}

// Every code of every list from -1 to 8 set at once, as a table of each line whose value the
// code changes: "-" is a code the settings' list does not name, which leaves its line out; the
// group's lists fall back to their last text instead.
TEST(ReportDocument, EveryCodeOfEachListPrintsItsName) {
  std::map<std::string, std::vector<std::string>> values;
  for (int code = -1; code <= 8; ++code) {
    clsRadioHeader h;
    h.ScanMethod = h.AuxKeyType = h.PriorityCnlMonitorTime = h.ScanHoldConditions = code;
    h.HoldTimeAfterRx = h.HoldTimeAfterTx = h.ScanListClear = h.BusyChannelLockOut = code;
    h.TxTimeOutTimer = code;
    clsGroup g;
    g.BusyChannelLockOut = g.ScanHoldingEvents = g.DeleteChTableClear = code;
    g.MultiDigitDecodeFormat = static_cast<std::int16_t>(code);
    std::istringstream lines(h.CreateHumanViewableString() + g.CreateHumanViewableString(1));
    for (std::string line; std::getline(lines, line, '\r'); lines.ignore()) {
      auto& column = values[line.substr(0, 30)];
      column.resize(static_cast<std::size_t>(code + 1), "-");
      column.push_back(line.substr(32));
    }
  }
  std::string table;
  for (auto& [label, column] : values) {
    column.resize(10, "-");
    if (std::count(column.begin(), column.end(), column[0]) == 10) continue;
    table += label;
    for (const auto& value : column) table += "|" + value;
    table += "\n";
  }
  EXPECT_EQ(table, Expected("report-names.txt"));
}

// Heights as a printer gives them, roughly: headings taller than body lines.
double Height(ReportStyle style) {
  return style == ReportStyle::Heading ? 20 : style == ReportStyle::ChannelHeading ? 16 : 10;
}

// What heads the lines after it, and so must not end a page.
bool Heads(const ReportLine& line) {
  return line.Style != ReportStyle::Body || line.Text == kReportKM2ColumnHeading ||
         line.Text == kReportUndefined || line.Text == kReportProgrammedChannels;
}

// Whatever the page height (from one that just takes the longest heading run: 20 + 20 +
// 16 + 10), every line that is not blank appears once and in order, no page runs over, none
// starts with a blank line, and none ends with a heading.
TEST(ReportPages, EveryPageHeightKeepsTheLinesInOrderAndNoHeadingAtTheFoot) {
  for (const auto& document : {QvrReport(), Km2Programming().Report(true)}) {
    const std::vector<ReportLine> lines = ReportLines(document);
    std::vector<std::string> expected;
    for (const auto& line : lines)
      if (!line.Text.empty()) expected.push_back(line.Text);
    for (double pageHeight = 66; pageHeight <= 400; pageHeight += 7) {
      SCOPED_TRACE("page height " + std::to_string(pageHeight));
      const auto pages = PaginateReport(lines, pageHeight, Height);
      ASSERT_GT(pages.size(), 1u);
      std::vector<std::string> printed;
      for (const auto& page : pages) {
        double used = 0;
        for (const auto& line : page) used += Height(line.Style);
        EXPECT_LE(used, pageHeight);
        auto last = page.rbegin();
        while (last != page.rend() && last->Text.empty()) ++last;
        ASSERT_NE(last, page.rend());
        EXPECT_FALSE(page.front().Text.empty()) << "a page starts with a blank line";
        EXPECT_FALSE(Heads(*last)) << "\"" << last->Text << "\" ends a page";
        for (const auto& line : page)
          if (!line.Text.empty()) printed.push_back(line.Text);
      }
      EXPECT_EQ(printed, expected);
    }
  }
}

TEST(ReportPages, AHeadingThatWouldEndAPageStartsTheNextWithItsLine) {
  // The general section takes 290; Channel Information with its blank line (40), Channel 3
  // (16) and its first body line (10) would need 356, so on a page of 300 they move together
  // and the first page keeps the whole general section.
  const auto pages = PaginateReport(ReportLines(QvrReport()), 300, Height);
  ASSERT_GE(pages.size(), 2u);
  EXPECT_EQ(pages[0].size(), 27u);
  EXPECT_EQ(pages[1][0].Text, kReportChannels);
}

}  // namespace
}  // namespace tallisk
