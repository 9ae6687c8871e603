#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "BenchDialogs.h"
#include "ui/frmMain.h"

namespace {

using namespace tallisk;

// Start-up shows nothing when all is well; anything asked is answered No.
using SilentDialogs = bench::BenchDialogs;

ProgramFolders ScratchInstallation(const std::string& control) {
  const auto root = std::filesystem::temp_directory_path() /
                    ("tallisk-bench-start-" + std::to_string(::getpid()));
  ProgramFolders folders{root / "install", root / "config", root / "state"};
  std::filesystem::create_directories(folders.Installation);
  std::ofstream(folders.Installation / "control.txt") << control;
  std::ofstream(folders.Installation / "km2.clr") << std::string(16384, 'F');
  std::ofstream(folders.Installation / "tmphelp.thp") << "Type the model number.";
  return folders;
}

// The toolkit-free part of "program start to start page shown": the main window's whole
// start-up (start-up files, data model, the starting family's profiles and tone table,
// the start page). The window's end (saving qvr.dat) is not part of it.
void StartUp(benchmark::State& state, const std::string& control) {
  const ProgramFolders folders = ScratchInstallation(control);
  SilentDialogs dialogs;
  for (auto _ : state) {
    auto window = std::make_unique<frmMain>(dialogs, folders);
    benchmark::DoNotOptimize(window->lstRadios.Count());
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove_all(folders.Installation.parent_path());
}

void BM_MainWindowStartUpQvr(benchmark::State& state) {
  StartUp(state, "QVR=TRUE\r\nKM2=TRUE\r\n");
}
BENCHMARK(BM_MainWindowStartUpQvr)->Unit(benchmark::kMillisecond);

void BM_MainWindowStartUpKM2(benchmark::State& state) {
  StartUp(state, "KM2=TRUE\r\n");
}
BENCHMARK(BM_MainWindowStartUpKM2)->Unit(benchmark::kMillisecond);

}  // namespace
