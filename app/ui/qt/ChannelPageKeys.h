#pragma once

// The channel page at the keyboard: Page Down and Page Up step to the next and the previous
// channel as the Up and Down commands do (down and up the channel list, as the keys move in
// the channel choice itself), and Enter in a frequency field takes the typed frequency as
// leaving the field does, so a technician can work through the channels without the mouse.

#include "ui/frmMain.h"
#include "ui/qt/FormView.h"

namespace tallisk::qt {

void AddChannelPageKeys(FormView& view, frmMain& form);

}  // namespace tallisk::qt
