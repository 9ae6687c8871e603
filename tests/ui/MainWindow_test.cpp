// The main window's start-up, family and model choice, page sequence, and the radio-wide
// settings pages: a model's defaults, edits reaching the header, and a header shown again.
// The options window opened from it: port, logs, the device a port number reaches, and what
// is kept when.

#include <tuple>

#include "RadioBench.h"
#include "files/clsAppBehavior.h"
#include "link/PortMap.h"
#include "ui/frmOptions.h"

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
    // The family decides what the model page offers.
    EXPECT_EQ(w.txtCustomer.MaxLength, c.radioType == 0 ? 10 : 16);
  }
  EXPECT_TRUE(dialogs_.Messages.empty());
}

TEST_F(MainWindow, EachFamilyWalksItsOwnPagesAndLeavingTheModelPageAsksFirst) {
  struct Case {
    bool km2;
    std::vector<int> forward, back;
  };
  const Case cases[] = {{false, {2, 3, 4, 5, 6}, {5, 4, 3, 2, 1}},
                        {true, {5, 7, 8, 9, 10, 11, 12, 6}, {12, 11, 10, 9, 8, 7, 5, 2, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.km2 ? "KM2" : "QVR");
    frmMain& w = c.km2 ? StartKM2() : Start();
    w.btnProgramRadio.Press();
    EXPECT_EQ(w.txtModelNumber.Visible(), c.km2);
    if (c.km2) {
      w.txtModelNumber.TypeText("52-1119z");
      w.btnNext.Press();
      EXPECT_EQ(w.CurrentPage, 1);
      EXPECT_EQ(dialogs_.LastText(), "Invalid Raio Model");
      // A blank around the number is not part of it.
      w.txtModelNumber.SetText(" 52-1112a ");
      w.btnNext.Press();
      EXPECT_EQ(w.txtModelNumber.Text(), "52-1112A");
      EXPECT_EQ(w.RadioHeader.DefaultKM2.size(), 32u);
    }
    EXPECT_EQ(Walk(w, w.btnNext, 6), c.forward);
    EXPECT_EQ(ShownPages(w), std::vector<int>{6});
    EXPECT_EQ(w.btnTestMode2.Visible(), !c.km2);
    EXPECT_EQ(w.ChannelCount, c.km2 ? 320 : 16);
    EXPECT_EQ(Walk(w, w.btnBack, 1), c.back);

    dialogs_.Messages.clear();
    dialogs_.Answers = {MessageAnswer::No, MessageAnswer::Yes};
    w.btnBack.Press();
    EXPECT_EQ(w.CurrentPage, 1);
    EXPECT_TRUE(w.ChannelsBuilt);
    EXPECT_EQ(dialogs_.LastText(),
              "Going back to the main screen will erase all the data you entered so far.\r\rAre "
              "you sure you want to do this?");
    w.btnBack.Press();
    EXPECT_EQ(ShownPages(w), std::vector<int>{0});
    EXPECT_FALSE(w.ChannelsBuilt);
  }
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
    // A model is stored as its profile's code, which is its place in the list.
    EXPECT_EQ(w.RadioHeader.Model, profiles.Item(index + 1)->ModelCode);
    EXPECT_EQ(w.RadioHeader.ModelName, w.lstRadios.ItemText(index));
    EXPECT_EQ(std::tie(w.RadioHeader.ScanMethod, w.RadioHeader.DateRadio),
              std::make_tuple(3, Date(2026, 12, 6)));
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
  EXPECT_EQ(w.RadioHeader.ScanMethod, 0);
  EXPECT_EQ(w.RadioHeader.SerialNumber, "1234");
}

TEST_F(MainWindow, NoBandForTheChosenSideLeavesTheChannelsWithoutSynthesiserDataAndSaysSo) {
  frmMain& w = Start();
  w.btnProgramRadio.Press();
  w.lstRadios.SelectText("VHF Mid A 66-76 MHz 16 Ch");  // every band injects high side
  w.btnNext.Press();
  EXPECT_TRUE(w.optInjectionAspectHigh.Selected());
  w.optInjectionAspectLow.Select();
  w.btnFinish.Press();

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
  EXPECT_EQ(w.cmbPllReferenceFreq.Text(), "5");
  EXPECT_EQ(w.cmbScanType.Text(), "PS");
  EXPECT_EQ(w.cmbPriorityChannelMonitorTime.Text(), "1.00 sec");
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

// --- The options window ---

class OptionsWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    devFolder_ = root_ / "dev";
    std::filesystem::create_directories(devFolder_);
    for (const char* name : {"ttyUSB1", "ttyUSB0", "ttyS0", "null"})
      std::ofstream(devFolder_ / name).put('\n');
    devices_ = std::make_unique<DeviceFolderSerialDevices>(devFolder_);
  }

  // Opens the options window from the main window and acts on it.
  void WithOptions(frmMain& w, std::function<void(frmOptions&)> act) {
    dialogs_.ModalActions.push_back([act](Form& form) { act(dynamic_cast<frmOptions&>(form)); });
    w.btnOptions.Press();
  }

  std::string Dev(const char* name) const { return (devFolder_ / name).string(); }

  std::filesystem::path devFolder_;
  std::unique_ptr<DeviceFolderSerialDevices> devices_;
};

TEST_F(OptionsWindow, OkKeepsThePortTheLogsAndTheDeviceCancelOrAFailedSaveKeepsNothing) {
  frmMain& w = Start("QVR=TRUE", devices_.get());
  WithOptions(w, [&](frmOptions& o) {
    EXPECT_EQ(o.lblPortDevice.Caption(), "COM1 reaches " + Dev("ttyUSB0"));
    EXPECT_EQ(ItemTexts(o.cmbPortDevice),
              (std::vector<std::string>{"Automatic (" + Dev("ttyUSB0") + ")", Dev("ttyUSB0"),
                                        Dev("ttyUSB1"), "virtual QVR radio", "virtual KM2 radio"}));

    o.cmbCommport.SelectText("COM3");
    EXPECT_EQ(o.lblPortDevice.Caption(), "COM3 reaches /dev/ttyS2");
    o.cmbPortDevice.SelectText("virtual QVR radio");
    EXPECT_EQ(o.lblPortDevice.Caption(), "COM3 reaches virtual QVR radio");
    o.chkReadLog.Click();
    o.cmdOK.Press();
  });
  EXPECT_EQ(w.Options->CommPort, 3);
  EXPECT_TRUE(w.Options->UseReadLog);
  EXPECT_FALSE(w.Options->UseWriteLog);
  const auto portsFile = folders_.Configuration / "ports.txt";
  EXPECT_EQ(LoadPortOverrides(portsFile), (PortOverrides{{3, "sim:qvr"}}));

  WithOptions(w, [&](frmOptions& o) {
    EXPECT_EQ(o.cmbCommport.Text(), "COM3");
    EXPECT_TRUE(o.chkReadLog.Checked());
    EXPECT_EQ(o.cmbPortDevice.Text(), "virtual QVR radio");
    o.cmbCommport.SelectText("COM5");
    o.chkWriteLog.Click();
    o.cmbPortDevice.SelectText("virtual KM2 radio");
    o.cmdCancel.Press();
  });
  EXPECT_EQ(w.Options->CommPort, 3);
  EXPECT_FALSE(w.Options->UseWriteLog);
  EXPECT_EQ(LoadPortOverrides(portsFile), (PortOverrides{{3, "sim:qvr"}}));

  // Back to the automatic device: the port number's entry leaves ports.txt.
  WithOptions(w, [&](frmOptions& o) {
    o.cmbPortDevice.Select(0);
    EXPECT_EQ(o.lblPortDevice.Caption(), "COM3 reaches /dev/ttyS2");
    o.cmdOK.Press();
  });
  EXPECT_TRUE(LoadPortOverrides(portsFile).empty());

  // A port choice that cannot be saved keeps the window open and changes nothing.
  std::filesystem::remove(portsFile);
  std::filesystem::create_directories(portsFile);  // in the way
  WithOptions(w, [&](frmOptions& o) {
    o.cmbCommport.SelectText("COM2");
    o.cmbPortDevice.SelectText("virtual KM2 radio");
    o.cmdOK.Press();
    EXPECT_FALSE(o.IsClosed());
    ASSERT_EQ(dialogs_.Messages.size(), 1u);
    EXPECT_NE(dialogs_.Messages[0].Text.find("The port choice could not be saved: "),
              std::string::npos);
    o.cmdCancel.Press();
  });
  EXPECT_EQ(w.Options->CommPort, 3);
  EXPECT_TRUE(std::filesystem::is_directory(portsFile));

  // The options reach qvr.dat when the program ends.
  window_.reset();
  EXPECT_EQ(FileText(folders_.Configuration / "qvr.dat"),
            std::string("\x03\xFF\xFF\x00\x00\x00\x00", 7));
}

}  // namespace
}  // namespace tallisk::testing
