// The radio-wide settings pages and the group pages: a model's defaults, edits reaching the
// library objects, and the objects' values shown again.

#include <gtest/gtest.h>

#include <tuple>

#include "MainWindowFixture.h"
#include "ui/PageText.h"

namespace tallisk::testing {
namespace {

using SettingsPages = MainWindowTest;

std::vector<std::string> Texts(const ChoiceField& field) {
  std::vector<std::string> texts;
  for (const auto& item : field.Items()) texts.push_back(item.Text);
  return texts;
}

TEST_F(SettingsPages, QvrPagesStoreIntoTheHeaderAndShowItBack) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.lstRadios.SelectText("VHF Low A 29.7-36 MHz 16 Ch");
  w.btnNext.Press();

  // Page 2 from the model's bands: high side 5 kHz by default, 5 listed once.
  EXPECT_TRUE(w.optInjectionAspectHigh.Selected());
  EXPECT_EQ(Texts(w.cmbPllReferenceFreq), (std::vector<std::string>{"5", "6.25"}));
  EXPECT_EQ(w.cmbPllReferenceFreq.Text(), "5");
  EXPECT_EQ(w.Calendar.Value(), Date(2026, 12, 6));
  w.txtSerialNumber.TypeText("1234");
  w.txtCustomer.TypeText("abc");
  w.cmbPllReferenceFreq.SelectText("6.25");
  w.chkSpecialRadio.Click();

  w.btnNext.Press();
  EXPECT_EQ(w.cmbScanType.Text(), "PS");
  EXPECT_EQ(w.cmbAuxKeyType.Text(), "Type 2");
  EXPECT_EQ(Texts(w.cmbPriorityChannelMonitorTime),
            (std::vector<std::string>{"0.75 sec", "1.00 sec", "1.25 sec", "1.50 sec"}));
  EXPECT_EQ(w.cmbPriorityChannelMonitorTime.Text(), "1.00 sec");
  EXPECT_EQ(w.cmbScanHoldOnRx.Text(), "2.5 sec");
  EXPECT_EQ(w.cmbScanHoldAfterTx.Text(), "5.0 sec");
  w.cmbScanType.SelectText("Normal");
  w.cmbPriorityChannelMonitorTime.SelectText("1.25 sec");

  w.btnNext.Press();
  EXPECT_EQ(w.cmbTxTimeOutTimer.Text(), "Infinite");
  EXPECT_EQ(w.cmbWhenTableIsDeleted.Text(), "Power Off");
  w.chkBeepB.Click();
  w.cmbWhenTableIsDeleted.SelectText("No Clear");
  w.btnNext.Press();  // leaving page 4 stores the settings

  const clsRadioHeader& h = w.RadioHeader;
  EXPECT_EQ(std::tie(h.SerialNumber, h.CustomerNumber, h.DateRadio, h.PLLReferenceFreq),
            std::make_tuple("1234", "ABC", Date(2026, 12, 6), 6.25f));
  EXPECT_EQ(std::tie(h.InjectionAspect, h.SpecialRadio, h.Model), std::make_tuple(1, true, 0));
  EXPECT_EQ(std::tie(h.ScanMethod, h.AuxKeyType, h.PriorityCnlMonitorTime,
                     h.PriorityCnlMonitorCycle, h.HoldTimeAfterRx, h.HoldTimeAfterTx),
            std::make_tuple(0, 2, 2, 1, 1, 2));
  EXPECT_EQ(std::tie(h.ScanHoldConditions, h.ChannelRollOver, h.BeepA, h.BeepB, h.TxTimeOutTimer,
                     h.BusyChannelLockOut, h.ScanListClear),
            std::make_tuple(3, true, true, false, 7, 3, 3));
  // The 6.25 kHz band of the model.
  EXPECT_EQ(std::tie(h.Address0x0D, h.PrescalerSwitch, h.IFRx, h.Synthesizer, h.ChannelSwitchType),
            std::make_tuple("0xC8", "32/33", 10700.0f, 1, 3));
  EXPECT_EQ(h.RadioHeader.size(), 68u);
  EXPECT_EQ(w.Channels.Item(1).PLLReferenceFreq, 6.25f);

  // A header as a read leaves it; a value no list holds shows no selection and survives
  // the next store.
  w.RadioHeader.ScanMethod = 2;
  w.RadioHeader.BeepB = true;
  w.RadioHeader.PriorityCnlMonitorTime = 3;
  w.RadioHeader.PLLReferenceFreq = 5;
  w.RadioHeader.InjectionAspect = 0;
  w.RadioHeader.SerialNumber = "99";
  w.RadioHeader.TxTimeOutTimer = 9;
  w.ShowRadioSettings();
  EXPECT_EQ(w.cmbScanType.Text(), "Secondary");
  EXPECT_TRUE(w.chkBeepB.Checked());
  EXPECT_EQ(w.cmbPriorityChannelMonitorTime.Text(), "1.50 sec");
  EXPECT_EQ(w.cmbPllReferenceFreq.Text(), "5");
  EXPECT_TRUE(w.optInjectionAspectLow.Selected());
  EXPECT_FALSE(w.optInjectionAspectHigh.Selected());
  EXPECT_EQ(w.txtSerialNumber.Text(), "99");
  EXPECT_EQ(w.cmbTxTimeOutTimer.SelectedIndex(), -1);
  w.StoreRadioSettings();
  EXPECT_EQ(std::tie(h.TxTimeOutTimer, h.ScanMethod), std::make_tuple(9, 2));
  // The band's bytes follow a band the user chooses, not one the pages merely show.
  EXPECT_EQ(h.Address0x0F, "0x86");
  w.cmbPllReferenceFreq.SelectText("6.25");
  w.StoreRadioSettings();
  EXPECT_EQ(h.Address0x0F, w.BandProfile->Address0x0F);
  EXPECT_EQ(h.PLLReferenceFreq, 6.25f);
  EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(SettingsPages, Km2PagesStoreIntoTheHeaderAndShowItBack) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-1212A");
  EXPECT_EQ(Texts(w.cmbPllReferenceFreq), std::vector<std::string>{"2.5"});
  EXPECT_TRUE(w.optInjectionAspectHigh.Selected());
  Walk(w, w.btnNext, 7);

  // Page 7: general purpose hides the public safety fields; a 7th character "2" is a
  // deluxe display.
  const std::initializer_list<const Field*> publicSafety = {
      &w.chkGroupRolloverEnable, &w.cmbSCANPRIMonitor, &w.chkTalkAroundMic, &w.cmbHornDelay,
      &w.cmbHornOn};
  EXPECT_EQ(w.cmbOperationType.Text(), "General Purpose");
  for (const Field* field : publicSafety) EXPECT_FALSE(field->Visible()) << field->Name();
  EXPECT_TRUE(w.cmbDisplayArrangement.Visible());
  EXPECT_EQ(w.cmbDisplayArrangement.Text(), "Ch/Gr/Sig");
  EXPECT_EQ(w.cmblblSquelchTonesCodes.Text(), "None");
  EXPECT_FALSE(w.btnCTCSSKeyForm.Visible());
  w.cmbOperationType.SelectText("Public Safety");
  for (const Field* field : publicSafety) EXPECT_TRUE(field->Visible()) << field->Name();
  w.cmbOneTouchSelection.SelectText("Signalling");
  EXPECT_TRUE(w.btnCTCSSKeyForm.Visible());
  w.cmbPushButtonFeedback.SelectText("None");

  w.btnNext.Press();
  EXPECT_TRUE(w.chkMuteUntilSignalled.Checked());
  EXPECT_EQ(w.cmbFrontPanelConfig.Text(), "None");
  EXPECT_EQ(w.cmbOptionPartType.Text(), "None");
  w.chkAux[2].Click();
  w.cmbScanChannelSlaving.SelectText("TX");

  w.btnNext.Press();
  EXPECT_EQ(w.txtNoiseSquelchTail.Text(), "0");
  EXPECT_EQ(w.txtCTCSSSquelchTail.Text(), "250");
  EXPECT_EQ(w.txtDCSTail.Text(), "46");
  EXPECT_EQ(w.cmbHornDelay.Text(), " 20");
  EXPECT_EQ(w.cmbHornOn.Text(), " 5");
  w.cmbHornDelay.SelectText(" 25");
  w.txtCTCSSSquelchTail.SetText("2 00");  // blanks between digits are skipped
  Walk(w, w.btnNext, 6);

  const clsRadioHeader& h = w.RadioHeader;
  EXPECT_EQ(std::tie(h.ModelName, h.PLLReferenceFreq, h.KM2Tail),
            std::make_tuple("52-1212A", 2.5f, std::string(3654, 'F')));
  EXPECT_EQ(std::tie(h.OperationType, h.OneTouchSelection, h.PushButtonFeedback,
                     h.DisplayArrangement, h.EnableGroupRollover),
            std::make_tuple(1, 1, 2, 3, true));
  EXPECT_EQ(std::tie(h.Aux1, h.Aux3, h.Aux8, h.ScanChannelSlaving, h.MuteUntilSignalled,
                     h.FrontPanelConfiguration, h.OptionPortType),
            std::make_tuple(true, false, true, 1, true, 4, 4));
  EXPECT_EQ(std::tie(h.NoiseSquelchTail, h.CTCSSSquelchTail, h.DCSTail, h.HornDelay, h.HornOn),
            std::make_tuple(0, 200, 46, 25, 5));
  EXPECT_FALSE(h.RadioHeader.empty());
  EXPECT_TRUE(dialogs_.Messages.empty());

  w.RadioHeader.DisplayArrangement = 5;
  w.RadioHeader.HornDelay = 7;
  w.RadioHeader.HornOn = 9;
  w.RadioHeader.OperationType = 0;
  w.RadioHeader.OneTouchSelection = 2;
  w.RadioHeader.Aux3 = true;
  w.RadioHeader.CTCSSSquelchTail = 150;
  w.RadioHeader.ModelName = "52-1212A ";
  w.ShowRadioSettings();
  EXPECT_EQ(w.txtModelNumber.Text(), "52-1212A");
  EXPECT_EQ(w.cmbDisplayArrangement.Count(), 6);
  EXPECT_EQ(w.cmbDisplayArrangement.Text(), "Special");
  EXPECT_EQ(w.cmbHornDelay.Text(), " 7");
  EXPECT_EQ(w.cmbHornOn.SelectedIndex(), -1);
  for (const Field* field : publicSafety) EXPECT_FALSE(field->Visible()) << field->Name();
  EXPECT_FALSE(w.btnCTCSSKeyForm.Visible());
  EXPECT_TRUE(w.chkAux[2].Checked());
  EXPECT_EQ(w.txtCTCSSSquelchTail.Text(), "150");
  w.StoreRadioSettings();
  EXPECT_EQ(std::tie(h.DisplayArrangement, h.HornOn, h.HornDelay), std::make_tuple(5, 9, 7));

  // Another model's defaults take the sixth arrangement away; not a deluxe display.
  Walk(w, w.btnBack, 1);
  w.txtModelNumber.SetText("52-1111A");
  w.btnNext.Press();
  EXPECT_EQ(w.cmbDisplayArrangement.Count(), 5);
  for (const Field* field :
       std::initializer_list<const Field*>{&w.cmbDisplayArrangement, &w.cmblblSquelchTonesCodes,
                                           &w.cmbOneTouchSelection, &w.linDeluxeDisplay})
    EXPECT_FALSE(field->Visible()) << field->Name();
}

// Each group's own values are in GroupPages_test.cpp; here, which group the pages store into
// as they are left, and values no list holds.
TEST_F(SettingsPages, GroupPagesStoreTheGroupShownAndNeverShowOneGroupAsAnother) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  Walk(w, w.btnNext, 10);
  w.txtGroupName.TypeText("abc");
  w.cmbGroupNumber.SelectText(" 3");
  w.btnNext.Press();
  w.txtScanTimingRXScanHold.SetText("2.5");
  w.btnNext.Press();
  w.cmbMultiDigitDecodeFormat.SelectText("DTMF");
  // The ANI choices show while any of the three boxes is checked.
  for (CheckField* box : {&w.chkEnablePTTANI, &w.chkEnableANITranspond, &w.chkEnableANIOnMONButton})
    box->SetChecked(false);
  EXPECT_FALSE(w.cmbANIRate.Visible());
  w.chkEnableANITranspond.Click();
  EXPECT_TRUE(w.cmbANIRate.Visible() && w.cmbANIInterval.Visible());
  w.btnNext.Press();  // leaving page 12 stores group 3
  EXPECT_EQ(w.CurrentPage, 6);
  const clsGroup& g = w.Groups.Item(3);
  EXPECT_EQ(std::tie(g.RXScanHold, g.MultiDigitDecodeFormat, g.EnableANITranspond),
            std::make_tuple(25.0f, std::int16_t{1}, true));

  // Back to page 9 and on again: the edit of group 3 is kept, and the pages show group 1
  // as group 1.
  Walk(w, w.btnBack, 10);
  w.txtGroupName.SetText("XYZ");
  w.btnBack.Press();
  w.btnNext.Press();
  EXPECT_EQ(g.GroupName, "XYZ");
  EXPECT_EQ(w.CurrentGroup, 1);
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  EXPECT_EQ(w.txtGroupName.Text(), "ABC");

  // A format above the list shows as "Disable" and is kept while the choice stays there.
  w.Groups.Item(3).MultiDigitDecodeFormat = 3;
  w.Groups.Item(3).IntervalA = 2;
  w.cmbGroupNumber.SelectText(" 3");
  EXPECT_EQ(w.cmbMultiDigitDecodeFormat.Text(), "Disable");
  EXPECT_EQ(w.cmbScanTimingIntervalA.SelectedIndex(), -1);
  EXPECT_EQ(w.txtScanTimingRXScanHold.Text(), "2.5");
  w.cmbGroupNumber.SelectText(" 1");
  EXPECT_EQ(std::tie(g.MultiDigitDecodeFormat, g.IntervalA), std::make_tuple(3, 2));
}

}  // namespace
}  // namespace tallisk::testing
