#pragma once

// The channel picker of the channel list window: one choice of channel numbers, OK and
// Cancel. The window that opens it fills the choice and reads the pick after OK.

#include "ui/FormFields.h"

namespace tallisk {

class frmSelectChannel : public Form {
 public:
  frmSelectChannel();

  ChoiceField cmbChannel{*this, "cmbChannel", "Channel:"};
  CommandField btnOK{*this, "btnOK", "OK"};
  CommandField btnCancel{*this, "btnCancel", "Cancel"};

  // True after OK, false after Cancel or the close box.
  bool Result = false;
};

}  // namespace tallisk
