#pragma once

// The serial port of the operating system, through Qt's QSerialPort: real ports, USB
// adapters and pseudo-terminals alike, on every platform Qt runs on.
//
// A device without modem-control lines (a pseudo-terminal, a three-wire cable) cannot drive
// RTS and DTR or report CTS: this port then takes CTS as asserted, makes RTS and DTR do
// nothing, and says so once in the log.

#include <functional>
#include <memory>
#include <string>

#include "link/SerialPort.h"

namespace tallisk {

using LogSink = std::function<void(const std::string&)>;

// deviceOf maps a port number to its device path (ResolvePortDevice in the program).
std::unique_ptr<SerialPort> MakeQtSerialPort(std::function<std::string(int)> deviceOf, LogSink log);

}  // namespace tallisk
