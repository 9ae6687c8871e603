#pragma once

// The CTCSS key form: the ten tones a KM2 radio with one-touch signalling selection recalls
// with its keys. It edits the key forms of the radio header and writes them only on OK.

#include <array>

#include "tallisk/clsRadioHeader.h"
#include "tallisk/colCTCSSFrequencies.h"
#include "ui/FormFields.h"

namespace tallisk {

class frmCTCSSKeyForm : public Form {
 public:
  // Fills the ten choices from the tone table (null: "0.0" only) and selects each key's
  // tone as `header` holds it.
  frmCTCSSKeyForm(clsRadioHeader& header, const colCTCSSFrequencies* tones);

  // Choice i edits key i + 1.
  std::array<ChoiceField, 10> cmbCTCSSKeyForm{{{*this, "cmbCTCSSKeyForm0", "1"},
                                               {*this, "cmbCTCSSKeyForm1", "2"},
                                               {*this, "cmbCTCSSKeyForm2", "3"},
                                               {*this, "cmbCTCSSKeyForm3", "4"},
                                               {*this, "cmbCTCSSKeyForm4", "5"},
                                               {*this, "cmbCTCSSKeyForm5", "6"},
                                               {*this, "cmbCTCSSKeyForm6", "7"},
                                               {*this, "cmbCTCSSKeyForm7", "8"},
                                               {*this, "cmbCTCSSKeyForm8", "9"},
                                               {*this, "cmbCTCSSKeyForm9", "10"}}};
  CommandField btnOK{*this, "btnOK", "OK"};
  CommandField btnCancel{*this, "btnCancel", "Cancel"};

  // True after OK, false after Cancel or the close box.
  bool Result = false;

 private:
  void Store();

  clsRadioHeader& header_;
};

}  // namespace tallisk
