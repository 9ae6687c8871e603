#pragma once

// The serial devices present, as Qt's serial port library finds them, with the USB
// descriptions a technician recognises the adapter by ("FT232R USB UART").

#include "ui/SerialDevices.h"

namespace tallisk::qt {

class QtSerialDevices : public SerialDeviceSource {
 public:
  std::vector<SerialDevice> Present() override;
};

}  // namespace tallisk::qt
