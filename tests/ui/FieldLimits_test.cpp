// What a field of the pages takes, by key or by paste, and what it shows once it is left: only
// what its record holds, and the value the radio will get, with a word when that is not what
// was typed.

#include <gtest/gtest.h>

#include <functional>

#include "PagesSupport.h"
#include "files/RadioFile.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

class FieldLimits : public PagesTest {
 protected:
  // A KM2 programming saved and loaded again: every channel is unused, as on a radio read.
  frmMain& LoadedKm2() {
    frmMain& w = StartKM2();
    ToPage2KM2(w, "52-8991A");
    w.btnFinish.Press();
    const auto file = root_ / "new.km2";
    EXPECT_TRUE(w.SaveRadioFileKM2(file.string()));
    EXPECT_TRUE(w.ShowImageKM2(ReadRadioFile(file, RadioFamily::KM2)));
    return w;
  }
};

struct Typed {
  int page;
  const char* field;
  std::string keys;     // typed one by one into the emptied field, then the field is left
  std::string shown;    // what the field shows afterwards
  std::string message;  // the message said on leaving; "" for none
};

TEST_F(FieldLimits, Km2FieldsTakeWhatTheirRecordsHoldAndShowWhatTheRadioGets) {
  const Typed cases[] = {
      // Names and numbers: no more characters than the record holds, none it would change.
      {2, "txtSerialNumber", "bench 7 and more", "BENCH7ANDMORE", ""},
      {5, "txtChannelName", "yard 3 east", "YARD 3", ""},
      {10, "txtGroupName", "YARD 3", "YAR", ""},
      {12, "txtDTMF2805IDNumber", "12ab*#xyz9999", "12AB*#9999", ""},
      // DCS codes: three octal digits behind an optional sign.
      {5, "ReceiveOctal", "1+238", "123", ""},
      {5, "txtTransmitOctal", "-7777", "-777", ""},
      {5, "txtTransmitOctal", "-0209", "-020", ""},
      // Numbers: no exponent, sign, letters or second point; then the record's bounds and steps.
      {5, "txtBurstFeq", "9e99", "1008.1", "The radio holds 1008.1, the nearest it can to 999.0."},
      {5, "txtBurstFeq", "0", "694.4", "The minimum value for this item is 694.4"},
      {5, "txtBurstFeq", "5000", "3472.2", "The maximum value for this item is 3472.2"},
      {5, "txtBurstDuration", "12ab99999999999", "3200", "The maximum value for this item is 3200"},
      {5, "txtBurstDuration", "150", "100", "The radio holds 100, the nearest it can to 150."},
      {9, "txtNoiseSquelchTail", "7", "5", "The radio holds 5, the nearest it can to 7."},
      {9, "txtDCSTail", "300", "255", "The maximum value for this item is 255"},
      {11, "txtScanTimingRXScanHold", "12.5.6", "12.55",
       "The radio holds 12.55, the nearest it can to 12.56."},
      {11, "txtScanTimingTXScanHold", "2.55", "2.55", ""},
      {11, "txtScanTimingTXScanHold", "0", "0.05", "The minimum value for this item is 0.05"},
      {10, "txtTimeOutTimer", "99999", " 4096", "The maximum value for this item is 4096"},
      {12, "txtUnkeyDelayTime", "12", " 10", "The radio holds 10, the nearest it can to 12."},
  };
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  for (const Typed& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.keys);
    Walk(w, w.CurrentPage < c.page || w.CurrentPage == 6 ? w.btnNext : w.btnBack, c.page);
    auto* field = dynamic_cast<TextField*>(w.Find(c.field));
    ASSERT_NE(field, nullptr);
    const std::size_t before = dialogs_.Messages.size();
    TypeAndLeave(*field, c.keys);
    EXPECT_EQ(field->Text(), c.shown);
    EXPECT_EQ(dialogs_.Messages.size() > before ? dialogs_.LastText() : "", c.message);
  }
}

TEST_F(FieldLimits, AnUnusedChannelOfAReadKm2RadioTakesAFrequencyAndNoChannelOnlyTransmits) {
  frmMain& w = LoadedKm2();
  Walk(w, w.btnNext, 5);
  w.cmbChannelNumber.SelectText("5");
  const std::size_t before = dialogs_.Messages.size();
  TypeAndLeave(w.ReceiveChannelFreq, "150.0125");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "150.012500");
  EXPECT_EQ(dialogs_.Messages.size(), before);

  // Receive cleared with the transmit frequency set: said, and the transmit frequency stays.
  TypeAndLeave(w.txtTransmitChannelFreq, "151");
  TypeAndLeave(w.ReceiveChannelFreq, "");
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "151.000000");
  EXPECT_EQ(dialogs_.LastText().substr(0, 48), "A KM2 channel is in use only with a receive freq");
  w.cmbChannelNumber.SelectText("6");
  EXPECT_EQ(w.Channels.Item(5).TxFrequency, 151e6);
}

TEST_F(FieldLimits, TheChannelListTakesAChannelIntoAGroupOnce) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  w.btnNext.Press();
  for (const char* mhz : {"150", "151"}) {
    TypeAndLeave(w.ReceiveChannelFreq, mhz);
    w.btnChannelUp.Press();
  }
  Walk(w, w.btnNext, 10);
  const auto pick = [](const std::string& channel) {
    return [channel](Form& f) {
      auto& picker = dynamic_cast<frmSelectChannel&>(f);
      picker.cmbChannel.SelectText(channel);
      picker.btnOK.Press();
    };
  };
  dialogs_.ModalActions.push_back([&](Form& f) {
    auto& list = dynamic_cast<frmChannelList&>(f);
    for (const char* channel : {" 1", " 2", " 1"}) {
      dialogs_.ModalActions.push_back(pick(channel));
      list.btnAdd.Press();
    }
    // Channel 2 edited into channel 1 is refused too.
    list.lstChannelList.Select(1);
    dialogs_.ModalActions.push_back(pick(" 1"));
    list.btnEdit.Press();
    list.btnOK.Press();
  });
  w.btnChannelList.Press();
  EXPECT_EQ(dialogs_.LastText(), "Channel 1 is already in this group.");
  std::vector<int> inGroup;
  for (std::int32_t i = 1; i <= w.LastProgrammedEntry(); ++i)
    inGroup.push_back(w.ChannelGroupTable.Item(i).ChannelNumber);
  EXPECT_EQ(inGroup, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace tallisk::testing
