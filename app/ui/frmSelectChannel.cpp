#include "ui/frmSelectChannel.h"

namespace tallisk {

frmSelectChannel::frmSelectChannel() : Form("frmSelectChannel", "Select A Channel") {
  AddPage(0, "Select A Channel").Row({&cmbChannel}).Row({&btnOK, &btnCancel});
  Pages().front()->SetVisible(true);
  btnOK.OnClick.Connect([this] {
    Result = true;
    Close();
  });
  btnCancel.OnClick.Connect([this] {
    Result = false;
    Close();
  });
}

}  // namespace tallisk
