// Tallisk: the main window on Qt 6, or a command when the arguments name one.

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "files/ProgramPaths.h"
#include "link/Clock.h"
#include "link/PortMap.h"
#include "ports/ConfiguredPort.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/QtSerialDevices.h"
#include "ui/qt/ReportPrinter.h"

namespace {

// Without a display Qt aborts with a page of advice and a core dump; a technician on a
// terminal gets one line instead. A platform named on purpose (QT_QPA_PLATFORM, -platform) is
// taken as given.
std::optional<std::string> MissingDisplay(int argc, char* argv[]) {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return std::nullopt;
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "-platform") return std::nullopt;
  const QString x11 = qEnvironmentVariable("DISPLAY");
  const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (x11.isEmpty() && wayland.isEmpty())
    return "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set); start "
           "it in a desktop session";
  // A local X display (":0", ":1.0") has its socket in /tmp/.X11-unix.
  if (wayland.isEmpty() && x11.startsWith(QLatin1Char(':'))) {
    const QString number = x11.mid(1).section(QLatin1Char('.'), 0, 0);
    if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + number))
      return "no display to open the window on (the X display " + x11.toStdString() +
             " is not running)";
  }
  return std::nullopt;
}

// With --quit-after-start the program ends as soon as its start page has been drawn, and
// says how long that took: the start-up benchmark runs it so.
class QuitWhenShown : public QObject {
 public:
  QuitWhenShown(QWidget& window, const QElapsedTimer& sinceStart)
      : window_(window), sinceStart_(sinceStart) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The window's first paint event starts the drawing of the whole window; once that has
    // been handled, with every page widget drawn and flushed, the start page is on show.
    if (watched == &window_ && event->type() == QEvent::Paint && !done_) {
      done_ = true;
      QTimer::singleShot(0, &window_, [this] {
        std::printf("tallisk: start page shown %lld ms after start\n",
                    static_cast<long long>(sinceStart_.elapsed()));
        // Whoever waits for this line (the start-up benchmark) gets it now, not at the end.
        std::fflush(stdout);
        window_.close();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
  const QElapsedTimer& sinceStart_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  // The profile database of the installation files, wherever the program runs from.
  tallisk::UseInstallationProfileDatabase();
  if (auto status = tallisk::RunCommandLine(argc, argv)) return *status;
  // Our own options are checked before the display is, so a mistyped one is named as such;
  // Qt's (-platform, -style) are left for QApplication to take.
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.rfind("--", 0) == 0 && argument != "--quit-after-start") {
      std::fprintf(stderr, "tallisk: unknown option %s\n", argument.c_str());
      tallisk::PrintUsage();
      return 2;
    }
  }
  if (auto missing = MissingDisplay(argc, argv)) {
    std::fprintf(stderr, "tallisk: %s\n", missing->c_str());
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tallisk"));
  bool quitAfterStart = false;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    if (argument == QLatin1String("--quit-after-start")) {
      quitAfterStart = true;
    } else {
      std::fprintf(stderr, "tallisk: unknown option %s\n", qPrintable(argument));
      tallisk::PrintUsage();
      return 2;
    }
  }

  tallisk::qt::QtDialogs dialogs;
  tallisk::qt::QtSerialDevices devices;
  tallisk::qt::QtReportOutput reportOutput(dialogs);
  const tallisk::ProgramFolders folders = tallisk::ProgramFolders::FromEnvironment();
  // The radio link of the reads, the writes and the QVR test window: a port number reaches
  // the device ports.txt names, else the one the options window shows for it; the window
  // stays live while the link waits.
  tallisk::SystemClock clock;
  tallisk::qt::QtEventPump pump;
  tallisk::ConfiguredPort port(clock, [&folders, &devices](int portNumber) {
    const tallisk::PortOverrides named =
        tallisk::LoadPortOverrides(folders.Configuration / tallisk::kPortsFileName);
    const auto device = named.find(portNumber);
    return device != named.end() ? device->second : devices.AutomaticDevice(portNumber);
  });
  std::unique_ptr<tallisk::frmMain> form;
  try {
    form = std::make_unique<tallisk::frmMain>(dialogs, folders, &devices);
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Tallisk"),
                          QStringLiteral("Tallisk could not start:\n%1").arg(e.what()));
    return 1;
  }
  form->UseLink(port, clock, pump);
  form->UseReportOutput(reportOutput);
  auto window = std::make_unique<tallisk::qt::MainWindow>(*form);
  std::unique_ptr<QuitWhenShown> quitter;
  if (quitAfterStart) quitter = std::make_unique<QuitWhenShown>(*window, sinceStart);
  window->show();
  const int status = app.exec();

  // The window goes first; frmMain's end saves the options and may still need a message box.
  quitter.reset();
  window.reset();
  form.reset();
  return status;
}
