// The seed corpus of the radio file fuzzers: radio files as the program itself saves them,
// made by walking new programmings through the main window's pages, so the fuzzers start
// from the layouts the program really reads. Usage: tallisk_fuzz_seeds <folder>; writes
// <folder>/qvr and <folder>/km2.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzBench.h"

namespace tallisk::fuzz {
namespace {

namespace fs = std::filesystem;

struct Seed {
  std::int32_t family;
  std::string model;      // the list entry (QVR) or the typed model number (KM2)
  std::string frequency;  // the first channel's, both ways; empty leaves every channel unused
  std::string file;
};

const Seed kSeeds[] = {
    {0, "UHF Low A 403-423 MHz 16 Ch", "410.025", "qvr/uhf-16ch.qvr"},
    {0, "UHF Low A 403-423 MHz 8 Ch", "", "qvr/uhf-8ch-unused.qvr"},
    {1, "52-3711A", "480.0125", "km2/52-3711A.km2"},
    {1, "52-1111A", "", "km2/52-1111A-unused.km2"},
};

bool Make(const Seed& seed, const fs::path& folder) {
  Bench bench(seed.family);
  frmMain& w = *bench.Window;
  w.btnProgramRadio.Press();
  if (seed.family == 1) {
    w.txtModelNumber.SetText(seed.model);
  } else if (w.lstRadios.SelectText(seed.model) < 0) {
    std::fprintf(stderr, "tallisk_fuzz_seeds: no model %s\n", seed.model.c_str());
    return false;
  }
  for (int steps = 0; steps < 20 && w.CurrentPage != 5; ++steps) w.btnNext.Press();
  if (!seed.frequency.empty()) {
    for (TextField* field : {&w.ReceiveChannelFreq, &w.txtTransmitChannelFreq}) {
      field->SetText(seed.frequency);
      field->Leave();
    }
  }
  w.btnFinish.Press();
  const fs::path file = folder / seed.file;
  fs::create_directories(file.parent_path());
  if (w.CurrentPage != 6 || !w.SaveRadioFile(file.string())) {
    std::fprintf(stderr, "tallisk_fuzz_seeds: %s was not saved: %s\n", seed.file.c_str(),
                 bench.Dialogs.Last.c_str());
    return false;
  }
  return true;
}

}  // namespace
}  // namespace tallisk::fuzz

int main(int argc, char* argv[]) {
  using namespace tallisk::fuzz;
  if (argc != 2) {
    std::fprintf(stderr, "usage: tallisk_fuzz_seeds <folder>\n");
    return 2;
  }
  const fs::path folder = argv[1];
  for (const Seed& seed : kSeeds)
    if (!Make(seed, folder)) return 1;
  // A KM2 read dump: the image and the 160 bytes more that a read brings.
  std::ifstream image(folder / "km2/52-3711A.km2", std::ios::binary);
  const std::string digits{std::istreambuf_iterator<char>(image), {}};
  std::ofstream(folder / "km2/read-dump.km2", std::ios::binary) << digits << std::string(320, 'F');
  return 0;
}
