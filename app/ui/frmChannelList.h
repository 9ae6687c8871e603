#pragma once

// The channel list window: which channels belong to one KM2 group. It works on a copy of the
// group's memberships in its list and writes them into the channel-group table only on OK.
// The table has 320 entries for all groups together, so the window also counts the slots
// the other groups leave free.

#include <cstdint>
#include <vector>

#include "tallisk/clsChannelGroup.h"
#include "tallisk/collection.h"
#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk {

class frmChannelList : public Form {
 public:
  // Opens on the memberships of `group`. `channels` are the entries the picker offers: an
  // empty entry, then every channel that has a receive frequency, as the priority channel
  // choices of the group pages hold them.
  frmChannelList(Dialogs& dialogs, Collection<clsChannelGroup>& table, std::int16_t group,
                 std::vector<ChoiceField::Item> channels);

  ListField lstChannelList{*this, "lstChannelList"};
  LabelField lblSlotAvailCaption{*this, "lblSlotAvailCaption", "Number of available slot:"};
  LabelField lblSlotAvail{*this, "lblSlotAvail"};
  CommandField btnAdd{*this, "btnAdd", "Add"};
  CommandField btnEdit{*this, "btnEdit", "Edit"};
  CommandField btnRemove{*this, "btnRemove", "Remove"};
  CommandField btnOK{*this, "btnOK", "OK"};
  CommandField btnCancel{*this, "btnCancel", "Cancel"};

  // True once OK has written the list into the table.
  bool Stored() const { return stored_; }

 private:
  void Add();
  void Edit();
  void Remove();
  void Store();
  // Says so when the channel is in the list already (but for entry `except`).
  bool AlreadyListed(const std::string& picked, int except);
  void ShowSlots();
  // Runs the picker on the offered channels with `selected` chosen first; the picked text,
  // or nothing when the user cancelled or picked the empty entry.
  bool Pick(const std::string& missingText, const std::string& selected, std::string& picked);

  Dialogs& dialogs_;
  Collection<clsChannelGroup>& table_;
  std::int16_t group_;
  std::vector<ChoiceField::Item> channels_;
  std::int32_t programmed_ = 0;
  bool stored_ = false;
};

}  // namespace tallisk
