#include "link/PortMap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "LinkTestSupport.h"
#include "link/ConfiguredPort.h"
#include "sim/VirtualRadioKM2.h"

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

TEST(PortMap, AdaptersComeFirstInNameOrderThenTheBuiltInPorts) {
  const fs::path dev = FreshFolder("dev");
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "null"}) {
    std::ofstream(dev / name).put('\n');
  }
  const auto adapters = UsbSerialAdapters(dev);
  ASSERT_EQ(adapters,
            (std::vector<std::string>{(dev / "ttyUSB2").string(), (dev / "ttyUSB10").string(),
                                      (dev / "ttyACM0").string()}));
  EXPECT_EQ(DeviceForPort(1, {}, adapters), (dev / "ttyUSB2").string());
  EXPECT_EQ(DeviceForPort(3, {}, adapters), (dev / "ttyACM0").string());
  EXPECT_EQ(DeviceForPort(4, {}, adapters), "/dev/ttyS3");
  EXPECT_EQ(DeviceForPort(1, {}, {}), "/dev/ttyS0");
  EXPECT_EQ(DeviceForPort(2, {{2, "sim:km2"}}, adapters), "sim:km2");
  EXPECT_EQ(DeviceForPort(0, {}, adapters), "");
  EXPECT_TRUE(UsbSerialAdapters(dev / "missing").empty());
  fs::remove_all(dev);
}

TEST(PortMap, OverridesFileRoundTripAndToleratesNoise) {
  const fs::path folder = FreshFolder("conf");
  const fs::path file = folder / "sub" / "ports.txt";
  EXPECT_TRUE(LoadPortOverrides(file).empty());
  const PortOverrides overrides{{1, "/dev/ttyUSB3"}, {2, "sim:qvr"}, {8, "/dev/serial/by-id/x y"}};
  SavePortOverrides(file, overrides);
  EXPECT_EQ(LoadPortOverrides(file), overrides);

  std::ofstream(file, std::ios::app) << "\n# a comment\ncom4 = sim:km2  # trailing\n"
                                        "COMX = /dev/bad\nCOM5 =\njunk\nCOM0 = /dev/zero\n";
  auto read = LoadPortOverrides(file);
  EXPECT_EQ(read.size(), 4u);
  EXPECT_EQ(read[4], "sim:km2");
  fs::remove_all(folder);
}

TEST(PortMap, ConfigurationFolderFollowsXdgThenHome) {
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string xdg = savedXdg ? savedXdg : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(UserConfigFolder(), fs::path("/tmp/xdg-test/tallisk"));
  EXPECT_EQ(PortOverridesFile(), fs::path("/tmp/xdg-test/tallisk/ports.txt"));
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(UserConfigFolder(), fs::path(std::getenv("HOME")) / ".config" / "tallisk");
  if (savedXdg) ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
}

struct ConfiguredBench {
  explicit ConfiguredBench(std::function<std::string(int)> deviceOf)
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

TEST(ConfiguredPort, VirtualRadiosKeepTheirEepromBetweenConversations) {
  const fs::path folder = FreshFolder("eeprom");
  const std::string start = HexOf(RandomBytes(8192, 30));
  std::ofstream(folder / "km2.hex") << start;
  ConfiguredBench b([&](int n) {
    return n == 1 ? std::string("sim:qvr") : "sim:km2:" + (folder / "km2.hex").string();
  });

  const auto image = RandomBytes(194, 31);
  const auto [first, second] = QvrParts(image);
  ASSERT_TRUE(b.link.TransferImageQVR(first, second));
  const std::string answer = b.link.ReadRadioQVR();
  ASSERT_EQ(answer.size(), 32u * 28);
  EXPECT_EQ(answer.substr(8, 16), HexOf(image).substr(0, 16));
  EXPECT_EQ(b.port.Device(), "sim:qvr");

  b.option = 2;
  const KM2ReadResult r = b.link.ReadRadioKM2();
  EXPECT_EQ(r.Image.substr(0, 16384), start);
  ASSERT_NE(b.port.CurrentVirtualRadio(), nullptr);
  EXPECT_EQ(b.port.CurrentVirtualRadio()->EepromHex(), start);
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_EQ(b.log.size(), 2u);  // each virtual radio announced once
  fs::remove_all(folder);
}

TEST(ConfiguredPort, ADeviceThatCannotBeOpenedIsReportedWithItsName) {
  ConfiguredBench b([](int n) { return n == 1 ? "/nonexistent/ttyUSB9" : "sim:xyz"; });
  EXPECT_EQ(b.link.ReadRadioQVR(), "");
  ASSERT_EQ(b.feedback.failures.size(), 1u);
  const std::string& text = b.feedback.failures[0];
  EXPECT_EQ(text.rfind("Following error has occured while reading the radio:\r", 0), 0u) << text;
  EXPECT_NE(text.find("COM1 (/nonexistent/ttyUSB9)"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 6), " #8002");

  b.option = 2;
  EXPECT_FALSE(b.link.TransferImageKM2(HexOf(RandomBytes(8192, 32))));
  ASSERT_EQ(b.feedback.failures.size(), 2u);
  EXPECT_NE(b.feedback.failures[1].find("Unknown virtual radio sim:xyz"), std::string::npos);
}

}  // namespace
}  // namespace tallisk::testing
