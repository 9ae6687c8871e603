// The radio-wide settings pages and the group pages: a model's defaults, edits reaching the
// library objects, and the objects' values shown again.

#include <gtest/gtest.h>

#include <tuple>

#include "MainWindowFixture.h"
#include "ui/PageText.h"

namespace tallisk::testing {
namespace {

using SettingsPages = MainWindowTest;

TEST_F(SettingsPages, QvrPagesStoreIntoTheHeaderAndShowItBack) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.lstRadios.SelectText("VHF Low A 29.7-36 MHz 16 Ch");
  w.btnNext.Press();

  // Page 2 from the model's bands: high side 5 kHz by default, 5 listed once.
  EXPECT_TRUE(w.optInjectionAspectHigh.Selected());
  EXPECT_EQ(ItemTexts(w.cmbPllReferenceFreq), (std::vector<std::string>{"5", "6.25"}));
  EXPECT_EQ(w.cmbPllReferenceFreq.Text(), "5");
  EXPECT_EQ(w.Calendar.Value(), Date(2026, 12, 6));
  w.txtSerialNumber.TypeText("1234");
  w.txtCustomer.TypeText("abc");
  w.cmbPllReferenceFreq.SelectText("6.25");
  w.chkSpecialRadio.Click();

  w.btnNext.Press();
  EXPECT_EQ(w.cmbScanType.Text(), "PS");
  EXPECT_EQ(w.cmbAuxKeyType.Text(), "Type 2");
  EXPECT_EQ(ItemTexts(w.cmbPriorityChannelMonitorTime),
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

}  // namespace
}  // namespace tallisk::testing
