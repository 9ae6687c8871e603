// The KM2 read and write of the whole program: the main window's commands, from the press to
// the window being done (logs, read dump, decoding, the pages filled), against a virtual radio
// paced at 2400 baud on a virtual clock. virtual_s is how long the technician waits, line_s
// the pure line time of the characters that crossed the cable (10 bits a character), x_line
// their ratio; the benchmark's own time is what the program costs the processor meanwhile.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "BenchDialogs.h"
#include "files/ProgramPaths.h"
#include "ports/VirtualRadioPort.h"
#include "sim/VirtualRadioKM2.h"
#include "ui/frmMain.h"

namespace {

using namespace tallisk;
namespace fs = std::filesystem;

// "Write the programming to the radio?" is the only question these runs meet.
struct QuietDialogs : bench::BenchDialogs {
  QuietDialogs() : BenchDialogs(MessageAnswer::Yes) {}
};

// A KM2 window on a paced radio that holds the installation's km2.clr programming.
struct WindowOnRadio {
  WindowOnRadio() {
    root = fs::temp_directory_path() / ("tallisk-bench-transfer-" + std::to_string(::getpid()));
    folders = {root / "install", root / "config", root / "state"};
    fs::create_directories(folders.Installation);
    for (const char* name : {"control.txt", "km2.clr", "tmphelp.thp"})
      fs::copy_file(InstallDataFolder() / name, folders.Installation / name,
                    fs::copy_options::overwrite_existing);
    radio.LoadEeprom(folders.Installation / "km2.clr");
    radio.Paced = port.Line().Paced = true;
    window = std::make_unique<frmMain>(dialogs, folders);
    window->cmbRadioType.Select(1);
    window->cmbRadioType.Leave();
    window->Options->UseReadLog = window->Options->UseWriteLog = true;
    window->UseLink(port, clock, pump);
  }
  ~WindowOnRadio() {
    window.reset();
    fs::remove_all(root);
  }

  void Mark() {
    start = clock.Now();
    chars = port.Line().CharactersWritten() + port.Line().CharactersRead();
  }
  void Report(benchmark::State& s) {
    // Until the window was done and the radio had every character written to it.
    const auto end = std::max(clock.Now(), port.Line().TransmitDoneAt());
    const double virtualSeconds = std::chrono::duration<double>(end - start).count();
    const auto crossed = port.Line().CharactersWritten() + port.Line().CharactersRead() - chars;
    const double lineSeconds = static_cast<double>(crossed) * 10.0 / 2400.0;
    s.counters["virtual_s"] = virtualSeconds;
    s.counters["line_s"] = lineSeconds;
    s.counters["x_line"] = virtualSeconds / lineSeconds;
    s.counters["chars"] = static_cast<double>(crossed);
  }

  fs::path root;
  ProgramFolders folders;
  QuietDialogs dialogs;
  VirtualClock clock;
  sim::VirtualRadioKM2 radio;
  VirtualRadioPort port{radio, clock};
  NoEventPump pump;
  std::unique_ptr<frmMain> window;
  Clock::Nanos start{};
  std::uint64_t chars = 0;
};

void BM_WindowKM2Read(benchmark::State& s) {
  for (auto _ : s) {
    s.PauseTiming();
    WindowOnRadio b;
    b.Mark();
    s.ResumeTiming();
    b.window->btnReadRadio.Press();
    s.PauseTiming();
    if (b.window->CurrentPage != 2) s.SkipWithError("the read did not reach page 2");
    b.Report(s);
    s.ResumeTiming();
  }
}

// With the read-back (the default) and, for comparison, without: x_line is the time taken
// over the time the characters of the write and of the read-back need on the line.
void BM_WindowKM2Write(benchmark::State& s) {
  for (auto _ : s) {
    s.PauseTiming();
    WindowOnRadio b;
    b.window->Options->VerifyAfterWrite = s.range(0) != 0;
    b.window->btnReadRadio.Press();
    b.window->btnFinish.Press();
    b.Mark();
    s.ResumeTiming();
    b.window->btnWriteToRadio.Press();
    s.PauseTiming();
    if (b.radio.DataRecordsStored() != 256) s.SkipWithError("the write did not finish");
    b.Report(s);
    s.ResumeTiming();
  }
}

BENCHMARK(BM_WindowKM2Read)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowKM2Write)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
