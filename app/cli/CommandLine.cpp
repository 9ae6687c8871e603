// The commands of the program that need no window: its version, where its files live, and
// the programming image of a QVR radio built from default settings, as it would go to a radio.

#include "cli/CommandLine.h"

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <string>
#include <string_view>

#include "files/ProgramPaths.h"
#include "files/StartupFiles.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/errors.h"
#include "tallisk/version.h"

namespace tallisk {

namespace {

namespace fs = std::filesystem;

void Row(const std::string& name, const std::string& what) {
  std::cout << "  " << std::left << std::setw(18) << name << what << "\n";
}

std::string UserFile(const fs::path& file) {
  std::error_code error;
  return fs::exists(file, error) ? "present" : "not written yet";
}

// What the program reads from each installation file, or that it is missing. Returns
// false when one is missing or unusable.
bool ShowInstallationFiles() {
  bool complete = true;
  auto present = [&](const fs::path& file) {
    std::error_code error;
    if (fs::is_regular_file(file, error)) return true;
    Row(file.filename().string(), "MISSING");
    complete = false;
    return false;
  };
  if (present(ControlFile())) {
    const FamilyConfiguration families = ReadFamilyConfiguration(ControlFile());
    std::string offered = families.QvrEnabled && families.Km2Enabled ? "QVR and KM2"
                          : families.QvrEnabled                      ? "QVR only"
                                                                     : "KM2 only";
    Row(kControlFileName, "offers " + offered);
  }
  if (present(KM2TailFile())) {
    const std::string tail = ReadKM2Tail(KM2TailFile());
    if (tail.empty()) complete = false;
    Row(kKM2TailFileName, tail.empty()
                              ? "UNUSABLE (not a KM2 image)"
                              : "KM2 image tail of " + std::to_string(tail.size()) + " hex digits");
  }
  if (present(ModelHelpFile())) {
    Row(kModelHelpFileName,
        std::to_string(ReadModelHelp(ModelHelpFile()).size()) + " characters of KM2 model help");
  }
  if (present(ProfileDatabaseFile())) {
    try {
      clsOperator qvr, km2;
      qvr.LoadProfiles();
      km2.LoadProfilesKM2();
      Row(kProfileDatabaseFileName, std::to_string(qvr.RadioData->Count()) + " QVR and " +
                                        std::to_string(km2.RadioData->Count()) + " KM2 models");
    } catch (const TalliskError& e) {
      Row(kProfileDatabaseFileName, "UNUSABLE: " + e.Description());
      complete = false;
    }
  }
  return complete;
}

int ShowPaths() {
  std::cout << "Installation files  " << InstallDataFolder().string() << "\n";
  const bool complete = ShowInstallationFiles();
  std::cout << "User configuration  " << UserConfigFolder().string() << "\n";
  Row(kOptionsFileName, UserFile(OptionsFile()));
  Row(kPortsFileName, UserFile(UserConfigFolder() / kPortsFileName));
  std::cout << "User state          " << UserStateFolder().string() << "\n";
  Row(kReadLogFileName, UserFile(ReadLogFile()));
  Row(kWriteLogFileName, UserFile(WriteLogFile()));
  Row(kReadDumpFileName, UserFile(ReadDumpFile()));
  return complete ? 0 : 1;
}

int ShowDefaultImage() {
  try {
    clsRadioHeader header;
    header.CreateRadioHeader();
    clsStringCreator creator;
    creator.RadioHeader = header.RadioHeader;
    for (int n = 0; n < 16; ++n) {
      clsChannel channel;  // unused: erased record
      channel.CreateChannelData();
      creator.colChannelData.Add(channel.ChannelData);
    }
    creator.CreateString();
    std::cout << "QVR image from default settings (16 unused channels):\n"
              << creator.ProgrammingStringPart1 << creator.ProgrammingStringPart2;
  } catch (const TalliskError& e) {
    std::cerr << e.Description() << " #" << e.Number() << "\n";
    return 1;
  }
  return 0;
}

constexpr char kUsage[] =
    "usage: tallisk [--quit-after-start | --paths | --version | --default-image]\n"
    "  (none)              open the programming window\n"
    "  --quit-after-start  open it and end as soon as the start page is drawn\n"
    "  --paths             where the program's files live, and whether the installation's\n"
    "                      own files are there (exit status 1 when one is missing or unusable)\n"
    "  --version           the program's version\n"
    "  --default-image     the programming image of a QVR radio from default settings\n";

}  // namespace

std::optional<int> RunCommandLine(int argc, char* argv[]) {
  if (argc < 2) return std::nullopt;
  const std::string_view option = argv[1];
  if (argc == 2 && option == "--paths") return ShowPaths();
  if (argc == 2 && option == "--version") {
    std::cout << "Tallisk " << LibraryVersion() << "\n";
    return 0;
  }
  if (argc == 2 && option == "--default-image") return ShowDefaultImage();
  if (option == "--help" || option == "-h") {
    std::cout << kUsage;
    return 0;
  }
  return std::nullopt;
}

void PrintUsage() {
  std::cerr << kUsage;
}

}  // namespace tallisk
