#include "files/ReportPages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallisk {
namespace {

// Heights as a printer gives them, roughly: headings taller than body lines.
double Height(ReportStyle style) {
  return style == ReportStyle::Heading ? 20 : style == ReportStyle::ChannelHeading ? 16 : 10;
}

// What heads the lines after it, and so must not end a page.
bool Heads(const ReportLine& line) {
  return line.Style != ReportStyle::Body || line.Text == kReportKM2ColumnHeading ||
         line.Text == kReportUndefined || line.Text == kReportProgrammedChannels;
}

// A QVR report of `channels` defined channels of three body lines each and channels 5 and 6
// undefined, then the headings a KM2 report adds: the channel table's and a group's.
ReportDocument QvrLikeReport(int channels) {
  ReportDocument document;
  document.push_back({ReportStyle::Heading, {"General Radio Information", ""}});
  document.push_back({ReportStyle::Body, {"Model : 52-37211", "Serial : 12345", ""}});
  document.push_back({ReportStyle::Heading, {"Channel Information", ""}});
  for (int i = 1; i <= channels; ++i) {
    document.push_back({ReportStyle::ChannelHeading, {"Channel " + std::to_string(i)}});
    document.push_back(
        {ReportStyle::Body,
         {"Rx " + std::to_string(i), "Tx " + std::to_string(i), "Power " + std::to_string(i), ""}});
  }
  document.push_back({ReportStyle::Body, {kReportUndefined, "5, 6", ""}});
  document.push_back(
      {ReportStyle::Body,
       {kReportKM2ColumnHeading, "1  ROW ONE", "", kReportProgrammedChannels, " 1 "}});
  return document;
}

double PageHeightUsed(const ReportPage& page) {
  double used = 0;
  for (const auto& line : page) used += Height(line.Style);
  return used;
}

// Whatever the page height (from one that just takes the longest heading run: 20 + 20 +
// 16 + 10), every line that is not blank appears once and in order, no page runs over, none
// starts with a blank line, and none ends with a heading.
TEST(ReportPages, EveryPageHeightKeepsTheLinesInOrderAndNoHeadingAtTheFoot) {
  const std::vector<ReportLine> lines = ReportLines(QvrLikeReport(12));
  std::vector<std::string> expected;
  for (const auto& line : lines)
    if (!line.Text.empty()) expected.push_back(line.Text);

  for (double pageHeight = 66; pageHeight <= 400; pageHeight += 7) {
    SCOPED_TRACE("page height " + std::to_string(pageHeight));
    const auto pages = PaginateReport(lines, pageHeight, Height);
    ASSERT_GT(pages.size(), 1u);
    std::vector<std::string> printed;
    for (const auto& page : pages) {
      ASSERT_FALSE(page.empty());
      EXPECT_LE(PageHeightUsed(page), pageHeight);
      EXPECT_FALSE(page.front().Text.empty()) << "a page starts with a blank line";
      // The last line that is not blank must not be a heading.
      auto last = page.rbegin();
      while (last != page.rend() && last->Text.empty()) ++last;
      ASSERT_NE(last, page.rend());
      EXPECT_FALSE(Heads(*last)) << "\"" << last->Text << "\" ends a page";
      for (const auto& line : page)
        if (!line.Text.empty()) printed.push_back(line.Text);
    }
    EXPECT_EQ(printed, expected);
  }
}

TEST(ReportPages, AHeadingThatWouldEndAPageStartsTheNextWithItsLine) {
  // General with its blank line (20 + 20) and its body (30): 70. Channel Information with
  // its blank line (40), Channel 1 (16) and its first body line (10) would need 136; on a
  // page of 100 they move together.
  const auto pages = PaginateReport(ReportLines(QvrLikeReport(3)), 100, Height);
  ASSERT_GE(pages.size(), 2u);
  ASSERT_EQ(pages[0].back().Text, "");
  EXPECT_EQ(pages[0][pages[0].size() - 2].Text, "Serial : 12345");
  ASSERT_GE(pages[1].size(), 3u);
  EXPECT_EQ(pages[1][0].Text, "Channel Information");
  EXPECT_EQ(pages[1][2].Text, "Channel 1");
  EXPECT_EQ(pages[1][3].Text, "Rx 1");
}

}  // namespace
}  // namespace tallisk
