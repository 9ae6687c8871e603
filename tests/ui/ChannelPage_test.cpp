// The channel page: a QVR channel typed, stepped away from and shown again, the special
// tones of a KM2 special radio, and the checks made on leaving a frequency. KM2 channels
// typed and read back from a whole image are in WholeProgramming_test.cpp.

#include <gtest/gtest.h>

#include "PagesSupport.h"

namespace tallisk::testing {
namespace {

using ChannelPage = PagesTest;

TEST_F(ChannelPage, AQvrChannelReachesItsChannelAndShowsAgainAsTyped) {
  frmMain& w = QvrOnPage5("VHF High A 136-156 MHz 16 Ch");
  EXPECT_FALSE(w.txtChannelName.Visible());  // a QVR channel has no name
  const auto untouched = ChannelShown(w);
  w.cmbChannelNumber.SelectText("3");
  TypeAndLeave(w.ReceiveChannelFreq, "150.0125");
  EXPECT_EQ(w.ReceiveChannelFreq.Text(), "150.012 500");
  TypeAndLeave(w.txtTransmitChannelFreq, "155.1");
  w.cmbReceiveSignalingType.SelectText("CTCSS");
  w.cmbCTCSSFrequenciesRx.SelectText("71.9");
  w.cmbTransmitSignalingType.SelectText("DCS");
  EXPECT_FALSE(w.cmbCTCSSFrequenciesTx.Visible());
  w.txtTransmitOctal.TypeText("-2345");  // a fourth digit does not fit the code
  EXPECT_EQ(w.txtTransmitOctal.Text(), "-234");
  w.txtTransmitOctal.TypeKey('\b');
  w.cmbTxPowerControl.SelectText("Low Only");
  w.chkEnableScrambler.Click();
  w.chkChannelinScanGroupA.Click();
  for (int box : {0, 2, 7}) w.chkAuxiliaryData[box].Click();
  const auto typed = ChannelShown(w);

  w.btnChannelUp.Press();
  EXPECT_EQ(ChannelShown(w), untouched);  // nothing of channel 3 stays on the page
  w.btnChannelDown.Press();
  EXPECT_EQ(ChannelShown(w), typed);
  w.cmbChannelNumber.SelectText("1");
  w.btnChannelDown.Press();  // no channel below 1
  EXPECT_EQ(w.CurrentChannel, 1);
  EXPECT_EQ(w.cmbChannelNumber.Text(), "1");
  w.cmbChannelNumber.SelectText("3");
  const clsChannel& ch = w.Channels.Item(3);
  EXPECT_EQ(std::tie(ch.RxFrequency, ch.TxFrequency), std::make_tuple(150012500.0, 155100000.0));
  EXPECT_EQ(std::tie(ch.RxSignalling, ch.RxCTCSSCode, ch.TxSignalling, ch.TxSignalData),
            std::make_tuple(0, std::uint8_t{1}, 1, std::int16_t{-19}));
  EXPECT_EQ(std::tie(ch.TxPowerControl, ch.Scrambler, ch.GroupA, ch.GroupB, ch.AuxData),
            std::make_tuple(0, true, true, false, std::string("10100001")));

  // "None" shows neither a tone nor a code; "+23" is the upright code 19.
  w.cmbTransmitSignalingType.SelectText("None");
  EXPECT_FALSE(w.cmbCTCSSFrequenciesTx.Visible());
  EXPECT_FALSE(w.txtTransmitOctal.Visible());
  w.cmbReceiveSignalingType.SelectText("DCS");
  w.ReceiveOctal.TypeText("+23");
  w.btnChannelUp.Press();
  EXPECT_EQ(w.Channels.Item(3).RxSignalData, 19);
}

TEST_F(ChannelPage, SpecialTonesAreTransmitOnlyAndACodeNoToneCarriesIsKept) {
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

TEST_F(ChannelPage, LeavingAFrequencyWarnsOutsideTheBandsAndRefusesWhatTheSynthesiserCannotHold) {
  struct Case {
    bool receive;
    std::string typed, shown, message;  // no message: ""
  };
  const std::string refused = "The radio cannot be tuned to ";
  // At 6.25 kHz the 64/65 field holds divide ratios up to about 1617 MHz; beyond 2147 MHz
  // the codec overflows.
  const Case cases[] = {
      {true, "151.5", "151.500 000", ""},
      {true, "200", "200.000 000",
       "200.000 000 MHz is outside the bands of this model (136 to 156 MHz). The value is "
       "kept."},
      {true, "200", "200.000 000", ""},  // accepted once, not asked again
      {true, "1700", "150.012 500",
       refused + "1700.000 000 MHz: its synthesiser cannot hold that frequency. The channel "
                 "keeps 150.012 500 MHz."},
      {false, "2500", "000.000 000",
       refused + "2500.000 000 MHz: its synthesiser cannot hold that frequency. The channel "
                 "keeps 000.000 000 MHz."},
      // What the synthesiser tunes to is what the channel shows and takes.
      {true, "150.0126", "150.012 500",
       "The radio tunes to 150.012 500 MHz for 150.012 600 MHz: its synthesiser holds no closer "
       "frequency. The channel takes 150.012 500 MHz."},
      // Keys that make no number are not taken: no sign, no second point, no letters.
      {false, "-15a0.5.625", "150.562 500", ""},
  };
  frmMain& w = QvrOnPage5("VHF High A 136-156 MHz 16 Ch", "6.25");
  w.cmbChannelNumber.SelectText("2");
  w.Channels.Item(1).RxFrequency = 150012500;
  w.cmbChannelNumber.SelectText("1");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::size_t before = dialogs_.Messages.size();
    TextField& field = c.receive ? w.ReceiveChannelFreq : w.txtTransmitChannelFreq;
    TypeAndLeave(field, c.typed);
    EXPECT_EQ(field.Text(), c.shown);
    EXPECT_EQ(dialogs_.Messages.size(), before + (c.message.empty() ? 0 : 1));
    EXPECT_EQ(dialogs_.Messages.size() > before ? dialogs_.LastText() : "", c.message);
  }
}

}  // namespace
}  // namespace tallisk::testing
