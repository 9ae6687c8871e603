#include "ui/qt/QtSerialDevices.h"

#include <QSerialPortInfo>
#include <algorithm>

#include "link/PortMap.h"
#include "ui/qt/QtText.h"

namespace tallisk::qt {

std::vector<SerialDevice> QtSerialDevices::Present() {
  std::vector<SerialDevice> devices;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    QString description = port.description();
    if (description.isEmpty()) description = port.manufacturer();
    SerialDevice device{FromQt(port.systemLocation()), FromQt(description)};
    device.Maker = FromQt(port.manufacturer());
    device.SerialNumber = FromQt(port.serialNumber());
    if (port.hasVendorIdentifier() && port.hasProductIdentifier())
      device.UsbId = FromQt(QStringLiteral("%1:%2")
                                .arg(port.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                                .arg(port.productIdentifier(), 4, 16, QLatin1Char('0')));
    devices.push_back(std::move(device));
  }
  // The USB adapters first, in the order the port numbers take them, then the rest by name.
  const std::vector<std::string> adapters = UsbSerialAdapters();
  auto rank = [&adapters](const SerialDevice& d) {
    const auto at = std::find(adapters.begin(), adapters.end(), d.Path);
    return at - adapters.begin();
  };
  std::stable_sort(devices.begin(), devices.end(), [&](const auto& a, const auto& b) {
    const auto ra = rank(a), rb = rank(b);
    return ra != rb ? ra < rb : a.Path < b.Path;
  });
  return devices;
}

}  // namespace tallisk::qt
