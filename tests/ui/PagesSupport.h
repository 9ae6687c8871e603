#pragma once

// Shortcuts to the channel and group pages of a new programming, and what a page shows
// field by field, so that a test can say "the page shows this again exactly" at once.

#include <map>
#include <string>

#include "MainWindowFixture.h"

namespace tallisk::testing {

// Types into an emptied field and leaves it.
inline void TypeAndLeave(TextField& field, const std::string& keys) {
  field.SetText("");
  field.TypeText(keys);
  field.Leave();
}

class PagesTest : public MainWindowTest {
 protected:
  frmMain& QvrOnPage5(const std::string& model, const std::string& reference = "") {
    frmMain& w = Start();
    w.btnProgramRadio.Press();
    w.lstRadios.SelectText(model);
    w.btnNext.Press();
    if (!reference.empty()) w.cmbPllReferenceFreq.SelectText(reference);
    Walk(w, w.btnNext, 5);
    return w;
  }
  frmMain& Km2OnPage5(const std::string& model, bool special = false) {
    frmMain& w = StartKM2();
    ToPage2KM2(w, model);
    if (special) w.chkSpecialRadio.Click();
    w.btnNext.Press();
    return w;
  }
  // Field name to what it shows: the text, the selected entry or the check of every visible
  // field but `except`.
  static std::map<std::string, std::string> Shown(const Page& page, const Field* except) {
    std::map<std::string, std::string> shown;
    for (const auto& row : page.Rows)
      for (const Field* field : row.Fields) {
        if (field == except || !field->Visible()) continue;
        std::string value = field->Caption();
        if (const auto* text = dynamic_cast<const TextField*>(field)) value = text->Text();
        if (const auto* choice = dynamic_cast<const ChoiceField*>(field))
          value = std::to_string(choice->SelectedIndex()) + ":" + choice->Text();
        if (const auto* check = dynamic_cast<const CheckField*>(field))
          value = check->Checked() ? "checked" : "unchecked";
        shown[field->Name()] = value;
      }
    return shown;
  }
  // The channel page without the channel number.
  static std::map<std::string, std::string> ChannelShown(const frmMain& w) {
    return Shown(*w.PageAt(5), &w.cmbChannelNumber);
  }
};

}  // namespace tallisk::testing
