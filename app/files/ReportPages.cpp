#include "files/ReportPages.h"

#include <cstddef>

namespace tallisk {
namespace {

bool IsBlank(const ReportLine& line) {
  return line.Text.find_first_not_of(' ') == std::string::npos;
}

bool IsHeadingLine(ReportStyle style, const std::string& text) {
  if (text.empty()) return false;
  if (style != ReportStyle::Body) return true;
  return text == kReportKM2ColumnHeading || text == kReportUndefined ||
         text == kReportProgrammedChannels;
}

// The end (one past) of the run that starts at `first` and must stay on one page: a
// heading, any blank lines after it, and the line it heads, which may be a heading itself.
std::size_t KeptRunEnd(const std::vector<ReportLine>& lines, std::size_t first) {
  std::size_t end = first + 1;
  bool open = lines[first].KeepWithNext;
  while (open && end < lines.size()) {
    const ReportLine& next = lines[end++];
    if (!IsBlank(next)) open = next.KeepWithNext;
  }
  return end;
}

}  // namespace

std::vector<ReportLine> ReportLines(const ReportDocument& document) {
  std::vector<ReportLine> lines;
  for (const ReportBlock& block : document)
    for (const std::string& text : block.Lines)
      lines.push_back({block.Style, text, IsHeadingLine(block.Style, text)});
  return lines;
}

std::vector<ReportPage> PaginateReport(const std::vector<ReportLine>& lines, double pageHeight,
                                       const std::function<double(ReportStyle)>& lineHeight) {
  std::vector<ReportPage> pages;
  ReportPage page;
  double used = 0;
  const auto place = [&](const ReportLine& line) {
    const double height = lineHeight(line.Style);
    if (!page.empty() && used + height > pageHeight) {
      pages.push_back(std::move(page));
      page.clear();
      used = 0;
    }
    if (page.empty() && IsBlank(line)) return;
    page.push_back(line);
    used += height;
  };

  std::size_t first = 0;
  while (first < lines.size()) {
    const std::size_t end = KeptRunEnd(lines, first);
    double height = 0;
    for (std::size_t i = first; i < end; ++i) height += lineHeight(lines[i].Style);
    // A run that fits no page at all is cut where the page ends, like any other lines.
    if (!page.empty() && used + height > pageHeight && height <= pageHeight) {
      pages.push_back(std::move(page));
      page.clear();
      used = 0;
    }
    for (std::size_t i = first; i < end; ++i) place(lines[i]);
    first = end;
  }
  if (!page.empty()) pages.push_back(std::move(page));
  return pages;
}

}  // namespace tallisk
