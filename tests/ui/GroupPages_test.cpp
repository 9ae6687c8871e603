// The KM2 group pages, the channel list window with its channel picker, and the CTCSS key
// form, each driven through the main window.

#include <gtest/gtest.h>

#include "PagesSupport.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

class GroupPages : public PagesTest {
 protected:
  // A 52-8991A programming on page 12 whose channels `tuned` have a receive frequency.
  frmMain& OnPage12(std::initializer_list<const char*> tuned) {
    frmMain& w = Km2OnPage5("52-8991A");
    for (const char* n : tuned) {
      w.cmbChannelNumber.SelectText(n);
      TypeAndLeave(w.ReceiveChannelFreq, "150");
    }
    Walk(w, w.btnNext, 12);
    return w;
  }
  // The table holds exactly these group/channel entries from entry 1 on.
  static void SetTable(frmMain& w, const std::vector<std::pair<int, int>>& entries) {
    w.ClearChannelGroupTable();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      clsChannelGroup& e = w.ChannelGroupTable.Item(static_cast<std::int32_t>(i + 1));
      e.Programmed = true;
      e.GroupNumber = static_cast<std::int16_t>(entries[i].first);
      e.ChannelNumber = static_cast<std::int16_t>(entries[i].second);
    }
  }
  static std::vector<std::string> Table(const frmMain& w) {
    std::vector<std::string> entries;
    for (const auto& e : w.ChannelGroupTable)
      if (e.Programmed)
        entries.push_back(std::to_string(e.GroupNumber) + "/" + std::to_string(e.ChannelNumber));
    return entries;
  }
  // The next channel picker takes this entry and OK (or Cancel).
  void Picks(const std::string& entry, bool ok = true) {
    dialogs_.ModalActions.push_back([entry, ok](Form& form) {
      auto& picker = dynamic_cast<frmSelectChannel&>(form);
      picker.cmbChannel.SelectText(entry);
      (ok ? picker.btnOK : picker.btnCancel).Press();
    });
  }
  void WithChannelList(frmMain& w, std::function<void(frmChannelList&)> act) {
    dialogs_.ModalActions.push_front(
        [act](Form& form) { act(dynamic_cast<frmChannelList&>(form)); });
    w.btnChannelList.Press();
    EXPECT_TRUE(dialogs_.ModalActions.empty());
  }
};

TEST_F(GroupPages, TheChannelListEditsOneGroupTakesAChannelOnceAndWritesTheTableOnlyOnOk) {
  frmMain& w = OnPage12({"5", "7", "9"});
  // Leaving the channel page listed the channels that have a receive frequency.
  EXPECT_EQ(ItemTexts(w.cmbPriorityChannel1), (std::vector<std::string>{"", " 5", " 7", " 9"}));
  SetTable(w, {{1, 1}, {1, 2}, {1, 3}});
  w.cmbGroupNumber.SelectText(" 2");

  // An empty pick, a cancelled one and a channel already in the group add nothing; nor does
  // an edit into a channel already there.
  for (const char* pick : {" 5", " 7", "", " 5"}) Picks(pick);
  Picks(" 9", false);
  Picks(" 5");
  WithChannelList(w, [](frmChannelList& list) {
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 317");
    for (int i = 0; i < 5; ++i) list.btnAdd.Press();
    list.lstChannelList.Select(1);
    list.btnEdit.Press();
    EXPECT_EQ(ItemTexts(list.lstChannelList), (std::vector<std::string>{" 5", " 7"}));
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 315");
    list.btnOK.Press();
  });
  const std::vector<std::string> stored{"1/1", "1/2", "1/3", "2/5", "2/7"};
  EXPECT_EQ(Table(w), stored);

  Picks(" 9");
  WithChannelList(w, [](frmChannelList& list) {
    list.btnEdit.Press();  // nothing selected yet
    list.btnRemove.Press();
    list.lstChannelList.Select(1);
    list.btnEdit.Press();
    list.lstChannelList.Select(0);
    list.btnRemove.Press();
    EXPECT_EQ(ItemTexts(list.lstChannelList), (std::vector<std::string>{" 9"}));
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 316");
    list.btnCancel.Press();
  });
  std::vector<std::string> said;
  for (const ShownMessage& m : dialogs_.Messages) said.push_back(m.Text);
  EXPECT_EQ(said, (std::vector<std::string>{
                      "Channel 5 is already in this group.", "Channel 5 is already in this group.",
                      "Please select a channel to edit", "Please select a channel to remove"}));
  EXPECT_EQ(dialogs_.Messages[3].Title, "QV2 Radio Programmer");
  EXPECT_EQ(Table(w), stored);

  // A group among other groups' entries: the holes are filled from the end of the table.
  SetTable(w, {{2, 5}, {1, 1}, {2, 7}, {1, 2}});
  WithChannelList(w, [](frmChannelList& list) {
    list.lstChannelList.Select(0);
    list.btnRemove.Press();
    list.btnOK.Press();
  });
  EXPECT_EQ(Table(w), (std::vector<std::string>{"2/7", "1/1", "1/2"}));

  SetTable(w, std::vector<std::pair<int, int>>(320, {4, 9}));
  WithChannelList(w, [](frmChannelList& list) {
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 0");
    list.btnAdd.Press();  // no picker opens
    list.btnOK.Press();
  });
  EXPECT_EQ(dialogs_.LastText(), "No more slot left to add");
}

TEST_F(GroupPages, TwoGroupsKeepTheirOwnSettingsAndTheGroupShownIsTheOneStored) {
  frmMain& w = OnPage12({"5", "9"});
  struct Value {
    Field* field;
    std::string first, second;  // a check: "1" or "0"
  };
  // One field of each kind and transfer rule.
  const Value values[] = {
      {&w.txtGroupName, "AB", "XYZ"},
      {&w.cmbPriorityChannel1, " 5", " 9"},
      {&w.cmbPriorityChannel2, " 9", ""},
      {&w.cmbChannelLockOut, "Signalling", "NSQ"},
      {&w.txtTimeOutTimer, " 30", " 120"},
      {&w.cmbScanTimmingIntervalBDCS, " 3", " 15"},
      {&w.txtScanTimingRXScanHold, "2.5", "0.5"},
      {&w.txtPriChSamplingRate, "0.3", "2"},
      {&w.chkTXOnPriorityChannel, "0", "1"},
      {&w.cmbMultiDigitDecodeFormat, "2805", "DTMF"},
      {&w.txtDTMF2805IDNumber, "12AB*#", "D"},
      {&w.txtUnkeyDelayTime, " 250", " 5"},
      {&w.chkEnableANITranspond, "0", "1"},
      {&w.cmbANIDelay, " 200", " 0"},
  };
  auto put = [](Field* field, const std::string& value) {
    if (auto* text = dynamic_cast<TextField*>(field)) text->SetText(value);
    if (auto* choice = dynamic_cast<ChoiceField*>(field)) choice->SelectText(value);
    if (auto* check = dynamic_cast<CheckField*>(field)) check->SetChecked(value == "1");
  };
  auto shown = [](const Field* field) -> std::string {
    if (auto* text = dynamic_cast<const TextField*>(field)) return text->Text();
    if (auto* choice = dynamic_cast<const ChoiceField*>(field)) return choice->Text();
    return dynamic_cast<const CheckField*>(field)->Checked() ? "1" : "0";
  };
  w.cmbGroupNumber.SelectText(" 2");
  for (const Value& v : values) put(v.field, v.first);
  w.cmbGroupNumber.SelectText(" 5");
  for (const Value& v : values) put(v.field, v.second);
  for (int round = 0; round < 2; ++round)
    for (const bool second : {false, true}) {
      w.cmbGroupNumber.SelectText(second ? " 5" : " 2");
      for (const Value& v : values)
        EXPECT_EQ(shown(v.field), second ? v.second : v.first) << v.field->Name();
    }
  const clsGroup& g = w.Groups.Item(2);
  EXPECT_EQ(std::tie(g.TimeOutTimer, g.RXScanHold, g.PriorityChannel2, g.MultiDigitDecodeFormat),
            std::make_tuple(30.0f, 25.0f, std::int16_t{9}, std::int16_t{0}));
  EXPECT_EQ(w.Groups.Item(5).PriorityChannel2, 0);

  // A read shows group 1, which makes it the group the pages store into.
  w.ShowGroup(w.Groups.Item(1));
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  w.txtGroupName.SetText("ONE");
  w.btnNext.Press();
  EXPECT_EQ(w.Groups.Item(1).GroupName, "ONE");
  EXPECT_EQ(w.Groups.Item(5).GroupName, "XYZ");
  // An edit on page 10 survives a trip back to the channel page and forwards again.
  Walk(w, w.btnBack, 10);
  w.txtGroupName.SetText("TWO");
  Walk(w, w.btnBack, 5);
  w.btnNext.Press();
  EXPECT_EQ(w.Groups.Item(1).GroupName, "TWO");
}

TEST_F(GroupPages, BackFromFinishShowsTheGroupNotTheModelsDefaultsAndNoChannelIsOffered) {
  frmMain& w = StartKM2();
  w.btnProgramRadio.Press();
  w.txtModelNumber.SetText("52-8991A");
  w.btnFinish.Press();
  EXPECT_EQ(w.cmbANIDelay.Text(), " 140");  // the model's default
  w.Groups.Item(1).ANIDelay = 60;
  w.btnBack.Press();
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  EXPECT_EQ(w.cmbANIDelay.Text(), " 60");

  // The channel page was never left, so no channel has been listed.
  WithChannelList(w, [](frmChannelList& list) {
    list.btnAdd.Press();
    list.lstChannelList.AddItem(" 4");
    list.lstChannelList.Select(0);
    list.btnEdit.Press();
    list.btnCancel.Press();
  });
  ASSERT_EQ(dialogs_.Messages.size(), 2u);
  EXPECT_EQ(dialogs_.Messages[0].Text, "No channel was define");
  EXPECT_EQ(dialogs_.Messages[1].Text, "No Channel was define");
}

TEST_F(GroupPages, TheCtcssKeyFormShowsForSignallingAndStoresOnlyOnOk) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8992A");  // a deluxe radio
  Walk(w, w.btnNext, 7);
  EXPECT_FALSE(w.btnCTCSSKeyForm.Visible());
  w.cmbOneTouchSelection.SelectText("Signalling");
  EXPECT_TRUE(w.btnCTCSSKeyForm.Visible());
  w.cmbOneTouchSelection.SelectText("Group");
  EXPECT_FALSE(w.btnCTCSSKeyForm.Visible());

  // As a read leaves them: key 2 with code 5 (79.7 Hz), key 3 with a code no tone has.
  w.RadioHeader.CTCSSKeyForm2 = 5;
  w.RadioHeader.CTCSSKeyForm3 = 60;
  dialogs_.ModalActions.push_back([](Form& form) {
    auto& keys = dynamic_cast<frmCTCSSKeyForm&>(form);
    EXPECT_EQ(keys.cmbCTCSSKeyForm[0].Count(), 39);  // "0.0" and the 38 standard tones
    EXPECT_EQ(keys.cmbCTCSSKeyForm[0].Text(), "0.0");
    EXPECT_EQ(keys.cmbCTCSSKeyForm[1].Text(), " 79.7");
    EXPECT_EQ(keys.cmbCTCSSKeyForm[2].SelectedIndex(), -1);
    keys.cmbCTCSSKeyForm[0].SelectText(" 100");
    keys.cmbCTCSSKeyForm[1].SelectText("0.0");
    keys.btnOK.Press();
  });
  dialogs_.ModalActions.push_back([](Form& form) {
    auto& keys = dynamic_cast<frmCTCSSKeyForm&>(form);
    for (auto& key : keys.cmbCTCSSKeyForm) key.Select(5);
    keys.btnCancel.Press();
  });
  w.cmbOneTouchSelection.SelectText("Signalling");
  w.btnCTCSSKeyForm.Press();
  w.btnCTCSSKeyForm.Press();
  const clsRadioHeader& h = w.RadioHeader;
  EXPECT_EQ(std::tie(h.CTCSSKeyForm1, h.CTCSSKeyForm2, h.CTCSSKeyForm3, h.CTCSSKeyForm4),
            std::make_tuple(std::int16_t{12}, std::int16_t{0}, std::int16_t{60}, std::int16_t{-1}));
}

TEST_F(GroupPages, AKm2ChannelWhoseFrequencyIsClearedLeavesEveryGroup) {
  frmMain& w = Km2OnPage5("52-8991A");
  TypeAndLeave(w.ReceiveChannelFreq, "150.0125");
  w.cmbChannelNumber.SelectText("2");
  w.cmbChannelNumber.SelectText("1");
  // Channel 1 is in groups 3 and 5; channel 2, never used, is in group 3 too.
  SetTable(w, {{3, 7}, {3, 1}, {3, 8}, {3, 2}, {5, 1}, {3, 10}});
  // Cleared, then another channel shown before the page is left.
  TypeAndLeave(w.ReceiveChannelFreq, "");
  w.cmbChannelNumber.SelectText("2");
  w.btnNext.Press();
  EXPECT_EQ(Table(w), (std::vector<std::string>{"3/7", "3/10", "3/8", "3/2"}));
}

}  // namespace
}  // namespace tallisk::testing
