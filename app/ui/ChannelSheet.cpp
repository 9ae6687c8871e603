#include "ui/ChannelSheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "tallisk/errors.h"
#include "ui/ChannelGroupTable.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr double kHzPerMHz = 1000000;
constexpr int kGroupCount = 16;
constexpr int kTableEntries = 320;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Decimal(const std::string& text) {
  bool digit = false;
  int points = 0;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digit = true;
    } else if (c == '.') {
      ++points;
    } else if (c != ' ') {
      return false;
    }
  }
  return digit && points <= 1;
}

// Frequencies in MHz with six decimals, for both families: one form for the sheet, the
// clipboard and CSV files, which a spreadsheet reads as a number.
std::string Megahertz(double hertz) {
  return hertz == 0 ? std::string() : FrequencyText(hertz / kHzPerMHz, false);
}

bool SameFrequency(const std::string& text, const std::string& shown) {
  if (text.empty()) return shown.empty();
  if (!Decimal(text)) return false;
  const double megahertz = NumberTextValue(text);
  return megahertz == 0 ? shown.empty() : FrequencyText(megahertz, false) == shown;
}

std::string YesNo(bool on) {
  return on ? "Yes" : "No";
}

std::optional<bool> ReadYesNo(const std::string& text) {
  const std::string t = Lower(text);
  if (t == "yes" || t == "y" || t == "true" || t == "1" || t == "x" || t == "on") return true;
  if (t == "no" || t == "n" || t == "false" || t == "0" || t.empty() || t == "off") return false;
  return std::nullopt;
}

// The choice's entry for a stored index, or the number itself when the list has none.
std::string EntryText(const ChoiceField& field, std::int32_t index) {
  if (index >= 0 && index < field.Count()) return Trim(field.ItemText(index));
  return std::to_string(index);
}

std::string Joined(const std::vector<std::string>& texts, const char* between) {
  std::string joined;
  for (const auto& text : texts) joined += (joined.empty() ? "" : between) + text;
  return joined;
}

}  // namespace

const char* SheetColumnHeader(SheetColumn column) {
  switch (column) {
    case SheetColumn::Channel:
      return "Channel";
    case SheetColumn::Name:
      return "Name";
    case SheetColumn::ReceiveMHz:
      return "Receive MHz";
    case SheetColumn::ReceiveSignalling:
      return "Receive Signalling";
    case SheetColumn::ReceiveTone:
      return "Receive Tone/Code";
    case SheetColumn::TransmitMHz:
      return "Transmit MHz";
    case SheetColumn::TransmitSignalling:
      return "Transmit Signalling";
    case SheetColumn::TransmitTone:
      return "Transmit Tone/Code";
    case SheetColumn::TxPower:
      return "TX Power";
    case SheetColumn::RFPower:
      return "RF Power";
    case SheetColumn::Scrambler:
      return "Scrambler";
    case SheetColumn::ScanGroupA:
      return "Scan Group A";
    case SheetColumn::ScanGroupB:
      return "Scan Group B";
    case SheetColumn::AuxiliaryData:
      return "Auxiliary Data";
    case SheetColumn::Subsignalling:
      return "Subsignalling";
    case SheetColumn::BurstTone:
      return "PTT Burst Tone";
    case SheetColumn::TranspondTone:
      return "Transpond Tone";
    case SheetColumn::BurstHz:
      return "Burst Hz";
    case SheetColumn::BurstMs:
      return "Burst ms";
    case SheetColumn::Groups:
      return "Groups";
  }
  return "";
}

std::string SheetResult::Text() const {
  if (Fault) return Fault->Message;
  return Joined(Warnings, "\n");
}

ChannelSheet::ChannelSheet(frmMain& main) : Form("frmChannelSheet", "Channel Sheet"), main_(main) {
  // The sheet shows the channel page's typing too; it is a step of its own.
  main_.StorePageShown();
  main_.undo_.Commit();
  using C = SheetColumn;
  if (main_.RadioType == 1) {
    columns_ = {C::Channel,
                C::Name,
                C::ReceiveMHz,
                C::ReceiveSignalling,
                C::ReceiveTone,
                C::TransmitMHz,
                C::TransmitSignalling,
                C::TransmitTone,
                C::RFPower,
                C::Scrambler,
                C::Subsignalling,
                C::BurstTone,
                C::TranspondTone,
                C::BurstHz,
                C::BurstMs,
                C::Groups};
    // A special radio's scrambler flag carries its transmit tone bank, and the page offers
    // neither it nor the subsignalling.
    if (main_.chkSpecialRadio.Checked())
      std::erase_if(columns_,
                    [](C column) { return column == C::Scrambler || column == C::Subsignalling; });
  } else {
    columns_ = {C::Channel,     C::ReceiveMHz,         C::ReceiveSignalling, C::ReceiveTone,
                C::TransmitMHz, C::TransmitSignalling, C::TransmitTone,      C::TxPower,
                C::Scrambler,   C::ScanGroupA,         C::ScanGroupB,        C::AuxiliaryData};
  }
}

int ChannelSheet::RowCount() const {
  return std::min<int>(main_.ChannelCount, main_.Channels.Count());
}

std::string ChannelSheet::Header(int column) const {
  return SheetColumnHeader(columns_.at(static_cast<std::size_t>(column)));
}

bool ChannelSheet::Editable(int column) const {
  return columns_.at(static_cast<std::size_t>(column)) != SheetColumn::Channel;
}

std::string ChannelSheet::Cell(int row, int column) const {
  return Render(row + 1, columns_.at(static_cast<std::size_t>(column)));
}

std::vector<int> ChannelSheet::GroupsOf(int channel) const {
  std::set<int> groups;
  for (const auto& entry : main_.ChannelGroupTable)
    if (entry.Programmed && entry.ChannelNumber == channel) groups.insert(entry.GroupNumber);
  return {groups.begin(), groups.end()};
}

std::string ChannelSheet::Render(int channel, SheetColumn column) const {
  const frmMain& m = main_;
  const clsChannel& c = m.Channels.Item(channel);
  if (column == SheetColumn::Channel) return std::to_string(channel);
  if (c.RxFrequency == 0 && c.TxFrequency <= 0) return "";
  const auto tone = [](std::int32_t signalling, std::uint8_t toneCode, std::int16_t code,
                       const ChoiceField& tones) -> std::string {
    if (signalling == 1) return OctalCodeText(code);
    if (signalling != 0) return "";
    const int entry = tones.FindData(toneCode);
    // A code the list does not offer (a special tone on a radio no longer special) shows
    // as the code itself, and goes back unchanged.
    return entry >= 0 ? Trim(tones.ItemText(entry)) : "#" + std::to_string(toneCode);
  };
  const auto signalling = [&m](std::int32_t value) {
    const int index = IndexOfSignalling(value);
    return index >= 0 ? EntryText(m.cmbReceiveSignalingType, index) : std::to_string(value);
  };
  switch (column) {
    case SheetColumn::Channel:
      break;
    case SheetColumn::Name:
      return TrimEnd(c.ChannelName);
    case SheetColumn::ReceiveMHz:
      return Megahertz(c.RxFrequency);
    case SheetColumn::TransmitMHz:
      return Megahertz(c.TxFrequency);
    case SheetColumn::ReceiveSignalling:
      return signalling(c.RxSignalling);
    case SheetColumn::TransmitSignalling:
      return signalling(c.TxSignalling);
    case SheetColumn::ReceiveTone:
      return tone(c.RxSignalling, c.RxCTCSSCode, c.RxSignalData, m.cmbCTCSSFrequenciesRx);
    case SheetColumn::TransmitTone:
      return tone(c.TxSignalling, c.TxCTCSSCode, c.TxSignalData, m.cmbCTCSSFrequenciesTx);
    case SheetColumn::TxPower:
      return EntryText(m.cmbTxPowerControl, c.TxPowerControl);
    case SheetColumn::RFPower:
      return EntryText(m.cmbRFPowerSelection, c.RFPower ? 0 : 1);
    case SheetColumn::Scrambler:
      return YesNo(c.Scrambler);
    case SheetColumn::ScanGroupA:
      return YesNo(c.GroupA);
    case SheetColumn::ScanGroupB:
      return YesNo(c.GroupB);
    case SheetColumn::AuxiliaryData:
      return c.AuxData;
    case SheetColumn::Subsignalling:
      return EntryText(m.cmbSubsignalingType, c.SubsignalingType);
    case SheetColumn::BurstTone:
      return YesNo(c.PTTBurstToneEnable);
    case SheetColumn::TranspondTone:
      return YesNo(c.TranspondToneEnable);
    case SheetColumn::BurstHz: {
      char text[32];
      std::snprintf(text, sizeof text, "%.1f", static_cast<double>(c.BurstFrequency));
      return text;
    }
    case SheetColumn::BurstMs:
      return ShortestText(c.BurstDuration);
    case SheetColumn::Groups: {
      std::string groups;
      for (int g : GroupsOf(channel)) groups += (groups.empty() ? "" : " ") + std::to_string(g);
      return groups;
    }
  }
  return "";
}

// --- Edits through the channel page ---

SheetResult ChannelSheet::EditRows(const std::vector<RowEdit>& rows, bool csv) {
  frmMain& m = main_;
  SheetResult result;
  // Typing on the page not yet stored is a step of its own, before the sheet's.
  m.StorePageShown();
  m.undo_.Commit();
  const std::int16_t current = m.CurrentChannel;
  m.dialogs_.Tap = [this](const std::string&, const std::string& text) { heard_.push_back(text); };
  bool whole = true;
  try {
    for (const RowEdit& row : rows)
      if (!ApplyRow(row, csv, result)) {
        whole = false;
        break;
      }
  } catch (const TalliskError& e) {
    whole = false;
    result.Fault = SheetFault{0, 0, "", e.Description() + " #" + std::to_string(e.Number())};
  }
  m.dialogs_.Tap = nullptr;
  m.CurrentChannel = current;
  if (!whole) {
    m.undo_.Revert();
    result.Warnings.clear();
  }
  if (m.ChannelsBuilt && current >= 1 && current <= m.Channels.Count())
    m.ShowChannel(m.Channels.Item(current));
  result.Applied = whole;
  if (whole) m.undo_.Commit();
  Changed();
  return result;
}

bool ChannelSheet::ApplyRow(const RowEdit& row, bool csv, SheetResult& result) {
  frmMain& m = main_;
  const auto where = [&](const CellEdit& cell) {
    const std::string header = SheetColumnHeader(cell.Column);
    return csv ? "Line " + std::to_string(row.Where) + ", column " + std::to_string(cell.Where) +
                     " (" + header + "): "
               : "Channel " + std::to_string(row.Channel) + ", " + header + ": ";
  };
  const auto refuse = [&](const CellEdit& cell, const std::string& why) {
    const std::string message = heard_.empty() ? why : Joined(heard_, " ");
    result.Fault =
        SheetFault{row.Where, cell.Where, SheetColumnHeader(cell.Column), where(cell) + message};
    return false;
  };
  if (row.Channel < 1 || row.Channel > RowCount()) {
    const CellEdit first{SheetColumn::Channel, std::to_string(row.Channel), 1};
    heard_.clear();
    return refuse(row.Cells.empty() ? first : row.Cells.front(),
                  "There is no channel " + std::to_string(row.Channel) + " (1 to " +
                      std::to_string(RowCount()) + ").");
  }

  // The page's checks read the channel on show, and its store writes only what was edited.
  clsChannel& channel = m.Channels.Item(row.Channel);
  m.CurrentChannel = static_cast<std::int16_t>(row.Channel);
  m.ShowChannel(channel);
  std::vector<CellEdit> cells = row.Cells;
  // Signalling before its tone, frequencies before what they govern.
  std::stable_sort(cells.begin(), cells.end(),
                   [](const CellEdit& a, const CellEdit& b) { return a.Column < b.Column; });
  const CellEdit* groups = nullptr;
  for (const CellEdit& cell : cells) {
    if (cell.Column == SheetColumn::Channel) continue;
    if (cell.Column == SheetColumn::Groups) {
      groups = &cell;
      continue;
    }
    heard_.clear();
    std::string why;
    if (ApplyCell(row.Channel, cell.Column, Trim(cell.Text), why) == Outcome::Refused)
      return refuse(cell, why);
    for (const auto& heard : heard_) result.Warnings.push_back(where(cell) + heard);
  }
  heard_.clear();
  m.StoreChannel(channel);
  // Memberships after the store: a channel the row takes out of use has left its groups.
  if (groups != nullptr) {
    heard_.clear();
    std::string why;
    if (ApplyGroups(row.Channel, Trim(groups->Text), why) == Outcome::Refused)
      return refuse(*groups, why);
  }
  return true;
}

ChannelSheet::Outcome ChannelSheet::ApplyCell(int channel, SheetColumn column,
                                              const std::string& text, std::string& why) {
  frmMain& m = main_;
  const std::string shown = Render(channel, column);
  if (column == SheetColumn::ReceiveMHz || column == SheetColumn::TransmitMHz) {
    if (SameFrequency(text, shown)) return Outcome::Unchanged;
  } else {
    if (text == shown) return Outcome::Unchanged;
    // An unused channel's row is empty: empty cells of a row that leaves the channel unused
    // say nothing.
    if (text.empty() && m.ReceiveChannelFreq.Value() <= 0 && m.txtTransmitChannelFreq.Value() <= 0)
      return Outcome::Unchanged;
  }
  switch (column) {
    case SheetColumn::Channel:
    case SheetColumn::Groups:
      return Outcome::Unchanged;
    case SheetColumn::Name: {
      const Outcome outcome = ApplyText(m.txtChannelName, text, why);
      if (outcome == Outcome::Taken) m.txtChannelName.Leave();
      return outcome;
    }
    case SheetColumn::ReceiveMHz:
      return ApplyLeaving(m.ReceiveChannelFreq, text, why);
    case SheetColumn::TransmitMHz:
      return ApplyLeaving(m.txtTransmitChannelFreq, text, why);
    case SheetColumn::ReceiveSignalling:
      return ApplyChoice(m.cmbReceiveSignalingType, text.empty() ? "None" : text, why);
    case SheetColumn::TransmitSignalling:
      return ApplyChoice(m.cmbTransmitSignalingType, text.empty() ? "None" : text, why);
    case SheetColumn::ReceiveTone:
      return ApplyTone(true, text, why);
    case SheetColumn::TransmitTone:
      return ApplyTone(false, text, why);
    case SheetColumn::TxPower:
      return ApplyChoice(m.cmbTxPowerControl, text, why);
    case SheetColumn::RFPower:
      return ApplyChoice(m.cmbRFPowerSelection, text, why);
    case SheetColumn::Subsignalling:
      return ApplyChoice(m.cmbSubsignalingType, text, why);
    case SheetColumn::Scrambler:
      return ApplyCheck(m.chkEnableScrambler, text, why);
    case SheetColumn::ScanGroupA:
      return ApplyCheck(m.chkChannelinScanGroupA, text, why);
    case SheetColumn::ScanGroupB:
      return ApplyCheck(m.chkChannelinScanGroupB, text, why);
    case SheetColumn::BurstTone:
      return ApplyCheck(m.chkBurstToneEnable, text, why);
    case SheetColumn::TranspondTone:
      return ApplyCheck(m.chkTranspondToneEnable, text, why);
    case SheetColumn::AuxiliaryData:
      return ApplyAuxiliary(text, why);
    case SheetColumn::BurstHz:
      return ApplyLeaving(m.txtBurstFeq, text, why);
    case SheetColumn::BurstMs:
      return ApplyLeaving(m.txtBurstDuration, text, why);
  }
  return Outcome::Unchanged;
}

ChannelSheet::Outcome ChannelSheet::ApplyText(TextField& field, const std::string& text,
                                              std::string& why) {
  // What typing the text into the field would leave; a paste may not get round the keys
  // the field refuses.
  const std::string typed = field.Filtered(text);
  const std::string wanted = field.UpperCase ? UpperCase(text) : text;
  if (typed != wanted || (field.Accepts && !field.Accepts(typed))) {
    why = "\"" + text + "\" cannot be typed here";
    if (field.MaxLength > 0 && text.size() > static_cast<std::size_t>(field.MaxLength))
      why += ": it takes at most " + std::to_string(field.MaxLength) + " characters";
    why += ".";
    return Outcome::Refused;
  }
  field.SetText(typed);
  return Outcome::Taken;
}

ChannelSheet::Outcome ChannelSheet::ApplyLeaving(TextField& field, const std::string& text,
                                                 std::string& why) {
  if (ApplyText(field, text, why) == Outcome::Refused) return Outcome::Refused;
  main_.lastLeave_ = frmMain::LeaveOutcome::Taken;
  field.Leave();
  if (main_.lastLeave_ == frmMain::LeaveOutcome::Refused) {
    why = "The channel page does not take \"" + text + "\".";
    return Outcome::Refused;
  }
  return Outcome::Taken;
}

ChannelSheet::Outcome ChannelSheet::ApplyChoice(ChoiceField& field, const std::string& text,
                                                std::string& why) {
  std::vector<std::string> entries;
  for (int i = 0; i < field.Count(); ++i) {
    entries.push_back(Trim(field.ItemText(i)));
    if (Lower(entries.back()) == Lower(text)) {
      field.Select(i);
      return Outcome::Taken;
    }
  }
  why = "\"" + text + "\" is not one of " + Joined(entries, ", ") + ".";
  return Outcome::Refused;
}

ChannelSheet::Outcome ChannelSheet::ApplyCheck(CheckField& field, const std::string& text,
                                               std::string& why) {
  const std::optional<bool> on = ReadYesNo(text);
  if (!on) {
    why = "\"" + text + "\" is neither Yes nor No.";
    return Outcome::Refused;
  }
  field.SetChecked(*on);
  return Outcome::Taken;
}

ChannelSheet::Outcome ChannelSheet::ApplyTone(bool receive, const std::string& text,
                                              std::string& why) {
  frmMain& m = main_;
  const ChoiceField& type = receive ? m.cmbReceiveSignalingType : m.cmbTransmitSignalingType;
  ChoiceField& tones = receive ? m.cmbCTCSSFrequenciesRx : m.cmbCTCSSFrequenciesTx;
  TextField& code = receive ? m.ReceiveOctal : m.txtTransmitOctal;
  if (text.empty()) return Outcome::Unchanged;
  switch (type.SelectedIndex()) {
    case 0: {
      int entry = -1;
      if (text[0] == '#') {
        entry = tones.FindData(std::atoi(text.c_str() + 1));
      } else if (Decimal(text)) {
        for (int i = 0; i < tones.Count() && entry < 0; ++i)
          if (NumberTextValue(tones.ItemText(i)) == NumberTextValue(text)) entry = i;
      }
      if (entry < 0) {
        why = "\"" + text + "\" is no tone of the list";
        if (tones.Count() > 0)
          why += " (" + Trim(tones.ItemText(0)) + " to " + Trim(tones.ItemText(tones.Count() - 1)) +
                 " Hz)";
        why += ".";
        return Outcome::Refused;
      }
      tones.Select(entry);
      return Outcome::Taken;
    }
    case 1:
      return ApplyText(code, text, why);
    default:
      why = "The signalling is None: a tone needs CTCSS, a code DCS.";
      return Outcome::Refused;
  }
}

ChannelSheet::Outcome ChannelSheet::ApplyAuxiliary(const std::string& text, std::string& why) {
  auto& boxes = main_.chkAuxiliaryData;
  if (text.size() != boxes.size() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '1'; })) {
    why = "\"" + text + "\" is not eight 0s and 1s, box 1 first.";
    return Outcome::Refused;
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i].SetChecked(text[i] == '1');
  return Outcome::Taken;
}

ChannelSheet::Outcome ChannelSheet::ApplyGroups(int channel, const std::string& text,
                                                std::string& why) {
  std::set<int> wanted;
  std::string token;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    if (c != ' ' && c != ',' && c != ';') {
      token += c;
      continue;
    }
    if (token.empty()) continue;
    const bool digits = std::all_of(token.begin(), token.end(), [](char d) {
      return std::isdigit(static_cast<unsigned char>(d));
    });
    const int group = digits && token.size() <= 2 ? std::atoi(token.c_str()) : 0;
    if (group < 1 || group > kGroupCount) {
      why = "\"" + token + "\" is no group number (1 to 16).";
      return Outcome::Refused;
    }
    wanted.insert(group);
    token.clear();
  }
  const std::vector<int> had = GroupsOf(channel);
  if (std::set<int>(had.begin(), had.end()) == wanted) return Outcome::Unchanged;
  if (!wanted.empty() && main_.Channels.Item(channel).RxFrequency == 0) {
    why = "A channel without a receive frequency is in no group.";
    return Outcome::Refused;
  }
  auto& table = main_.ChannelGroupTable;
  bool removed = false;
  for (auto& entry : table)
    if (entry.Programmed && entry.ChannelNumber == channel && !wanted.count(entry.GroupNumber)) {
      entry.Programmed = false;
      removed = true;
    }
  if (removed) CloseChannelGroupGaps(table);
  for (int group : wanted) {
    if (std::find(had.begin(), had.end(), group) != had.end()) continue;
    const std::int32_t used = ProgrammedEntryCount(table);
    if (used >= std::min(kTableEntries, table.Count())) {
      // As the channel list says it.
      why = "No more slot left to add";
      return Outcome::Refused;
    }
    clsChannelGroup& entry = table.Item(used + 1);
    entry.Programmed = true;
    entry.GroupNumber = static_cast<std::int16_t>(group);
    entry.ChannelNumber = static_cast<std::int16_t>(channel);
  }
  return Outcome::Taken;
}

// --- Sheet commands ---

SheetResult ChannelSheet::SetCell(int row, int column, const std::string& text) {
  return EditRows(
      {{row + 1, row + 1, {{columns_.at(static_cast<std::size_t>(column)), text, column + 1}}}},
      false);
}

SheetResult ChannelSheet::Paste(int row, int column, std::string_view tabSeparated) {
  std::vector<std::vector<std::string>> block;
  std::size_t at = 0;
  while (at < tabSeparated.size()) {
    std::size_t end = tabSeparated.find('\n', at);
    if (end == std::string_view::npos) end = tabSeparated.size();
    std::string_view line = tabSeparated.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> cells;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string_view::npos; from = tab + 1)
      cells.emplace_back(line.substr(from, tab - from));
    cells.emplace_back(line.substr(from));
    block.push_back(std::move(cells));
    at = end + 1;
  }
  std::size_t width = 0;
  for (const auto& cells : block) width = std::max(width, cells.size());
  if (block.empty()) return {true, std::nullopt, {}};
  const int rows = static_cast<int>(block.size());
  if (row < 0 || column < 0 || row + rows > RowCount() ||
      column + static_cast<int>(width) > ColumnCount()) {
    SheetResult refused;
    refused.Fault = SheetFault{
        row + 1, column + 1, column >= 0 && column < ColumnCount() ? Header(column) : "",
        "The pasted block of " + std::to_string(rows) + " rows and " + std::to_string(width) +
            " columns does not fit the sheet from channel " + std::to_string(row + 1) + ", " +
            (column >= 0 && column < ColumnCount() ? Header(column) : "") +
            ": nothing was pasted."};
    return refused;
  }
  std::vector<RowEdit> edits;
  for (int r = 0; r < rows; ++r) {
    RowEdit edit{row + r + 1, row + r + 1, {}};
    const auto& cells = block[static_cast<std::size_t>(r)];
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const int at = column + static_cast<int>(c);
      edit.Cells.push_back({columns_[static_cast<std::size_t>(at)], cells[c], at + 1});
    }
    edits.push_back(std::move(edit));
  }
  return EditRows(edits, false);
}

std::string ChannelSheet::Copy(int top, int left, int bottom, int right) const {
  std::string text;
  for (int r = std::max(top, 0); r <= bottom && r < RowCount(); ++r) {
    for (int c = std::max(left, 0); c <= right && c < ColumnCount(); ++c)
      text += (c > std::max(left, 0) ? "\t" : "") + Cell(r, c);
    text += '\n';
  }
  return text;
}

SheetResult ChannelSheet::FillDown(int top, int left, int bottom, int right) {
  if (bottom <= top) return {true, std::nullopt, {}};
  const std::string first = Copy(top, left, top, right);
  std::string block;
  for (int r = top + 1; r <= bottom; ++r) block += first;
  return Paste(top + 1, left, block);
}

SheetResult ChannelSheet::ClearRows(int first, int last) {
  std::vector<RowEdit> edits;
  for (int r = std::max(first, 0); r <= last && r < RowCount(); ++r)
    edits.push_back(
        {r + 1, r + 1, {{SheetColumn::ReceiveMHz, "", 0}, {SheetColumn::TransmitMHz, "", 0}}});
  return EditRows(edits, false);
}

std::optional<std::pair<int, int>> ChannelSheet::Find(const std::string& text, int row,
                                                      int column) const {
  const std::string wanted = Lower(Trim(text));
  if (wanted.empty() || RowCount() == 0) return std::nullopt;
  const bool number = Decimal(wanted);
  const double megahertz = number ? NumberTextValue(wanted) : 0;
  const auto matches = [&](int r, int c) {
    const SheetColumn col = columns_[static_cast<std::size_t>(c)];
    const std::string cell = Cell(r, c);
    if (col == SheetColumn::Name) return Lower(cell).find(wanted) != std::string::npos;
    if (col != SheetColumn::ReceiveMHz && col != SheetColumn::TransmitMHz) return false;
    return number && !cell.empty() && std::abs(NumberTextValue(cell) - megahertz) < 0.0000005;
  };
  const int cells = RowCount() * ColumnCount();
  const int start =
      std::clamp(row, 0, RowCount() - 1) * ColumnCount() + std::clamp(column, 0, ColumnCount() - 1);
  for (int step = 1; step <= cells; ++step) {
    const int at = (start + step) % cells;
    if (matches(at / ColumnCount(), at % ColumnCount()))
      return std::make_pair(at / ColumnCount(), at % ColumnCount());
  }
  return std::nullopt;
}

bool ChannelSheet::Undo() {
  const bool could = main_.CanUndo();
  main_.Undo();
  Changed();
  return could;
}

bool ChannelSheet::Redo() {
  const bool could = main_.CanRedo();
  main_.Redo();
  Changed();
  return could;
}

void ChannelSheet::Tell(const SheetResult& result) {
  const std::string text = result.Text();
  if (text.empty()) return;
  main_.dialogs_.Message("System Message", result.Fault ? text + "\n\nNothing was changed." : text,
                         result.Fault ? MessageIcon::Exclamation : MessageIcon::Information,
                         MessageButtons::OK);
}

// --- The window's command ---

void frmMain::OpenChannelSheet() {
  if (!ChannelsBuilt || Channels.Count() == 0) return;
  ChannelSheet sheet(*this);
  dialogs_.RunModal(sheet);
}

}  // namespace tallisk
