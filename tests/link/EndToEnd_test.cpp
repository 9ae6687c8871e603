// The real serial backend against tallisk-radiosim on a pseudo-terminal: the bytes that
// cross a real port. (A pseudo-terminal has no modem lines and no baud rate; the in-process
// tests cover those.)

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "LinkTestSupport.h"
#include "link/ConfiguredPort.h"

extern char** environ;

namespace tallisk::testing {
namespace {

namespace fs = std::filesystem;

// tallisk-radiosim as a child process; the EEPROM it holds is saved when it is stopped.
class RadioSimProcess {
 public:
  RadioSimProcess(const std::string& family, const fs::path& saveTo,
                  std::vector<std::string> extra = {}) {
    std::vector<std::string> args{TALLISK_RADIOSIM, family, "--save", saveTo.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
      close(out[0]);
      throw std::runtime_error("cannot start tallisk-radiosim");
    }
    // The first line of its output is the device.
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') device_.push_back(c);
    close(out[0]);
  }
  ~RadioSimProcess() { Stop(); }

  const std::string& Device() const { return device_; }

  // Ends the radio; true when it exited cleanly (and so saved its EEPROM).
  bool Stop() {
    if (pid_ <= 0) return exitedCleanly_;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    exitedCleanly_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return exitedCleanly_;
  }

 private:
  pid_t pid_ = -1;
  std::string device_;
  bool exitedCleanly_ = false;
};

std::string ReadHexFile(const fs::path& file) {
  std::ifstream in(file);
  std::string hex, line;
  while (std::getline(in, line)) hex += line;
  return hex;
}

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() /
         ("tallisk-e2e-" + name + "-" + std::to_string(::getpid()) + ".hex");
}

struct RealBench {
  explicit RealBench(const std::string& device)
      : port(
            clock, [device](int) { return device; },
            [this](const std::string& line) { log.push_back(line); }) {}
  SystemClock clock;
  std::vector<std::string> log;
  ConfiguredPort port;
  RecordingFeedback feedback;
  TransferState state;
  NoEventPump pump;
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
};

TEST(EndToEnd, QvrWriteThenReadOverAPseudoTerminal) {
  const fs::path saved = TempFile("qvr");
  RadioSimProcess radio("qvr", saved, {"--qvr-size", "512"});
  ASSERT_EQ(radio.Device().rfind("/dev/", 0), 0u) << radio.Device();
  RealBench b(radio.Device());

  const auto image = RandomBytes(264, 40);  // 33 lines: both phases of the run
  const auto [first, second] = QvrParts(image);
  ASSERT_TRUE(b.link.TransferImageQVR(first, second));
  const std::string answer = b.link.ReadRadioQVR();
  ASSERT_EQ(answer.size(), 64u * 28)
      << (b.feedback.messages.empty() ? "" : b.feedback.messages[0].text);
  std::string data;
  for (std::size_t i = 0; i < answer.size(); i += 28) data += answer.substr(i + 8, 16);
  EXPECT_EQ(data.substr(0, 528), HexOf(image));
  EXPECT_TRUE(b.feedback.messages.empty());
  EXPECT_TRUE(b.feedback.failures.empty());
  // The pseudo-terminal has no modem lines, and the log says so once.
  ASSERT_EQ(b.log.size(), 1u);
  EXPECT_NE(b.log[0].find("no modem-control lines"), std::string::npos);

  ASSERT_TRUE(radio.Stop());
  EXPECT_EQ(ReadHexFile(saved).substr(0, 528), HexOf(image));
  fs::remove(saved);
}

TEST(EndToEnd, Km2WriteOverAPseudoTerminal) {
  const fs::path saved = TempFile("km2");
  RadioSimProcess radio("km2", saved);
  RealBench b(radio.Device());
  const std::string image = HexOf(RandomBytes(8192, 41));

  ASSERT_TRUE(b.link.CheckRadioLink());
  ASSERT_TRUE(b.link.TransferImageKM2(image));
  EXPECT_EQ(b.feedback.writeStatus.back(), "Radio Programming Complete");
  EXPECT_TRUE(b.feedback.messages.empty());

  ASSERT_TRUE(radio.Stop());
  EXPECT_EQ(ReadHexFile(saved), image);
  fs::remove(saved);
}

}  // namespace
}  // namespace tallisk::testing
