// Tallisk: the main window on Qt 6, or a command when the arguments name one.

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <iostream>

#include <cerrno>
#include <cstring>
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

// Whether something answers on a local socket.
bool UnixSocketAnswers(const std::string& path) {
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

// Whether something accepts a connection on host:port within a few seconds.
bool TcpPortAnswers(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool answers = false;
  for (addrinfo* a = found; a != nullptr && !answers; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) continue;
    if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
      answers = true;
    } else if (errno == EINPROGRESS) {
      pollfd wait{fd, POLLOUT, 0};
      int error = 0;
      socklen_t size = sizeof error;
      answers = ::poll(&wait, 1, 3000) == 1 &&
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return answers;
}

// Without a display Qt aborts with a page of advice and a core dump; a technician on a
// terminal gets one line instead, also when the display named is gone (a dead remote X
// forward, a stale Wayland socket). A platform named on purpose (QT_QPA_PLATFORM, -platform)
// is taken as given.
std::optional<std::string> MissingDisplay(int argc, char* argv[]) {
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return std::nullopt;
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "-platform") return std::nullopt;
  const std::string x11 = qEnvironmentVariable("DISPLAY").toStdString();
  const std::string wayland = qEnvironmentVariable("WAYLAND_DISPLAY").toStdString();
  if (x11.empty() && wayland.empty())
    return std::string(
        "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not "
        "set); start it in a desktop session");
  if (!wayland.empty()) {
    const std::string runtime = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString();
    const std::string socket = wayland.front() == '/' ? wayland : runtime + "/" + wayland;
    if (UnixSocketAnswers(socket)) return std::nullopt;
  }
  if (!x11.empty()) {
    // [host]:display[.screen]
    const auto colon = x11.rfind(':');
    const std::string host = colon == std::string::npos ? "" : x11.substr(0, colon);
    const std::string number =
        colon == std::string::npos ? "" : x11.substr(colon + 1, x11.find('.', colon) - colon - 1);
    if (!number.empty() && number.find_first_not_of("0123456789") == std::string::npos) {
      const bool answers = host.empty() || host == "unix"
                               ? UnixSocketAnswers("/tmp/.X11-unix/X" + number)
                               : TcpPortAnswers(host, 6000 + std::stoi(number));
      if (answers) return std::nullopt;
    } else if (x11.front() == '/') {
      // A launchd-style socket path: let Qt try it.
      return std::nullopt;
    }
  }
  std::string named;
  if (!wayland.empty()) named = "the Wayland display " + wayland;
  if (!x11.empty()) named += (named.empty() ? "" : " nor ") + ("the X display " + x11);
  return "no display to open the window on (" + named + " answers)";
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
  tallisk::qt::QtSerialDevices devices;
  tallisk::SystemClock commandClock;
  tallisk::CommandContext context{std::cout,
                                  std::cerr,
                                  ::isatty(STDERR_FILENO) != 0,
                                  tallisk::ProgramFolders::FromEnvironment(),
                                  commandClock,
                                  devices};
  // The report's PDF needs Qt's fonts and painter, not a display.
  std::unique_ptr<QGuiApplication> offscreen;
  context.WritePdf = [&](const tallisk::ReportDocument& report, const std::filesystem::path& file) {
    if (!offscreen) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static int noArguments = 1;
      static char name[] = "tallisk";
      static char* arguments[] = {name, nullptr};
      offscreen = std::make_unique<QGuiApplication>(noArguments, arguments);
    }
    tallisk::qt::SaveReportPdf(report, file);
  };
  if (auto status = tallisk::RunCommandLine(argc, argv, context)) return *status;
  if (auto missing = MissingDisplay(argc, argv)) {
    std::fprintf(stderr, "tallisk: %s\n", missing->c_str());
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tallisk"));
  bool quitAfterStart = false;
  for (const QString& argument : QApplication::arguments().mid(1))
    if (argument == QLatin1String("--quit-after-start")) quitAfterStart = true;

  tallisk::qt::QtDialogs dialogs;
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
  // A file named on the command line (a file manager's "Open With") is loaded as "Load A
  // File" would; a file the window refuses is told as there.
  if (context.FileToOpen)
    QTimer::singleShot(0, window.get(),
                       [&form, &context] { form->OpenNamedFile(*context.FileToOpen); });
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
