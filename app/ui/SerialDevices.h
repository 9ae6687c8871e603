#pragma once

// The serial devices a port number can be pointed at, as the options window offers them.
// Which devices are present, and what they are called, is the front end's business (Qt has
// QSerialPortInfo with the USB descriptions); the windows only see this small interface,
// so they and their tests need no toolkit.

#include <filesystem>
#include <string>
#include <vector>

namespace tallisk {

struct SerialDevice {
  std::string Path;               // "/dev/ttyUSB0", or a virtual radio "sim:qvr"
  std::string Description;        // "FT232R USB UART"; may be empty
  std::string Maker = {};         // "FTDI"; may be empty
  std::string SerialNumber = {};  // the adapter's own; may be empty
  std::string UsbId = {};         // "0403:6001", vendor and product; empty for no USB device
};

class SerialDeviceSource {
 public:
  virtual ~SerialDeviceSource() = default;
  // The serial devices present now (not the virtual radios), in the order a port number
  // takes them when nobody named its device.
  virtual std::vector<SerialDevice> Present() = 0;
  // The device a port number reaches when nobody named one: the link's own rule (the n-th
  // USB serial adapter under /dev, else /dev/ttyS{n-1}).
  virtual std::string AutomaticDevice(int portNumber);
};

// Without a toolkit: the USB serial adapters found under a device folder, with no
// description.
class DeviceFolderSerialDevices : public SerialDeviceSource {
 public:
  explicit DeviceFolderSerialDevices(std::filesystem::path folder = "/dev")
      : folder_(std::move(folder)) {}
  std::vector<SerialDevice> Present() override;
  std::string AutomaticDevice(int portNumber) override;

 private:
  std::filesystem::path folder_;
};

// The text a technician reads for a device: "/dev/ttyUSB0 — FT232R USB UART", "/dev/ttyS2",
// "virtual QVR radio", "virtual KM2 radio (radio.hex)". The description comes from
// `present` when the device is listed there.
std::string DeviceText(const std::string& device, const std::vector<SerialDevice>& present);

}  // namespace tallisk
