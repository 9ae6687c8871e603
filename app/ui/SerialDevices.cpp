#include "ui/SerialDevices.h"

#include <cctype>

#include "link/PortMap.h"

namespace tallisk {

std::string SerialDeviceSource::AutomaticDevice(int portNumber) {
  return DeviceForPort(portNumber, {}, UsbSerialAdapters());
}

std::vector<SerialDevice> DeviceFolderSerialDevices::Present() {
  std::vector<SerialDevice> devices;
  for (auto& path : UsbSerialAdapters(folder_)) devices.push_back({std::move(path), {}});
  return devices;
}

std::string DeviceFolderSerialDevices::AutomaticDevice(int portNumber) {
  return DeviceForPort(portNumber, {}, UsbSerialAdapters(folder_));
}

std::string DeviceText(const std::string& device, const std::vector<SerialDevice>& present) {
  const std::string prefix = kSimDevicePrefix;
  if (device.rfind(prefix, 0) == 0) {
    // "sim:qvr" or "sim:km2", optionally ":" and the EEPROM file the radio starts from.
    std::string rest = device.substr(prefix.size());
    std::string file;
    if (const auto colon = rest.find(':'); colon != std::string::npos) {
      file = rest.substr(colon + 1);
      rest.resize(colon);
    }
    for (auto& c : rest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string text = "virtual " + rest + " radio";
    if (!file.empty()) text += " (" + std::filesystem::path(file).filename().string() + ")";
    return text;
  }
  for (const auto& known : present)
    if (known.Path == device && !known.Description.empty())
      return device + " \u2014 " + known.Description;
  return device;
}

}  // namespace tallisk
