#include "link/PortMap.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>

#include "LinkTestSupport.h"
#include "link/LineSettings.h"
#include "link/QtSerialPort.h"
#include "ports/ConfiguredPort.h"
#include "sim/PtyServer.h"
#include "sim/VirtualRadioQVR.h"

namespace tallisk::testing {
namespace {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
  const fs::path folder =
      fs::temp_directory_path() / ("tallisk-link-test-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

TEST(PortMap, AdaptersInNameOrderThenBuiltInPortsAndAnOverridesFileThatToleratesNoise) {
  const fs::path dev = FreshFolder("dev");
  // A name without a number sorts before the numbered ones.
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyACM", "ttyS0", "null"})
    std::ofstream(dev / name).put('\n');
  const auto adapters = UsbSerialAdapters(dev);
  ASSERT_EQ(adapters,
            (std::vector<std::string>{(dev / "ttyUSB2").string(), (dev / "ttyUSB10").string(),
                                      (dev / "ttyACM").string(), (dev / "ttyACM0").string()}));
  EXPECT_EQ(DeviceForPort(4, {}, adapters), (dev / "ttyACM0").string());
  EXPECT_EQ(DeviceForPort(5, {}, adapters), "/dev/ttyS4");
  EXPECT_EQ(DeviceForPort(2, {{2, "sim:km2"}}, adapters), "sim:km2");
  EXPECT_EQ(DeviceForPort(0, {}, adapters), "");
  EXPECT_TRUE(UsbSerialAdapters(dev / "missing").empty());

  const fs::path file = dev / "sub" / "ports.txt";
  EXPECT_TRUE(LoadPortOverrides(file).empty());
  const PortOverrides overrides{{1, "/dev/ttyUSB3"}, {2, "sim:qvr"}, {8, "/dev/serial/by-id/x y"}};
  SavePortOverrides(file, overrides);
  EXPECT_EQ(LoadPortOverrides(file), overrides);
  std::ofstream(file, std::ios::app) << "\n# a comment\ncom4 = sim:km2  # trailing\n"
                                        "COMX = /dev/bad\nCOM5 =\njunk\nCOM0 = /dev/zero\n";
  const auto read = LoadPortOverrides(file);
  EXPECT_EQ(read.size(), 4u);
  EXPECT_EQ(read.at(4), "sim:km2");
  fs::remove_all(dev);
  // Where the configuration folder is, whatever the environment, is Paths.FollowTheEnvironment's.
  EXPECT_EQ(PortOverridesFile(), UserConfigFolder() / "ports.txt");
}

// The program's own port and link, as the main window builds them.
struct PortBench {
  explicit PortBench(std::function<std::string(int)> deviceOf)
      : port(clock, std::move(deviceOf), [this](const std::string& line) { log.push_back(line); }) {
  }
  VirtualClock clock;
  std::vector<std::string> log;
  ConfiguredPort port;
  RecordingFeedback feedback;
  TransferState state;
  NoEventPump pump;
  int option = 1;
  RadioLink link{port, clock, pump, feedback, state, [this] { return option; }};
};

TEST(ConfiguredPort, VirtualRadiosKeepTheirEepromAndBadDevicesAreNamed) {
  const fs::path folder = FreshFolder("eeprom");
  const std::string km2 = HexOf(RandomBytes(8192, 30));
  std::ofstream(folder / "km2.hex") << km2;
  const std::vector<std::string> devices{"sim:qvr", "sim:km2:" + (folder / "km2.hex").string(),
                                         "/nonexistent/ttyUSB9", "sim:xyz"};
  PortBench b([&](int n) { return devices.at(n - 1); });

  // What a virtual radio keeps from one command to the next is Commands.ReadWriteAndVerify's.
  EXPECT_EQ(b.link.ReadRadioQVR().size(), 32u * 28);
  b.option = 2;
  EXPECT_EQ(b.link.ReadRadioKM2().Image.substr(0, 16384), km2);
  b.option = 1;
  EXPECT_NE(b.link.ReadRadioQVR(), "");
  EXPECT_EQ(b.log.size(), 2u);  // each virtual radio announced once
  EXPECT_EQ(b.feedback.said, "");

  b.option = 3;
  EXPECT_EQ(b.link.ReadRadioQVR(), "");
  EXPECT_EQ(b.feedback.said.rfind("Following error has occured while reading the radio:\r", 0), 0u);
  EXPECT_NE(b.feedback.said.find("COM3 (/nonexistent/ttyUSB9)"), std::string::npos);
  EXPECT_EQ(b.feedback.said.substr(b.feedback.said.size() - 6), " #8002");
  b.option = 4;
  EXPECT_FALSE(b.link.TransferImageKM2(km2));
  EXPECT_NE(b.feedback.said.find("Unknown virtual radio sim:xyz"), std::string::npos);
  fs::remove_all(folder);
}

TEST(LineSettings, ReadsEachFieldAndKeepsTheDefaultOfOneThatDoesNotRead) {
  const std::pair<const char*, LineSettings> cases[] = {
      {"2400,N,8,1", {}},
      {"9600,e,7,2", {9600, 'E', 7, 2}},
      {"1200, O, 6, 1", {1200, 'O', 6, 1}},
      {"4800,m,5", {4800, 'M', 5, 1}},
      {"19200,S", {19200, 'S', 8, 1}},
      {"300,N,8,1.5", {300, 'N', 8, 1}},
      {"", {}},
      {"x,Q,9,3", {}},
      {"-5,,4,0", {}},
      {"115200baud,none", {115200, 'N', 8, 1}},
  };
  for (const auto& [text, settings] : cases) EXPECT_EQ(ParseLineSettings(text), settings) << text;
}

// The Qt backend on a virtual radio's pseudo-terminal in this process: what it sets on the
// device, and what it says when the device goes away.
TEST(QtSerialPort, ADeviceTheUserMayNotOpenNamesTheDialoutGroup) {
  const fs::path folder = FreshFolder("permission");
  fs::permissions(folder, fs::perms::all);
  const std::string device = (folder / "ttyUSB0").string();
  std::ofstream(device) << "";
  fs::permissions(device, fs::perms::none);
  const auto port = MakeQtSerialPort([&](int) { return device; }, {});
  port->SetPortNumber(1);
  // Root may open anything; the bench runs the opening as an ordinary user then.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::seteuid(65534), 0);
  }
  std::string said;
  try {
    port->Open();
  } catch (const TalliskError& e) {
    said = e.Description();
  }
  if (root) {
    ASSERT_EQ(::seteuid(0), 0);
  }
  EXPECT_NE(said.find(device), std::string::npos) << said;
  EXPECT_NE(said.find("permission denied"), std::string::npos) << said;
  EXPECT_NE(said.find("sudo usermod -aG dialout $USER"), std::string::npos) << said;
  fs::remove_all(folder);
}

TEST(QtSerialPort, SetsTheLineAndSaysWhenTheDeviceGoesAway) {
  sim::VirtualRadioQVR radio;
  auto server = std::make_unique<sim::PtyServer>(radio);
  const std::string device = server->DevicePath();
  const auto port = MakeQtSerialPort([&](int) { return device; }, {});
  port->SetPortNumber(2);
  // A pseudo-terminal keeps the speed and the stop bits; it has 8 data bits and no parity.
  const int watcher = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(watcher, 0);
  const auto line = [&] {
    termios t{};
    tcgetattr(watcher, &t);
    return std::pair{cfgetospeed(&t), (t.c_cflag & CSTOPB) != 0};
  };
  // Settings the device refuses fail the opening and leave the port closed.
  port->SetLineSettings("9600,E,7,2");
  EXPECT_THROW(port->Open(), TalliskError);
  port->SetLineSettings("9600,N,8,2");
  port->Open();
  EXPECT_EQ(line(), std::pair(speed_t{B9600}, true));
  port->SetLineSettings("2400,N,8,1");  // on an open port, at once
  EXPECT_EQ(line(), std::pair(speed_t{B2400}, false));
  port->Close();
  ::close(watcher);

  // Unplugged in the middle of a read: the failure names the device and says what happened,
  // not the error an earlier call left behind.
  VirtualClock clock;
  RecordingFeedback feedback;
  TransferState state;
  CallbackEventPump unplug([&] { server.reset(); });
  RadioLink link(*port, clock, unplug, feedback, state, [] { return 2; });
  EXPECT_EQ(link.ReadRadioQVR(), "");
  EXPECT_EQ(feedback.said,
            "Following error has occured while reading the radio:\rThe serial device " + device +
                " (COM2) stopped responding or was unplugged #8015");
}

}  // namespace
}  // namespace tallisk::testing
