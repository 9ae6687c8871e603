#pragma once

// The options window: which serial port the link uses, whether reads and writes are logged,
// and deleting the logs. It edits the main window's one options object, which is written
// to qvr.dat when the program ends.
//
// Beside the port number it shows the device that number reaches and lets the technician
// name the device for it (a serial device present, or one of the two virtual radios); that
// choice goes to ports.txt on OK, which the link reads afresh for every conversation.

#include <filesystem>
#include <string>
#include <vector>

#include "link/PortMap.h"
#include "ui/Dialogs.h"
#include "ui/FormFields.h"
#include "ui/SerialDevices.h"

namespace tallisk {

class clsAppBehavior;
class clsLogger;

class frmOptions : public Form {
 public:
  // Fills the fields from the options and from ports.txt, as the window opens.
  frmOptions(Dialogs& dialogs, clsAppBehavior& options, clsLogger& readLog, clsLogger& writeLog,
             SerialDeviceSource& devices, std::filesystem::path portsFile);

  LabelField lblCommPort{*this, "lblCommPort", "Please select a commport:"};
  ChoiceField cmbCommport{*this, "cmbCommport"};
  // What the selected port number reaches now, e.g. "/dev/ttyUSB0 — FT232R USB UART".
  LabelField lblPortDevice{*this, "lblPortDevice"};
  ChoiceField cmbPortDevice{*this, "cmbPortDevice", "Device for this port:"};
  CheckField chkReadLog{*this, "chkReadLog", "Log All Incoming Data To File"};
  CommandField btnDeleteReadLog{*this, "btnDeleteReadLog", "Delete Log"};
  CheckField chkWriteLog{*this, "chkWriteLog", "Log All Outgoing Data To File"};
  // Reads the radio back after every write and compares it with what was written.
  CheckField chkVerifyAfterWrite{*this, "chkVerifyAfterWrite", "Verify after writing"};
  CommandField btnDeleteWriteLog{*this, "btnDeleteWriteLog", "Delete Log"};
  CommandField cmdOK{*this, "cmdOK", "OK"};
  CommandField cmdCancel{*this, "cmdCancel", "Cancel"};

  // True once OK has taken the options over.
  bool Confirmed() const { return confirmed_; }
  // The device named for each port number, as the window holds them now.
  const PortOverrides& PortDevices() const { return overrides_; }

 private:
  void FillDeviceChoice();
  void DeviceChosen();
  void ShowReachedDevice();
  void DeleteLog(clsLogger& log);
  void Accept();
  int SelectedPort() const { return cmbCommport.SelectedIndex() + 1; }

  Dialogs& dialogs_;
  clsAppBehavior& options_;
  clsLogger& readLog_;
  clsLogger& writeLog_;
  SerialDeviceSource& devices_;
  std::filesystem::path portsFile_;
  PortOverrides overrides_;
  PortOverrides savedOverrides_;
  std::vector<SerialDevice> present_;
  std::vector<std::string> devicePaths_;  // per entry of cmbPortDevice; "" = automatic
  bool fillingDevices_ = false;
  bool confirmed_ = false;
};

}  // namespace tallisk
