#include "ports/ConfiguredPort.h"

#include "files/ProgramPaths.h"

#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/errors.h"

namespace tallisk {

ConfiguredPort::ConfiguredPort(Clock& clock, std::function<std::string(int)> deviceOf, LogSink log)
    : clock_(clock), deviceOf_(std::move(deviceOf)), log_(std::move(log)) {}

ConfiguredPort::~ConfiguredPort() = default;

ConfiguredPort::Virtual& ConfiguredPort::VirtualFor(const std::string& device) {
  // "sim:km2" or "sim:km2:/path/to/eeprom.hex": the family, then the EEPROM to start from.
  const std::string family = device.substr(0, std::string(kSimQVR).size());
  const std::string key = device;
  if (auto it = virtual_.find(key); it != virtual_.end()) return it->second;
  Virtual v;
  if (family == kSimQVR) {
    v.radio = std::make_unique<sim::VirtualRadioQVR>();
  } else if (family == kSimKM2) {
    v.radio = std::make_unique<sim::VirtualRadioKM2>();
  } else {
    throw TalliskError(ErrPortOpenFailed, "Open",
                       "Unknown virtual radio " + device + " (use sim:qvr or sim:km2)");
  }
  if (device.size() > family.size() + 1 && device[family.size()] == ':') {
    v.radio->LoadEeprom(device.substr(family.size() + 1));
  } else {
    // A radio that holds a programming, so a read of it works the first time.
    const auto sample = SampleProgramming(family == kSimKM2 ? RadioFamily::KM2 : RadioFamily::QVR);
    std::error_code error;
    if (std::filesystem::is_regular_file(sample, error)) v.radio->LoadEeprom(sample);
  }
  // A virtual radio in the program behaves like one on the bench, 2400 baud included.
  v.radio->Paced = true;
  v.port = std::make_unique<VirtualRadioPort>(*v.radio, clock_);
  v.port->Line().Paced = true;
  if (log_) log_("COM" + std::to_string(number_) + " is the virtual radio " + device + ".");
  return virtual_.emplace(key, std::move(v)).first->second;
}

sim::VirtualRadio* ConfiguredPort::CurrentVirtualRadio() {
  if (device_.rfind(kSimDevicePrefix, 0) != 0) return nullptr;
  auto it = virtual_.find(device_);
  return it == virtual_.end() ? nullptr : it->second.radio.get();
}

void ConfiguredPort::SetPortNumber(int portNumber) {
  number_ = portNumber;
  device_ = deviceOf_(portNumber);
  active_ = nullptr;
}

void ConfiguredPort::SetLineSettings(const std::string& settings) {
  settings_ = settings;
  if (active_ != nullptr) active_->SetLineSettings(settings);
}

SerialPort& ConfiguredPort::Active() {
  if (active_ != nullptr) return *active_;
  if (device_.rfind(kSimDevicePrefix, 0) == 0) {
    active_ = VirtualFor(device_).port.get();
  } else {
    if (!system_) system_ = MakeQtSerialPort([this](int) { return device_; }, log_);
    active_ = system_.get();
  }
  active_->SetPortNumber(number_);
  if (!settings_.empty()) active_->SetLineSettings(settings_);
  return *active_;
}

void ConfiguredPort::Open() {
  Active().Open();
}

void ConfiguredPort::Close() {
  if (active_ != nullptr) active_->Close();
}

}  // namespace tallisk
