#pragma once

// The channel sheet: every channel of the programming in memory on one grid, one row per
// channel and one column per field of the channel page. A cell is edited through the channel
// page itself (its fields, its checks on leaving a field, its store), so a cell takes exactly
// what the page takes, with the page's messages, and the page and the sheet never disagree.
//
// Every change the sheet makes (a cell, a paste, a fill, cleared rows, a CSV file) is one
// step of the main window's undo history, and is made whole or not at all: a value the page
// refuses leaves every channel as it was and names its row and column.
//
// Without a screen (the command line) the sheet works the same over a main window made with
// dialogs that answer nothing: see docs/csv.md.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/FormFields.h"
#include "ui/Signal.h"

namespace tallisk {

class frmMain;
class clsChannel;

enum class SheetColumn {
  Channel,
  Name,
  ReceiveMHz,
  ReceiveSignalling,
  ReceiveTone,
  TransmitMHz,
  TransmitSignalling,
  TransmitTone,
  TxPower,
  RFPower,
  Scrambler,
  ScanGroupA,
  ScanGroupB,
  AuxiliaryData,
  Subsignalling,
  BurstTone,
  TranspondTone,
  BurstHz,
  BurstMs,
  Groups,
};

// The column's header, as the sheet shows it and as CSV files name it.
const char* SheetColumnHeader(SheetColumn column);

// Where and why an edit was refused.
struct SheetFault {
  int Row = 0;     // the channel, or the CSV file's line, from 1
  int Column = 0;  // from 1: the sheet's column, or the CSV file's
  std::string Header;
  std::string Message;  // what the channel page says of the value, or why it cannot be read
};

// How an edit went: made whole (perhaps with warnings the page gives of values it keeps), or
// refused, changing nothing.
struct SheetResult {
  bool Applied = false;
  std::optional<SheetFault> Fault;
  // Each prefixed with its row (or line) and column.
  std::vector<std::string> Warnings;
  // One text for a message box or a terminal: the refusal, else the warnings; empty when
  // there is nothing to say.
  std::string Text() const;
};

class ChannelSheet : public Form {
 public:
  // The sheet of the main window's programming; the window must have its channels built
  // (a programming read, loaded or made) and outlive the sheet.
  explicit ChannelSheet(frmMain& main);

  int RowCount() const;
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const std::vector<SheetColumn>& Columns() const { return columns_; }
  std::string Header(int column) const;
  bool Editable(int column) const;
  // Rows and columns from 0. An unused channel is an empty row but for its number.
  std::string Cell(int row, int column) const;

  SheetResult SetCell(int row, int column, const std::string& text);
  // Tab-separated rows (a spreadsheet's copy) from the cell at `row`, `column` on. The
  // channel column is not pasted over.
  SheetResult Paste(int row, int column, std::string_view tabSeparated);
  // The cells of the block as tab-separated rows, each ended by a line feed.
  std::string Copy(int top, int left, int bottom, int right) const;
  // The block's top row into the rows under it.
  SheetResult FillDown(int top, int left, int bottom, int right);
  // The channels of the rows lose both frequencies: unused, and (KM2) out of every group.
  SheetResult ClearRows(int first, int last);
  // The next cell after `row`, `column` (row by row, round the end) whose frequency is the
  // number typed or whose name holds the text typed.
  std::optional<std::pair<int, int>> Find(const std::string& text, int row, int column) const;

  bool Undo();
  bool Redo();

  // Shows a result in one message box (nothing when there is nothing to say).
  void Tell(const SheetResult& result);

  // "Export CSV..." and "Import CSV...": the file dialog, then the whole sheet into a file, or
  // a file into the sheet (told as a result is).
  void ExportCsv();
  void ImportCsv();

  // Every cell may have changed.
  Signal<> Changed;

  // --- For the CSV import (ChannelSheetCsv.cpp) ---
  struct CellEdit {
    SheetColumn Column;
    std::string Text;
    int Where;  // the fault's column
  };
  // Edits every listed row as one step: the rows' cells through the channel page, whole or
  // not at all. `rows` pairs a channel with its cells and its row in the caller's terms.
  struct RowEdit {
    int Channel;
    int Where;
    std::vector<CellEdit> Cells;
  };
  SheetResult EditRows(const std::vector<RowEdit>& rows, bool csv);

 private:
  enum class Outcome { Unchanged, Taken, Refused };
  std::string Render(int channel, SheetColumn column) const;
  bool ApplyRow(const RowEdit& row, bool csv, SheetResult& result);
  Outcome ApplyCell(int channel, SheetColumn column, const std::string& text, std::string& why);
  Outcome ApplyText(TextField& field, const std::string& text, std::string& why);
  Outcome ApplyLeaving(TextField& field, const std::string& text, std::string& why);
  Outcome ApplyChoice(ChoiceField& field, const std::string& text, std::string& why);
  Outcome ApplyCheck(CheckField& field, const std::string& text, std::string& why);
  Outcome ApplyTone(bool receive, const std::string& text, std::string& why);
  Outcome ApplyAuxiliary(const std::string& text, std::string& why);
  Outcome ApplyGroups(int channel, const std::string& text, std::string& why);
  std::vector<int> GroupsOf(int channel) const;

  frmMain& main_;
  std::vector<SheetColumn> columns_;
  std::vector<std::string> heard_;
};

// The whole sheet as CSV text: one header row, one row per channel (docs/csv.md).
std::string SheetCsv(const ChannelSheet& sheet);

// Applies CSV text to the sheet as one step. A fault names the line and column (from 1) and
// the column's header; then nothing is applied.
struct CsvImport {
  bool Applied = false;
  std::optional<SheetFault> Fault;  // Row is the line
  std::vector<std::string> Warnings;
  std::string Text() const;
};
CsvImport ApplyCsv(ChannelSheet& sheet, std::string_view text);

}  // namespace tallisk
