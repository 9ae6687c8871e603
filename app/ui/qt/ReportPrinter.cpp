#include "ui/qt/ReportPrinter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <map>
#include <stdexcept>

#include "files/AtomicFile.h"
#include "files/ReportPages.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtText.h"

namespace tallisk::qt {

namespace {

constexpr ReportStyle kStyles[] = {ReportStyle::Heading, ReportStyle::ChannelHeading,
                                   ReportStyle::Body};

// The report's margins in millimetres, on paper and in PDF files alike, so that both break
// their pages in the same places and count them the same.
constexpr QMarginsF kReportMargins(20, 15, 20, 15);

// The printer's paper and orientation with the report's margins, or the margins the printer
// needs where it cannot print as near to the edge; paper too small for them keeps the
// printer's own.
QPageLayout ReportLayoutFor(const QPageLayout& printers) {
  QPageLayout layout = printers;
  layout.setUnits(QPageLayout::Millimeter);
  const QMarginsF least = layout.minimumMargins();
  layout.setMargins(QMarginsF(std::max(kReportMargins.left(), least.left()),
                              std::max(kReportMargins.top(), least.top()),
                              std::max(kReportMargins.right(), least.right()),
                              std::max(kReportMargins.bottom(), least.bottom())));
  return layout;
}

// The footer's page numbers in the body size of the headings' face.
QFont FooterFont() {
  QFont font = ReportFont(ReportStyle::Heading);
  font.setPointSize(FontOf(ReportStyle::Body).Size);
  return font;
}

[[noreturn]] void Fail(const QString& text) {
  throw std::runtime_error(FromQt(text));
}

}  // namespace

QFont ReportFont(ReportStyle style) {
  const tallisk::ReportFont spec = FontOf(style);
  QFont font;
  // Asked by their generic family alone, fontconfig hands out its preferred monospace face
  // (DejaVu Sans Mono, a wider one) before the face it keeps as Courier's metric twin; so the
  // twins are named after the face the report asks for.
  if (style == ReportStyle::Body) {
    font.setFamilies({QString::fromLatin1(spec.Name), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Cousine")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  } else {
    font.setFamilies({QString::fromLatin1(spec.Name), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPointSize(spec.Size);
  return font;
}

void PaintReport(const ReportDocument& document, QPagedPaintDevice& device, const QString& what) {
  std::map<ReportStyle, QFont> fonts;
  std::map<ReportStyle, QFontMetricsF> metrics;
  for (ReportStyle style : kStyles) {
    fonts.emplace(style, QFont(ReportFont(style), &device));
    metrics.emplace(style, QFontMetricsF(fonts.at(style), &device));
  }
  const QFont footerFont(FooterFont(), &device);
  const QFontMetricsF footerMetrics(footerFont, &device);

  // The device's own size is the area inside its margins, and the painter starts there.
  const double width = device.width();
  const double footerHeight = 2 * footerMetrics.lineSpacing();
  const double bodyHeight = device.height() - footerHeight;
  if (width <= 0 || bodyHeight <= 0) Fail(what + QStringLiteral(" has no room on its pages"));

  const auto pages = PaginateReport(ReportLines(document), bodyHeight, [&](ReportStyle style) {
    return metrics.at(style).lineSpacing();
  });

  QPainter painter;
  if (!painter.begin(&device)) Fail(what + QStringLiteral(" could not be started"));
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !device.newPage()) {
      painter.end();
      Fail(what + QStringLiteral(" did not take page %1").arg(p + 1));
    }
    double y = 0;
    for (const ReportLine& line : pages[p]) {
      const QFontMetricsF& m = metrics.at(line.Style);
      painter.setFont(fonts.at(line.Style));
      painter.drawText(QPointF(0, y + m.ascent()), ToQt(line.Text));
      y += m.lineSpacing();
    }
    painter.setFont(footerFont);
    const QString footer = QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size());
    painter.drawText(QRectF(0, device.height() - footerMetrics.lineSpacing(), width,
                            footerMetrics.lineSpacing()),
                     Qt::AlignHCenter | Qt::AlignBottom, footer);
  }
  if (!painter.end()) Fail(what + QStringLiteral(" did not finish the report"));
}

void PrintReport(const ReportDocument& document, QPrinter& printer) {
  const bool toFile = !printer.outputFileName().isEmpty();
  if (!toFile && !printer.isValid()) Fail(QStringLiteral("no printer is set up on this computer"));
  const QString what = toFile ? QStringLiteral("the file \"%1\"").arg(printer.outputFileName())
                              : QStringLiteral("the printer \"%1\"").arg(printer.printerName());
  if (!printer.setPageLayout(ReportLayoutFor(printer.pageLayout())))
    Fail(what + QStringLiteral(" did not take the report's margins"));
  PaintReport(document, printer, what);
  if (printer.printerState() == QPrinter::Error)
    Fail(what + QStringLiteral(" reported an error with the print job"));
}

QByteArray ReportPdf(const ReportDocument& document) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Tallisk"));
    writer.setTitle(QStringLiteral("Radio programming"));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     kReportMargins, QPageLayout::Millimeter));
    PaintReport(document, writer, QStringLiteral("the PDF writer"));
  }
  return bytes;
}

void SaveReportPdf(const ReportDocument& document, const std::filesystem::path& file) {
  const QByteArray pdf = ReportPdf(document);
  WriteFileAtomically(file,
                      std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

void QtReportOutput::Print(const ReportDocument& document) {
  PrintReport(document, dialogs_.Printer());
}

void QtReportOutput::SavePdf(const ReportDocument& document, const std::string& path) {
  SaveReportPdf(document, path);
}

}  // namespace tallisk::qt
