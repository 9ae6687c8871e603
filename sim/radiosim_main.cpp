// tallisk-radiosim: a virtual QVR or KM2 radio on a pseudo-terminal.
//
// Prints the device path on the first line of its output, then serves until interrupted;
// with --save it writes the radio's EEPROM to a file on the way out.

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "files/ProgramPaths.h"
#include "sim/PtyServer.h"
#include "sim/VirtualRadioKM2.h"
#include "sim/VirtualRadioQVR.h"
#include "tallisk/errors.h"

namespace {

std::atomic<bool> stopRequested{false};

void OnSignal(int) {
  stopRequested = true;
}

void Usage(std::ostream& out) {
  out << "usage: tallisk-radiosim qvr|km2 [options]\n"
         "A virtual radio on a pseudo-terminal: the device path is the first line printed.\n"
         "It starts from the sample programming of its family.\n"
         "  --eeprom FILE        start from this EEPROM (hex text) or radio file instead\n"
         "  --blank              start erased, as a radio never programmed\n"
         "  --save FILE          save the EEPROM (hex text) when stopped\n"
         "  --qvr-size BYTES     size of the QVR EEPROM (default 256)\n"
         "  --paced              answer at the pace of a 2400-baud line\n"
         "  --silent             hear everything, answer nothing\n"
         "  --not-attached       no radio on the cable\n"
         "  --garble-block K     garble the checksum of answer block K once\n"
         "  --garble-always      ... every time it is asked for\n"
         "  --stop-after N       answer N requests, then stay silent\n"
         "  --drop-after N       the cable comes off after N records\n"
         "  --cut-block K        the answer stops in the middle, at block K\n"
         "  --pause-block K      the answer pauses 2 s in the middle, at block K\n"
         "  --stray-after K      one stray character follows the answer of block K\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tallisk::sim;
  if (argc < 2) {
    Usage(std::cerr);
    return 2;
  }
  const std::string family = argv[1];
  if (family == "--help" || family == "-h") {
    Usage(std::cout);
    return 0;
  }
  bool blank = false;
  std::string load, save;
  std::size_t qvrSize = VirtualRadioQVR::kDefaultEepromSize;
  Misbehaviour misbehave;
  bool paced = false;
  try {
    for (int i = 2; i < argc; ++i) {
      const std::string arg = argv[i];
      auto value = [&]() -> std::string {
        if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
        return argv[++i];
      };
      if (arg == "--eeprom")
        load = value();
      else if (arg == "--blank")
        blank = true;
      else if (arg == "--help" || arg == "-h") {
        Usage(std::cout);
        return 0;
      } else if (arg == "--save")
        save = value();
      else if (arg == "--qvr-size")
        qvrSize = std::stoul(value());
      else if (arg == "--paced")
        paced = true;
      else if (arg == "--silent")
        misbehave.Silent = true;
      else if (arg == "--not-attached")
        misbehave.NotAttached = true;
      else if (arg == "--garble-block")
        misbehave.GarbleBlock = std::stoi(value());
      else if (arg == "--garble-always")
        misbehave.GarbleAlways = true;
      else if (arg == "--stop-after")
        misbehave.StopAnsweringAfter = std::stoi(value());
      else if (arg == "--drop-after")
        misbehave.DropLineAfter = std::stoi(value());
      else if (arg == "--cut-block")
        misbehave.CutBlock = std::stoi(value());
      else if (arg == "--pause-block")
        misbehave.PauseBlock = std::stoi(value());
      else if (arg == "--stray-after")
        misbehave.StrayAfterBlock = std::stoi(value());
      else
        throw std::invalid_argument("unknown option " + arg);
    }
  } catch (const std::exception& e) {
    std::cerr << "tallisk-radiosim: " << e.what() << "\n";
    Usage(std::cerr);
    return 2;
  }

  std::unique_ptr<VirtualRadio> radio;
  if (family == "qvr") {
    radio = std::make_unique<VirtualRadioQVR>(qvrSize);
  } else if (family == "km2") {
    radio = std::make_unique<VirtualRadioKM2>();
  } else {
    Usage(std::cerr);
    return 2;
  }
  if (load.empty() && !blank) {
    const auto sample = tallisk::SampleProgramming(family == "km2" ? tallisk::RadioFamily::KM2
                                                                   : tallisk::RadioFamily::QVR);
    std::error_code error;
    if (std::filesystem::is_regular_file(sample, error)) load = sample.string();
  }
  radio->Paced = paced;
  radio->Misbehave = misbehave;

  try {
    if (!load.empty()) radio->LoadEeprom(load);
    PtyServer server(*radio);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << server.DevicePath() << std::endl;
    server.Run(stopRequested);
    if (!save.empty()) radio->SaveEeprom(save);
  } catch (const tallisk::TalliskError& e) {
    std::cerr << "tallisk-radiosim: " << e.Description() << "\n";
    return 1;
  }
  return 0;
}
