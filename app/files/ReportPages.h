#pragma once

// The report's lines laid out on pages. A printer breaks a page wherever the next line does
// not fit; a technician then finds "Channel 12" alone at the foot of one sheet and its
// settings on the next. Here a heading travels with the line after it, a line is never cut,
// and a page never starts with blank lines. Only the heights come from the output device,
// so the same layout serves the printer and the PDF.

#include <functional>
#include <string>
#include <vector>

#include "files/ReportDocument.h"

namespace tallisk {

struct ReportLine {
  ReportStyle Style = ReportStyle::Body;
  std::string Text;
  // A heading: it goes to the next page rather than end one without what it heads.
  bool KeepWithNext = false;

  bool operator==(const ReportLine&) const = default;
};

using ReportPage = std::vector<ReportLine>;

// The document's lines one after another. The section and channel headings, the KM2
// column heading, the heading of the undefined channels and the "Programmed channel:" line
// are kept with the line that follows them.
std::vector<ReportLine> ReportLines(const ReportDocument& document);

// Lines onto pages of `pageHeight`, each line as high as lineHeight says for its style.
// A heading goes with the next line that is not blank (with any blank lines between); when
// that would leave the page empty anyway the lines are placed one by one, so a page always
// takes at least one line. Blank lines at the top of a page are dropped. No page is empty;
// an empty document has no pages.
std::vector<ReportPage> PaginateReport(const std::vector<ReportLine>& lines, double pageHeight,
                                       const std::function<double(ReportStyle)>& lineHeight);

}  // namespace tallisk
