// The options window opened from the main window: port, logs, the device a port number
// reaches, and what is kept when.

#include <gtest/gtest.h>

#include "RadioBench.h"
#include "files/clsAppBehavior.h"
#include "link/PortMap.h"
#include "ui/frmOptions.h"

namespace tallisk::testing {
namespace {

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
    EXPECT_EQ(ItemTexts(o.cmbCommport), (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4",
                                                                  "COM5", "COM6", "COM7", "COM8"}));
    EXPECT_EQ(o.cmbCommport.Text(), "COM1");
    EXPECT_FALSE(o.chkReadLog.Checked());
    EXPECT_EQ(o.lblPortDevice.Caption(), "COM1 reaches " + Dev("ttyUSB0"));
    EXPECT_EQ(ItemTexts(o.cmbPortDevice),
              (std::vector<std::string>{"Automatic (" + Dev("ttyUSB0") + ")", Dev("ttyUSB0"),
                                        Dev("ttyUSB1"), "virtual QVR radio", "virtual KM2 radio"}));
    EXPECT_EQ(o.cmbPortDevice.SelectedIndex(), 0);

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

TEST_F(OptionsWindow, DeletingALogAsksFirst) {
  frmMain& w = Start("QVR=TRUE", devices_.get());
  std::filesystem::create_directories(folders_.State);
  const std::filesystem::path readLog = w.ReadLog.LogFileName;
  const std::filesystem::path writeLog = w.WriteLog.LogFileName;
  std::ofstream(readLog) << "entry\r\n";
  std::ofstream(writeLog) << "entry\r\n";

  dialogs_.Answers = {MessageAnswer::No, MessageAnswer::Yes};
  WithOptions(w, [&](frmOptions& o) {
    o.btnDeleteReadLog.Press();
    EXPECT_TRUE(std::filesystem::exists(readLog));
    o.btnDeleteReadLog.Press();
    EXPECT_FALSE(std::filesystem::exists(readLog));
    o.cmdCancel.Press();  // a deletion is not undone by Cancel
  });
  EXPECT_FALSE(std::filesystem::exists(readLog));
  EXPECT_TRUE(std::filesystem::exists(writeLog));
  ASSERT_EQ(dialogs_.Messages.size(), 2u);
  EXPECT_EQ(dialogs_.Messages[1].Text, "Are you sure?");
  EXPECT_EQ(dialogs_.Messages[1].Icon, MessageIcon::Question);
  EXPECT_EQ(dialogs_.Messages[1].Buttons, MessageButtons::YesNo);
}

}  // namespace
}  // namespace tallisk::testing
