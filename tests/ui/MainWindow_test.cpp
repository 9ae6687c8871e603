// The main window's start-up, family and model choice, and page sequence.

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "MainWindowFixture.h"

namespace tallisk::testing {
namespace {

using MainWindow = MainWindowTest;

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
  EXPECT_EQ(Strip(w), "NBF");

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

TEST_F(MainWindow, FinishFromTheModelPageAppliesTheDefaultsUnlessTheSettingsWereRead) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.lstRadios.SelectText("VHF High A 136-156 MHz 16 Ch");
  w.btnFinish.Press();

  EXPECT_EQ(w.CurrentPage, 6);
  EXPECT_EQ(ShownPages(w), std::vector<int>{6});
  EXPECT_EQ(Strip(w), "B");
  EXPECT_TRUE(dialogs_.Messages.empty());
  EXPECT_EQ(w.RadioHeader.ScanMethod, 3);
  EXPECT_EQ(w.RadioHeader.DateRadio, Date(2026, 12, 6));
  EXPECT_EQ(w.RadioHeader.RadioHeader.size(), 68u);

  // Every channel starts from the channel page's defaults and the model's default band.
  ASSERT_EQ(w.Channels.Count(), 16);
  for (const clsChannel& channel : w.Channels) {
    EXPECT_EQ(std::tie(channel.RxSignalling, channel.TxSignalling, channel.TxPowerControl),
              std::make_tuple(3, 3, 1));
    EXPECT_EQ(channel.RxFrequency, 0);
    EXPECT_EQ(std::tie(channel.PLLReferenceFreq, channel.Prescaler, channel.RxIF),
              std::make_tuple(12.5f, std::string("64/65"), 21400.0f));
  }

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

TEST_F(MainWindow, EveryQvrModelIsStoredAsItsProfileCodeWhichIsItsPlaceInTheList) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  const colRadioData& profiles = *w.Operator->RadioData;
  ASSERT_EQ(w.lstRadios.Count(), profiles.Count());
  for (int index = 0; index < w.lstRadios.Count(); ++index) {
    SCOPED_TRACE(w.lstRadios.ItemText(index));
    w.lstRadios.Select(index);
    w.btnFinish.Press();
    ASSERT_EQ(w.CurrentPage, 6);
    EXPECT_EQ(w.RadioHeader.Model, profiles.Item(index + 1)->ModelCode);
    EXPECT_EQ(w.RadioHeader.Model, index);
    EXPECT_EQ(w.RadioHeader.ModelName, w.lstRadios.ItemText(index));
    // Finish builds the channels of the model now chosen.
    EXPECT_EQ(w.Channels.Count(), w.ChannelCount);
    EXPECT_EQ(w.Channels.Item(1).ModelName, w.lstRadios.ItemText(index));
    Walk(w, w.btnBack, 1);
  }
}

TEST_F(MainWindow, Page2AsksTheQuestionsTheModelNumberCallsFor) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.btnNext.Press();
  EXPECT_TRUE(w.chkSpecialRadio.Visible());
  EXPECT_EQ(w.lblSpecialRadio.Caption(), "Does Model = 52-8994 ?");
  EXPECT_FALSE(w.chkAlternatePreScaler.Visible());

  struct Case {
    std::string model;
    bool special;
    std::string question;
    bool alternate;
  };
  const Case cases[] = {
      {"52-1112A", false, "Does Model = 52-8994 ?", true},
      {"52-8991AD", true, "52-6581 installed?", false},
      {"52-9231a", false, "Does Model = 52-8994 ?", true},
  };
  dialogs_.Answers = {MessageAnswer::Yes};
  Walk(w, w.btnBack, 0);
  w.cmbRadioType.Select(1);
  w.cmbRadioType.Leave();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    ToPage2KM2(w, c.model);
    ASSERT_EQ(w.CurrentPage, 2);
    EXPECT_EQ(w.chkSpecialRadio.Visible(), c.special);
    EXPECT_EQ(w.lblSpecialRadio.Visible(), c.special);
    EXPECT_EQ(w.lblSpecialRadio.Caption(), c.question);
    for (const Field* field :
         std::initializer_list<const Field*>{&w.chkAlternatePreScaler, &w.chkAlternatePreScaler2,
                                             &w.lblAlternatePreScaler1, &w.lblAlternatePreScaler4})
      EXPECT_EQ(field->Visible(), c.alternate) << field->Name();
    dialogs_.Answers = {MessageAnswer::Yes};
    Walk(w, w.btnBack, 0);
  }
}

TEST_F(MainWindow, QvrSerialAndCustomerTakeOnlyWhatTheRadioCanStore) {
  frmMain& w = Start();
  w.txtSerialNumber.TypeText("12FgGe 3");
  EXPECT_EQ(w.txtSerialNumber.Text(), "12E 3");
  w.txtSerialNumber.TypeText("456789");
  EXPECT_EQ(w.txtSerialNumber.Text(), "12E 3456");  // eight characters
  w.txtCustomer.TypeText("abcdefABCDEF0123456789");
  EXPECT_EQ(w.txtCustomer.Text(), "ABCDEABCDE");

  w.cmbRadioType.Select(1);
  w.cmbRadioType.Leave();
  w.txtSerialNumber.SetText("");
  w.txtSerialNumber.TypeText("fg-xyz/0123456789abc");
  EXPECT_EQ(w.txtSerialNumber.Text(), "FG-XYZ/012345678");
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

TEST_F(MainWindow, AKm2ChannelWhoseFrequencyIsClearedLeavesEveryGroup) {
  frmMain& w = StartKM2();
  ToPage2KM2(w, "52-8991A");
  w.btnNext.Press();
  ASSERT_EQ(w.CurrentPage, 5);
  w.ReceiveChannelFreq.SetText("150.0125");
  w.ReceiveChannelFreq.Leave();
  w.cmbChannelNumber.SelectText("2");
  w.cmbChannelNumber.SelectText("1");
  // Channel 1 is in groups 3 and 5; channel 2, never used, is in group 3 too.
  const std::int16_t channels[] = {7, 1, 8, 2, 1, 10};
  for (int i = 1; i <= 6; ++i) {
    clsChannelGroup& entry = w.ChannelGroupTable.Item(i);
    entry.Programmed = true;
    entry.ChannelNumber = channels[i - 1];
    entry.GroupNumber = i == 5 ? 5 : 3;
  }
  // Cleared, then another channel shown before the page is left.
  w.ReceiveChannelFreq.SetText("");
  w.ReceiveChannelFreq.Leave();
  w.cmbChannelNumber.SelectText("2");
  w.btnNext.Press();
  EXPECT_EQ(w.CurrentPage, 7);
  std::vector<int> left;
  for (int i = 1; i <= w.LastProgrammedEntry(); ++i)
    left.push_back(w.ChannelGroupTable.Item(i).ChannelNumber);
  EXPECT_EQ(left, (std::vector<int>{7, 10, 8, 2}));
}

}  // namespace
}  // namespace tallisk::testing
