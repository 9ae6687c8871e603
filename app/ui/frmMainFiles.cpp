// Radio files: the programming in memory saved to a file, and a file loaded into it.

#include "files/FileError.h"
#include "files/RadioFile.h"
#include "ui/PageText.h"
#include "ui/frmHistory.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr char kSaveFailed[] = "Unable to save file because a following error has occured: ";
constexpr char kLoadFailed[] = "Unable to load file because a following error has occured: ";

std::string FileFilter(std::int32_t radioType) {
  return radioType == 1 ? "KM2 Radio Files|*.km2" : "QVR Radio Files|*.qvr";
}

}  // namespace

void frmMain::SaveToFilePressed() {
  const auto path = dialogs_.SaveFile({"Save File As...", FileFilter(RadioType), true, false});
  if (!path) return;
  if (SaveRadioFile(*path)) dialogs_.Inform("QVR Radio Programmer", "File Saved");
}

bool frmMain::SaveRadioFile(const std::string& path) {
  return RadioType == 1 ? SaveRadioFileKM2(path) : SaveRadioFileQVR(path);
}

namespace {

// Builds the family's image and writes it; every failure is told with the save's lead-in.
template <class Build>
bool SaveImage(Dialogs& dialogs, const std::string& path, RadioFamily family, Build build) {
  const auto report = [&dialogs](const TalliskError& e) {
    dialogs.Message(
        "", kSaveFailed + std::string("\r") + e.Description() + " #" + std::to_string(e.Number()),
        MessageIcon::None, MessageButtons::OK);
  };
  std::string part1, part2;
  if (!build(report, part1, part2)) return false;
  try {
    WriteRadioFile(path, family, part1, part2);
    return true;
  } catch (const TalliskError& e) {
    report(e);
    return false;
  }
}

}  // namespace

bool frmMain::SaveRadioFileQVR(const std::string& path) {
  return SaveImage(dialogs_, path, RadioFamily::QVR,
                   [this](const FailureReport& report, std::string& part1, std::string& part2) {
                     return BuildWindowImage(0, report, part1, part2);
                   });
}

bool frmMain::SaveRadioFileKM2(const std::string& path) {
  return SaveImage(dialogs_, path, RadioFamily::KM2,
                   [this](const FailureReport& report, std::string& part1, std::string& part2) {
                     return BuildWindowImage(1, report, part1, part2);
                   });
}

void frmMain::LoadFilePressed() {
  const auto path = dialogs_.OpenFile({"Load Radio File...", FileFilter(RadioType), false, true});
  if (path) LoadFile(*path);
}

void frmMain::OpenHistory() {
  const History history(folders_.State / "history");
  frmHistory window(dialogs_, history);
  dialogs_.RunModal(window);
  if (!window.Opened) return;
  // A programming of the other family is opened as that family's.
  const auto family = static_cast<std::int32_t>(window.Chosen.Family);
  if (family != RadioType) {
    cmbRadioType.Select(family);
    SelectRadioFamily(family);
  }
  LoadFile(window.ChosenFile.string());
}

bool frmMain::LoadFile(const std::string& file) {
  std::string image;
  try {
    // Only a programming of the family gets as far as the pages.
    image = ReadRadioFile(file, static_cast<RadioFamily>(RadioType));
  } catch (const FileError& e) {
    if (e.Reason()) {
      dialogs_.Message(
          "", kLoadFailed + std::string("\r") + e.Description() + " #" + std::to_string(e.Number()),
          MessageIcon::None, MessageButtons::OK);
    } else {
      dialogs_.Inform(FamilyTitle(), e.Description());
    }
    return false;
  }
  return RadioType == 1 ? ShowImageKM2(image) : ShowImageQVR(image);
}

bool frmMain::OpenNamedFile(const std::string& path) {
  if (const auto family = RadioFileFamily(path)) {
    const auto type = static_cast<std::int32_t>(*family);
    if (type != RadioType) {
      cmbRadioType.Select(type);
      SelectRadioFamily(type);
    }
  }
  return LoadFile(path);
}

std::optional<ProgrammingParts> frmMain::CurrentProgramming() {
  ProgrammingParts parts;
  const auto report = [this](const TalliskError& e) {
    dialogs_.Message("", e.Description() + " #" + std::to_string(e.Number()), MessageIcon::None,
                     MessageButtons::OK);
  };
  std::string part1, part2;
  if (!BuildWindowImage(RadioType, report, part1, part2)) return std::nullopt;
  parts.Family = static_cast<RadioFamily>(RadioType);
  parts.Image = part1 + part2;
  parts.Model = RadioType == 1 ? Trim(RadioHeader.ModelName)
                               : (ModelProfile ? ModelProfile->Model : std::string());
  parts.Settings = RadioHeader;
  for (std::int32_t n = 1; n <= ChannelCount && n <= Channels.Count(); ++n)
    parts.Channels.push_back(Channels.Item(n));
  if (RadioType == 1) {
    parts.Groups.assign(Groups.begin(), Groups.end());
    parts.ChannelGroups.assign(ChannelGroupTable.begin(), ChannelGroupTable.end());
  }
  return parts;
}

void frmMain::TakeFields(const ProgrammingParts& parts) {
  RadioHeader = parts.Settings;
  for (std::size_t i = 0; i < parts.Channels.size(); ++i)
    Channels.Item(static_cast<std::int32_t>(i) + 1) = parts.Channels[i];
  if (RadioType == 1) {
    for (std::size_t i = 0; i < parts.Groups.size(); ++i)
      Groups.Item(static_cast<std::int32_t>(i) + 1) = parts.Groups[i];
    for (std::size_t i = 0; i < parts.ChannelGroups.size(); ++i)
      ChannelGroupTable.Item(static_cast<std::int32_t>(i) + 1) = parts.ChannelGroups[i];
  }
  // The pages show what was taken, and count it as shown, not as edited there.
  ShowRadioSettings();
  if (CurrentChannel >= 1 && CurrentChannel <= Channels.Count())
    ShowChannel(Channels.Item(CurrentChannel));
  if (RadioType == 1 && CurrentGroup >= 1 && CurrentGroup <= Groups.Count())
    ShowGroup(Groups.Item(CurrentGroup));
}

}  // namespace tallisk
