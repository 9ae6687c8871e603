// The channel page of both families: what is typed reaches the channel and shows again
// exactly, the tone lists of each family, and the checks made on leaving a frequency.

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "PageSnapshot.h"

namespace tallisk::testing {
namespace {

class ChannelPage : public MainWindowTest {
 protected:
  // A new programming of the model, on page 5.
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
  static void TypeAndLeave(TextField& field, const std::string& keys) {
    field.SetText("");
    field.TypeText(keys);
    field.Leave();
  }
  // What the page shows, without the channel number.
  static std::map<std::string, std::string> Shown(const frmMain& w) {
    auto shown = PageSnapshot(*w.PageAt(5));
    shown.erase("cmbChannelNumber");
    return shown;
  }
};

TEST_F(ChannelPage, AQvrChannelReachesItsChannelAndShowsAgainAsTyped) {
  frmMain& w = QvrOnPage5("VHF High A 136-156 MHz 16 Ch");
  const auto untouched = Shown(w);
  EXPECT_TRUE(w.chkChannelinScanGroupA.Visible());
  EXPECT_FALSE(w.txtChannelName.Visible());

  w.cmbChannelNumber.SelectText("3");
  TypeAndLeave(w.ReceiveChannelFreq, "150.0125");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "150.012 500");
  TypeAndLeave(w.txtTransmitChannelFreq, "155.1");
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "155.100 000");
  w.cmbReceiveSignalingType.SelectText("CTCSS");
  w.cmbCTCSSFrequenciesRx.SelectText("71.9");
  w.cmbTransmitSignalingType.SelectText("DCS");
  EXPECT_FALSE(w.cmbCTCSSFrequenciesTx.Visible());
  EXPECT_TRUE(w.txtTransmitOctal.Visible());
  w.txtTransmitOctal.TypeText("-2345");  // a fourth digit does not fit the code
  EXPECT_EQ(w.txtTransmitOctal.Text(), "-234");
  w.txtTransmitOctal.TypeKey('\b');
  w.cmbTxPowerControl.SelectText("Low Only");
  w.chkEnableScrambler.Click();
  w.chkChannelinScanGroupA.Click();
  for (int box : {0, 2, 7}) w.chkAuxiliaryData[box].Click();
  const auto typed = Shown(w);

  w.btnChannelUp.Press();
  EXPECT_EQ(w.CurrentChannel, 4);
  EXPECT_EQ(Shown(w), untouched);  // nothing of channel 3 stays on the page
  w.btnChannelDown.Press();
  EXPECT_EQ(w.CurrentChannel, 3);
  EXPECT_EQ(Shown(w), typed);

  const clsChannel& ch = w.Channels.Item(3);
  EXPECT_DOUBLE_EQ(ch.RxFrequency, 150012500);
  EXPECT_DOUBLE_EQ(ch.TxFrequency, 155100000);
  EXPECT_EQ(std::tie(ch.RxSignalling, ch.RxCTCSSCode, ch.TxSignalling, ch.TxSignalData),
            std::make_tuple(0, std::uint8_t{1}, 1, std::int16_t{-19}));
  EXPECT_EQ(ch.RxSquelchToneFrequency, 71.9f);
  EXPECT_EQ(std::tie(ch.TxPowerControl, ch.Scrambler, ch.GroupA, ch.GroupB, ch.AuxData),
            std::make_tuple(0, true, true, false, std::string("10100001")));

  // The record of the channel reads back as typed.
  clsChannel copy = ch;
  ASSERT_TRUE(copy.CreateChannelData());
  clsChannel back = w.Channels.Item(16);
  back.ChannelData = copy.ChannelData;
  back.BreakChannelData();
  EXPECT_EQ(std::tie(back.RxFrequency, back.TxFrequency, back.RxCTCSSCode, back.TxSignalData,
                     back.AuxData, back.GroupA),
            std::tie(ch.RxFrequency, ch.TxFrequency, ch.RxCTCSSCode, ch.TxSignalData, ch.AuxData,
                     ch.GroupA));

  // "None" shows neither a tone nor a code; "+23" stores the code upright.
  w.cmbTransmitSignalingType.SelectText("None");
  EXPECT_FALSE(w.cmbCTCSSFrequenciesTx.Visible());
  EXPECT_FALSE(w.txtTransmitOctal.Visible());
  w.cmbReceiveSignalingType.SelectText("DCS");
  w.ReceiveOctal.TypeText("+23");
  w.btnChannelUp.Press();
  EXPECT_EQ(w.Channels.Item(3).RxSignalData, 19);
  EXPECT_EQ(w.Channels.Item(3).TxSignalling, 3);
}

TEST_F(ChannelPage, AKm2ChannelReachesItsChannelAndShowsAgainAsTyped) {
  frmMain& w = Km2OnPage5("52-3712A");
  EXPECT_TRUE(w.txtChannelName.Visible());
  EXPECT_TRUE(w.chkBurstToneEnable.Visible());
  EXPECT_FALSE(w.chkChannelinScanGroupA.Visible());
  EXPECT_FALSE(w.cmbTxPowerControl.Visible());
  EXPECT_FALSE(w.chkAuxiliaryData[0].Visible());
  EXPECT_EQ(w.cmbChannelNumber.Count(), 320);
  EXPECT_EQ(w.txtBurstFeq.Text(), "694.4");
  const auto untouched = Shown(w);

  w.cmbChannelNumber.SelectText("200");
  w.txtChannelName.TypeText("ab1");
  TypeAndLeave(w.ReceiveChannelFreq, "470.0125");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "470.012500");
  TypeAndLeave(w.txtTransmitChannelFreq, "475.1");
  EXPECT_EQ(w.txtTransmitChannelFreq.Text(), "475.100000");
  w.cmbReceiveSignalingType.SelectText("DCS");
  w.ReceiveOctal.TypeText("-23");
  w.cmbTransmitSignalingType.SelectText("CTCSS");
  w.cmbCTCSSFrequenciesTx.SelectText(" 100");
  w.cmbSubsignalingType.SelectText("Type 2");
  w.cmbRFPowerSelection.SelectText("Normal");
  w.chkEnableScrambler.Click();
  w.chkBurstToneEnable.Click();
  w.txtBurstFeq.SetText("1008.1");
  w.txtBurstDuration.SetText("");
  w.txtBurstDuration.TypeText("16x00");
  const auto typed = Shown(w);

  w.btnChannelDown.Press();
  EXPECT_EQ(Shown(w), untouched);
  w.btnChannelUp.Press();
  EXPECT_EQ(Shown(w), typed);

  const clsChannel& ch = w.Channels.Item(200);
  EXPECT_EQ(ch.ChannelName, "AB1");
  EXPECT_DOUBLE_EQ(ch.RxFrequency, 470012500);
  EXPECT_DOUBLE_EQ(ch.TxFrequency, 475100000);
  EXPECT_EQ(std::tie(ch.RxSignalling, ch.RxSignalData, ch.TxSignalling, ch.TxCTCSSCode),
            std::make_tuple(1, std::int16_t{-19}, 0, std::uint8_t{12}));
  EXPECT_EQ(std::tie(ch.SubsignalingType, ch.RFPower, ch.Scrambler),
            std::make_tuple(1, false, true));
  EXPECT_EQ(
      std::tie(ch.PTTBurstToneEnable, ch.TranspondToneEnable, ch.BurstFrequency, ch.BurstDuration),
      std::make_tuple(true, false, 1008.1f, 1600.0f));
}

TEST_F(ChannelPage, SpecialTonesAreTransmitOnlyAndACodeNoToneCarriesIsKept) {
  frmMain& w = Km2OnPage5("52-3712AD", true);
  // A special radio's scrambler flag marks the tone bank, so neither it nor the
  // subsignalling is offered.
  EXPECT_FALSE(w.chkEnableScrambler.Visible());
  EXPECT_FALSE(w.cmbSubsignalingType.Visible());
  EXPECT_EQ(w.cmbCTCSSFrequenciesRx.FindText(" 69.3"), -1);
  ASSERT_GE(w.cmbCTCSSFrequenciesTx.FindText(" 69.3"), 0);
  EXPECT_EQ(w.cmbCTCSSFrequenciesTx.Count(), w.cmbCTCSSFrequenciesRx.Count() + 12);

  TypeAndLeave(w.ReceiveChannelFreq, "480");
  TypeAndLeave(w.txtTransmitChannelFreq, "480");
  w.cmbTransmitSignalingType.SelectText("CTCSS");
  w.cmbCTCSSFrequenciesTx.SelectText(" 69.3");
  w.btnChannelUp.Press();
  EXPECT_EQ(w.Channels.Item(1).TxCTCSSCode, 101);

  // The radio is no longer marked special: its list has no 69.3, so the channel shows no
  // tone rather than another one, and keeps its code when stored.
  Walk(w, w.btnBack, 2);
  w.chkSpecialRadio.Click();
  w.btnNext.Press();
  EXPECT_TRUE(w.chkEnableScrambler.Visible());
  EXPECT_EQ(w.cmbCTCSSFrequenciesTx.FindText(" 69.3"), -1);
  w.cmbChannelNumber.SelectText("1");
  EXPECT_EQ(w.cmbCTCSSFrequenciesTx.SelectedIndex(), -1);
  EXPECT_EQ(w.cmbCTCSSFrequenciesTx.Text(), "");
  w.btnChannelUp.Press();
  EXPECT_EQ(w.Channels.Item(1).TxCTCSSCode, 101);
}

TEST_F(ChannelPage, LeavingAFrequencyWarnsOutsideTheBandsAndRefusesWhatTheSynthesiserCannotHold) {
  struct Case {
    bool receive;
    std::string typed;
    std::string shown;    // after leaving the field
    std::string message;  // empty: none
  };
  const std::string stored = "150.012 500";
  // 6.25 kHz steps: the 64/65 field holds divide ratios up to 262143, about 1617 MHz.
  const Case qvr[] = {
      {true, "151.5", "151.500 000", ""},
      {true, "200", "200.000 000",
       "200.000 000 MHz is outside the bands of this model (136 to 156 MHz). The value is "
       "kept."},
      {true, "200", "200.000 000", ""},  // accepted once, not asked again
      {true, "1700", stored,
       "The radio cannot be tuned to 1700.000 000 MHz: its synthesiser cannot hold that "
       "frequency. The channel keeps 150.012 500 MHz."},
      {false, "2500", "000.000 000",
       "The radio cannot be tuned to 2500.000 000 MHz: its synthesiser cannot hold that "
       "frequency. The channel keeps 000.000 000 MHz."},
      {false, "13 6.5", "136.500 000", ""},
      {true, "-1", " 0", "The minimum value for this item is 0"},
  };
  frmMain& w = QvrOnPage5("VHF High A 136-156 MHz 16 Ch", "6.25");
  w.cmbChannelNumber.SelectText("2");
  w.Channels.Item(1).RxFrequency = 150012500;
  w.cmbChannelNumber.SelectText("1");
  for (const Case& c : qvr) {
    SCOPED_TRACE(c.typed);
    const std::size_t before = dialogs_.Messages.size();
    TypeAndLeave(c.receive ? w.ReceiveChannelFreq : w.txtTransmitChannelFreq, c.typed);
    EXPECT_EQ((c.receive ? w.ReceiveChannelFreq : w.txtTransmitChannelFreq).Text(), c.shown);
    EXPECT_EQ(dialogs_.Messages.size(), before + (c.message.empty() ? 0 : 1));
    if (!c.message.empty()) {
      EXPECT_EQ(dialogs_.LastText(), c.message);
    }
  }
  // The channel's own value, shown again, is not checked on the way through.
  w.Channels.Item(2).RxFrequency = 300000000;
  w.cmbChannelNumber.SelectText("2");
  const std::size_t before = dialogs_.Messages.size();
  w.ReceiveChannelFreq.Leave();
  EXPECT_EQ(dialogs_.Messages.size(), before);

  // KM2 52-371: 470-512 MHz; beyond 2 GHz the read-back of the record overflows.
  dialogs_.Messages.clear();
  frmMain& k = Km2OnPage5("52-3712A");
  TypeAndLeave(k.ReceiveChannelFreq, "2200");
  EXPECT_EQ(k.ReceiveChannelFreq.Text(), "000.000000");
  ASSERT_EQ(dialogs_.Messages.size(), 1u);
  EXPECT_EQ(dialogs_.Messages[0].Title, "System Message");
  TypeAndLeave(k.ReceiveChannelFreq, "1000");
  EXPECT_EQ(k.ReceiveChannelFreq.Text(), "1000.000000");
  ASSERT_EQ(dialogs_.Messages.size(), 2u);
  EXPECT_EQ(dialogs_.Messages[1].Title, "KM2 Radio Programmer");
  EXPECT_EQ(dialogs_.Messages[1].Text,
            "1000.000000 MHz is outside the bands of this model (470 to 490 MHz, 490 to 512 MHz, "
            "470 to 512 MHz). The value is kept.");
}

}  // namespace
}  // namespace tallisk::testing
