// The report on paper and in PDF files, read back with pdftotext as a technician would read
// the sheets: every channel row, in order, on pages that break where they should.

#include <QPageLayout>
#include <QPrinter>
#include <numeric>
#include <regex>
#include <sstream>

#include "QtTestSupport.h"
#include "ui/qt/ReportPrinter.h"

namespace tallisk::testing {
namespace {

namespace fs = std::filesystem;

// The lines of a PDF that are not blank, page by page, as pdftotext lays them out.
std::vector<std::vector<std::string>> PdfPages(const fs::path& pdf) {
  const std::string command = "pdftotext -layout '" + pdf.string() + "' -";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string text;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, n);
  EXPECT_EQ(::pclose(pipe), 0) << command;
  std::vector<std::vector<std::string>> pages;
  std::istringstream all(text);
  // Every page ends with a form feed, the last one too.
  for (std::string page, line; std::getline(all, page, '\f');) {
    std::istringstream lines(page);
    pages.emplace_back();
    while (std::getline(lines, line))
      if (line.find_first_not_of(' ') != std::string::npos) pages.back().push_back(line);
  }
  return pages;
}

class ReportPrinting : public MainWindowTest {
 protected:
  const fs::path folder_ = root_ / "reports";
  qt::QtDialogs qtDialogs_;
  qt::QtReportOutput output_{qtDialogs_};
};

// Which heading ends no page, and in what order the lines come, is the paginator's (see
// tests/files/ReportDocument_test.cpp); here, that the pages drawn hold what it gave them.
TEST_F(ReportPrinting, AKm2ReportSavedAsPdfOrPrintedHoldsEveryChannelRowInOrder) {
  App();
  frmMain& w = StartKM2();
  Km2Programming programming(*w.Operator);
  for (int i = 1; i <= 320; ++i) {
    clsChannel& c = programming.Channels[i - 1];
    c.RxFrequency = c.TxFrequency = 150000000 + 12500 * i;
    c.RxSignalling = c.TxSignalling = 3;
    c.ChannelName = "CH" + std::to_string(i);
  }
  ASSERT_TRUE(w.ShowImageKM2(programming.Image()));
  w.UseReportOutput(output_);
  fs::create_directories(folder_);
  const fs::path pdf = folder_ / "radio.pdf";
  dialogs_.Files = {pdf.string()};
  w.btnSaveAsPdf.Press();

  const auto pages = PdfPages(pdf);
  ASSERT_GE(pages.size(), 6u);
  // A row's number and the name it was given are the same.
  static const std::regex row(R"( *(\d+) +CH\1 +\d+\.\d{6} .*)");
  std::vector<int> numbers;
  std::vector<std::size_t> savedDepths;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_NE(pages[p].back().find("Page " + std::to_string(p + 1) + " of " +
                                   std::to_string(pages.size())),
              std::string::npos)
        << pages[p].back();
    std::smatch m;
    for (const auto& line : pages[p])
      if (std::regex_match(line, m, row)) numbers.push_back(std::stoi(m[1]));
    savedDepths.push_back(pages[p].size());
  }
  std::vector<int> expected(320);
  std::iota(expected.begin(), expected.end(), 1);
  EXPECT_EQ(numbers, expected);

  // A printer comes out of its dialog with its paper, and the area it can print on, in points;
  // on A4 it breaks its pages where the saved PDF does.
  const fs::path printed = root_ / "printed.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Point));
  printer.setOutputFileName(QString::fromStdString(printed.string()));
  qt::PrintReport(w.BuildReport(), printer);
  std::vector<std::size_t> printedDepths;
  for (const auto& page : PdfPages(printed)) printedDepths.push_back(page.size());
  EXPECT_EQ(printedDepths, savedDepths);

  // The name the technician chose is taken by a folder: the PDF is made, but cannot take
  // its place, and neither save leaves a temporary file beside the first PDF.
  const fs::path taken = folder_ / "report.pdf";
  fs::create_directories(taken);
  dialogs_.Files = {taken.string()};
  w.btnSaveAsPdf.Press();
  EXPECT_NE(dialogs_.LastText().find("report.pdf"), std::string::npos) << dialogs_.LastText();
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace tallisk::testing
