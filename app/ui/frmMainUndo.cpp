// Undo and redo of the main window's programming: the pages are stored first, so typing not
// yet stored is a step of its own, and shown again from what the step restores.

#include "ui/frmMain.h"

namespace tallisk {

void frmMain::StorePageShown() {
  if (CurrentPage == 5 && CurrentChannel >= 1 && CurrentChannel <= Channels.Count())
    StoreChannel(Channels.Item(CurrentChannel));
  if (RadioType == 1 && CurrentPage >= 10 && CurrentPage <= 12 && CurrentGroup >= 1 &&
      CurrentGroup <= Groups.Count())
    StoreGroup(Groups.Item(CurrentGroup));
}

void frmMain::ShowProgrammingAgain(bool settingsChanged) {
  if (settingsChanged) {
    // The model shown again is the programming's own: no question about changing it.
    const bool fromRadio = ModelFromRadio;
    ModelFromRadio = false;
    ShowRadioSettings();
    ModelFromRadio = fromRadio;
  }
  if (ChannelsBuilt && CurrentChannel >= 1 && CurrentChannel <= Channels.Count())
    ShowChannel(Channels.Item(CurrentChannel));
  // Group pages that hold a model's defaults rather than a group keep them.
  if (RadioType == 1 && shownGroup_ != nullptr && CurrentGroup >= 1 &&
      CurrentGroup <= Groups.Count())
    ShowGroup(Groups.Item(CurrentGroup));
}

void frmMain::Undo() {
  if (TransferBusy) return;
  StorePageShown();
  undo_.Commit();
  const clsRadioHeader before = RadioHeader;
  if (undo_.Undo()) ShowProgrammingAgain(!(before == RadioHeader));
}

void frmMain::Redo() {
  if (TransferBusy) return;
  StorePageShown();
  // Typing stored just now is a new step, and a new step ends what could be redone.
  if (undo_.Commit()) return;
  const clsRadioHeader before = RadioHeader;
  if (undo_.Redo()) ShowProgrammingAgain(!(before == RadioHeader));
}

}  // namespace tallisk
