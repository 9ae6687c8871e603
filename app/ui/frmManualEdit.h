#pragma once

// The KM2 byte editor ("Manual" on the Finish page): single bytes of the programming image
// changed by hand, for the odd setting no page offers. It works on its own copy of the
// image; the main window takes the copy back only after OK.
//
// Addresses are byte addresses of the 8192-byte image, 0 to 1FFF.

#include <cstdint>
#include <string>

#include "ui/Dialogs.h"
#include "ui/FormFields.h"

namespace tallisk {

class frmManualEdit : public Form {
 public:
  // `image` is the programming image as hex digit pairs, byte 0 first.
  frmManualEdit(Dialogs& dialogs, std::string image);

  LabelField lblWarning{
      *this, "lblWarning",
      "WARNING! - Incorrect changes to Configuration Data can render the radio inoperable."};
  TextField txtAddress{*this, "txtAddress", "EEPROM Address (hex):"};
  TextField txtHexValue{*this, "txtHexValue", "EEPROM Value (hex):"};
  TextField txtbinaryValue{*this, "txtbinaryValue", "EEPROM Value (binary):"};
  CommandField cmbSet{*this, "cmbSet", "Set"};
  CommandField cmbOK{*this, "cmbOK", "OK"};
  CommandField cmbCancel{*this, "cmbCancel", "Cancel"};

  // True after OK, false after Cancel or the close box.
  bool Result = false;
  // The image with the bytes Set so far.
  const std::string& ImageText() const { return image_; }

  // The close box cancels.
  bool QueryClose() override;

 private:
  void AddressLeft();
  void HexValueLeft();
  void BinaryValueLeft();
  void SetByte();
  // The address typed, when it names a byte of the image.
  bool AddressInImage(std::int64_t& address) const;

  Dialogs& dialogs_;
  std::string image_;
};

}  // namespace tallisk
