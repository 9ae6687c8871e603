// The main window's programming as an image and back: what a read, a loaded file and the
// byte editor show, and what a write, a save and the byte editor build.

#include "files/StartupFiles.h"
#include "tallisk/errors.h"
#include "ui/ImageModel.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"
#include "ui/frmManualEdit.h"

namespace tallisk {

namespace {

constexpr char kReadDataFailed[] = "Following error has occured while reading data";
constexpr char kManualBuildFailed[] =
    "Following error has occured while building the image for manual editing:";

std::string FailureText(const std::string& leadIn, const TalliskError& e) {
  return leadIn + "\r" + e.Description() + " #" + std::to_string(e.Number());
}

}  // namespace

bool frmMain::ShowImageQVR(const std::string& image) {
  return TakeImage(image, true);
}

bool frmMain::ShowImageKM2(const std::string& image) {
  return TakeImage(image, true);
}

bool frmMain::TakeImage(const std::string& image, bool openPage2) {
  DecodedImage decoded;
  try {
    if (!Operator || !Operator->RadioData)
      RaiseInvalidArgument("ShowImage", "The radio profiles are not loaded");
    decoded = DecodeImage(RadioType, image, *Operator);
  } catch (const TalliskError& e) {
    dialogs_.Message("", FailureText(kReadDataFailed, e), MessageIcon::None, MessageButtons::OK);
    return false;
  }

  // The whole image has been decoded: now it replaces the programming in memory.
  const bool km2 = RadioType == 1;
  RadioHeader = std::move(decoded.RadioHeader);
  ModelProfile = decoded.ModelProfile;
  Channels = std::move(decoded.Channels);
  ChannelCount = ModelProfile->NumberOfChannels;
  if (decoded.BandProfile) BandProfile = decoded.BandProfile;
  if (km2) {
    KM2Tail = std::move(decoded.KM2Tail);
    tailFromRadio_ = true;
    Groups = std::move(decoded.Groups);
    ChannelGroupTable = std::move(decoded.ChannelGroupTable);
  }
  origin_ = std::move(decoded.Origin);

  try {
    const std::string model = km2 ? Trim(RadioHeader.ModelName) : ModelProfile->Model;
    ApplyModelDefaults(model);
    ModelProfile = decoded.ModelProfile;
    // Selecting the model read is no change of model: no question.
    const bool fromRadio = ModelFromRadio;
    ModelFromRadio = false;
    if (!km2) lstRadios.SelectText(ModelProfile->Model, true);
    ModelFromRadio = openPage2 || fromRadio;
    ShowRadioSettings();

    InitChannelPage();
    if (Channels.Count() >= 1) ShowChannel(Channels.Item(1));
    ChannelsBuilt = true;
    if (km2) ShowGroup(Groups.Item(1));
  } catch (const TalliskError& e) {
    dialogs_.Message("", FailureText(kReadDataFailed, e), MessageIcon::None, MessageButtons::OK);
  }

  if (openPage2) {
    PageAtIndex(CurrentPage).SetVisible(false);
    CurrentPage = 2;
    ShowNavigation(true);
    GoToPage(2);
  }
  // A programming read or loaded starts a history of its own.
  undo_.Reset();
  if (!decoded.BandKnown)
    dialogs_.Inform(FamilyTitle(),
                    "The radio profiles know no band with this radio's band settings, so its "
                    "channels cannot be shown. They are kept as they were read and go back to the "
                    "radio unchanged unless you edit them.");
  return true;
}

bool frmMain::BuildWindowImage(std::int32_t family, const FailureReport& report, std::string& part1,
                               std::string& part2) {
  if (family == 1 && KM2Tail.empty()) {
    dialogs_.Inform("KM2 Radio Programmer", kNoKM2TailMessage);
    return false;
  }
  // The codecs fill in what they derive from the settings, which is no change of the user's.
  undo_.Commit();
  struct Rebase {
    UndoStack& undo;
    ~Rebase() { undo.Rebase(); }
  } rebase{undo_};
  try {
    const ImageSource source{
        family,  RadioHeader,       Channels, ChannelCount,
        Groups,  ChannelGroupTable, KM2Tail,  ModelProfile ? ModelProfile->Model : std::string(),
        &origin_};
    BuiltImage built = BuildImage(source);
    // A wrong size has been reported by the library; such an image goes nowhere.
    if (!built.Whole) return false;
    KeepUnchanged(source, origin_, built);
    part1 = std::move(built.Part1);
    part2 = std::move(built.Part2);
    return true;
  } catch (const TalliskError& e) {
    report(e);
    return false;
  }
}

void frmMain::ManualPressed() {
  if (RadioType != 1) return;
  std::string image, unused;
  const FailureReport report = [this](const TalliskError& e) {
    dialogs_.Message("", FailureText(kManualBuildFailed, e), MessageIcon::None, MessageButtons::OK);
  };
  if (!BuildWindowImage(1, report, image, unused)) return;
  frmManualEdit editor(dialogs_, image);
  dialogs_.RunModal(editor);
  if (!editor.Result) return;
  TakeImage(editor.ImageText(), false);
}

}  // namespace tallisk
