// The KM2 group pages, the channel list window with its channel picker, and the CTCSS key
// form, each driven through the main window; and what a field of the pages takes and shows.

#include "RadioBench.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

class GroupPages : public MainWindowTest {
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
  EXPECT_EQ(said, (std::vector<std::string>{"Channel 5 is already in this group.",
                                            "Channel 5 is already in this group."}));
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
      {&w.chkEnableANIOnMONButton, "1", "0"},
      {&w.chkEnablePTTANI, "0", "1"},
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

TEST_F(GroupPages, BackFromFinishShowsTheGroupNotTheModelsDefaults) {
  frmMain& w = StartKM2();
  w.btnProgramRadio.Press();
  w.txtModelNumber.SetText("52-8991A");
  w.btnFinish.Press();
  EXPECT_EQ(w.cmbANIDelay.Text(), " 140");  // the model's default
  w.Groups.Item(1).ANIDelay = 60;
  w.btnBack.Press();
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  EXPECT_EQ(w.cmbANIDelay.Text(), " 60");
}

TEST_F(GroupPages, TheCtcssKeyFormShowsForSignallingAndStoresOnlyOnOk) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8992A");  // a deluxe radio
  Walk(w, w.btnNext, 7);

  // As a read leaves them: key 2 with code 5 (79.7 Hz), key 3 with a code no tone has.
  w.RadioHeader.CTCSSKeyForm2 = 5;
  w.RadioHeader.CTCSSKeyForm3 = 60;
  dialogs_.ModalActions.push_back([](Form& form) {
    auto& keys = dynamic_cast<frmCTCSSKeyForm&>(form);
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

// --- What a field takes and shows ---

// What a field of the pages takes, by key or by paste, and what it shows once it is left: only
// what its record holds, and the value the radio will get, with a word when that is not what
// was typed. Also the special tones of a KM2 special radio, and a frequency cleared from a
// channel that still transmits.

using FieldLimits = MainWindowTest;

struct Typed {
  int page;
  const char* field;
  std::string keys;     // typed one by one into the emptied field, then the field is left
  std::string shown;    // what the field shows afterwards
  std::string message;  // the message said on leaving; "" for none
};

TEST_F(FieldLimits, FieldsTakeWhatTheirRecordsHoldAndShowWhatTheRadioGets) {
  const std::string refused = "The radio cannot be tuned to ";
  // A QVR radio at 6.25 kHz, whose 64/65 field holds divide ratios up to about 1617 MHz;
  // beyond 2147 MHz the codec overflows. Channel 1 holds 150.0125 MHz.
  const Typed qvr[] = {
      {5, "ReceiveChannelFreq", "151.5", "151.500 000", ""},
      {5, "ReceiveChannelFreq", "200", "200.000 000",
       "200.000 000 MHz is outside the bands of this model (136 to 156 MHz). The value is "
       "kept."},
      {5, "ReceiveChannelFreq", "200", "200.000 000", ""},  // accepted once, not asked again
      {5, "ReceiveChannelFreq", "1700", "150.012 500",
       refused + "1700.000 000 MHz: its synthesiser cannot hold that frequency. The channel "
                 "keeps 150.012 500 MHz."},
      {5, "txtTransmitChannelFreq", "2500", "000.000 000",
       refused + "2500.000 000 MHz: its synthesiser cannot hold that frequency. The channel "
                 "keeps 000.000 000 MHz."},
      // What the synthesiser tunes to is what the channel shows and takes.
      {5, "ReceiveChannelFreq", "150.0126", "150.012 500",
       "The radio tunes to 150.012 500 MHz for 150.012 600 MHz: its synthesiser holds no closer "
       "frequency. The channel takes 150.012 500 MHz."},
      // Keys that make no number are not taken: no sign, no second point, no letters.
      {5, "txtTransmitChannelFreq", "-15a0.5.625", "150.562 500", ""},
      // Eight of hex digits and blanks; ten of hex letters.
      {2, "txtSerialNumber", "12FgGe 3456789", "12E 3456", ""},
      {2, "txtCustomer", "abcdefABCDEF0123456789", "ABCDEABCDE", ""},
  };
  const Typed km2[] = {
      // Names and numbers: no more characters than the record holds, none it would change.
      {2, "txtSerialNumber", "bench 7/fg-xyz0123456789", "BENCH7/FG-XYZ012", ""},
      {5, "txtChannelName", "yard 3 east", "YARD 3", ""},
      {10, "txtGroupName", "YARD 3", "YAR", ""},
      {12, "txtDTMF2805IDNumber", "12ab*#xyz9E0123", "12AB*#9012", ""},
      // DCS codes: three octal digits behind an optional sign.
      {5, "ReceiveOctal", "1+238", "123", ""},
      {5, "txtTransmitOctal", "-7777\b", "-77", ""},
      // Numbers: no exponent, sign, letters or second point; then the record's bounds and steps.
      {5, "txtBurstFeq", "9e99", "1008.1", "The radio holds 1008.1, the nearest it can to 999.0."},
      {5, "txtBurstFeq", "5000", "3472.2", "The maximum value for this item is 3472.2"},
      {5, "txtBurstDuration", "12ab99999999999", "3200", "The maximum value for this item is 3200"},
      {5, "txtBurstDuration", "150", "100", "The radio holds 100, the nearest it can to 150."},
      {9, "txtNoiseSquelchTail", "7", "5", "The radio holds 5, the nearest it can to 7."},
      {9, "txtDCSTail", "300", "255", "The maximum value for this item is 255"},
      {11, "txtScanTimingRXScanHold", "12.5.6", "12.55",
       "The radio holds 12.55, the nearest it can to 12.56."},
      {11, "txtScanTimingTXScanHold", "0", "0.05", "The minimum value for this item is 0.05"},
      {10, "txtTimeOutTimer", "99999", " 4096", "The maximum value for this item is 4096"},
      {12, "txtUnkeyDelayTime", "12", " 10", "The radio holds 10, the nearest it can to 12."},
  };
  const auto type = [this](frmMain& w, const Typed& c) {
    SCOPED_TRACE(std::string(c.field) + " " + c.keys);
    Walk(w, w.CurrentPage < c.page || w.CurrentPage == 6 ? w.btnNext : w.btnBack, c.page);
    auto* field = dynamic_cast<TextField*>(w.Find(c.field));
    ASSERT_NE(field, nullptr);
    const std::size_t before = dialogs_.Messages.size();
    TypeAndLeave(*field, c.keys);
    EXPECT_EQ(field->Text(), c.shown);
    EXPECT_LE(dialogs_.Messages.size(), before + 1);
    EXPECT_EQ(dialogs_.Messages.size() > before ? dialogs_.LastText() : "", c.message);
  };
  frmMain& q = QvrOnPage5("VHF High A 136-156 MHz 16 Ch", "6.25");
  q.cmbChannelNumber.SelectText("2");
  q.Channels.Item(1).RxFrequency = 150012500;
  q.cmbChannelNumber.SelectText("1");
  for (const Typed& c : qvr) type(q, c);
  // The last channel keeps what it holds, as the first does.
  q.Channels.Item(16).RxFrequency = 151500000;
  Walk(q, q.btnNext, 5);
  q.cmbChannelNumber.SelectText("16");
  type(q, {5, "ReceiveChannelFreq", "1700", "151.500 000",
           refused + "1700.000 000 MHz: its synthesiser cannot hold that frequency. The channel "
                     "keeps 151.500 000 MHz."});

  window_.reset();
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  for (const Typed& c : km2) type(w, c);
}

TEST_F(FieldLimits, SpecialTonesAreTransmitOnlyAndACodeNoToneCarriesIsKept) {
  frmMain& w = Km2OnPage5("52-3712AD", true);
  EXPECT_EQ(w.lblSpecialRadio.Caption(), "52-6581 installed?");
  // The scrambler flag carries a special radio's tone bank.
  EXPECT_FALSE(w.chkEnableScrambler.Visible());
  EXPECT_FALSE(w.cmbSubsignalingType.Visible());
  EXPECT_EQ(w.cmbCTCSSFrequenciesRx.FindText(" 69.3"), -1);
  EXPECT_EQ(w.cmbCTCSSFrequenciesTx.Count(), w.cmbCTCSSFrequenciesRx.Count() + 12);
  TypeAndLeave(w.ReceiveChannelFreq, "480");
  TypeAndLeave(w.txtTransmitChannelFreq, "480");
  w.cmbTransmitSignalingType.SelectText("CTCSS");
  w.cmbCTCSSFrequenciesTx.SelectText(" 69.3");
  w.btnChannelUp.Press();
  EXPECT_EQ(w.Channels.Item(1).TxCTCSSCode, 101);

  // No longer special: the list has no 69.3, so the channel shows no tone rather than
  // another one, and keeps its code.
  Walk(w, w.btnBack, 2);
  w.chkSpecialRadio.Click();
  w.btnNext.Press();
  EXPECT_TRUE(w.chkEnableScrambler.Visible());
  w.cmbChannelNumber.SelectText("1");
  EXPECT_EQ(w.cmbCTCSSFrequenciesTx.SelectedIndex(), -1);
  w.btnChannelUp.Press();
  EXPECT_EQ(w.Channels.Item(1).TxCTCSSCode, 101);

  // Read from a special radio's image, the tone is the special one again.
  Km2Programming special(*w.Operator);
  special.Header.ModelName = "52-3712AD";
  w.Operator->IsRadioModelExist(special.Header.ModelName, special.Header.DefaultKM2);
  special.Header.SpecialRadio = special.Channels[0].SpecialRadio = true;
  special.Channels[0].Scrambler = true;
  special.Channels[0].TxCTCSSCode = 101;
  ASSERT_TRUE(w.ShowImageKM2(special.Image())) << dialogs_.LastText();
  EXPECT_EQ(w.Channels.Item(1).TxCTCSSCode, 101);
}

TEST_F(FieldLimits, AnUnusedChannelOfAReadKm2RadioTakesAFrequencyAndNoChannelOnlyTransmits) {
  frmMain& w = StartKM2();
  ASSERT_TRUE(w.ShowImageKM2(Km2Programming(*w.Operator).Image()));
  Walk(w, w.btnNext, 5);
  w.cmbChannelNumber.SelectText("5");
  const std::size_t before = dialogs_.Messages.size();
  TypeAndLeave(w.ReceiveChannelFreq, "480.0125");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "480.012500");
  EXPECT_EQ(dialogs_.Messages.size(), before);

  // Receive cleared with the transmit frequency set: said, and the transmit frequency stays.
  TypeAndLeave(w.txtTransmitChannelFreq, "481");
  TypeAndLeave(w.ReceiveChannelFreq, "");
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "481.000000");
  EXPECT_EQ(dialogs_.LastText().substr(0, 48), "A KM2 channel is in use only with a receive freq");
  w.cmbChannelNumber.SelectText("6");
  EXPECT_EQ(w.Channels.Item(5).TxFrequency, 481e6);
}

}  // namespace
}  // namespace tallisk::testing
