#pragma once

// Where the printed report goes: the printer the print dialog set up, or a PDF file. The Qt
// program hands its own to the main window; tests record what would have been printed.

#include <string>

#include "files/ReportDocument.h"

namespace tallisk {

class ReportOutput {
 public:
  virtual ~ReportOutput() = default;

  // Prints the document on the printer the print dialog has just set up (the dialog's own
  // print-to-file included). Throws an exception whose what() says what failed: no printer,
  // a printer that cannot be opened, a job the print system refused.
  virtual void Print(const ReportDocument& document) = 0;
  // Writes the document's pages as a PDF file, whole or not at all. Throws FileError (or
  // another TalliskError) with the reason.
  virtual void SavePdf(const ReportDocument& document, const std::string& path) = 0;
};

}  // namespace tallisk
