#include "ui/frmOptions.h"

#include <algorithm>

#include "files/clsAppBehavior.h"
#include "files/clsLogger.h"
#include "tallisk/errors.h"

namespace tallisk {

frmOptions::frmOptions(Dialogs& dialogs, clsAppBehavior& options, clsLogger& readLog,
                       clsLogger& writeLog, SerialDeviceSource& devices,
                       std::filesystem::path portsFile)
    : Form("frmOptions", "Options"),
      dialogs_(dialogs),
      options_(options),
      readLog_(readLog),
      writeLog_(writeLog),
      devices_(devices),
      portsFile_(std::move(portsFile)) {
  AddPage(0, "Options")
      .Row({&lblCommPort, &cmbCommport})
      .Row({&lblPortDevice})
      .Row({&cmbPortDevice})
      .Row({&chkReadLog, &btnDeleteReadLog})
      .Row({&chkWriteLog, &btnDeleteWriteLog})
      .Row({&chkVerifyAfterWrite})
      .Row({&cmdOK, &cmdCancel});
  Pages().front()->SetVisible(true);

  overrides_ = savedOverrides_ = LoadPortOverrides(portsFile_);
  for (int n = 1; n <= 8; ++n) cmbCommport.AddItem("COM" + std::to_string(n), n);
  cmbCommport.OnChange.Connect([this] { FillDeviceChoice(); });
  if (cmbCommport.SelectText("COM" + std::to_string(options_.CommPort)) < 0) cmbCommport.Select(0);
  chkReadLog.SetChecked(options_.UseReadLog);
  chkWriteLog.SetChecked(options_.UseWriteLog);
  chkVerifyAfterWrite.SetChecked(options_.VerifyAfterWrite);

  cmbPortDevice.OnChange.Connect([this] { DeviceChosen(); });
  btnDeleteReadLog.OnClick.Connect([this] { DeleteLog(readLog_); });
  btnDeleteWriteLog.OnClick.Connect([this] { DeleteLog(writeLog_); });
  cmdOK.OnClick.Connect([this] { Accept(); });
  cmdCancel.OnClick.Connect([this] { Close(); });
}

void frmOptions::FillDeviceChoice() {
  const int port = SelectedPort();
  if (port < 1) return;
  present_ = devices_.Present();
  fillingDevices_ = true;
  cmbPortDevice.Clear();
  devicePaths_.clear();
  auto add = [this](const std::string& path, const std::string& text) {
    if (std::find(devicePaths_.begin(), devicePaths_.end(), path) != devicePaths_.end()) return;
    devicePaths_.push_back(path);
    cmbPortDevice.AddItem(text, static_cast<std::int32_t>(devicePaths_.size() - 1));
  };
  add("", "Automatic (" + DeviceText(devices_.AutomaticDevice(port), present_) + ")");
  for (const auto& device : present_) add(device.Path, DeviceText(device.Path, present_));
  const auto named = overrides_.find(port);
  // A device named in ports.txt stays on offer even when it is not plugged in now.
  if (named != overrides_.end()) add(named->second, DeviceText(named->second, present_));
  add(kSimQVR, DeviceText(kSimQVR, present_));
  add(kSimKM2, DeviceText(kSimKM2, present_));
  const std::string chosen = named != overrides_.end() ? named->second : "";
  const auto at = std::find(devicePaths_.begin(), devicePaths_.end(), chosen);
  cmbPortDevice.Select(static_cast<int>(at - devicePaths_.begin()));
  fillingDevices_ = false;
  ShowReachedDevice();
}

void frmOptions::DeviceChosen() {
  if (fillingDevices_) return;
  const int index = cmbPortDevice.SelectedIndex();
  const int port = SelectedPort();
  if (index < 0 || port < 1) return;
  const std::string& path = devicePaths_[static_cast<std::size_t>(index)];
  if (path.empty()) {
    overrides_.erase(port);
  } else {
    overrides_[port] = path;
  }
  ShowReachedDevice();
}

void frmOptions::ShowReachedDevice() {
  const int port = SelectedPort();
  if (port < 1) return;
  const auto named = overrides_.find(port);
  const std::string device =
      named != overrides_.end() ? named->second : devices_.AutomaticDevice(port);
  lblPortDevice.SetCaption(cmbCommport.Text() + " reaches " + DeviceText(device, present_));
}

void frmOptions::DeleteLog(clsLogger& log) {
  if (dialogs_.Message(Title(), "Are you sure?", MessageIcon::Question, MessageButtons::YesNo) ==
      MessageAnswer::Yes) {
    log.KillLog();
  }
  cmdOK.SetFocus();
}

void frmOptions::Accept() {
  if (overrides_ != savedOverrides_) {
    try {
      SavePortOverrides(portsFile_, overrides_);
    } catch (const TalliskError& e) {
      // Nothing is taken over, so the technician can try again or cancel.
      dialogs_.Message(Title(), "The port choice could not be saved: " + e.Description(),
                       MessageIcon::Exclamation, MessageButtons::OK);
      return;
    }
    savedOverrides_ = overrides_;
  }
  if (SelectedPort() >= 1) options_.CommPort = static_cast<std::uint8_t>(SelectedPort());
  options_.UseReadLog = chkReadLog.Checked();
  options_.UseWriteLog = chkWriteLog.Checked();
  options_.VerifyAfterWrite = chkVerifyAfterWrite.Checked();
  confirmed_ = true;
  Close();
}

}  // namespace tallisk
