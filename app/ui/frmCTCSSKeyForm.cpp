#include "ui/frmCTCSSKeyForm.h"

#include "ui/PageText.h"

namespace tallisk {

namespace {

std::int16_t clsRadioHeader::*const kKeyForms[] = {
    &clsRadioHeader::CTCSSKeyForm1, &clsRadioHeader::CTCSSKeyForm2, &clsRadioHeader::CTCSSKeyForm3,
    &clsRadioHeader::CTCSSKeyForm4, &clsRadioHeader::CTCSSKeyForm5, &clsRadioHeader::CTCSSKeyForm6,
    &clsRadioHeader::CTCSSKeyForm7, &clsRadioHeader::CTCSSKeyForm8, &clsRadioHeader::CTCSSKeyForm9,
    &clsRadioHeader::CTCSSKeyForm10};

}  // namespace

frmCTCSSKeyForm::frmCTCSSKeyForm(clsRadioHeader& header, const colCTCSSFrequencies* tones)
    : Form("frmCTCSSKeyForm", "CTCSS Key Form"), header_(header) {
  Page& page = AddPage(0, "CTCSS Key Form");
  for (std::size_t i = 0; i < 5; ++i) page.Row({&cmbCTCSSKeyForm[i], &cmbCTCSSKeyForm[i + 5]});
  page.Row({&btnOK, &btnCancel});
  page.SetVisible(true);

  for (std::size_t i = 0; i < cmbCTCSSKeyForm.size(); ++i) {
    ChoiceField& choice = cmbCTCSSKeyForm[i];
    choice.AddItem("0.0", 0);
    if (tones != nullptr)
      for (const auto& tone : *tones)
        if (!tone.SpecialRadioKM2)
          choice.AddItem(" " + ShortestText(tone.CTCSSFreq), tone.CTCSSCodeKM2);
    // A key is found by the code it stores, whatever place its tone has in the list; every
    // code below 1 is a key without a tone. A code no tone carries selects nothing, and the
    // key then keeps it.
    const std::int16_t code = header_.*kKeyForms[i];
    choice.Select(code < 1 ? 0 : choice.FindData(code));
  }

  btnOK.OnClick.Connect([this] {
    Store();
    Result = true;
    Close();
  });
  btnCancel.OnClick.Connect([this] {
    Result = false;
    Close();
  });
}

void frmCTCSSKeyForm::Store() {
  for (std::size_t i = 0; i < cmbCTCSSKeyForm.size(); ++i) {
    const ChoiceField& choice = cmbCTCSSKeyForm[i];
    if (choice.SelectedIndex() < 0) continue;
    std::int16_t& key = header_.*kKeyForms[i];
    const auto code = static_cast<std::int16_t>(choice.SelectedData());
    // "0.0" stands for every code below 1 (no tone); a key that had none keeps its own.
    if (code == 0 && key < 1) continue;
    key = code;
  }
}

}  // namespace tallisk
