// The radio-wide settings pages and the group pages: a model's defaults, edits reaching the
// library objects, and the objects' values shown again.

#include <gtest/gtest.h>

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
  EXPECT_EQ(h.SerialNumber, "1234");
  EXPECT_EQ(h.CustomerNumber, "ABC");
  EXPECT_EQ(h.DateRadio, Date(2026, 12, 6));
  EXPECT_EQ(h.PLLReferenceFreq, 6.25f);
  EXPECT_EQ(h.InjectionAspect, 1);
  EXPECT_TRUE(h.SpecialRadio);
  EXPECT_EQ(h.ScanMethod, 0);
  EXPECT_EQ(h.AuxKeyType, 2);
  EXPECT_EQ(h.PriorityCnlMonitorTime, 2);
  EXPECT_EQ(h.PriorityCnlMonitorCycle, 1);
  EXPECT_EQ(h.HoldTimeAfterRx, 1);
  EXPECT_EQ(h.HoldTimeAfterTx, 2);
  EXPECT_EQ(h.ScanHoldConditions, 3);
  EXPECT_TRUE(h.ChannelRollOver);
  EXPECT_TRUE(h.BeepA);
  EXPECT_FALSE(h.BeepB);
  EXPECT_EQ(h.TxTimeOutTimer, 7);
  EXPECT_EQ(h.BusyChannelLockOut, 3);
  EXPECT_EQ(h.ScanListClear, 3);
  EXPECT_EQ(h.Model, 0);
  // The 6.25 kHz band of the model.
  EXPECT_EQ(h.Address0x0D, "0xC8");
  EXPECT_EQ(h.PrescalerSwitch, "32/33");
  EXPECT_EQ(h.IFRx, 10700.0f);
  EXPECT_EQ(h.Synthesizer, 1);
  EXPECT_EQ(h.ChannelSwitchType, 3);
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
  EXPECT_EQ(h.TxTimeOutTimer, 9);
  EXPECT_EQ(h.ScanMethod, 2);
  EXPECT_EQ(h.Address0x0F, "0x08");  // the low-side 5 kHz band now
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
  EXPECT_EQ(h.ModelName, "52-1212A");
  EXPECT_EQ(h.OperationType, 1);
  EXPECT_EQ(h.OneTouchSelection, 1);
  EXPECT_EQ(h.PushButtonFeedback, 2);
  EXPECT_EQ(h.DisplayArrangement, 3);
  EXPECT_TRUE(h.EnableGroupRollover);
  EXPECT_TRUE(h.Aux1);
  EXPECT_FALSE(h.Aux3);
  EXPECT_TRUE(h.Aux8);
  EXPECT_EQ(h.ScanChannelSlaving, 1);
  EXPECT_TRUE(h.MuteUntilSignalled);
  EXPECT_EQ(h.FrontPanelConfiguration, 4);
  EXPECT_EQ(h.OptionPortType, 4);
  EXPECT_EQ(h.NoiseSquelchTail, 0);
  EXPECT_EQ(h.CTCSSSquelchTail, 200);
  EXPECT_EQ(h.DCSTail, 46);
  EXPECT_EQ(h.HornDelay, 25);
  EXPECT_EQ(h.HornOn, 5);
  EXPECT_EQ(h.PLLReferenceFreq, 2.5f);
  EXPECT_EQ(h.KM2Tail, std::string(3654, 'F'));
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
  EXPECT_EQ(h.DisplayArrangement, 5);
  EXPECT_EQ(h.HornOn, 9);
  EXPECT_EQ(h.HornDelay, 7);

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

TEST_F(SettingsPages, GroupPagesStoreEachGroupAndNeverShowOneGroupAsAnother) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  Walk(w, w.btnNext, 10);
  EXPECT_EQ(w.CurrentGroup, 1);
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  w.txtGroupName.TypeText("abc");

  w.cmbGroupNumber.SelectText(" 3");
  EXPECT_EQ(w.CurrentGroup, 3);
  EXPECT_EQ(w.Groups.Item(1).GroupName, "ABC");
  EXPECT_EQ(w.txtGroupName.Text(), Trim(w.Groups.Item(3).GroupName));

  w.btnNext.Press();
  w.txtScanTimingRXScanHold.SetText("2.5");
  w.btnNext.Press();
  w.cmbMultiDigitDecodeFormat.SelectText("DTMF");
  // The ANI choices show while any of the three boxes is checked.
  w.chkEnablePTTANI.SetChecked(false);
  w.chkEnableANITranspond.SetChecked(false);
  w.chkEnableANIOnMONButton.SetChecked(false);
  EXPECT_FALSE(w.cmbANIRate.Visible());
  w.chkEnableANITranspond.Click();
  EXPECT_TRUE(w.cmbANIRate.Visible());
  EXPECT_TRUE(w.cmbANIInterval.Visible());
  w.btnNext.Press();  // leaving page 12 stores group 3
  EXPECT_EQ(w.CurrentPage, 6);
  EXPECT_EQ(w.Groups.Item(3).RXScanHold, 25);
  EXPECT_EQ(w.Groups.Item(3).MultiDigitDecodeFormat, 1);
  EXPECT_TRUE(w.Groups.Item(3).EnableANITranspond);

  // Back to page 9 and on again: the edit of group 3 is kept, and the pages show group 1
  // as group 1.
  Walk(w, w.btnBack, 10);
  w.txtGroupName.SetText("XYZ");
  w.btnBack.Press();
  w.btnNext.Press();
  EXPECT_EQ(w.Groups.Item(3).GroupName, "XYZ");
  EXPECT_EQ(w.CurrentGroup, 1);
  EXPECT_EQ(w.cmbGroupNumber.Text(), " 1");
  EXPECT_EQ(w.txtGroupName.Text(), "ABC");

  // A format above the list shows as "Disable" and is stored back as such.
  w.Groups.Item(3).MultiDigitDecodeFormat = 3;
  w.Groups.Item(3).IntervalA = 2;
  w.cmbGroupNumber.SelectText(" 3");
  EXPECT_EQ(w.cmbMultiDigitDecodeFormat.Text(), "Disable");
  EXPECT_EQ(w.cmbScanTimingIntervalA.SelectedIndex(), -1);
  EXPECT_EQ(w.txtScanTimingRXScanHold.Text(), "2.5");
  w.cmbGroupNumber.SelectText(" 1");
  EXPECT_EQ(w.Groups.Item(3).MultiDigitDecodeFormat, 2);
  EXPECT_EQ(w.Groups.Item(3).IntervalA, 2);
}

}  // namespace
}  // namespace tallisk::testing
