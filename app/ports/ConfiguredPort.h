#pragma once

// The program's serial port: the port number chooses a device (PortMap.h), and the device
// chooses the backend, the operating system's port through QSerialPort or a virtual radio
// inside the program ("sim:qvr", "sim:km2"). A virtual radio lives as long as this port, so
// what one conversation writes, the next reads back.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "link/Clock.h"
#include "link/PortMap.h"
#include "link/QtSerialPort.h"
#include "link/SerialPort.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadio.h"

namespace tallisk {

class ConfiguredPort : public SerialPort {
 public:
  explicit ConfiguredPort(Clock& clock,
                          std::function<std::string(int)> deviceOf = ResolvePortDevice,
                          LogSink log = {});
  ~ConfiguredPort() override;

  // The device of the port number set last.
  const std::string& Device() const { return device_; }
  // The virtual radio behind the current device, or null for a real device.
  sim::VirtualRadio* CurrentVirtualRadio();

  void SetPortNumber(int portNumber) override;
  void SetLineSettings(const std::string& settings) override;
  void Open() override;
  void Close() override;
  void SetRTS(bool on) override { Active().SetRTS(on); }
  void SetDTR(bool on) override { Active().SetDTR(on); }
  bool CTS() override { return Active().CTS(); }
  int BytesWaiting() override { return Active().BytesWaiting(); }
  std::string ReadAll() override { return Active().ReadAll(); }
  void Write(const std::string& text) override { Active().Write(text); }

 private:
  struct Virtual {
    std::unique_ptr<sim::VirtualRadio> radio;
    std::unique_ptr<VirtualRadioPort> port;
  };
  SerialPort& Active();
  Virtual& VirtualFor(const std::string& device);

  Clock& clock_;
  std::function<std::string(int)> deviceOf_;
  LogSink log_;
  std::string device_;
  std::string settings_;
  int number_ = 1;
  std::unique_ptr<SerialPort> system_;
  std::map<std::string, Virtual> virtual_;
  SerialPort* active_ = nullptr;
};

}  // namespace tallisk
