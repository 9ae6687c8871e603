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

// The text of a PDF as pdftotext lays it out, page by page, each line without its outer
// blanks and with inner runs of blanks made one: pdftotext spaces words by their position,
// not by the blanks drawn.
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
    while (std::getline(lines, line)) {
      std::string trimmed;
      for (char c : line)
        if (c != ' ' || (!trimmed.empty() && trimmed.back() != ' ')) trimmed += c;
      if (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
      pages.back().push_back(trimmed);
    }
  }
  return pages;
}

// The page's lines that are not blank, without its footer.
std::vector<std::string> Body(const std::vector<std::string>& page) {
  static const std::regex footer(R"(Page \d+ of \d+)");
  std::vector<std::string> lines;
  for (const auto& line : page)
    if (!line.empty() && !std::regex_match(line, footer)) lines.push_back(line);
  return lines;
}

class ReportPrinting : public MainWindowTest {
 protected:
  ReportPrinting() {
    App();
    fs::create_directories(folder_);
  }

  // A KM2 programming with all 320 channels in use, on show in the window.
  frmMain& FullKm2Programming() {
    frmMain& w = StartKM2();
    Km2Programming programming(*w.Operator);
    for (int i = 1; i <= 320; ++i) {
      clsChannel& c = programming.Channels[i - 1];
      c.RxFrequency = c.TxFrequency = 150000000 + 12500 * i;
      c.RxSignalling = c.TxSignalling = 3;
      c.ChannelName = "CH" + std::to_string(i);
    }
    EXPECT_TRUE(w.ShowImageKM2(programming.Image()));
    return w;
  }

  const fs::path folder_ = root_ / "reports";
  qt::QtDialogs qtDialogs_;
  qt::QtReportOutput output_{qtDialogs_};
};

// Which heading ends no page, and in what order the lines come, is the paginator's (see
// tests/files/ReportPages_test.cpp); here, that the pages drawn hold what it gave them.
TEST_F(ReportPrinting, AKm2ReportSavedAsPdfOrPrintedHoldsEveryChannelRowInOrderOnFullPages) {
  frmMain& w = FullKm2Programming();
  w.UseReportOutput(output_);
  const fs::path pdf = folder_ / "radio.pdf";
  dialogs_.Files = {pdf.string()};
  w.btnSaveAsPdf.Press();
  EXPECT_EQ(dialogs_.LastText(), "File Saved");
  // The save leaves the PDF and nothing else beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

  const auto pages = PdfPages(pdf);
  ASSERT_GE(pages.size(), 6u);
  static const std::regex row(R"((\d+) CH(\d+) (\d+\.\d{6}) .*)");
  std::vector<int> numbers;
  std::vector<int> rowsOnPage;
  std::vector<std::size_t> savedDepths;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    SCOPED_TRACE("page " + std::to_string(p + 1));
    const std::string footer =
        "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size());
    EXPECT_NE(std::find(pages[p].begin(), pages[p].end(), footer), pages[p].end()) << footer;
    int rows = 0;
    for (const auto& line : pages[p]) {
      std::smatch m;
      if (!std::regex_match(line, m, row)) continue;
      ++rows;
      numbers.push_back(std::stoi(m[1]));
      EXPECT_EQ(m[1], m[2]) << line;
    }
    rowsOnPage.push_back(rows);
    savedDepths.push_back(Body(pages[p]).size());
  }
  std::vector<int> expected(320);
  std::iota(expected.begin(), expected.end(), 1);
  EXPECT_EQ(numbers, expected);
  // Every page between the table's first and its last is filled with rows to the same depth.
  const auto first =
      std::find_if(rowsOnPage.begin(), rowsOnPage.end(), [](int n) { return n > 0; });
  const auto last =
      std::find_if(rowsOnPage.rbegin(), rowsOnPage.rend(), [](int n) { return n > 0; });
  const std::vector<int> middle(first + 1, last.base() - 1);
  ASSERT_GE(middle.size(), 3u);
  EXPECT_GE(middle.front(), 50) << "an A4 page takes some fifty-odd lines of 10-point text";
  EXPECT_EQ(std::count(middle.begin(), middle.end(), middle.front()),
            static_cast<std::ptrdiff_t>(middle.size()));

  // A printer comes out of its dialog with its paper, and the area it can print on, in points;
  // on A4 it breaks its pages where the saved PDF does.
  const fs::path printed = root_ / "printed.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Point));
  printer.setOutputFileName(QString::fromStdString(printed.string()));
  qt::PrintReport(w.BuildReport(), printer);
  std::vector<std::size_t> printedDepths;
  for (const auto& page : PdfPages(printed)) printedDepths.push_back(Body(page).size());
  EXPECT_EQ(printedDepths, savedDepths);

  // The name the technician chose is taken by a folder: the PDF is made, but cannot take
  // its place, and no temporary file is left.
  const fs::path taken = folder_ / "report.pdf";
  fs::create_directories(taken);
  dialogs_.Files = {taken.string()};
  w.btnSaveAsPdf.Press();
  EXPECT_EQ(
      dialogs_.LastText().rfind("Unable to save file because a following error has occured: \r", 0),
      0u)
      << dialogs_.LastText();
  EXPECT_NE(dialogs_.LastText().find("report.pdf"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
  EXPECT_TRUE(fs::is_directory(taken));
}

}  // namespace
}  // namespace tallisk::testing
