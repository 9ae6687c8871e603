// The channel sheet as CSV text and back (the format is docs/csv.md).

#include <algorithm>
#include <cctype>
#include <set>

#include "files/AtomicFile.h"
#include "ui/ChannelSheet.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

std::string Quoted(const std::string& cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos && cell == Trim(cell)) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

struct Record {
  int Line = 0;  // where the record starts, from 1
  std::vector<std::string> Cells;
};

// Records of RFC 4180 text: quoted cells may hold commas, quotes (doubled) and line ends.
// A quote left open is a fault at the line it opened on.
bool ReadRecords(std::string_view text, std::vector<Record>& records, SheetFault& fault) {
  int line = 1;
  std::size_t i = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // a spreadsheet's byte order mark
  while (i < text.size()) {
    Record record{line, {}};
    std::string cell;
    bool ended = false;
    while (!ended) {
      if (i < text.size() && text[i] == '"' && Trim(cell).empty()) {
        const int opened = line;
        cell.clear();
        ++i;
        for (;;) {
          if (i >= text.size()) {
            fault = {opened, static_cast<int>(record.Cells.size()) + 1, "",
                     "A quoted cell is not closed."};
            return false;
          }
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              cell += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++line;
          cell += text[i++];
        }
        while (i < text.size() && text[i] != ',' && text[i] != '\n') cell += text[i++];
      }
      if (i >= text.size() || text[i] == '\n' ||
          (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
        record.Cells.push_back(cell);
        if (i < text.size()) i += text[i] == '\r' ? 2 : 1;
        ++line;
        ended = true;
      } else if (text[i] == ',') {
        record.Cells.push_back(cell);
        cell.clear();
        ++i;
      } else {
        cell += text[i++];
      }
    }
    const bool blank = record.Cells.size() == 1 && Trim(record.Cells[0]).empty();
    if (!blank) records.push_back(std::move(record));
  }
  return true;
}

}  // namespace

std::string SheetCsv(const ChannelSheet& sheet) {
  std::string csv;
  for (int c = 0; c < sheet.ColumnCount(); ++c) csv += (c ? "," : "") + Quoted(sheet.Header(c));
  csv += "\r\n";
  for (int r = 0; r < sheet.RowCount(); ++r) {
    for (int c = 0; c < sheet.ColumnCount(); ++c) csv += (c ? "," : "") + Quoted(sheet.Cell(r, c));
    csv += "\r\n";
  }
  return csv;
}

std::string CsvImport::Text() const {
  if (Fault) return Fault->Message;
  std::string text;
  for (const auto& warning : Warnings) text += (text.empty() ? "" : "\n") + warning;
  return text;
}

CsvImport ApplyCsv(ChannelSheet& sheet, std::string_view text) {
  CsvImport result;
  const auto fail = [&result](int line, int column, std::string header, std::string message) {
    result.Fault =
        SheetFault{line, column, header,
                   "Line " + std::to_string(line) + ", column " + std::to_string(column) +
                       (header.empty() ? "" : " (" + header + ")") + ": " + message};
    return result;
  };

  std::vector<Record> records;
  SheetFault fault;
  if (!ReadRecords(text, records, fault)) return fail(fault.Row, fault.Column, "", fault.Message);
  if (records.empty())
    return fail(1, 1, "", "The file is empty: the first line names the columns.");

  // The header: every column one of the sheet's, each once, the channel among them.
  const Record& head = records.front();
  std::vector<SheetColumn> columns;
  std::string known;
  for (int c = 0; c < sheet.ColumnCount(); ++c) known += (c ? ", " : "") + sheet.Header(c);
  for (std::size_t i = 0; i < head.Cells.size(); ++i) {
    const std::string name = Trim(head.Cells[i]);
    const int column = static_cast<int>(i) + 1;
    auto found = std::find_if(sheet.Columns().begin(), sheet.Columns().end(), [&](SheetColumn c) {
      return UpperCase(SheetColumnHeader(c)) == UpperCase(name);
    });
    if (found == sheet.Columns().end())
      return fail(head.Line, column, name,
                  "\"" + name + "\" is no column of this programming (" + known + ").");
    if (std::find(columns.begin(), columns.end(), *found) != columns.end())
      return fail(head.Line, column, name, "The column is named twice.");
    columns.push_back(*found);
  }
  const auto channelAt = std::find(columns.begin(), columns.end(), SheetColumn::Channel);
  if (channelAt == columns.end())
    return fail(head.Line, 1, Trim(head.Cells.front()),
                "The first line names the columns, and one of them must be \"Channel\".");
  const std::size_t channelColumn = static_cast<std::size_t>(channelAt - columns.begin());

  std::vector<ChannelSheet::RowEdit> rows;
  std::set<int> listed;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const Record& record = records[r];
    if (record.Cells.size() != columns.size()) {
      const int column = static_cast<int>(std::min(record.Cells.size(), columns.size())) + 1;
      const std::size_t named = std::min(record.Cells.size(), columns.size() - 1);
      return fail(record.Line, column, SheetColumnHeader(columns[named]),
                  "The line has " + std::to_string(record.Cells.size()) +
                      " cells; the first line "
                      "names " +
                      std::to_string(columns.size()) + " columns.");
    }
    const std::string number = Trim(record.Cells[channelColumn]);
    const bool digits = !number.empty() && number.size() <= 4 &&
                        std::all_of(number.begin(), number.end(), [](char c) {
                          return std::isdigit(static_cast<unsigned char>(c));
                        });
    const int channel = digits ? std::stoi(number) : 0;
    const int where = static_cast<int>(channelColumn) + 1;
    if (channel < 1 || channel > sheet.RowCount())
      return fail(record.Line, where, "Channel",
                  "\"" + number + "\" is no channel of this programming (1 to " +
                      std::to_string(sheet.RowCount()) + ").");
    if (!listed.insert(channel).second)
      return fail(record.Line, where, "Channel", "Channel " + number + " is listed twice.");
    ChannelSheet::RowEdit row{channel, record.Line, {}};
    for (std::size_t c = 0; c < columns.size(); ++c)
      row.Cells.push_back({columns[c], record.Cells[c], static_cast<int>(c) + 1});
    rows.push_back(std::move(row));
  }

  const SheetResult edited = sheet.EditRows(rows, true);
  result.Applied = edited.Applied;
  result.Fault = edited.Fault;
  result.Warnings = edited.Warnings;
  return result;
}

void ChannelSheet::ExportCsv() {
  const auto path =
      main_.dialogs_.SaveFile({"Export Channel Sheet", "CSV Files|*.csv", true, false});
  if (!path) return;
  try {
    WriteFileAtomically(*path, SheetCsv(*this));
  } catch (const TalliskError& e) {
    main_.dialogs_.Message("System Message", "The sheet could not be saved:\n" + e.Description(),
                           MessageIcon::Exclamation, MessageButtons::OK);
  }
}

void ChannelSheet::ImportCsv() {
  const auto path = main_.dialogs_.OpenFile(
      {"Import Channel Sheet", "CSV Files|*.csv|All Files|*.*", false, true});
  if (!path) return;
  std::error_code reason;
  const auto text = ReadWholeFile(*path, &reason);
  if (!text) {
    main_.dialogs_.Message("System Message",
                           "The file could not be read:\n" + reason.message() + ": " + *path,
                           MessageIcon::Exclamation, MessageButtons::OK);
    return;
  }
  const CsvImport imported = ApplyCsv(*this, *text);
  Tell({imported.Applied, imported.Fault, imported.Warnings});
}

}  // namespace tallisk
