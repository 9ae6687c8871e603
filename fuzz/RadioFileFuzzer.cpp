// Radio files of one family (TALLISK_FUZZ_FAMILY: 0 QVR, 1 KM2) as a technician may hand
// them to the program: anything at all. Every input goes the way of a loaded file twice:
//
//  - straight through the image model, without the pages: the loader, DecodeImage, BuildImage
//    and the loader again. The file is refused, or the programming it gives saves to the
//    image it was loaded from, and that saved file loads and saves to itself.
//  - through the main window's own commands: "Load A File", the pages filled from it, the
//    save, and the saved file loaded again.
//
// Nothing may escape but the program's own refusals; a difference aborts with the bytes that
// differ. TALLISK_FUZZ_SAME_IMAGE=0 leaves out the comparison with the loaded file (the
// saved file must still load and save to itself), for runs that look for other faults while
// a known difference is being mended.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzBench.h"
#include "files/FileError.h"
#include "files/RadioFile.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"
#include "ui/ImageModel.h"

namespace tallisk::fuzz {
namespace {

constexpr std::int32_t kFamily = TALLISK_FUZZ_FAMILY;
constexpr RadioFamily kRadioFamily = static_cast<RadioFamily>(kFamily);

Bench& TheBench() {
  // Never destroyed: libFuzzer ends the process from wherever it likes. Its scratch folder
  // goes at the end of a run.
  static Bench* bench = [] {
    auto* made = new Bench(kFamily);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(TheBench().Folder, ignored);
    });
    return made;
  }();
  return *bench;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "\n*** radio file fuzzer: %s\n", what.c_str());
  std::abort();
}

// The image bytes a radio file carries, as hex digits: QVR the data of its S1 lines, KM2 the
// image without the 320 digits more of a read dump.
std::string ImageDigits(const std::string& text) {
  if (kFamily == 1) return text.substr(0, kKM2ImageDigits);
  std::string digits;
  for (std::size_t line = 0; line + 26 <= text.size(); line += 28)
    digits += text.substr(line + 8, 16);
  return digits;
}

// "001A: 3F -> 40, 0020: FF -> 00" for the first bytes that differ where both images have
// bytes; empty when they agree there. A file shorter than the model's image loads its missing
// channels as unused, a longer QVR file's extra lines are not part of a programming.
std::string Difference(const std::string& before, const std::string& after) {
  std::string listed;
  int shown = 0;
  for (std::size_t i = 0; i + 1 < before.size() && i + 1 < after.size(); i += 2) {
    if (before.compare(i, 2, after, i, 2) == 0) continue;
    if (++shown > 8) {
      listed += ", ...";
      break;
    }
    if (!listed.empty()) listed += ", ";
    listed += ToHex(i / 2, 4) + ": " + before.substr(i, 2) + " -> " + after.substr(i, 2);
  }
  return listed;
}

// The loaded image decoded and built again as a save builds it; nothing when the decode
// refuses it (the window then says why and keeps its programming).
std::optional<std::string> SavedImage(const std::string& image, const clsOperator& profiles) {
  DecodedImage d;
  try {
    d = DecodeImage(kFamily, image, profiles);
  } catch (const TalliskError&) {
    return std::nullopt;
  }
  try {
    const ImageSource source{
        kFamily,  d.RadioHeader,       d.Channels, d.ModelProfile->NumberOfChannels,
        d.Groups, d.ChannelGroupTable, d.KM2Tail,  d.ModelProfile->Model,
        &d.Origin};
    BuiltImage built = BuildImage(source);
    if (!built.Whole) Fail("the loaded programming does not build a whole image");
    KeepUnchanged(source, d.Origin, built);
    return built.Part1 + built.Part2;
  } catch (const TalliskError& e) {
    Fail("the loaded programming cannot be saved: " + e.Description() + " #" +
         std::to_string(e.Number()));
  }
}

bool AllHexDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
  });
}

bool SameImageChecked() {
  const char* setting = std::getenv("TALLISK_FUZZ_SAME_IMAGE");
  return setting == nullptr || std::string(setting) != "0";
}

// True when the file was taken.
bool ThroughTheImageModel(const std::string& text, const clsOperator& profiles) {
  std::string image;
  try {
    image = CheckRadioFileText(text, kRadioFamily, "input");
  } catch (const FileError&) {
    return false;
  }
  const std::optional<std::string> saved = SavedImage(image, profiles);
  if (!saved) return false;

  if (SameImageChecked()) {
    if (const std::string d = Difference(ImageDigits(image), ImageDigits(*saved)); !d.empty())
      Fail("saving the loaded programming changes the image: " + d);
  }
  std::string reloaded;
  try {
    reloaded = CheckRadioFileText(*saved, kRadioFamily, "saved");
  } catch (const FileError& e) {
    Fail("the saved file is refused: " + e.Description());
  }
  const std::optional<std::string> again = SavedImage(reloaded, profiles);
  if (!again) Fail("the saved file does not decode");
  if (*again != *saved)
    Fail("loading the saved file and saving it again changes the image: " +
         Difference(*saved, *again) + " (" + std::to_string(saved->size()) + " -> " +
         std::to_string(again->size()) + " digits)");
  return true;
}

// Loads the file through "Load A File"; true when the window took it.
bool Load(Bench& bench, const std::filesystem::path& file) {
  frmMain& w = *bench.Window;
  // A load that is taken marks the programming as the radio's.
  w.ModelFromRadio = false;
  const int shown = bench.Dialogs.Shown;
  bench.Dialogs.File = file.string();
  w.btnLoadFile.Press();
  if (!w.ModelFromRadio && bench.Dialogs.Shown == shown)
    Fail("the window neither took the file nor said why");
  return w.ModelFromRadio;
}

void ThroughTheWindow(const std::string& text, bool taken) {
  Bench& bench = TheBench();
  const auto input = bench.Folder / (kFamily == 1 ? "input.km2" : "input.qvr");
  const auto output = bench.Folder / (kFamily == 1 ? "saved.km2" : "saved.qvr");
  std::ofstream(input, std::ios::binary | std::ios::trunc) << text;

  if (Load(bench, input) != taken)
    Fail(std::string("the window ") + (taken ? "refuses" : "takes") + " a file the image model " +
         (taken ? "takes" : "refuses") + ": " + bench.Dialogs.Last);
  if (!taken) return;
  if (!bench.Window->SaveRadioFile(output.string()))
    Fail("the window cannot save the file it loaded: " + bench.Dialogs.Last);
  if (SameImageChecked()) {
    const std::string loaded = CheckRadioFileText(text, kRadioFamily, "input");
    const std::string saved = ReadRadioFile(output, kRadioFamily);
    if (const std::string d = Difference(ImageDigits(loaded), ImageDigits(saved)); !d.empty())
      Fail("the window saves the loaded programming changed: " + d);
  }
  if (!Load(bench, output)) Fail("the window refuses the file it saved: " + bench.Dialogs.Last);
}

// Most changes to a QVR file break a line's checksum or address, and the loader rightly stops
// there. The same text with the address and checksum of every S1-shaped line made right goes
// on to the decoder and the pages with the changed bytes.
std::string WithLinesInOrder(std::string text) {
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size(); ++number) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::size_t length = end - start;
    if (length > 0 && text[start + length - 1] == '\r') --length;
    if (length == 26 && AllHexDigits(std::string_view(text).substr(start + 2, 24))) {
      text.replace(start + 4, 4, ToHex(number * 8, 4));
      text.replace(start + 24, 2, RecordCheckSum(std::string_view(text).substr(start + 2, 22)));
    }
    start = end + 1;
  }
  return text;
}

void TestOneInput(const std::string& text) {
  const clsOperator& profiles = *TheBench().Window->Operator;
  ThroughTheWindow(text, ThroughTheImageModel(text, profiles));
  if (kFamily == 0) {
    const std::string inOrder = WithLinesInOrder(text);
    if (inOrder != text) ThroughTheWindow(inOrder, ThroughTheImageModel(inOrder, profiles));
  }
}

}  // namespace
}  // namespace tallisk::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tallisk::fuzz::TheBench();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tallisk::fuzz::TestOneInput(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
