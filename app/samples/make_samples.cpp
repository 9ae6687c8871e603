// Makes the sample programmings installed with the program, through the window's own logic:
//   taxi-fleet.km2  a taxi firm's KM2 radio: named channels in groups (dispatch, the
//                   airport, the other depots), CTCSS on the dispatch channels
//   qvr-16.qvr      a QVR 16-channel VHF radio for a site crew
// The virtual radios start from them, and the README's "try it without a radio" uses them.
// Each file is loaded back and checked, so a sample that would not load fails the build.
// Usage: make_samples INSTALLATION-FOLDER OUTPUT-FOLDER

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "cli/CommandSession.h"
#include "files/RadioFile.h"
#include "link/Clock.h"
#include "ui/PageText.h"

namespace {

using namespace tallisk;

struct Channel {
  const char* Name;
  double Receive;   // MHz
  double Transmit;  // MHz, 0 for receive only
  int Tone;         // CTCSS code, -1 for none
};

// Dispatch, two depots, the airport rank, and talk-around, 12.5 kHz apart.
const Channel kTaxi[] = {
    {"DISP1", 152.3000, 157.5500, 8},  {"DISP2", 152.3125, 157.5625, 8},
    {"DISP3", 152.3250, 157.5750, 8},  {"NORTH", 152.4000, 157.6500, 12},
    {"SOUTH", 152.4125, 157.6625, 12}, {"AIRPT", 152.5000, 157.7500, 3},
    {"RANK", 152.5125, 157.7625, 3},   {"TALK1", 152.6000, 152.6000, -1},
    {"TALK2", 152.6125, 152.6125, -1}, {"EMERG", 152.7000, 157.9500, 1},
    {"WX", 162.5500, 0, -1},           {"SPARE", 152.7125, 157.9625, 8},
};
// Groups by name and the channels (1-based) each scans.
const std::pair<const char*, std::vector<int>> kTaxiGroups[] = {
    {"DSP", {1, 2, 3, 10}},
    {"DEP", {4, 5, 10}},
    {"AIR", {6, 7, 1}},
    {"ALL", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}}};

const Channel kCrew[] = {
    {"", 151.6250, 151.6250, -1}, {"", 151.6375, 151.6375, -1}, {"", 151.9250, 156.9250, 5},
    {"", 154.5750, 154.5750, 5},  {"", 154.6000, 154.6000, 5},  {"", 158.1000, 153.1000, 14},
    {"", 158.1125, 153.1125, 14}, {"", 159.4750, 159.4750, -1},
};

void Put(clsChannel& c, const Channel& from) {
  c.RxFrequency = from.Receive * 1e6;
  c.TxFrequency = from.Transmit > 0 ? from.Transmit * 1e6 : 0;
  c.RxChannelData = true;
  c.TxChannelData = from.Transmit > 0;
  c.RxSignalling = c.TxSignalling = from.Tone >= 0 ? 0 : 3;
  if (from.Tone >= 0) c.RxCTCSSCode = c.TxCTCSSCode = static_cast<std::uint8_t>(from.Tone);
  c.ChannelName = from.Name;
}

int Fail(const std::string& what) {
  std::cerr << "make_samples: " << what << "\n";
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) return Fail("usage: make_samples INSTALLATION-FOLDER OUTPUT-FOLDER");
  const std::filesystem::path installation = argv[1];
  const std::filesystem::path folder = argv[2];
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("tallisk-samples-" + std::to_string(::getpid()));
  VirtualClock clock;
  DeviceFolderSerialDevices devices;
  CommandContext context{std::cout, std::cerr,
                         false,     {installation, scratch / "config", scratch / "state"},
                         clock,     devices};
  int status = 0;
  {
    CommandSession session(context, true);
    frmMain& w = session.Window();
    w.Today = [] { return Date(2026, 12, 1); };
    // The taxi firm's KM2.
    session.ChooseFamily(RadioFamily::KM2);
    w.btnProgramRadio.Press();
    w.txtModelNumber.SetText("52-8991A");
    w.btnNext.Press();
    w.btnFinish.Press();
    w.RadioHeader.SerialNumber = "KM0042";
    w.RadioHeader.CustomerNumber = "CITYCABS";
    for (std::size_t i = 0; i < std::size(kTaxi); ++i)
      Put(w.Channels.Item(static_cast<std::int32_t>(i) + 1), kTaxi[i]);
    std::int32_t entry = 1;
    for (std::size_t g = 0; g < std::size(kTaxiGroups); ++g) {
      w.Groups.Item(static_cast<std::int32_t>(g) + 1).GroupName = kTaxiGroups[g].first;
      for (const int channel : kTaxiGroups[g].second) {
        clsChannelGroup& e = w.ChannelGroupTable.Item(entry++);
        e.ChannelNumber = static_cast<std::int16_t>(channel);
        e.GroupNumber = static_cast<std::int16_t>(g + 1);
        e.Programmed = true;
      }
    }
    const auto taxi = folder / "taxi-fleet.km2";
    if (!w.SaveRadioFile(taxi.string())) status = Fail("taxi-fleet.km2 was not saved");
    if (status == 0 && (!session.Load(taxi) || Trim(w.Channels.Item(6).ChannelName) != "AIRPT" ||
                        w.Channels.Item(6).RxFrequency != 152.5e6))
      status = Fail("taxi-fleet.km2 does not load back as made");
  }
  if (status == 0) {
    CommandSession session(context, true);
    frmMain& w = session.Window();
    w.Today = [] { return Date(2026, 12, 1); };
    // The site crew's QVR.
    session.ChooseFamily(RadioFamily::QVR);
    w.btnProgramRadio.Press();
    w.lstRadios.SelectText("VHF High B 150-174 MHz 16 Ch");
    w.btnNext.Press();
    w.btnFinish.Press();
    w.RadioHeader.SerialNumber = "57731";
    for (std::size_t i = 0; i < std::size(kCrew); ++i)
      Put(w.Channels.Item(static_cast<std::int32_t>(i) + 1), kCrew[i]);
    const auto crew = folder / "qvr-16.qvr";
    if (!w.SaveRadioFile(crew.string())) status = Fail("qvr-16.qvr was not saved");
    if (status == 0 && (!session.Load(crew) || w.Channels.Item(3).TxFrequency != 156.925e6))
      status = Fail("qvr-16.qvr does not load back as made");
  }
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  return status;
}
