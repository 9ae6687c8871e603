// The link to the radios: conversations with virtual radios on an in-process cable under a
// virtual clock, the records they exchange, and the ports the program opens: what each run
// sends and stores, and that every failure says why and leaves the lines down and the port
// closed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>

#include "link/Clock.h"
#include "link/LineSettings.h"
#include "link/LinkConstants.h"
#include "link/LinkFeedback.h"
#include "link/PortMap.h"
#include "link/QtSerialPort.h"
#include "link/RadioLink.h"
#include "link/RecordExchange.h"
#include "ports/ConfiguredPort.h"
#include "ports/VirtualRadioPort.h"
#include "sim/PtyServer.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class RecordingFeedback : public LinkFeedback {
 public:
  std::vector<std::string> readStatus, writeStatus;
  // Message boxes as "text (title)", failure reports as they are, in the order shown.
  std::string said;
  std::function<void()> onSaid;  // runs as each message or failure is shown

  void ShowReadStatus(const std::string& text) override { readStatus.push_back(text); }
  void ShowWriteStatus(const std::string& text) override { writeStatus.push_back(text); }
  void ShowMessage(const std::string& text, const std::string& title) override {
    ShowFailure(text + " (" + title + ")");
  }
  void ShowFailure(const std::string& text) override {
    if (onSaid) onSaid();
    said += (said.empty() ? "" : " | ") + text;
  }
};

template <class Radio>
struct LinkBench {
  template <class... RadioArgs>
  explicit LinkBench(RadioArgs&&... args) : radio(std::forward<RadioArgs>(args)...) {}

  VirtualClock clock;
  Radio radio;
  VirtualRadioPort port{radio, clock};
  RecordingFeedback feedback;
  TransferState state;
  std::function<void()> onPump;
  CallbackEventPump pump{[this] {
    if (onPump) onPump();
  }};
  RadioLink link{port, clock, pump, feedback, state, [] { return 1; }};
  Clock::Nanos mark = clock.Now();  // where Seconds() counts from

  // Both sides at 2400 baud, as on the bench.
  void Pace() { radio.Paced = port.Line().Paced = true; }
  // The cable is left as it should be after any conversation.
  bool LeftIdle() { return !port.Line().IsOpen() && !radio.RTS() && !radio.DTR(); }
  double Seconds() { return std::chrono::duration<double>(clock.Now() - mark).count(); }
};

std::vector<std::uint8_t> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::vector<std::uint8_t> out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(gen());
  return out;
}

std::string HexOf(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (auto b : bytes) out += ToHex(b, 2);
  return out;
}

// A QVR image as the programming run sends it: S1 lines of 8 bytes, padded with FF; an
// image that reaches address 0100 is cut there into the two parts, a smaller one goes wholly
// into the second.
std::pair<std::string, std::string> QvrParts(std::vector<std::uint8_t> image) {
  image.resize((image.size() + 7) / 8 * 8, 0xFF);
  std::string first, second;
  for (std::size_t a = 0; a < image.size(); a += 8) {
    const std::vector<std::uint8_t> data(image.begin() + a, image.begin() + a + 8);
    (image.size() > 0x100 && a < 0x100 ? first : second) +=
        sim::MakeRecord("S1", static_cast<std::uint32_t>(a), data);
  }
  return {first, second};
}

using QvrBench = LinkBench<sim::VirtualRadioQVR>;
using Km2Bench = LinkBench<sim::VirtualRadioKM2>;

TEST(QVR, WritesBothPhasesOfARunAndReadsTheWholeEepromBack) {
  QvrBench b(512);
  b.Pace();
  const auto image = RandomBytes(300, 12);
  const auto [first, second] = QvrParts(image);
  bool linesUp = true;
  b.onPump = [&] { linesUp = linesUp && b.radio.RTS() && b.radio.DTR(); };

  // 300 bytes reach past address 0100: two phases, each opened by its own page command.
  EXPECT_TRUE(b.link.TransferImageQVR(first, second));
  EXPECT_EQ(b.radio.EepromHex().substr(0, 608), HexOf(image) + "FFFFFFFF");
  const auto& heard = b.radio.RecordsHeard;
  ASSERT_EQ(heard.size(), 2u + 32 + 1 + 2 + 6 + 1);
  EXPECT_EQ(heard[0], "N004006D008E");
  EXPECT_EQ(heard[35], "N004006D404E");
  EXPECT_EQ(b.feedback.writeStatus, (std::vector<std::string>{"Radio Programming In Progress",
                                                              "Radio Programming Complete"}));
  EXPECT_TRUE(linesUp);
  EXPECT_TRUE(b.LeftIdle());

  b.mark = b.clock.Now();
  // What the answer holds is the read log's in Transfers.QvrReadEditAndWriteBack...
  const std::string answer = b.link.ReadRadioQVR();
  EXPECT_EQ(answer.size(), 64u * 28);
  EXPECT_EQ(b.feedback.said, "");
  EXPECT_TRUE(b.LeftIdle());
  // The read command and 1792 characters at 2400 baud, then only the quiet gap: the answer
  // was complete, and the radio fell quiet after the rest of its memory.
  const double line = (12 + 1792) * 10 / 2400.0;
  EXPECT_GT(b.Seconds(), line);
  EXPECT_LT(b.Seconds(), line + 0.1);

  // The 8-channel models, codes 12 to 18, hold 15 lines: the read ends with the last of them,
  // not at the silence limit.
  for (const std::uint8_t model : {12, 18}) {
    QvrBench eight(120);
    eight.Pace();
    eight.radio.Eeprom[0x0C] = model;
    EXPECT_EQ(eight.link.ReadRadioQVR().size(), 15u * 28) << int{model};
    EXPECT_LT(eight.Seconds(), (12 + 15 * 28) * 10 / 2400.0 + 0.1) << int{model};
  }

  // A silent radio is waited for four whole seconds, no more.
  QvrBench mute;
  mute.radio.Misbehave.Silent = true;
  EXPECT_EQ(mute.link.ReadRadioQVR(), "");
  EXPECT_GE(mute.Seconds(), 4.0);
  EXPECT_LT(mute.Seconds(), 5.0);

  // Without CTS the run is given up after ten seconds, the lines lowered and nothing stored.
  QvrBench deaf;
  deaf.radio.Misbehave.NeverCTS = true;
  EXPECT_FALSE(deaf.link.TransferImageQVR(first, second));
  EXPECT_EQ(deaf.feedback.said, link::kNoCts + std::string(" (QVR Radio Programmer)"));
  EXPECT_EQ(deaf.feedback.writeStatus.back(), "");
  EXPECT_EQ(deaf.radio.PhasesStored(), 0);
  EXPECT_GE(deaf.Seconds(), 10.0);
  EXPECT_LT(deaf.Seconds(), 10.5);
  EXPECT_TRUE(deaf.LeftIdle());
}

// The read image when the first `blocks` blocks were accepted: the radio's bytes, then erased.
std::string ReadImage(Km2Bench& b, std::size_t blocks) {
  const std::size_t n = std::min<std::size_t>(blocks * 2 * 208, 16384);
  return b.radio.EepromHex().substr(0, n) + std::string(16704 - n, 'F');
}

// A stop, a block that is bad every time, and a radio that stops answering part way are
// Transfers.Km2ReadsThatDoNotFinishLeaveTheProgrammingInMemoryAsItWas's.
TEST(KM2Read, RecoversFromBadBlocksAndStopsForAbsentSilentOrVanishingRadios) {
  struct Case {
    sim::Misbehaviour misbehave;
    std::size_t requests;
    int kept;  // whole blocks kept in the image; -1: no image at all
    std::string said;
    int seconds = 0;  // when set: how long it took, to the whole second
  };
  const std::string title = " (KM2 Radio Programmer)";
  const Case cases[] = {
      {{.GarbleBlock = 7}, 41, 40, ""},                   // bad once: asked again and recovered
      {{.CutBlock = 3}, 5, 3, "Checksum Error" + title},  // a block cut short is no whole block
      // A pause mid-answer is waited out: the answer is not yet complete.
      {{.PauseBlock = 5}, 40, 40, "", 4},
      // A stray character after a block: in the quiet gap it ends that answer, later it is
      // cleared before the next request, and once the request has gone it spoils the first
      // record of the next answer, which is asked for again. Nothing lands at a wrong address.
      {{.StrayAfterBlock = 5}, 40, 40, ""},
      {{.StrayAfterBlock = 5, .StrayDelay = 50ms}, 40, 40, ""},
      {{.StrayAfterBlock = 5, .StrayDelay = 100ms}, 41, 40, ""},
      {{.Silent = true}, 2, 0, "No Data Read" + title},
      {{.NotAttached = true}, 0, -1, "Error: Unable to communicate with the radio" + title, 3},
      // The link check sees CTS; the cable comes off once the test-mode record is through.
      {{.DropLineAfter = 1}, 0, -1, link::kNoCts + title, 10},
  };
  for (const auto& c : cases) {
    Km2Bench b;
    b.radio.Eeprom = RandomBytes(8192, 3);
    b.radio.Misbehave = c.misbehave;
    b.state.StopRequested = true;  // a stop left over from before is cleared at the start
    // The read's verdict is said once the radio's lines are down.
    bool linesDownWhenSaid = true;
    b.feedback.onSaid = [&] {
      linesDownWhenSaid = linesDownWhenSaid && !b.radio.RTS() && !b.radio.DTR();
    };
    const KM2ReadResult r = b.link.ReadRadioKM2();
    EXPECT_TRUE(linesDownWhenSaid) << c.said;
    EXPECT_EQ(b.radio.BlockRequests().size(), c.requests) << c.said;
    EXPECT_EQ(b.feedback.said, c.said);
    EXPECT_EQ(r.Image, c.kept < 0 ? "" : ReadImage(b, c.kept)) << c.said;
    EXPECT_EQ(c.seconds > 0 ? static_cast<int>(b.Seconds()) : 0, c.seconds) << c.said;
    EXPECT_TRUE(b.LeftIdle()) << c.said;
  }
}

// What the radio then holds, the addresses asked for, the pace and the window's progress are
// Transfers.Km2ReadEditAndWriteBackChangeOnlyWhatWasEdited's.
TEST(KM2, WritesStartDataAndEndRecordsThenReadsTheImageBackInFortyBlocks) {
  Km2Bench b;
  EXPECT_TRUE(b.link.TransferImageKM2(HexOf(RandomBytes(8192, 6))));
  const auto& heard = b.radio.RecordsHeard;
  ASSERT_EQ(heard.size(), 258u);
  EXPECT_EQ(heard.front(),
            "T023000035322D3132373842FFFCBC100000000000191400169500DA00FBEFFB0174014818");
  EXPECT_EQ(heard.back(), "T9030000FC");
  const auto& status = b.feedback.writeStatus;
  ASSERT_EQ(status.size(), 257u);
  EXPECT_EQ(status.front(), "Writing... 0%");
  EXPECT_EQ(status[95], "Writing... 38%");  // 37.5, rounded
  EXPECT_EQ(status[255], "Writing... 100%");
  EXPECT_EQ(status.back(), "Radio Programming Complete");
  EXPECT_TRUE(b.LeftIdle());

  bool linesAndBusy = true;
  b.onPump = [&] {
    linesAndBusy =
        linesAndBusy && b.state.TransferBusy && (b.radio.BlockRequests().empty() || b.radio.DTR());
  };
  EXPECT_EQ(b.link.ReadRadioKM2().Image, b.radio.EepromHex() + std::string(320, 'F'));
  EXPECT_EQ(b.radio.BlockRequests().size(), 40u);
  EXPECT_EQ(b.feedback.readStatus.size(), 40u);
  EXPECT_EQ(b.feedback.said, "");
  EXPECT_TRUE(linesAndBusy);
  EXPECT_TRUE(b.LeftIdle());
}

TEST(KM2Write, RefusalsStopsAndCablesThatComeOffEndItCleanly) {
  const std::string image = HexOf(RandomBytes(8192, 7));
  std::string stray = image;
  stray[100] = 'G';
  struct Case {
    std::string sent;
    sim::Misbehaviour misbehave;
    int stopAtPump, stored, heard;
    std::string said;
  };
  const std::string title = " (KM2 Radio Programmer)";
  const Case cases[] = {
      {image.substr(2), {}, 0, 0, 0, "Internal Error: EEPROM size not correct" + title},
      {stray, {}, 0, 0, 0, "Internal Error: EEPROM image not correct" + title},
      // The stop is looked at between records: the record after its pump still goes, and
      // the end record follows.
      {image, {}, 11, 11, 1 + 11 + 1, ""},
      {image, {.NeverCTS = true}, 200, 0, 0, ""},  // stopped before anything was begun
      {image, {.DropLineAfter = 20}, 0, 19, 20, link::kNoCts + title},
  };
  for (const auto& c : cases) {
    Km2Bench b;
    b.radio.Misbehave = c.misbehave;
    int pumps = 0;
    b.onPump = [&] { b.state.StopRequested |= ++pumps == c.stopAtPump; };
    EXPECT_FALSE(b.link.TransferImageKM2(c.sent));
    EXPECT_EQ(b.radio.DataRecordsStored(), c.stored);
    EXPECT_EQ(b.radio.RecordsHeard.size(), static_cast<std::size_t>(c.heard));
    EXPECT_EQ(b.radio.WritesEnded(), c.heard == c.stored + 2 ? 1 : 0);
    EXPECT_EQ(b.radio.EepromHex(),
              image.substr(0, 64 * c.stored) + std::string(16384 - 64 * c.stored, 'F'));
    EXPECT_EQ(b.feedback.said, c.said);
    EXPECT_EQ(b.feedback.writeStatus.back(), "");
    EXPECT_LT(b.Seconds(), c.said.empty() ? 1.0 : 11.0);  // CTS is given up after 10 s
    EXPECT_TRUE(b.LeftIdle());
  }
}

const std::string kErased(16704, 'F');

// A record as a radio sends it, without the line end.
std::string Answer(std::uint32_t address, const std::string& data) {
  const std::string body = ToHex(data.size() / 2 + 3, 2) + ToHex(address, 4) + data;
  return "R1" + body + RecordCheckSum(body);
}

TEST(StoreAnswerRecord, StoresByAddressFrom8000hAndRefusesAnythingDoubtful) {
  struct Case {
    std::string record;
    bool ok;
    std::size_t at = 0;
    std::string stored = "";
  };
  const Case cases[] = {
      {Answer(0x8000, "0123456789ABCDEF"), true, 0, "0123456789ABCDEF"},
      {Answer(0x8020, "abcdef"), true, 64, "ABCDEF"},          // the image keeps upper case
      {Answer(0xA09F, "5A"), true, 16702, "5A"},               // the last byte of the image
      {"R1030000FC", true},                                    // count 3: nothing to store
      {"R10300000", false},                                    // too short to be a record
      {"R1030000fc", false},                                   // checksum compared as text
      {"R10480001122" + RecordCheckSum("0480001122"), false},  // count says one byte, two follow
      {"R1058000ZZ11" + RecordCheckSum("058000ZZ11"),
       false},                            // a stray digit would read as 0 and land in the image
      {Answer(0xA0A0, "00"), false},      // just past the end
      {Answer(0xA09E, "000000"), false},  // runs over the end
      {Answer(0x7FFF, "00"), false},      // below the image
      // Noise with count FF: its sum overflows the 16-bit checksum, and it is simply refused.
      {"R1FF8000" + std::string(506, 'F'), false},
  };
  for (const auto& c : cases) {
    std::string image = kErased, want = kErased;
    want.replace(c.at, c.stored.size(), c.stored);
    EXPECT_EQ(StoreAnswerRecord(image, c.record), c.ok) << c.record;
    EXPECT_EQ(image, want) << c.record;
  }
}

// A port whose lines stay as they were last set, whose n-th write fails as a cable pulled
// out of a USB adapter would, and whose radio is silent.
class ScriptedPort : public SerialPort {
 public:
  void SetPortNumber(int) override {}
  void SetLineSettings(const std::string& s) override { settings = s; }
  void Open() override { open = true; }
  void Close() override { open = false; }
  void SetRTS(bool on) override { rts = on; }
  void SetDTR(bool on) override { dtr = on; }
  bool CTS() override { return true; }
  int BytesWaiting() override { return 0; }
  std::string ReadAll() override { return ""; }
  void Write(const std::string&) override {
    if (++writes == failAt) throw TalliskError(ErrPortFailed, "Write", "Input/output error");
  }

  bool open = false, rts = false, dtr = false;
  int failAt = 0, writes = 0;
  std::string settings;
};

TEST(Conversations, LowerTheLinesAndCloseOnEveryPathFailuresIncluded) {
  const std::string km2 = HexOf(RandomBytes(8192, 20));
  const auto qvr = QvrParts(RandomBytes(194, 21));
  struct Case {
    int failAt;
    std::function<bool(RadioLink&)> run;
    std::string said;
  };
  const Case cases[] = {
      {0, [](RadioLink& l) { return l.CheckRadioLink(); }, ""},
      {5, [](RadioLink& l) { return !l.ReadRadioKM2().Accepted.empty(); },
       "Following error has occured while reading the radio:\rInput/output error #8015"},
      {30, [&](RadioLink& l) { return l.TransferImageKM2(km2); },
       "Following error has occured while writing to radio:\rInput/output error #8015"},
      {40, [&](RadioLink& l) { return l.TransferImageQVR(qvr.first, qvr.second); },
       "Unable to program the radio because a following error has occured:Input/output error "
       "#8015 (QVR Radio Programmer)"},
  };
  for (const auto& c : cases) {
    VirtualClock clock;
    ScriptedPort port;
    port.failAt = c.failAt;
    RecordingFeedback feedback;
    TransferState state;
    NoEventPump pump;
    RadioLink link(port, clock, pump, feedback, state, [] { return 1; });
    const bool ok = c.run(link);
    EXPECT_EQ(ok, c.said.empty()) << c.said;
    EXPECT_EQ(feedback.said, c.said);
    EXPECT_TRUE(ok || feedback.writeStatus.empty() || feedback.writeStatus.back().empty());
    // Only the link can have lowered the lines of this port.
    EXPECT_FALSE(port.open || port.rts || port.dtr) << c.said;
    EXPECT_EQ(port.settings, "2400,N,8,1");
    EXPECT_FALSE(state.TransferBusy);
  }
}

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

  const fs::path file = dev / "ports.txt";
  EXPECT_TRUE(LoadPortOverrides(file).empty());
  std::ofstream(file) << "COM8 = /dev/serial/by-id/x y\n\n# a comment\ncom4 = sim:km2  # trailing\n"
                         "COMX = /dev/bad\nCOM5 =\njunk\nCOM0 = /dev/zero\n";
  EXPECT_EQ(LoadPortOverrides(file), (PortOverrides{{4, "sim:km2"}, {8, "/dev/serial/by-id/x y"}}));
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
