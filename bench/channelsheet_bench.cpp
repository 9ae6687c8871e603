// The channel sheet of a 320-channel KM2 programming: built and shown on the offscreen
// platform, a paste of 320 rows through the channel page's checks, and the undo of it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>

#include "BenchDialogs.h"
#include "ui/ChannelSheet.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"
#include "ui/qt/ChannelSheetWindow.h"

namespace {

using namespace tallisk;

using QuietDialogs = bench::BenchDialogs;

// A new KM2 programming of a 52-3711A on the Finish page: 320 channels.
struct Km2Window {
  std::filesystem::path root = std::filesystem::temp_directory_path() /
                               ("tallisk-bench-sheet-" + std::to_string(::getpid()));
  QuietDialogs dialogs;
  std::unique_ptr<frmMain> window;

  Km2Window() {
    ProgramFolders folders{root / "install", root / "config", root / "state"};
    std::filesystem::create_directories(folders.Installation);
    std::ofstream(folders.Installation / "control.txt") << "KM2=TRUE\r\n";
    std::ofstream(folders.Installation / "km2.clr") << std::string(16384, 'F');
    std::ofstream(folders.Installation / "tmphelp.thp") << "Type the model number.";
    window = std::make_unique<frmMain>(dialogs, folders);
    window->btnProgramRadio.Press();
    window->txtModelNumber.SetText("52-3711A");
    window->btnFinish.Press();
  }
  ~Km2Window() {
    window.reset();
    std::filesystem::remove_all(root);
  }
};

// Every channel named, with receive and transmit frequencies on the band's raster.
std::string Rows(double offsetMHz) {
  std::string rows;
  for (int n = 1; n <= 320; ++n) {
    const std::string mhz = FrequencyText(480 + offsetMHz + 0.0125 * n, false);
    rows += "C" + std::to_string(n) + "\t" + mhz + "\tCTCSS\t71.9\t" + mhz + "\tDCS\t+23\n";
  }
  return rows;
}

QApplication& OffscreenApp() {
  static int argc = 1;
  static char name[] = "tallisk_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void BM_ChannelSheetKm2BuiltAndShown(benchmark::State& state) {
  OffscreenApp();
  Km2Window km2;
  ChannelSheet filler(*km2.window);
  filler.Paste(0, 1, Rows(0));
  for (auto _ : state) {
    ChannelSheet sheet(*km2.window);
    qt::ChannelSheetWindow window(sheet);
    window.show();
    // Everything a screen would show, painted.
    benchmark::DoNotOptimize(window.grab());
  }
}
BENCHMARK(BM_ChannelSheetKm2BuiltAndShown)->Unit(benchmark::kMillisecond);

void BM_ChannelSheetKm2Paste320Rows(benchmark::State& state) {
  Km2Window km2;
  ChannelSheet sheet(*km2.window);
  const std::string blocks[] = {Rows(0), Rows(1)};
  int turn = 0;
  for (auto _ : state) {
    const SheetResult result = sheet.Paste(0, 1, blocks[turn++ % 2]);
    if (!result.Applied) state.SkipWithError(result.Text().c_str());
  }
}
BENCHMARK(BM_ChannelSheetKm2Paste320Rows)->Unit(benchmark::kMillisecond);

void BM_ChannelSheetKm2UndoOf320RowPaste(benchmark::State& state) {
  Km2Window km2;
  ChannelSheet sheet(*km2.window);
  const std::string block = Rows(0);
  for (auto _ : state) {
    state.PauseTiming();
    sheet.Paste(0, 1, block);
    state.ResumeTiming();
    if (!sheet.Undo()) state.SkipWithError("nothing to undo");
  }
}
BENCHMARK(BM_ChannelSheetKm2UndoOf320RowPaste)->Unit(benchmark::kMillisecond);

}  // namespace
