// What a field of the pages takes, by key or by paste, and what it shows once it is left: only
// what its record holds, and the value the radio will get, with a word when that is not what
// was typed. Also the special tones of a KM2 special radio, and a frequency cleared from a
// channel that still transmits.

#include <gtest/gtest.h>

#include "PagesSupport.h"
#include "RadioBench.h"

namespace tallisk::testing {
namespace {

using FieldLimits = PagesTest;

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

  window_.reset();
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  for (const Typed& c : km2) type(w, c);
}

TEST_F(FieldLimits, SpecialTonesAreTransmitOnlyAndACodeNoToneCarriesIsKept) {
  frmMain& w = Km2OnPage5("52-3712AD", true);
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
