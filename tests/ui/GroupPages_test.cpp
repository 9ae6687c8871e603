// The KM2 group pages, the channel list window with its channel picker, and the CTCSS key
// form, each driven through the main window.

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "PageSnapshot.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

class GroupPages : public MainWindowTest {
 protected:
  // A new 52-8991A programming on page 5.
  frmMain& Km2OnPage5() {
    frmMain& w = StartKM2();
    ToPage2KM2(w, "52-8991A");
    w.btnNext.Press();
    return w;
  }
  static void GiveFrequency(frmMain& w, const std::string& channel) {
    w.cmbChannelNumber.SelectText(channel);
    w.ReceiveChannelFreq.SetText("150");
    w.ReceiveChannelFreq.Leave();
  }
  static void Program(frmMain& w, int entry, int group, int channel) {
    clsChannelGroup& e = w.ChannelGroupTable.Item(entry);
    e.Programmed = true;
    e.GroupNumber = static_cast<std::int16_t>(group);
    e.ChannelNumber = static_cast<std::int16_t>(channel);
  }
  // The programmed entries as "group/channel", in table order.
  static std::vector<std::string> Table(const frmMain& w) {
    std::vector<std::string> entries;
    for (const auto& e : w.ChannelGroupTable)
      if (e.Programmed)
        entries.push_back(std::to_string(e.GroupNumber) + "/" + std::to_string(e.ChannelNumber));
    return entries;
  }
  static std::vector<std::string> Texts(const ChoiceField& field) {
    std::vector<std::string> texts;
    for (const auto& item : field.Items()) texts.push_back(item.Text);
    return texts;
  }
  // Picks the entry in the next channel picker and presses OK or Cancel.
  void Picks(const std::string& entry, bool ok = true) {
    dialogs_.ModalActions.push_back([entry, ok](Form& form) {
      auto& picker = dynamic_cast<frmSelectChannel&>(form);
      EXPECT_EQ(picker.Title(), "Select A Channel");
      picker.cmbChannel.SelectText(entry);
      (ok ? picker.btnOK : picker.btnCancel).Press();
    });
  }
  // Runs the channel list window of the current group with `act`.
  void WithChannelList(frmMain& w, std::function<void(frmChannelList&)> act) {
    dialogs_.ModalActions.push_front([act](Form& form) {
      auto& list = dynamic_cast<frmChannelList&>(form);
      EXPECT_EQ(list.Title(), "Channel List");
      act(list);
      if (!list.IsClosed()) list.btnCancel.Press();
    });
    w.btnChannelList.Press();
    EXPECT_TRUE(dialogs_.ModalActions.empty());
  }
};

TEST_F(GroupPages, TheChannelListEditsTheGroupsMembershipsAndTheTableOnlyOnOk) {
  frmMain& w = Km2OnPage5();
  for (const char* channel : {"5", "7", "9"}) GiveFrequency(w, channel);
  Walk(w, w.btnNext, 12);
  // Leaving the channel page listed the channels that have a receive frequency.
  EXPECT_EQ(Texts(w.cmbPriorityChannel1), (std::vector<std::string>{"", " 5", " 7", " 9"}));
  for (int entry = 1; entry <= 3; ++entry) Program(w, entry, 1, entry);
  w.cmbGroupNumber.SelectText(" 2");

  // An empty pick and a cancelled pick add nothing.
  Picks(" 5");
  Picks(" 7");
  Picks("");
  Picks(" 9", false);
  WithChannelList(w, [](frmChannelList& list) {
    EXPECT_EQ(list.lstChannelList.Count(), 0);
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 317");
    for (int i = 0; i < 4; ++i) list.btnAdd.Press();
    EXPECT_EQ(Texts(list.lstChannelList), (std::vector<std::string>{" 5", " 7"}));
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 315");
    list.btnOK.Press();
  });
  EXPECT_EQ(Table(w), (std::vector<std::string>{"1/1", "1/2", "1/3", "2/5", "2/7"}));

  // Edit and Remove need a selected entry; Cancel leaves the table as it was.
  Picks(" 9");
  WithChannelList(w, [this](frmChannelList& list) {
    EXPECT_EQ(Texts(list.lstChannelList), (std::vector<std::string>{" 5", " 7"}));
    list.btnEdit.Press();
    list.btnRemove.Press();
    EXPECT_EQ(dialogs_.Messages.size(), 2u);
    EXPECT_EQ(dialogs_.Messages[0].Text, "Please select a channel to edit");
    EXPECT_EQ(dialogs_.Messages[1].Title, "QV2 Radio Programmer");
    EXPECT_EQ(dialogs_.Messages[1].Text, "Please select a channel to remove");
    list.lstChannelList.Select(1);
    list.btnEdit.Press();
    list.lstChannelList.Select(0);
    list.btnRemove.Press();
    EXPECT_EQ(Texts(list.lstChannelList), (std::vector<std::string>{" 9"}));
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 316");
    list.btnCancel.Press();
  });
  EXPECT_EQ(Table(w), (std::vector<std::string>{"1/1", "1/2", "1/3", "2/5", "2/7"}));

  // Removing from a group whose entries lie among other groups' fills the holes from the
  // end of the table.
  w.ClearChannelGroupTable();
  Program(w, 1, 2, 5);
  Program(w, 2, 1, 1);
  Program(w, 3, 2, 7);
  Program(w, 4, 1, 2);
  WithChannelList(w, [](frmChannelList& list) {
    list.lstChannelList.Select(0);
    list.btnRemove.Press();
    list.btnOK.Press();
  });
  EXPECT_EQ(Table(w), (std::vector<std::string>{"2/7", "1/1", "1/2"}));
  EXPECT_EQ(w.LastProgrammedEntry(), 3);
}

TEST_F(GroupPages, TheChannelListRefusesAFullTableAndAGroupWithoutChannels) {
  frmMain& w = Km2OnPage5();
  // The channel page has not been left: no channel is offered yet.
  dialogs_.ModalActions.clear();
  WithChannelList(w, [](frmChannelList& list) {
    list.btnAdd.Press();
    list.lstChannelList.AddItem(" 4");
    list.lstChannelList.Select(0);
    list.btnEdit.Press();
  });
  ASSERT_EQ(dialogs_.Messages.size(), 2u);
  EXPECT_EQ(dialogs_.Messages[0].Text, "No channel was define");
  EXPECT_EQ(dialogs_.Messages[1].Text, "No Channel was define");

  GiveFrequency(w, "3");
  w.btnNext.Press();
  for (int entry = 1; entry <= 320; ++entry) Program(w, entry, 4, entry);
  WithChannelList(w, [](frmChannelList& list) {
    EXPECT_EQ(list.lblSlotAvail.Caption(), " 0");
    list.btnAdd.Press();  // no picker opens
    list.btnOK.Press();
  });
  EXPECT_EQ(dialogs_.LastText(), "No more slot left to add");
  EXPECT_EQ(dialogs_.ModalWindows.back(), "frmChannelList");
}

// Every field of pages 10-12, typed for one of two groups.
void FillGroupPages(frmMain& w, bool first) {
  auto retype = [](TextField& field, const std::string& keys) {
    field.SetText("");
    field.TypeText(keys);
  };
  retype(w.txtGroupName, first ? "ab" : "xyz");
  w.cmbPriorityChannel1.SelectText(first ? " 5" : " 9");
  w.cmbPriorityChannel2.SelectText(first ? " 9" : "");
  w.cmbChannelLockOut.SelectText(first ? "Signalling" : "NSQ");
  retype(w.txtTimeOutTimer, first ? "30" : "120");
  w.cmbScanTimingIntervalA.SelectText(first ? " 40" : " 3");
  w.cmbScanTimmingIntervalBDCS.SelectText(first ? " 3" : " 15");
  w.cmbScanTimingIntervalBCTCSS.SelectText(first ? " 7" : " 0");
  retype(w.txtScanTimingRXScanHold, first ? "2.5" : "0.5");
  retype(w.txtScanTimingTXScanHold, first ? "1.5" : "12");
  w.cmbPriChSamplingRatio.SelectText(first ? " 4" : " 2");
  retype(w.txtPriChSamplingRate, first ? "0.3" : "2");
  w.cmbScanHoldingEvents.SelectText(first ? "Open/Sig" : "Busy/NSQ");
  w.chkTXOnPriorityChannel.SetChecked(!first);
  w.cmbDeleteChTableClear.SelectText(first ? "Scan Off" : "Power/Scan");
  w.cmbMultiDigitDecodeFormat.SelectText(first ? "2805" : "DTMF");
  retype(w.txtDTMF2805IDNumber, first ? "12ab*#xyz9E0123" : "d");
  retype(w.txtUnkeyDelayTime, first ? "250" : "5");
  w.chkEnablePTTANI.SetChecked(first);
  w.chkEnableANITranspond.SetChecked(!first);
  w.chkEnableANIOnMONButton.SetChecked(false);
  w.cmbANIRate.SelectText(first ? " 80" : " 20");
  w.cmbANIRepetitions.SelectText(first ? " 3" : " 9");
  w.cmbANIDelay.SelectText(first ? " 200" : " 0");
  w.cmbANIInterval.SelectText(first ? " 10" : " 35");
}

auto Settings(const clsGroup& g) {
  return std::make_tuple(g.GroupName, g.PriorityChannel1, g.PriorityChannel2, g.BusyChannelLockOut,
                         g.TimeOutTimer, g.IntervalA, g.IntervalBDCS, g.IntervalBCTCSS,
                         g.RXScanHold, g.TXScanHold, g.PriChSamplingRatio, g.PriChSamplingRate,
                         g.ScanHoldingEvents, g.TXOnPriorityChannel, g.DeleteChTableClear,
                         g.MultiDigitDecodeFormat, g.DTMF2805IDNumber, g.UnKeyDelayTime,
                         g.EnablePTTANI, g.EnableANITranspond, g.EnableANIOnMONButton, g.ANIRate,
                         g.ANIRepetitions, g.ANIDelay, g.ANIInterval);
}

TEST_F(GroupPages, TwoGroupsKeepTheirOwnSettingsAndTheGroupShownIsTheOneStored) {
  frmMain& w = Km2OnPage5();
  for (const char* channel : {"5", "9"}) GiveFrequency(w, channel);
  Walk(w, w.btnNext, 12);
  auto shown = [&w] {
    auto all = PageSnapshot(*w.PageAt(10));
    all.merge(PageSnapshot(*w.PageAt(11)));
    all.merge(PageSnapshot(*w.PageAt(12)));
    return all;
  };

  w.cmbGroupNumber.SelectText(" 2");
  FillGroupPages(w, true);
  EXPECT_EQ(w.txtDTMF2805IDNumber.Text(), "12AB*#9012");  // ten of 0-9, A-D, * and #
  w.cmbGroupNumber.SelectText(" 5");
  FillGroupPages(w, false);
  w.cmbGroupNumber.SelectText(" 2");
  const auto second = shown();
  w.cmbGroupNumber.SelectText(" 5");
  const auto fifth = shown();
  w.cmbGroupNumber.SelectText(" 2");
  EXPECT_EQ(shown(), second);
  w.cmbGroupNumber.SelectText(" 5");
  EXPECT_EQ(shown(), fifth);

  EXPECT_EQ(Settings(w.Groups.Item(2)),
            std::make_tuple("AB", 5, 9, 1, 30.0f, 40, 3, 7, 25.0f, 15.0f, 4, 0.3f, 3, false, 2, 0,
                            "12AB*#9012", 250.0f, true, false, false, 80, 3, 200, 10));
  EXPECT_EQ(Settings(w.Groups.Item(5)),
            std::make_tuple("XYZ", 9, 0, 0, 120.0f, 3, 15, 0, 5.0f, 120.0f, 2, 2.0f, 0, true, 0, 1,
                            "D", 5.0f, false, true, false, 20, 9, 0, 35));
  EXPECT_EQ(w.txtScanTimingRXScanHold.Text(), "0.5");
  EXPECT_EQ(w.txtTimeOutTimer.Text(), " 120");

  // A read shows group 1, which makes it the group the pages store into.
  w.ShowGroup(w.Groups.Item(1));
  EXPECT_EQ(w.CurrentGroup, 1);
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  w.txtGroupName.SetText("ONE");
  w.btnNext.Press();
  EXPECT_EQ(w.Groups.Item(1).GroupName, "ONE");
  EXPECT_EQ(w.Groups.Item(5).GroupName, "XYZ");

  // Edits on page 10 survive a trip back to the channel page and forwards again.
  Walk(w, w.btnBack, 10);
  w.txtGroupName.SetText("TWO");
  Walk(w, w.btnBack, 5);
  w.btnNext.Press();
  EXPECT_EQ(w.Groups.Item(1).GroupName, "TWO");
  EXPECT_EQ(w.txtGroupName.Text(), "TWO");
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
  w.cmbOneTouchSelection.SelectText("Signalling");

  // As a read leaves them: key 2 with code 5 (79.7 Hz), key 3 with a code no tone has.
  w.RadioHeader.CTCSSKeyForm2 = 5;
  w.RadioHeader.CTCSSKeyForm3 = 60;
  dialogs_.ModalActions.push_back([](Form& form) {
    auto& keys = dynamic_cast<frmCTCSSKeyForm&>(form);
    EXPECT_EQ(keys.Title(), "CTCSS Key Form");
    EXPECT_EQ(keys.cmbCTCSSKeyForm[0].Count(), 39);  // "0.0" and the 38 standard tones
    EXPECT_EQ(keys.cmbCTCSSKeyForm[0].Text(), "0.0");
    EXPECT_EQ(keys.cmbCTCSSKeyForm[1].Text(), " 79.7");
    EXPECT_EQ(keys.cmbCTCSSKeyForm[2].SelectedIndex(), -1);
    EXPECT_EQ(keys.cmbCTCSSKeyForm[9].Caption(), "10");
    keys.cmbCTCSSKeyForm[0].SelectText(" 100");
    keys.cmbCTCSSKeyForm[1].SelectText("0.0");
    keys.btnOK.Press();
    EXPECT_TRUE(keys.Result);
  });
  dialogs_.ModalActions.push_back([](Form& form) {
    auto& keys = dynamic_cast<frmCTCSSKeyForm&>(form);
    EXPECT_EQ(keys.cmbCTCSSKeyForm[0].Text(), " 100");
    for (auto& key : keys.cmbCTCSSKeyForm) key.Select(5);
    keys.btnCancel.Press();
    EXPECT_FALSE(keys.Result);
  });
  w.btnCTCSSKeyForm.Press();
  w.btnCTCSSKeyForm.Press();
  const clsRadioHeader& h = w.RadioHeader;
  EXPECT_EQ(std::tie(h.CTCSSKeyForm1, h.CTCSSKeyForm2, h.CTCSSKeyForm3, h.CTCSSKeyForm4),
            std::make_tuple(std::int16_t{12}, std::int16_t{0}, std::int16_t{60}, std::int16_t{-1}));
}

TEST_F(GroupPages, BackFromFinishShowsTheGroupTheNumberNamesNotTheModelsDefaults) {
  frmMain& w = StartKM2();
  w.btnProgramRadio.Press();
  w.txtModelNumber.SetText("52-8991A");
  w.btnFinish.Press();
  ASSERT_EQ(w.CurrentPage, 6);
  EXPECT_EQ(w.cmbANIDelay.Text(), " 140");  // the model's default
  w.Groups.Item(1).ANIDelay = 60;
  w.btnBack.Press();
  EXPECT_EQ(w.CurrentPage, 12);
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  EXPECT_EQ(w.cmbANIDelay.Text(), " 60");
}

}  // namespace
}  // namespace tallisk::testing
