// The channel table as CSV: the channel sheet's own format and checks, through the sheet
// over the window's logic.

#include <iostream>

#include "cli/Commands.h"
#include "ui/ChannelSheet.h"

namespace tallisk {

std::optional<std::string> ChannelCsvOf(CommandSession& session) {
  ChannelSheet sheet(session.Window());
  return SheetCsv(sheet);
}

bool ApplyChannelCsv(CommandSession& session, const std::string& text, const std::string& file) {
  ChannelSheet sheet(session.Window());
  const CsvImport result = ApplyCsv(sheet, text);
  std::ostream& err = session.Errors();
  if (!result.Applied) {
    err << "tallisk: " << file << ": " << (result.Fault ? result.Fault->Message : "not taken")
        << "\n";
    return false;
  }
  // Values the page kept with a word (out of band, tuned to the nearest): one line each.
  for (const std::string& warning : result.Warnings)
    err << "tallisk: " << file << ": " << warning << "\n";
  return true;
}

}  // namespace tallisk
