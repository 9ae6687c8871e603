// The command line against virtual radios and the sample programmings: what each command
// does to files and radios, and the exit status a script sees.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "files/ProgramPaths.h"
#include "link/Clock.h"
#include "ports/ConfiguredPort.h"
#include "sim/VirtualRadio.h"

namespace tallisk {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Family {
  const char* Port;
  fs::path Sample;
  const char* Extension;
  const char* Model;  // as a KM2's label gives it, or as the QVR profile names it
};

const Family kFamilies[] = {
    {"sim:km2", SampleProgramming(RadioFamily::KM2), ".km2", "52-8991A"},
    {"sim:qvr", SampleProgramming(RadioFamily::QVR), ".qvr", "VHF High B 150-174 MHz 16 Ch"}};

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("tallisk-cli-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "dev");
  }
  void TearDown() override { fs::remove_all(root_); }

  // Runs the program's command line as `tallisk ARGS...`; -1 when it would open the window.
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    CommandContext context{out_,   err_,
                           false,  {InstallDataFolder(), root_ / "config", root_ / "state"},
                           clock_, devices_};
    context.PortFor = [this](const std::string& device) -> SerialPort& {
      device_ = device;
      return port_;
    };
    std::vector<const char*> argv = {"tallisk"};
    for (const auto& a : args) argv.push_back(a.c_str());
    return RunCommandLine(static_cast<int>(argv.size()), argv.data(), context).value_or(-1);
  }
  // The virtual radio behind a device, as the commands will find it.
  sim::VirtualRadio& Radio(const std::string& device) {
    device_ = device;
    port_.SetPortNumber(1);
    return *port_.CurrentVirtualRadio();
  }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

  fs::path root_;
  VirtualClock clock_;
  DeviceFolderSerialDevices devices_{fs::temp_directory_path() / "tallisk-cli-no-devices"};
  std::string device_;
  ConfiguredPort port_{clock_, [this](int) { return device_; }};
  std::ostringstream out_, err_;
};

TEST_F(Commands, ReadWriteVerifyAndJsonOfEachFamily) {
  for (const Family& f : kFamilies) {
    SCOPED_TRACE(f.Port);
    // The virtual radio starts from the sample: a read gives it back byte for byte.
    const std::string read = Path(std::string("read") + f.Extension);
    ASSERT_EQ(Run({"read", "--port", f.Port, "-o", read}), 0) << err_.str();
    EXPECT_EQ(Text(read), Text(f.Sample));

    // A write with a new serial number is verified, and the radio then differs from the file
    // by that serial number alone.
    ASSERT_EQ(Run({"write", f.Sample.string(), "--port", f.Port, "--serial", "20077"}), 0)
        << err_.str();
    EXPECT_NE(err_.str().find("verified by reading the radio back"), std::string::npos);
    EXPECT_EQ(Run({"verify", f.Sample.string(), "--port", f.Port}), 1);
    EXPECT_EQ(out_.str(), f.Sample.extension() == ".km2" ? "serial number KM0042 -> 20077\n"
                                                         : "serial number 57731 -> 20077\n");

    // A byte of channel 3 changed in the radio is found and named.
    ASSERT_EQ(Run({"read", "--port", f.Port, "-o", read}), 0);
    EXPECT_EQ(Run({"verify", read, "--port", f.Port, "-q"}), 0) << err_.str();
    const std::size_t channel3 = f.Sample.extension() == ".km2" ? 2 * 16 + 5 : 0x22 + 2 * 10 + 2;
    Radio(f.Port).Eeprom[channel3] ^= 0x04;
    EXPECT_EQ(Run({"verify", read, "--port", f.Port}), 1);
    EXPECT_EQ(out_.str().rfind("channel 3: ", 0), 0u) << out_.str();

    // A radio that does not answer is not taken for programmed: status 1, never "Complete".
    Radio(f.Port).Misbehave.Silent = true;
    EXPECT_EQ(Run({"write", read, "--port", f.Port}), 1);
    EXPECT_EQ(err_.str().find("Complete"), std::string::npos) << err_.str();

    // Out to JSON and back in gives the image back.
    const std::string json = Path("p.json"), back = Path(std::string("back") + f.Extension);
    ASSERT_EQ(Run({"export", f.Sample.string(), "-o", json}), 0) << err_.str();
    EXPECT_EQ(nlohmann::json::parse(Text(json))["model"], f.Model);
    ASSERT_EQ(Run({"import", json, "-o", back}), 0) << err_.str();
    EXPECT_EQ(Text(back), Text(f.Sample));
  }
}

TEST_F(Commands, JsonEditsLandAsTheRadioHoldsThem) {
  // Edits of a KM2 programming's fields land, and diff says them in the technician's words.
  const fs::path km2 = kFamilies[0].Sample;
  const std::string json = Path("edit.json"), edited = Path("edited.km2");
  ASSERT_EQ(Run({"export", km2.string(), "-o", json}), 0);
  auto document = nlohmann::ordered_json::parse(Text(json));
  document["settings"]["SerialNumber"] = "KM0043";
  document["channels"][16]["RxFrequency"] = 151550000;
  document["channels"][16]["RxChannelData"] = true;
  document["channels"][16]["RxSignalling"] = 0;
  document["groups"][2]["TimeOutTimer"] = 45;
  std::ofstream(json) << document.dump(2);
  ASSERT_EQ(Run({"import", json, "-o", edited}), 0) << err_.str();
  EXPECT_EQ(Run({"diff", km2.string(), edited}), 1);
  EXPECT_EQ(out_.str(),
            "serial number KM0042 -> KM0043\n"
            "channel 17: receive 0.000000 -> 151.550000 MHz\n"
            "channel 17: receive in use no -> yes\n"
            "channel 17: receive signalling none -> CTCSS\n"
            "group 3: time-out timer 210 -> 45 s\n");

  // A text that is wrong, or asks for what the radio cannot hold, names where and writes
  // nothing.
  struct Damage {
    std::string Text;
    std::string Said;
  };
  std::string text = document.dump(2);
  auto replaced = [&text](const std::string& from, const std::string& to) {
    std::string t = text;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  // The line named is the line of the field.
  const std::string typo = replaced("\"RxFrequency\": 151550000", "\"RxFrequency\": \"151.55\"");
  const auto typoLine = 1 + std::count(typo.begin(), typo.begin() + typo.find("\"151.55\""), '\n');
  const Damage damages[] = {
      {replaced("\"version\": 1,", "\"version\": 1"), "line 4, column"},
      {typo, "line " + std::to_string(typoLine) +
                 ", column 22, channels[16].RxFrequency: a number is wanted"},
      {replaced("\"TimeOutTimer\": 45", "\"TimeOutTimer\": 45.2"),
       "groups[2].TimeOutTimer: the radio holds 45, not 45.2"},
      {replaced("\"Scrambler\": false", "\"Scrambeler\": false"),
       "channels[0].Scrambeler: no such field"},
      {replaced("\"0020 ", "\"0040 "), "\"0020\", a blank and 64 hex digits are wanted"},
  };
  for (const Damage& d : damages) {
    std::ofstream(json) << d.Text;
    fs::remove(edited);
    EXPECT_EQ(Run({"import", json, "-o", edited}), 3);
    EXPECT_NE(err_.str().find(d.Said), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(edited));
  }
}

TEST_F(Commands, ACsvSheetPutsTheChannelsItListsOntoABaseProgramming) {
  const std::string km2 = kFamilies[0].Sample.string();
  const std::string csv = Path("sheet.csv"), out = Path("out.km2");
  ASSERT_EQ(Run({"export", km2, "-o", csv}), 0) << err_.str();
  ASSERT_EQ(Run({"import", csv, "--onto", km2, "-o", out}), 0) << err_.str();
  EXPECT_EQ(Text(out), Text(km2));

  // A customer's list: two new vans in group 2, as a spreadsheet saves it.
  std::ofstream(csv) << "Channel,Name,Receive MHz,Transmit MHz,Groups\n"
                        "20,van1,152.8000,157.8000,2\n"
                        "21,VAN2,152.8125,157.8125,2 4\n";
  ASSERT_EQ(Run({"import", csv, "--onto", km2, "-o", out}), 0) << err_.str();
  EXPECT_EQ(Run({"diff", km2, out}), 1);
  const std::string said = out_.str();
  for (const char* line :
       {"channel 20: name \"\" -> VAN1\n", "channel 20: receive 0.000000 -> 152.800000 MHz\n",
        "channel 21: transmit 0.000000 -> 157.812500 MHz\n",
        "group 2: channels 4, 5, 10 -> 4, 5, 10, 20, 21\n"})
    EXPECT_NE(said.find(line), std::string::npos) << line << said;
}

TEST_F(Commands, FaultsHaveTheirExitStatusAndOneLineEach) {
  const std::string km2 = kFamilies[0].Sample.string();
  fs::create_directories(root_ / "config");
  std::ofstream(root_ / "config" / "ports.txt") << "COM2 = sim:km2\n";
  const std::string bad = Path("bad.csv");
  std::ofstream(bad) << "Channel,Receive MHz\n20,152.8\n21,9999\n";
  struct Case {
    std::vector<std::string> Args;
    int Status;
    std::string Said;
  };
  const Case cases[] = {
      {{"--frobnicate"}, 2, "--frobnicate"},
      {{"read", "--port", "COM9", "-o", Path("x.km2")}, 2, "--port COM9"},
      {{"read", "--port", "sim:km2", "-o", Path("x.qvr")}, 2, "saved as a .km2 file"},
      {{"write", km2, "--port", "sim:km2", "--serial", "A SERIAL FAR TOO LONG"}, 2, "--serial"},
      {{"export", km2, "-o", Path("x.txt")}, 2, "a .json or .csv file is wanted"},
      {{"import", Path("x.csv"), "-o", Path("x.km2")}, 2, "--onto"},
      {{"show", Path("missing.km2")}, 3, "No such file or directory"},
      // A value no record can hold names its line and column.
      {{"import", bad, "--onto", km2, "-o", Path("x.km2")}, 3, "Line 3, column 2 (Receive MHz)"},
      // The radio on COM2 is read as a KM2, the family of the file it is compared with.
      {{"diff", km2, "port:COM2"}, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args.front());
    EXPECT_EQ(Run(c.Args), c.Status);
    const std::string said = err_.str();
    EXPECT_NE(said.find(c.Said), std::string::npos) << said;
    if (c.Status != 0) {
      EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
  }
  // A file named alone is for the window.
  EXPECT_EQ(Run({km2}), -1);

  // The ports list says which port numbers reach each device, virtual radios included.
  EXPECT_EQ(Run({"ports"}), 0);
  EXPECT_NE(out_.str().find("sim:km2\tvirtual radio\t-\t-\t-\tCOM2\n"), std::string::npos)
      << out_.str();
}

// The installed program itself: what needs a process of its own.
std::string Output(const std::string& command, int& status) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  status = WEXITSTATUS(::pclose(pipe));
  return text;
}

TEST(Program, TheReportNeedsNoDisplayAndTheManualPageIsTheProgramsOwn) {
  const std::string program = TALLISK_PROGRAM;
  const std::string sample = SampleProgramming(RadioFamily::KM2).string();
  const fs::path pdf =
      fs::temp_directory_path() / ("tallisk-report-" + std::to_string(::getpid()) + ".pdf");
  int status = -1;
  const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
  Output(env + program + " report " + sample + " -o " + pdf.string() + " -q", status);
  ASSERT_EQ(status, 0);
  const std::string pages = Output("pdftotext -layout " + pdf.string() + " -", status);
  fs::remove(pdf);
  for (const char* name : {"DISP1", "AIRPT", "SPARE"})
    EXPECT_NE(pages.find(name), std::string::npos) << name;
  EXPECT_NE(Output(program + " report " + sample, status).find("AIRPT"), std::string::npos);

  // The manual page installed is the one the program's own definitions give.
  EXPECT_EQ(Output(program + " --man-page", status), Text(TALLISK_MANUAL));
  Output(program + " --frobnicate 2>/dev/null", status);
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace tallisk
