#include "ui/FormFields.h"

#include <gtest/gtest.h>

namespace tallisk {
namespace {

class TwoFieldForm : public Form {
 public:
  TwoFieldForm() : Form("frmTwo", "Two") {}
  TextField txtSerial{*this, "txtSerial", "Serial:"};
  ChoiceField cmbPick{*this, "cmbPick", "Pick:"};
};

TEST(FormFields, TypedKeysObeyTheInputStylesAndCodeChangesFireTheSameReaction) {
  TwoFieldForm form;
  int changes = 0;
  form.txtSerial.OnChange.Connect([&] { ++changes; });
  form.txtSerial.UpperCase = true;
  form.txtSerial.MaxLength = 4;
  form.txtSerial.KeyFilter = [](char key) { return key == 'f' || key == 'F' ? '\0' : key; };

  form.txtSerial.TypeText("afbcde");
  EXPECT_EQ(form.txtSerial.Text(), "ABCD");  // "f" dropped, "e" beyond the limit
  EXPECT_EQ(form.txtSerial.Filtered("xfyzzz"), "XYZZ");
  form.txtSerial.TypeKey('\b');
  EXPECT_EQ(form.txtSerial.Text(), "ABC");
  int typed = changes;
  form.txtSerial.SetText("ABC");  // no change, no reaction
  form.txtSerial.SetText("150.012 500");
  EXPECT_EQ(changes, typed + 1);
  EXPECT_DOUBLE_EQ(form.txtSerial.Value(), 150.0125);
  EXPECT_EQ(form.Find("cmbPick"), &form.cmbPick);
}

TEST(FormFields, ChoiceSelectionByIndexTextAndDataWithNoneForAbsentEntries) {
  TwoFieldForm form;
  std::vector<int> seen;
  form.cmbPick.OnChange.Connect([&] { seen.push_back(form.cmbPick.SelectedIndex()); });
  form.cmbPick.AddItem(" 67", 1);
  form.cmbPick.AddItem(" 71.9", 2);
  EXPECT_EQ(form.cmbPick.SelectedIndex(), -1);
  EXPECT_EQ(form.cmbPick.SelectText(" 71.9"), 1);
  EXPECT_EQ(form.cmbPick.SelectedData(), 2);
  EXPECT_EQ(form.cmbPick.SelectText("71.9"), -1);
  EXPECT_EQ(form.cmbPick.Text(), "");
  form.cmbPick.Select(0);
  form.cmbPick.RemoveItem(0);  // removing the selected entry leaves none selected
  EXPECT_EQ(seen, (std::vector<int>{1, -1, 0, -1}));
  form.cmbPick.Clear();
  EXPECT_EQ(form.cmbPick.Count(), 0);
}

TEST(FormFields, OptionsOfAGroupExcludeEachOtherAndCommandsNeedToBeUsable) {
  Form form("frm", "");
  OptionField low(form, "optLow"), high(form, "optHigh");
  OptionField::Group({&low, &high});
  low.Select();
  high.Select();
  EXPECT_FALSE(low.Selected());
  EXPECT_TRUE(high.Selected());

  CommandField btn(form, "btnGo", "Go");
  int clicks = 0;
  btn.OnClick.Connect([&] { ++clicks; });
  btn.SetEnabled(false);
  btn.Press();
  btn.SetEnabled(true);
  btn.SetVisible(false);
  btn.Press();
  btn.SetVisible(true);
  btn.Press();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace tallisk
