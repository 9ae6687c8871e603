#include "link/QtSerialPort.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <set>

#include "link/LineSettings.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

// A write hands its characters to the operating system before returning; at 2400 baud even
// a long record leaves in well under this.
constexpr int kWriteTimeoutMs = 5000;

// QSerialPort's socket notifiers need an event dispatcher on this thread. A program without
// a Qt application of its own (the command line, the tests) gets a core application that
// lives until the process ends.
void EnsureCoreApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "tallisk";
  static char* argv[] = {name, nullptr};
  new QCoreApplication(argc, argv);
}

QSerialPort::Parity QtParity(char parity) {
  switch (parity) {
    case 'E':
      return QSerialPort::EvenParity;
    case 'O':
      return QSerialPort::OddParity;
    case 'M':
      return QSerialPort::MarkParity;
    case 'S':
      return QSerialPort::SpaceParity;
    default:
      return QSerialPort::NoParity;
  }
}

class QtSerialPort final : public SerialPort {
 public:
  QtSerialPort(std::function<std::string(int)> deviceOf, LogSink log)
      : deviceOf_(std::move(deviceOf)), log_(std::move(log)) {}

  void SetPortNumber(int portNumber) override {
    number_ = portNumber;
    device_ = deviceOf_(portNumber);
  }

  void SetLineSettings(const std::string& settings) override {
    settings_ = ParseLineSettings(settings);
    if (port_.isOpen()) Apply();
  }

  void Open() override {
    if (port_.isOpen()) throw TalliskError(ErrPortAlreadyOpen, "Open", "Port already open");
    if (device_.empty()) {
      throw TalliskError(ErrPortOpenFailed, "Open", "Invalid port number " + Name());
    }
    port_.setPortName(QString::fromStdString(device_));
    if (!port_.open(QIODevice::ReadWrite)) {
      std::string why = port_.errorString().toStdString();
      // The usual first-day failure on Linux: serial devices belong to the dialout group,
      // and a new user is not in it.
      if (port_.error() == QSerialPort::PermissionError)
        why = "permission denied. Serial ports such as " + device_ +
              " can be used only by members of the dialout group: add yourself with "
              "\"sudo usermod -aG dialout $USER\", then log out and in again";
      port_.clearError();
      throw TalliskError(ErrPortOpenFailed, "Open", "Unable to open " + Name() + ": " + why);
    }
    try {
      Apply();
    } catch (const TalliskError&) {
      port_.close();  // a port that could not be set up is not left open
      throw;
    }
    port_.pinoutSignals();
    modemLines_ = port_.error() != QSerialPort::UnsupportedOperationError;
    port_.clearError();
    if (!modemLines_ && told_.insert(device_).second && log_) {
      log_(Name() +
           " has no modem-control lines: RTS and DTR are not driven and CTS is taken "
           "as asserted.");
    }
  }

  void Close() override {
    if (port_.isOpen()) port_.close();
    port_.clearError();
  }

  void SetRTS(bool on) override {
    RequireOpen("SetRTS");
    if (modemLines_ && !port_.setRequestToSend(on)) Fail("SetRTS");
  }

  void SetDTR(bool on) override {
    RequireOpen("SetDTR");
    if (modemLines_ && !port_.setDataTerminalReady(on)) Fail("SetDTR");
  }

  bool CTS() override {
    RequireOpen("CTS");
    if (!modemLines_) return true;
    const auto lines = port_.pinoutSignals();
    if (port_.error() != QSerialPort::NoError) Fail("CTS");
    return (lines & QSerialPort::ClearToSendSignal) != 0;
  }

  int BytesWaiting() override {
    RequireOpen("BytesWaiting");
    Pull();
    return static_cast<int>(port_.bytesAvailable());
  }

  std::string ReadAll() override {
    RequireOpen("ReadAll");
    Pull();
    return port_.readAll().toStdString();
  }

  void Write(const std::string& text) override {
    RequireOpen("Write");
    if (port_.write(text.data(), static_cast<qint64>(text.size())) !=
        static_cast<qint64>(text.size())) {
      Fail("Write");
    }
    while (port_.bytesToWrite() > 0) {
      if (!port_.waitForBytesWritten(kWriteTimeoutMs)) Fail("Write");
    }
  }

 private:
  std::string Name() const {
    return "COM" + std::to_string(number_) + (device_.empty() ? "" : " (" + device_ + ")");
  }

  void Apply() {
    port_.setBaudRate(settings_.Baud);
    port_.setParity(QtParity(settings_.Parity));
    port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.DataBits));
    port_.setStopBits(settings_.StopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.error() != QSerialPort::NoError) {
      const std::string why = port_.errorString().toStdString();
      port_.clearError();
      throw TalliskError(ErrPortFailed, "SetLineSettings", Name() + ": " + why);
    }
  }

  // Without an event loop running, received characters stay with the operating system
  // until asked for.
  void Pull() {
    port_.waitForReadyRead(0);
    if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    if (port_.error() != QSerialPort::NoError) Fail("Read");
  }

  void RequireOpen(const char* operation) {
    if (!port_.isOpen()) {
      throw TalliskError(ErrPortNotOpen, operation, "Operation valid only when the port is open");
    }
  }

  // An open port that fails has lost its device. The operating system's error text would
  // mislead: after a device goes away it is often one left over from an earlier call (the
  // modem-line probe of a pseudo-terminal leaves "Inappropriate ioctl for device").
  [[noreturn]] void Fail(const char* operation) {
    port_.clearError();
    throw TalliskError(ErrPortFailed, operation,
                       "The serial device " + device_ + " (COM" + std::to_string(number_) +
                           ") stopped responding or was unplugged");
  }

  QSerialPort port_;
  std::function<std::string(int)> deviceOf_;
  LogSink log_;
  int number_ = 1;
  std::string device_;
  LineSettings settings_;
  bool modemLines_ = true;
  std::set<std::string> told_;
};

}  // namespace

std::unique_ptr<SerialPort> MakeQtSerialPort(std::function<std::string(int)> deviceOf,
                                             LogSink log) {
  EnsureCoreApplication();
  return std::make_unique<QtSerialPort>(std::move(deviceOf), std::move(log));
}

}  // namespace tallisk
