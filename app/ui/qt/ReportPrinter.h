#pragma once

// The report on paper and in PDF files: the same pages, drawn by one painter routine on a
// printer or on Qt's PDF writer. The layout (which line goes on which page) is
// files/ReportPages.h; here are the fonts, the margins and the footer.

#include <QByteArray>
#include <QFont>
#include <filesystem>

#include "files/ReportDocument.h"
#include "ui/ReportOutput.h"

class QPagedPaintDevice;
class QPrinter;

namespace tallisk::qt {

class QtDialogs;

// The font of a style, asked for by name ("Arial", "Courier"), then by the names of their
// metric-compatible faces (Liberation, Croscore), then by the style hint, so the pages look
// the same without the named faces and the KM2 table's columns line up in a fixed pitch.
QFont ReportFont(ReportStyle style);

// Draws the document on `device`, page after page, within the device's margins, with "Page n
// of m" at the foot of each page. Throws std::runtime_error saying what failed; `what`
// names the device in that text ("the printer \"Office\"", "the PDF writer").
void PaintReport(const ReportDocument& document, QPagedPaintDevice& device, const QString& what);

// On the printer the print dialog set up, or into its print-to-file PDF: its paper with the
// PDF's margins, so the printed pages are the saved ones.
void PrintReport(const ReportDocument& document, QPrinter& printer);

// The document as a PDF on A4 with the usual margins.
QByteArray ReportPdf(const ReportDocument& document);

// The PDF written whole or not at all (files/AtomicFile.h): FileError with the reason.
void SaveReportPdf(const ReportDocument& document, const std::filesystem::path& file);

// The program's report output: the printer of its print dialog, and PDF files.
class QtReportOutput : public ReportOutput {
 public:
  explicit QtReportOutput(QtDialogs& dialogs) : dialogs_(dialogs) {}
  void Print(const ReportDocument& document) override;
  void SavePdf(const ReportDocument& document, const std::string& path) override;

 private:
  QtDialogs& dialogs_;
};

}  // namespace tallisk::qt
