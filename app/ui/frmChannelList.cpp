#include "ui/frmChannelList.h"

#include "ui/ChannelGroupTable.h"
#include "ui/PageText.h"
#include "ui/frmSelectChannel.h"

namespace tallisk {

namespace {

constexpr char kTitle[] = "QV2 Radio Programmer";

}  // namespace

frmChannelList::frmChannelList(Dialogs& dialogs, Collection<clsChannelGroup>& table,
                               std::int16_t group, std::vector<ChoiceField::Item> channels)
    : Form("frmChannelList", "Channel List"),
      dialogs_(dialogs),
      table_(table),
      group_(group),
      channels_(std::move(channels)) {
  AddPage(0, "Channel List")
      .Row({&lstChannelList})
      .Row({&lblSlotAvailCaption, &lblSlotAvail})
      .Row({&btnAdd, &btnEdit, &btnRemove})
      .Row({&btnOK, &btnCancel});
  Pages().front()->SetVisible(true);

  programmed_ = ProgrammedEntryCount(table_);
  for (std::int32_t i = 1; i <= programmed_; ++i) {
    const clsChannelGroup& entry = table_.Item(i);
    if (entry.GroupNumber == group_) lstChannelList.AddItem(NumberChoiceText(entry.ChannelNumber));
  }
  ShowSlots();

  btnAdd.OnClick.Connect([this] { Add(); });
  btnEdit.OnClick.Connect([this] { Edit(); });
  btnRemove.OnClick.Connect([this] { Remove(); });
  btnOK.OnClick.Connect([this] {
    Store();
    Close();
  });
  btnCancel.OnClick.Connect([this] { Close(); });
}

void frmChannelList::ShowSlots() {
  lblSlotAvail.SetCaption(NumberChoiceText(table_.Count() - programmed_));
}

bool frmChannelList::Pick(const std::string& missingText, const std::string& selected,
                          std::string& picked) {
  frmSelectChannel picker;
  for (const auto& item : channels_) picker.cmbChannel.AddItem(item.Text, item.Data);
  if (picker.cmbChannel.Count() < 2) {
    dialogs_.Inform(kTitle, missingText);
    return false;
  }
  if (picker.cmbChannel.SelectText(selected) < 0) picker.cmbChannel.Select(0);
  dialogs_.RunModal(picker);
  // The empty entry names no channel; taking it would add channel 0, which the table
  // cannot hold.
  if (!picker.Result || Trim(picker.cmbChannel.Text()).empty()) return false;
  picked = picker.cmbChannel.Text();
  return true;
}

void frmChannelList::Add() {
  if (table_.Count() - programmed_ < 1) {
    dialogs_.Inform(kTitle, "No more slot left to add");
    return;
  }
  std::string picked;
  if (!Pick("No channel was define", "", picked) || AlreadyListed(picked, -1)) return;
  lstChannelList.AddItem(picked);
  ++programmed_;
  ShowSlots();
}

void frmChannelList::Edit() {
  const int selected = lstChannelList.SelectedIndex();
  if (channels_.size() >= 2 && selected < 0) {
    dialogs_.Inform(kTitle, "Please select a channel to edit");
    return;
  }
  std::string picked;
  if (!Pick("No Channel was define", selected >= 0 ? lstChannelList.ItemText(selected) : "",
            picked) ||
      AlreadyListed(picked, selected))
    return;
  lstChannelList.SetItemText(selected, picked);
}

bool frmChannelList::AlreadyListed(const std::string& picked, int except) {
  const double channel = NumberTextValue(picked);
  for (int i = 0; i < lstChannelList.Count(); ++i) {
    if (i == except || NumberTextValue(lstChannelList.ItemText(i)) != channel) continue;
    dialogs_.Inform(kTitle, "Channel " + Trim(picked) + " is already in this group.");
    return true;
  }
  return false;
}

void frmChannelList::Remove() {
  const int selected = lstChannelList.SelectedIndex();
  if (selected < 0) {
    dialogs_.Inform(kTitle, "Please select a channel to remove");
    return;
  }
  lstChannelList.RemoveItem(selected);
  --programmed_;
  ShowSlots();
}

void frmChannelList::Store() {
  for (auto& entry : table_)
    if (entry.Programmed && entry.GroupNumber == group_) entry.Programmed = false;
  int next = 0;
  for (auto& entry : table_) {
    if (next >= lstChannelList.Count()) break;
    if (entry.Programmed) continue;
    entry.Programmed = true;
    entry.GroupNumber = group_;
    entry.ChannelNumber = static_cast<std::int16_t>(NumberTextValue(lstChannelList.ItemText(next)));
    ++next;
  }
  CloseChannelGroupGaps(table_);
  stored_ = true;
}

}  // namespace tallisk
