// The main window: start-up, the family and the model, the page sequence, the three
// navigation commands and the window's end.

#include "ui/frmMain.h"

#include <ctime>

#include "files/ProgramPaths.h"
#include "files/StartupFiles.h"
#include "tallisk/errors.h"
#include "ui/PageText.h"
#include "ui/frmOptions.h"

namespace tallisk {

namespace {

constexpr char kBothFamiliesTitle[] = "QVR/KM2 Radio Programmer";
constexpr char kKM2ModelTitle[] = "QV2 Radio Programmer";
constexpr char kBusyText[] =
    "The application is busy at the moment.  Please wait until the application completes its "
    "operation.";

// The library's few questions (the KM2 header read) go through the window's dialogs.
class DialogsPrompt : public UserPrompt {
 public:
  explicit DialogsPrompt(Dialogs& dialogs) : dialogs_(dialogs) {}
  void ShowMessage(const std::string& text, const std::string& title) override {
    dialogs_.Message(title, text, MessageIcon::Information, MessageButtons::OK);
  }
  bool AskYesNo(const std::string& text, const std::string& title, bool) override {
    return dialogs_.Message(title, text, MessageIcon::Question, MessageButtons::YesNo) ==
           MessageAnswer::Yes;
  }

 private:
  Dialogs& dialogs_;
};

Date LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

ProgramFolders ProgramFolders::FromEnvironment() {
  return {InstallDataFolder(), UserConfigFolder(), UserStateFolder()};
}

std::string ApplicationTitle() {
  std::string title = "Tallisk " + std::to_string(TALLISK_VERSION_MAJOR) + "." +
                      std::to_string(TALLISK_VERSION_MINOR);
  if (TALLISK_VERSION_PATCH > 0) title += "." + std::to_string(TALLISK_VERSION_PATCH);
  return title;
}

frmMain::frmMain(Dialogs& dialogs, ProgramFolders folders, SerialDeviceSource* devices)
    : Form("frmMain", ""),
      Today(LocalToday),
      dialogs_(dialogs),
      folders_(std::move(folders)),
      devices_(devices) {
  if (devices_ == nullptr) {
    ownDevices_ = std::make_unique<DeviceFolderSerialDevices>();
    devices_ = ownDevices_.get();
  }
  previousPrompt_ = SetUserPrompt(std::make_shared<DialogsPrompt>(dialogs_));
  LayOutPages();
  ConnectReactions();
  SetUpTransfers();
  SetUpPrinting();

  ApplyInputStyles();

  const FamilyConfiguration families =
      ReadFamilyConfiguration(folders_.Installation / kControlFileName);
  Km2Enabled = families.Km2Enabled;
  QvrEnabled = families.QvrEnabled;
  RadioType = families.RadioType;
  if (!(QvrEnabled && Km2Enabled)) cmbRadioType.SetEnabled(false);

  KM2Tail = ReadKM2Tail(folders_.Installation / kKM2TailFileName);

  for (auto& page : Pages()) page->SetVisible(false);
  // The start page has no navigation strip; Stop shows only while a KM2 transfer runs.
  ShowNavigation(false);
  btnStop.SetVisible(false);
  btnCancelWriting.SetVisible(false);
  CurrentPage = 0;
  GoToPage(2);

  for (int i = 0; i < 320; ++i) ChannelGroupTable.Add(clsChannelGroup{});
  for (int i = 0; i < 16; ++i) Groups.Add(clsGroup{});
  ClearChannelGroupTable();

  RadioHeader = clsRadioHeader{};
  Options = std::make_unique<clsAppBehavior>(
      folders_.Configuration / kOptionsFileName, [this](const std::string& message) {
        dialogs_.Message("", message, MessageIcon::None, MessageButtons::OK);
      });
  ReadLog.LogFileName = (folders_.State / kReadLogFileName).string();
  WriteLog.LogFileName = (folders_.State / kWriteLogFileName).string();

  cmbRadioType.AddItem("Dorrel QVR", 0);
  cmbRadioType.AddItem("Dorrel II", 1);
  cmbRadioType.Select(RadioType);
  if (QvrEnabled) {
    cmbRadioType.Select(0);
    SelectRadioFamily(0);
  } else {
    cmbRadioType.Select(1);
    SelectRadioFamily(1);
  }

  // The pages that follow a choice start as an empty choice leaves them.
  OperationTypeChanged();
  OneTouchSelectionChanged();
  ShowAniFields();
  SignallingTypeChanged(true);
  SignallingTypeChanged(false);

  SetTitle(ApplicationTitle());

  txtModelHelp.SetText(ReadModelHelp(folders_.Installation / kModelHelpFileName));
}

frmMain::~frmMain() {
  // Saved while the window's dialogs can still report a failure.
  Options.reset();
  SetUserPrompt(previousPrompt_);
}

std::string frmMain::FamilyTitle() const {
  return RadioType == 1 ? "KM2 Radio Programmer" : "QVR Radio Programmer";
}

Page& frmMain::PageAtIndex(int index) {
  Page* page = PageAt(index);
  if (page == nullptr) RaiseInvalidArgument("frmMain.GoToPage", "No page " + std::to_string(index));
  return *page;
}

// --- Family and model ---

void frmMain::RadioTypePicked() {
  if (cmbRadioType.SelectedIndex() < 0) return;
  RadioType = cmbRadioType.SelectedIndex();
  btnTestMode.SetEnabled(true);
}

void frmMain::SelectRadioFamily(std::int32_t family) {
  RadioType = family;
  Operator = std::make_unique<clsOperator>();
  ToneTable = std::make_unique<colCTCSSFrequencies>();
  try {
    if (family == 1) {
      txtSerialNumber.MaxLength = 16;
      txtCustomer.MaxLength = 16;
      ToneTable->LoadCodesKM2();
      Operator->LoadProfilesKM2();
    } else {
      txtSerialNumber.MaxLength = 8;
      txtCustomer.MaxLength = 10;
      ToneTable->LoadCodes();
      Operator->LoadProfiles();
    }
  } catch (const TalliskError& e) {
    // Without the profile database the window still opens; the model list stays empty and
    // the technician is told why.
    dialogs_.Message(kBothFamiliesTitle,
                     "The radio profiles could not be loaded:\r" + e.Description() + " #" +
                         std::to_string(e.Number()),
                     MessageIcon::Exclamation, MessageButtons::OK);
  }
  loadedFamily_ = family;
  FillModelList();
  const bool qvr = family == 0;
  lstRadios.SetVisible(qvr);
  txtModelHelp.SetVisible(!qvr);
  cmbManual.SetVisible(!qvr);
}

void frmMain::FillModelList() {
  fillingModelList_ = true;
  lstRadios.Clear();
  if (Operator && Operator->RadioData) {
    for (const auto& profile : *Operator->RadioData) lstRadios.AddItem(profile->Model);
  }
  if (lstRadios.Count() > 0) lstRadios.Select(0);
  acceptedModelIndex_ = lstRadios.SelectedIndex();
  fillingModelList_ = false;
}

void frmMain::ModelPicked() {
  if (fillingModelList_ || revertingModel_) return;
  if (ModelFromRadio && !StopRequested) {
    const MessageAnswer answer = dialogs_.Message(
        "QVR Radio Programmer",
        "Changing of the radio model will invalidate some of the settings\r\rWould you still "
        "like to proceed?",
        MessageIcon::Question, MessageButtons::YesNo);
    if (answer == MessageAnswer::No) {
      // Put the model that was read back, without asking about that change as well.
      revertingModel_ = true;
      if (ModelProfile) {
        lstRadios.SelectText(ModelProfile->Model, true);
      } else {
        lstRadios.Select(acceptedModelIndex_);
      }
      revertingModel_ = false;
      return;
    }
    ModelFromRadio = false;
  }
  acceptedModelIndex_ = lstRadios.SelectedIndex();
}

std::string frmMain::SelectedModelText() const {
  if (RadioType == 1) return UpperCase(Trim(txtModelNumber.Text()));
  return lstRadios.Text();
}

void frmMain::StartNewProgramming() {
  ModelFromRadio = false;
  Channels.Clear();
  ChannelCount = 0;
  CurrentChannel = 0;
  ChannelsBuilt = false;
  Groups.Clear();
  CurrentGroup = 0;
  for (int i = 0; i < 16; ++i) Groups.Add(clsGroup{});
  groupOnPages_ = 0;
  RadioHeader = clsRadioHeader{};
  origin_ = {};
  GoToPage(0);
  undo_.Reset();
}

// --- Page sequence ---

void frmMain::GoToPage(int direction) {
  const bool km2 = RadioType == 1;
  auto leaveAndEnter = [&](int nextPage) {
    PageAtIndex(CurrentPage).SetVisible(false);
    // Leaving a page never blocks the move: a failure is reported and the move goes on.
    try {
      LeavePage(direction);
    } catch (const TalliskError& e) {
      dialogs_.Message(
          "",
          "Following error has occcured: " + e.Description() + "  #" + std::to_string(e.Number()),
          MessageIcon::None, MessageButtons::OK);
    }
    CurrentPage = static_cast<std::int16_t>(nextPage);
    try {
      EnterPage(direction);
    } catch (const TalliskError& e) {
      dialogs_.Message(
          "",
          "Following error has occcured: " + e.Description() + "  #" + std::to_string(e.Number()),
          MessageIcon::None, MessageButtons::OK);
    }
    PageAtIndex(CurrentPage).SetVisible(true);
  };

  if (direction == 0) {
    if (CurrentPage > 12) return;
    int next = CurrentPage + 1;
    if (km2 && CurrentPage == 2) next = 5;
    if (km2 && CurrentPage == 5) next = 7;
    if (km2 && CurrentPage == 12) next = 6;
    leaveAndEnter(next);
  } else if (direction == 1) {
    if (CurrentPage == 0) return;
    int previous = CurrentPage - 1;
    if (km2 && CurrentPage == 6) previous = 12;
    if (km2 && CurrentPage == 7) previous = 5;
    if (km2 && CurrentPage == 5) previous = 2;
    leaveAndEnter(previous);
  } else {
    PageAtIndex(CurrentPage).SetVisible(true);
  }

  if (CurrentPage == 2) ShowModelQuestions();
  if (CurrentPage == 5 && km2) {
    if (chkSpecialRadio.Checked()) {
      chkEnableScrambler.SetVisible(false);
      cmbSubsignalingType.SetVisible(false);
    } else {
      chkEnableScrambler.SetChecked(false);
      cmbSubsignalingType.SelectText("None");
      chkEnableScrambler.SetVisible(true);
      cmbSubsignalingType.SetVisible(true);
    }
    if (direction == 0) FillToneChoices();
    const int n = static_cast<int>(NumberTextValue(cmbChannelNumber.Text()));
    if (n >= 1 && n <= Channels.Count()) ShowChannel(Channels.Item(n));
  }
  // Leaving a page stores it: what that changed is one step.
  undo_.Commit();
}

void frmMain::ShowModelQuestions() {
  std::string model = UpperCase(Trim(txtModelNumber.Text()));
  const bool km2 = RadioType == 1;
  if (km2) txtModelNumber.SetText(model);

  const std::string line = model.substr(0, 5);
  const bool alternate =
      km2 && (line == "52-11" || line == "52-91" || line == "52-92" || line == "52-12");
  for (Field* field : std::initializer_list<Field*>{
           &chkAlternatePreScaler, &chkAlternatePreScaler2, &lblAlternatePreScaler1,
           &lblAlternatePreScaler2, &lblAlternatePreScaler3, &lblAlternatePreScaler4,
           &linAlternatePreScaler, &linAlternatePreScaler2})
    field->SetVisible(alternate);

  const bool decoder = model.size() == 9 && model[8] >= 'D';
  chkSpecialRadio.SetVisible(!km2 || decoder);
  lblSpecialRadio.SetVisible(!km2 || decoder);
  lblSpecialRadio.SetCaption(decoder ? "52-6581 installed?" : "Does Model = 52-8994 ?");
}

void frmMain::LeavePage(int direction) {
  const bool next = direction == 0;
  const bool km2 = RadioType == 1;
  switch (CurrentPage) {
    case 1:
      if (!next) {
        ShowNavigation(false);
      } else if (!ModelFromRadio) {
        ApplyModelDefaults(SelectedModelText());
        ChannelsBuilt = false;
      }
      break;
    case 2:
      if (next && km2) {
        if (!TakeBandProfile(optInjectionAspectHigh.Selected()) && !ChannelsBuilt)
          ShowNoBandMessage();
        if (!ChannelsBuilt) {
          InitChannelPage();
          BuildChannels();
        }
        ChannelsBuilt = true;
      }
      break;
    case 4:
      if (next) {
        StoreRadioSettings();
        if (!bandMatched_ && !ChannelsBuilt) ShowNoBandMessage();
        if (!ChannelsBuilt) {
          InitChannelPage();
          BuildChannels();
        }
        ChannelsBuilt = true;
      }
      break;
    case 5:
      if (CurrentChannel != 0 && CurrentChannel <= Channels.Count())
        StoreChannel(Channels.Item(CurrentChannel));
      if (km2) {
        KeepGroupEdits();
        FillPriorityChannelChoices();
        if (CurrentGroup >= 1 && CurrentGroup <= Groups.Count())
          ShowGroup(Groups.Item(CurrentGroup));
      }
      break;
    case 6:
      if (!next) {
        btnNext.SetVisible(true);
        btnFinish.SetVisible(true);
        if (km2) ShowCurrentGroupOverDefaults();
      }
      break;
    case 12:
      if (next) {
        if (CurrentGroup != 0) {
          StoreRadioSettings();
          StoreGroup(Groups.Item(CurrentGroup));
        }
        if (!ChannelsBuilt) {
          InitChannelPage();
          BuildChannels();
        }
        ChannelsBuilt = true;
      }
      break;
    default:
      break;
  }
}

void frmMain::EnterPage(int direction) {
  const bool next = direction == 0;
  const bool km2 = RadioType == 1;
  switch (CurrentPage) {
    case 1:
      txtModelNumber.SetVisible(km2);
      if (next) ShowNavigation(true);
      break;
    case 5:
      if (next) {
        ApplyChannelFieldSet();
        if (ChannelsBuilt && ChannelCount >= 1) {
          int n = static_cast<int>(NumberTextValue(cmbChannelNumber.Text()));
          if (n == 0) n = 1;
          if (n <= Channels.Count()) ShowChannel(Channels.Item(n));
        }
      }
      break;
    case 6:
      btnTestMode2.SetVisible(!km2);
      if (next) {
        btnNext.SetVisible(false);
        btnFinish.SetVisible(false);
      }
      break;
    case 10:
      if (next) {
        // The pages show group 1 from here, so group 1 is the one they store into.
        KeepGroupEdits();
        CurrentGroup = 1;
        SelectGroupNumberQuietly(1);
        ShowGroup(Groups.Item(1));
      }
      break;
    default:
      break;
  }
}

// --- The navigation strip ---

// The typed KM2 model number must be one the profiles know; its band's default bytes then
// go into the settings. False (with the message shown) when the model is unknown.
bool frmMain::TakeKM2ModelDefaults() {
  std::string defaultImage;
  bool known = false;
  try {
    known = Operator && Operator->RadioData &&
            Operator->IsRadioModelExist(Trim(txtModelNumber.Text()), defaultImage);
  } catch (const TalliskError& e) {
    dialogs_.Message(kKM2ModelTitle, e.Description() + " #" + std::to_string(e.Number()),
                     MessageIcon::Exclamation, MessageButtons::OK);
    return false;
  }
  if (!known) {
    dialogs_.Inform(kKM2ModelTitle, "Invalid Raio Model");
    return false;
  }
  // The synthesiser set-up words are the radio's own; a model's defaults replace them only
  // when the user chose another model than the programming's (or there are none yet).
  if (RadioHeader.DefaultKM2.empty() ||
      UpperCase(Trim(txtModelNumber.Text())) != UpperCase(Trim(RadioHeader.ModelName)))
    RadioHeader.DefaultKM2 = defaultImage;
  return true;
}

void frmMain::Next() {
  if (CurrentPage == 1 && RadioType == 1 && !TakeKM2ModelDefaults()) return;
  GoToPage(0);
}

void frmMain::Back() {
  if (CurrentPage == 1) {
    const MessageAnswer answer = dialogs_.Message(
        kBothFamiliesTitle,
        "Going back to the main screen will erase all the data you entered so far.\r\rAre you "
        "sure you want to do this?",
        MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
    ChannelsBuilt = false;
    if (RadioType == 1) ClearChannelGroupTable();
  }
  GoToPage(1);
}

void frmMain::Finish() {
  if (RadioType == 1) {
    if (!TakeKM2ModelDefaults()) return;
    btnTestMode2.SetVisible(false);
  } else {
    btnTestMode2.SetVisible(true);
  }

  try {
    // A model chosen here gets its defaults, and channels of its own; what came from a
    // radio or a file is kept.
    if (CurrentPage < 2 && !ModelFromRadio) {
      ApplyModelDefaults(SelectedModelText());
      ChannelsBuilt = false;
    }
    TakeBandProfile(optInjectionAspectHigh.Selected());
    if (CurrentPage == 5 && CurrentChannel != 0 && CurrentChannel <= Channels.Count())
      StoreChannel(Channels.Item(CurrentChannel));
    if (CurrentPage >= 10 && CurrentPage <= 12 && CurrentGroup >= 1 &&
        CurrentGroup <= Groups.Count())
      StoreGroup(Groups.Item(CurrentGroup));
  } catch (const TalliskError& e) {
    dialogs_.Message(
        "", "Following error has occcured: " + e.Description() + "  #" + std::to_string(e.Number()),
        MessageIcon::None, MessageButtons::OK);
    return;
  }
  StoreRadioSettings();
  const bool matched = bandMatched_;
  if (!ChannelsBuilt) {
    InitChannelPage();
    BuildChannels();
    ChannelsBuilt = true;
  }
  PageAtIndex(CurrentPage).SetVisible(false);
  CurrentPage = 6;
  GoToPage(2);
  btnNext.SetVisible(false);
  btnFinish.SetVisible(false);
  undo_.Commit();
  if (!matched) ShowNoBandMessage();
}

void frmMain::ShowNoBandMessage() {
  dialogs_.Inform(FamilyTitle(),
                  "No band of the model matches the chosen injection aspect and PLL reference "
                  "frequency, so the channels carry no synthesiser data.");
}

// --- Enabling routines ---

void frmMain::EnableStartPageCommands(bool enabled) {
  for (CommandField* command :
       {&btnReadRadio, &btnTestMode, &btnProgramRadio, &btnLoadFile, &btnHistory})
    command->SetEnabled(enabled);
  cmbRadioType.SetEnabled(enabled && QvrEnabled && Km2Enabled);
  if (RadioType == 1) btnStop.SetVisible(!enabled);
}

void frmMain::EnableFinishPageCommands(bool enabled) {
  for (CommandField* command : {&btnWriteToRadio, &btnProgramSeveral, &btnTestMode2, &btnSaveToFile,
                                &btnBack, &btnPrint, &cmbManual, &btnChannelSheet2})
    command->SetEnabled(enabled);
  if (RadioType == 1) btnCancelWriting.SetVisible(!enabled);
}

void frmMain::ShowNavigation(bool shown) {
  btnNext.SetVisible(shown);
  btnBack.SetVisible(shown);
  btnFinish.SetVisible(shown);
}

// --- Other commands and the window's end ---

void frmMain::OpenOptions() {
  frmOptions options(dialogs_, *Options, ReadLog, WriteLog, *devices_,
                     folders_.Configuration / kPortsFileName);
  dialogs_.RunModal(options);
}

bool frmMain::QueryClose() {
  if (!TransferBusy) return true;
  dialogs_.Notice("Alert", kBusyText);
  return false;
}

}  // namespace tallisk
