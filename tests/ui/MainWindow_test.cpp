// The main window's start-up, family and model choice, page sequence, and the radio-wide
// settings pages: a model's defaults, edits reaching the header, and a header shown again.

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "PagesSupport.h"

namespace tallisk::testing {
namespace {

using MainWindow = PagesTest;

TEST_F(MainWindow, StartUpOffersTheConfiguredFamiliesOnTheStartPage) {
  struct Case {
    std::optional<std::string> control;
    bool choiceEnabled;
    std::string family;
    std::int32_t radioType;
  };
  const Case cases[] = {
      {"QVR=TRUE", false, "Dorrel QVR", 0},
      {"KM2=TRUE", false, "Dorrel II", 1},
      {std::nullopt, true, "Dorrel QVR", 0},  // nothing configured: both offered
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control.value_or("(no control.txt)"));
    std::filesystem::remove(folders_.Installation / "control.txt");
    frmMain& w = Start(c.control);
    EXPECT_EQ(w.cmbRadioType.Enabled(), c.choiceEnabled);
    EXPECT_EQ(w.cmbRadioType.Text(), c.family);
    EXPECT_EQ(w.RadioType, c.radioType);
    EXPECT_EQ(ShownPages(w), std::vector<int>{0});
    EXPECT_EQ(Strip(w), "");
    EXPECT_EQ(w.lstRadios.SelectedIndex(), 0);
    // The family decides what the model page offers.
    EXPECT_EQ(w.lstRadios.Visible(), c.radioType == 0);
    EXPECT_EQ(w.txtModelHelp.Visible(), c.radioType == 1);
    EXPECT_EQ(w.txtModelHelp.Text(), "Type the model number from the radio's label.");
    EXPECT_EQ(w.txtSerialNumber.MaxLength, c.radioType == 0 ? 8 : 16);
    EXPECT_EQ(w.txtCustomer.MaxLength, c.radioType == 0 ? 10 : 16);
  }
  EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(MainWindow, QvrWalksItsPagesForwardsAndBackAndAsksBeforeLeavingTheModelPage) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  EXPECT_EQ(w.CurrentPage, 1);
  EXPECT_EQ(Strip(w), "NBF");
  EXPECT_FALSE(w.txtModelNumber.Visible());

  EXPECT_EQ(Walk(w, w.btnNext, 6), (std::vector<int>{2, 3, 4, 5, 6}));
  EXPECT_EQ(ShownPages(w), std::vector<int>{6});
  EXPECT_EQ(Strip(w), "B");
  EXPECT_TRUE(w.btnTestMode2.Visible());
  EXPECT_TRUE(w.ChannelsBuilt);
  EXPECT_EQ(w.ChannelCount, 16);

  EXPECT_EQ(Walk(w, w.btnBack, 1), (std::vector<int>{5, 4, 3, 2, 1}));

  dialogs_.Answers = {MessageAnswer::No};
  w.btnBack.Press();
  EXPECT_EQ(w.CurrentPage, 1);
  EXPECT_TRUE(w.ChannelsBuilt);
  ASSERT_EQ(dialogs_.Messages.size(), 1u);
  EXPECT_EQ(dialogs_.Messages[0].Title, "QVR/KM2 Radio Programmer");
  EXPECT_EQ(dialogs_.Messages[0].Text,
            "Going back to the main screen will erase all the data you entered so far.\r\rAre "
            "you sure you want to do this?");

  dialogs_.Answers = {MessageAnswer::Yes};
  w.btnBack.Press();
  EXPECT_EQ(w.CurrentPage, 0);
  EXPECT_EQ(ShownPages(w), std::vector<int>{0});
  EXPECT_EQ(Strip(w), "");
  EXPECT_FALSE(w.ChannelsBuilt);
}

TEST_F(MainWindow, Km2RefusesAnUnknownModelAndWalksItsOwnSequence) {
  frmMain& w = StartKM2();
  EXPECT_EQ(w.RadioType, 1);
  EXPECT_FALSE(w.lstRadios.Visible());
  w.btnProgramRadio.Press();
  EXPECT_TRUE(w.txtModelNumber.Visible());

  w.txtModelNumber.TypeText("52-1119z");
  w.btnNext.Press();
  EXPECT_EQ(w.CurrentPage, 1);
  ASSERT_EQ(dialogs_.Messages.size(), 1u);
  EXPECT_EQ(dialogs_.Messages[0].Title, "QV2 Radio Programmer");
  EXPECT_EQ(dialogs_.Messages[0].Text, "Invalid Raio Model");
  EXPECT_EQ(dialogs_.Messages[0].Icon, MessageIcon::Information);

  // A blank around the number is not part of it.
  w.txtModelNumber.SetText(" 52-1112a ");
  w.btnNext.Press();
  EXPECT_EQ(w.CurrentPage, 2);
  EXPECT_EQ(w.txtModelNumber.Text(), "52-1112A");
  EXPECT_EQ(w.RadioHeader.DefaultKM2.size(), 32u);

  EXPECT_EQ(Walk(w, w.btnNext, 6), (std::vector<int>{5, 7, 8, 9, 10, 11, 12, 6}));
  EXPECT_EQ(Strip(w), "B");
  EXPECT_FALSE(w.btnTestMode2.Visible());
  EXPECT_EQ(w.ChannelCount, 320);
  EXPECT_EQ(Walk(w, w.btnBack, 1), (std::vector<int>{12, 11, 10, 9, 8, 7, 5, 2, 1}));
  EXPECT_EQ(dialogs_.Messages.size(), 1u);
}

TEST_F(MainWindow, FinishFromTheModelPageStoresEveryQvrModelWithItsDefaultsUnlessTheyWereRead) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  const colRadioData& profiles = *w.Operator->RadioData;
  ASSERT_EQ(w.lstRadios.Count(), profiles.Count());
  for (int index = 0; index < w.lstRadios.Count(); ++index) {
    SCOPED_TRACE(w.lstRadios.ItemText(index));
    w.lstRadios.Select(index);
    w.btnFinish.Press();
    ASSERT_EQ(w.CurrentPage, 6);
    EXPECT_EQ(ShownPages(w), std::vector<int>{6});
    EXPECT_EQ(Strip(w), "B");
    // A model is stored as its profile's code, which is its place in the list.
    EXPECT_EQ(w.RadioHeader.Model, profiles.Item(index + 1)->ModelCode);
    EXPECT_EQ(w.RadioHeader.Model, index);
    EXPECT_EQ(w.RadioHeader.ModelName, w.lstRadios.ItemText(index));
    EXPECT_EQ(std::tie(w.RadioHeader.ScanMethod, w.RadioHeader.DateRadio),
              std::make_tuple(3, Date(2026, 12, 6)));
    EXPECT_EQ(w.RadioHeader.RadioHeader.size(), 68u);
    // The channels of the model now chosen, from the channel page's defaults.
    ASSERT_EQ(w.Channels.Count(), w.ChannelCount);
    for (const clsChannel& channel : w.Channels) {
      EXPECT_EQ(channel.ModelName, w.lstRadios.ItemText(index));
      EXPECT_EQ(std::tie(channel.RxSignalling, channel.TxSignalling, channel.TxPowerControl,
                         channel.RxFrequency),
                std::make_tuple(3, 3, 1, 0.0));
    }
    Walk(w, w.btnBack, 1);
  }
  EXPECT_TRUE(dialogs_.Messages.empty());

  // The model's default band reaches every channel.
  w.lstRadios.SelectText("VHF High A 136-156 MHz 16 Ch");
  w.btnFinish.Press();
  ASSERT_EQ(w.Channels.Count(), 16);
  for (const clsChannel& channel : w.Channels)
    EXPECT_EQ(std::tie(channel.PLLReferenceFreq, channel.Prescaler, channel.RxIF),
              std::make_tuple(12.5f, std::string("64/65"), 21400.0f));

  // As a read leaves it: the settings came from the radio, and Finish keeps them.
  w.RadioHeader.ScanMethod = 0;
  w.RadioHeader.SerialNumber = "1234";
  w.ModelFromRadio = true;
  w.ShowRadioSettings();
  Walk(w, w.btnBack, 1);
  w.btnFinish.Press();
  EXPECT_EQ(w.CurrentPage, 6);
  EXPECT_EQ(w.RadioHeader.ScanMethod, 0);
  EXPECT_EQ(w.RadioHeader.SerialNumber, "1234");
}

TEST_F(MainWindow, Page2AsksTheQuestionsTheModelNumberCallsFor) {
  struct Case {
    std::string model;  // "": a QVR radio
    bool special;
    std::string question;
    bool alternate;
  };
  const Case cases[] = {
      {"", true, "Does Model = 52-8994 ?", false},
      {"52-1112A", false, "Does Model = 52-8994 ?", true},
      {"52-8991AD", true, "52-6581 installed?", false},
      {"52-9231a", false, "Does Model = 52-8994 ?", true},
  };
  frmMain& w = Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    dialogs_.Answers = {MessageAnswer::Yes};
    Walk(w, w.btnBack, 0);
    w.cmbRadioType.Select(c.model.empty() ? 0 : 1);
    w.cmbRadioType.Leave();
    ToPage2KM2(w, c.model);
    ASSERT_EQ(w.CurrentPage, 2);
    EXPECT_EQ(w.chkSpecialRadio.Visible(), c.special);
    EXPECT_EQ(w.lblSpecialRadio.Visible(), c.special);
    EXPECT_EQ(w.lblSpecialRadio.Caption(), c.question);
    for (const Field* field :
         std::initializer_list<const Field*>{&w.chkAlternatePreScaler, &w.chkAlternatePreScaler2,
                                             &w.lblAlternatePreScaler1, &w.lblAlternatePreScaler4})
      EXPECT_EQ(field->Visible(), c.alternate) << field->Name();
  }
}

TEST_F(MainWindow, NoBandForTheChosenSideLeavesTheChannelsWithoutSynthesiserDataAndSaysSo) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.lstRadios.SelectText("VHF Mid A 66-76 MHz 16 Ch");  // every band injects high side
  w.btnNext.Press();
  EXPECT_TRUE(w.optInjectionAspectHigh.Selected());
  w.optInjectionAspectLow.Select();
  w.btnFinish.Press();

  EXPECT_EQ(w.CurrentPage, 6);
  ASSERT_EQ(dialogs_.Messages.size(), 1u);
  EXPECT_EQ(dialogs_.Messages[0].Text,
            "No band of the model matches the chosen injection aspect and PLL reference "
            "frequency, so the channels carry no synthesiser data.");
  ASSERT_TRUE(w.BandProfile);
  EXPECT_EQ(w.BandProfile->PllReferenceFrequency, 0);
  EXPECT_EQ(w.RadioHeader.InjectionAspect, 0);
  EXPECT_EQ(w.RadioHeader.Address0x0D, "");
  for (const clsChannel& channel : w.Channels) {
    EXPECT_EQ(channel.PLLReferenceFreq, 0);
    EXPECT_EQ(channel.RxIF, 0);
  }
}

TEST_F(MainWindow, QvrSettingsPagesShowTheDefaultsStoreIntoTheHeaderAndShowItBack) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.lstRadios.SelectText("VHF Low A 29.7-36 MHz 16 Ch");
  w.btnNext.Press();
  const auto settings = [&w] {
    std::map<std::string, std::string> shown;
    for (int page : {2, 3, 4}) shown.merge(Shown(*w.PageAt(page), nullptr));
    return shown;
  };
  // The model's defaults; page 2 from its bands: high side 5 kHz, 5 listed once.
  EXPECT_TRUE(w.optInjectionAspectHigh.Selected());
  EXPECT_EQ(ItemTexts(w.cmbPllReferenceFreq), (std::vector<std::string>{"5", "6.25"}));
  EXPECT_EQ(w.Calendar.Value(), Date(2026, 12, 6));
  EXPECT_EQ(ItemTexts(w.cmbPriorityChannelMonitorTime),
            (std::vector<std::string>{"0.75 sec", "1.00 sec", "1.25 sec", "1.50 sec"}));
  EXPECT_EQ(w.cmbPllReferenceFreq.Text(), "5");
  EXPECT_EQ(w.cmbScanType.Text(), "PS");
  EXPECT_EQ(w.cmbAuxKeyType.Text(), "Type 2");
  EXPECT_EQ(w.cmbPriorityChannelMonitorTime.Text(), "1.00 sec");
  EXPECT_EQ(w.cmbScanHoldOnRx.Text(), "2.5 sec");
  EXPECT_EQ(w.cmbScanHoldAfterTx.Text(), "5.0 sec");
  EXPECT_EQ(w.cmbTxTimeOutTimer.Text(), "Infinite");
  EXPECT_EQ(w.cmbWhenTableIsDeleted.Text(), "Power Off");
  w.txtSerialNumber.TypeText("1234");
  w.txtCustomer.TypeText("abc");
  w.cmbPllReferenceFreq.SelectText("6.25");
  w.chkSpecialRadio.Click();
  w.cmbScanType.SelectText("Normal");
  w.cmbPriorityChannelMonitorTime.SelectText("1.25 sec");
  w.chkBeepB.Click();
  w.cmbWhenTableIsDeleted.SelectText("No Clear");
  auto typed = settings();
  Walk(w, w.btnNext, 5);  // leaving page 4 stores the settings

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

  // Shown again as a read leaves the header: as typed, but for a value no list holds, which
  // shows no selection and survives the next store, and another band.
  w.RadioHeader.TxTimeOutTimer = 9;
  w.RadioHeader.PLLReferenceFreq = 5;
  w.RadioHeader.InjectionAspect = 0;
  w.ShowRadioSettings();
  typed["cmbTxTimeOutTimer"] = "-1:";
  typed["cmbPllReferenceFreq"] = "0:5";
  EXPECT_EQ(settings(), typed);
  EXPECT_TRUE(w.optInjectionAspectLow.Selected());
  EXPECT_FALSE(w.optInjectionAspectHigh.Selected());
  w.StoreRadioSettings();
  EXPECT_EQ(std::tie(h.TxTimeOutTimer, h.ScanMethod), std::make_tuple(9, 0));
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
