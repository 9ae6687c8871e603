#pragma once

// What the link needs of a serial port, and nothing more. The real backend is QSerialPort
// (QtSerialPort.h); tests and demos use a port whose cable ends in a virtual radio.

#include <string>

namespace tallisk {

// Failure numbers of the serial ports, shown after " #" in the failure message.
inline constexpr int ErrPortOpenFailed = 8002;
inline constexpr int ErrPortAlreadyOpen = 8005;
inline constexpr int ErrPortFailed = 8015;
inline constexpr int ErrPortNotOpen = 8018;

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Port 1 is the first serial port ("COM1"). Set only while the port is closed.
  virtual void SetPortNumber(int portNumber) = 0;
  // Such as "2400,N,8,1": baud, parity, data bits, stop bits (LineSettings.h).
  virtual void SetLineSettings(const std::string& settings) = 0;
  // Open raises TalliskError when the device cannot be had; Close on a closed port does
  // nothing, so that every path can close.
  virtual void Open() = 0;
  virtual void Close() = 0;
  virtual void SetRTS(bool on) = 0;
  virtual void SetDTR(bool on) = 0;
  virtual bool CTS() = 0;
  // Received characters waiting to be read.
  virtual int BytesWaiting() = 0;
  // Every waiting character, as text.
  virtual std::string ReadAll() = 0;
  virtual void Write(const std::string& text) = 0;
};

}  // namespace tallisk
