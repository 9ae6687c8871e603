#pragma once

// The main window: a wizard of thirteen pages through which a technician picks a radio
// family and model, fills in the radio-wide settings, the channels and (KM2) the groups,
// and then writes, saves or prints the result. This class is the whole of its behaviour,
// without a toolkit: a front end shows the pages and fields and turns clicks and typing
// into the fields' calls; tests make the same calls.
//
// The pages, by CurrentPage:
//   0 start page, 1 model, 2 radio features (both families), 3-4 QVR options, 5 channels,
//   6 finish, 7-9 KM2 options, 10-12 KM2 groups.
// QVR walks 0 1 2 3 4 5 6, KM2 walks 0 1 2 5 7 8 9 10 11 12 6.
//
// The window owns every library object it works on (RadioHeader, Channels, Groups, the
// channel-group table, the profiles and tone table of the selected family) and the options
// and data logs; the options are saved to qvr.dat when the window goes.

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/History.h"
#include "files/ProgrammingJson.h"
#include "files/ReportDocument.h"
#include "files/clsAppBehavior.h"
#include "files/clsLogger.h"
#include "link/Clock.h"
#include "link/LinkFeedback.h"
#include "link/SerialPort.h"
#include "tallisk/Date.h"
#include "tallisk/UserPrompt.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsNonPersistentInfo.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsPersistentInfo.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/colCTCSSFrequencies.h"
#include "tallisk/collection.h"
#include "tallisk/errors.h"
#include "ui/Dialogs.h"
#include "ui/FormFields.h"
#include "ui/ImageKeep.h"
#include "ui/MessageTap.h"
#include "ui/ReportOutput.h"
#include "ui/SerialDevices.h"
#include "ui/ShownValues.h"
#include "ui/UndoStack.h"

namespace tallisk {

// Where the window finds and keeps its files.
struct ProgramFolders {
  std::filesystem::path Installation;   // control.txt, km2.clr, tmphelp.thp
  std::filesystem::path Configuration;  // qvr.dat, ports.txt
  std::filesystem::path State;          // the data logs
  // The folders of a normal run: installation data, $XDG_CONFIG_HOME/tallisk and
  // $XDG_STATE_HOME/tallisk.
  static ProgramFolders FromEnvironment();
};

// The window's name and version, "Tallisk 0.1".
std::string ApplicationTitle();

// How far a KM2 read or write has got, for a front end's progress bar.
struct TransferProgress {
  bool Active = false;  // a KM2 read or write is under way
  bool Writing = false;
  int Percent = 0;
  // What is still to go on a 2400-baud line, with the pauses the radio needs.
  double SecondsLeft = 0;
};

// TransferBusy and StopRequested are the window's TransferState: the link sets and reads
// the window's own flags.
class frmMain : public Form, public TransferState {
 public:
  // Start-up: reads the installation's start-up files, creates the data model, loads the
  // starting family's profiles and tone table and shows the start page. `devices` says
  // which serial devices the options window offers (null: the USB adapters under /dev).
  // `dialogs` and `devices` must outlive the window; the window's end saves the options
  // and may report a failure through `dialogs`.
  frmMain(Dialogs& dialogs, ProgramFolders folders, SerialDeviceSource* devices = nullptr);
  ~frmMain() override;

  // --- State ---
  std::int32_t RadioType = 0;  // 0 QVR, 1 KM2
  bool QvrEnabled = false;
  bool Km2Enabled = false;
  std::int16_t CurrentPage = 0;
  std::int16_t CurrentChannel = 0;
  std::int16_t ChannelCount = 0;
  std::int16_t CurrentGroup = 0;
  bool ChannelsBuilt = false;
  bool ModelFromRadio = false;
  std::string KM2Tail;  // from km2.clr until a read or a loaded file replaces it

  // --- Library objects ---
  clsRadioHeader RadioHeader;
  std::unique_ptr<clsOperator> Operator;
  std::unique_ptr<colCTCSSFrequencies> ToneTable;
  std::shared_ptr<clsPersistentInfo> ModelProfile;
  std::shared_ptr<clsNonPersistentInfo> BandProfile;
  Collection<clsChannel> Channels;                // 1..ChannelCount
  Collection<clsGroup> Groups;                    // 1..16
  Collection<clsChannelGroup> ChannelGroupTable;  // 1..320
  std::unique_ptr<clsAppBehavior> Options;
  clsLogger ReadLog;
  clsLogger WriteLog;

  // Today's date for a new programming; tests fix it.
  std::function<Date()> Today;
  // Notes for whoever looks after the program (a read dump that could not be written):
  // standard error unless replaced.
  std::function<void(const std::string&)> ProgramLog;

  // --- Operations ---
  void SelectRadioFamily(std::int32_t family);
  void FillModelList();
  void StartNewProgramming();
  // 0 Next, 1 Back, 2 show the current page again.
  void GoToPage(int direction);
  void LeavePage(int direction);
  void EnterPage(int direction);
  // The three commands of the navigation strip.
  void Next();
  void Back();
  void Finish();
  // The first band of the model with this injection side and reference frequency; null
  // when none has them.
  std::shared_ptr<clsNonPersistentInfo> FindBandProfile(const std::string& model,
                                                        bool injectionHigh,
                                                        float referenceFrequency) const;
  void BuildChannels();
  void CopyBandToChannel(clsChannel& channel) const;
  void ClearChannelGroupTable();
  void RemoveChannelFromGroups(std::int16_t channel);
  std::int32_t LastProgrammedEntry() const;
  void EnableStartPageCommands(bool enabled);
  void EnableFinishPageCommands(bool enabled);
  void ShowNavigation(bool shown);
  void OpenOptions();
  // "History...": the reads and writes kept, and one of their programmings loaded.
  void OpenHistory();
  bool RunUserAction(const std::string& userAction, const std::function<void()>& action);

  // Radio-wide settings pages.
  void ApplyModelDefaults(const std::string& model);
  void StoreRadioSettings();
  void ShowRadioSettings();
  // Whether the user chose the model or the band since the pages showed the programming.
  bool BandChosen() const;
  void RememberSettingsShown();

  // Channel and group pages.
  void InitChannelPage();
  void ShowChannel(const clsChannel& channel);
  void StoreChannel(clsChannel& channel);
  void ShowGroup(const clsGroup& group);
  void StoreGroup(clsGroup& group);
  // The small windows of the channel and group pages, each run modally.
  void OpenChannelList();
  void OpenCTCSSKeyForm();
  // "Channel Sheet...": every channel on one grid (ChannelSheet.h), modally.
  void OpenChannelSheet();

  // --- Undo ---
  // Every change to the programming in memory is a step, whichever page or window made it;
  // the channel page's typing not yet stored is a step of its own. A new, read or loaded
  // programming starts a new history.
  void Undo();
  void Redo();
  bool CanUndo() const { return undo_.CanUndo(); }
  bool CanRedo() const { return undo_.CanRedo(); }

  // The model the pages work on: the selected model list entry (QVR) or the typed model
  // number (KM2).
  std::string SelectedModelText() const;

  // Refuses while a transfer runs, with the "Alert" notice.
  bool QueryClose() override;

  // --- Reading, writing, radio files and the byte editor ---
  // The serial link of the reads and writes. Until this is called, the port the options
  // choose (ports.txt, else the automatic device) on the system clock, without pumping
  // events; the program hands in its event pump, tests a virtual radio on a virtual clock.
  // All three must outlive the window.
  void UseLink(SerialPort& port, Clock& clock, EventPump& pump);
  // Keeps the default port and clock but pumps this event loop in the waits, so the Stop
  // commands work during a transfer; null stops pumping. The pump must outlive its use.
  void UseEventPump(EventPump* pump);
  void ReadRadio();
  void ReadRadioQVR();
  void ReadRadioKM2();
  // Turn an image into the data model and the pages and open page 2; false (with the
  // failure shown, and the programming in memory untouched) when the image does not decode.
  bool ShowImageQVR(const std::string& image);
  bool ShowImageKM2(const std::string& image);
  void ProgramRadioQVR();
  void ProgramRadioKM2();
  // One write of the programming in memory, as "Write To Radio" does but asking nothing
  // afterwards, for a batch of radios; and how the last write ended, in the history's words.
  enum class WriteOutcome { NotStarted, Failed, Written, Verified };
  WriteOutcome WriteForBatch() { return RadioType == 1 ? WriteKM2(true) : WriteQVR(true); }
  const std::string& LastWriteResult() const { return lastWriteResult_; }
  // "Program Several Radios...": the programming in memory into radio after radio.
  void OpenBatch();
  bool SaveRadioFile(const std::string& path);
  bool SaveRadioFileQVR(const std::string& path);
  bool SaveRadioFileKM2(const std::string& path);
  // "Load A File" without its dialog; false (the failure shown) when nothing was loaded.
  bool LoadFile(const std::string& path);
  // A file named when the program was started (a file manager's "Open With"): loaded as its
  // family's, switching family when it is the other one's.
  bool OpenNamedFile(const std::string& path);
  // The programming in memory by its fields, with the image a save would write; nothing
  // when that image cannot be built (the failure has been shown).
  std::optional<ProgrammingParts> CurrentProgramming();
  // Takes the fields of `parts` as edits of the programming in memory (an import).
  void TakeFields(const ProgrammingParts& parts);
  const TransferProgress& Progress() const { return progress_; }
  // Fires whenever Progress() changes.
  Signal<> ProgressChanged;

  // --- The printed report and the QVR test window ---
  // The link the reads and writes use (UseLink, else the configured port); the QVR test
  // window talks to the radio over the same one.
  struct LinkInUse {
    SerialPort& Port;
    Clock& Time;
    EventPump& Pump;
  };
  LinkInUse CurrentLink();
  // The report of the programming in memory, for the family chosen.
  ReportDocument BuildReport() const;
  // Where printed reports and PDFs go; the Qt program hands in its printer. Until then the
  // print commands say that this program has no printer. Must outlive the window.
  void UseReportOutput(ReportOutput& output);
  // "Print Settings": the print dialog, then the report on the printer it set up.
  void PrintReport();
  // "Save as PDF...": the save dialog, then the report's pages as a PDF file.
  void SaveReportAsPdf();
  // "QVR Test" and "Test": the QVR test window, modally; nothing for the KM2 family.
  void OpenTestMode();

  // --- Page 0: "What Do You Want To Do?" ---
  ChoiceField cmbRadioType{*this, "cmbRadioType", "Radio Type:"};
  CommandField btnLoadFile{*this, "btnLoadFile", "Load A File"};
  CommandField btnReadRadio{*this, "btnReadRadio", "Read The Radio"};
  CommandField btnProgramRadio{*this, "btnProgramRadio", "Program The Radio"};
  CommandField btnTestMode{*this, "btnTestMode", "QVR Test"};
  CommandField btnHistory{*this, "btnHistory", "History..."};
  CommandField btnStop{*this, "btnStop", "Stop"};
  LabelField lblReadRadioInfo{*this, "lblReadRadioInfo"};

  // --- Page 1: "Select Radio Model" ---
  LabelField lblSelectedModelNumber{*this, "lblSelectedModelNumber", "Selected Model Number"};
  ListField lstRadios{*this, "lstRadios"};
  TextField txtModelNumber{*this, "txtModelNumber"};
  TextField txtModelHelp{*this, "txtModelHelp"};

  // --- Page 2: "Identify Radio Features" ---
  TextField txtSerialNumber{*this, "txtSerialNumber", "Serial Number:"};
  TextField txtCustomer{*this, "txtCustomer", "Customer:"};
  DateField Calendar{*this, "Calendar", "Date:"};
  ChoiceField cmbPllReferenceFreq{*this, "cmbPllReferenceFreq", "PLL Reference Frequency:"};
  LabelField lblInjectionAspect{*this, "lblInjectionAspect", "Injection Aspect:"};
  OptionField optInjectionAspectLow{*this, "optInjectionAspectLow", "Low Side"};
  OptionField optInjectionAspectHigh{*this, "optInjectionAspectHigh", "High Side"};
  LabelField lblSpecialRadio{*this, "lblSpecialRadio", "Does Model = 52-8994 ?"};
  CheckField chkSpecialRadio{*this, "chkSpecialRadio"};
  // The alternate-prescaler questions, each under a separator line.
  LabelField linAlternatePreScaler{*this, "linAlternatePreScaler"};
  LabelField lblAlternatePreScaler1{*this, "lblAlternatePreScaler1",
                                    "If the target radio has model number = 52-9233B-MM"};
  LabelField lblAlternatePreScaler2{*this, "lblAlternatePreScaler2",
                                    "Is the serial number between 145216 and 146215 or"};
  LabelField lblAlternatePreScaler3{*this, "lblAlternatePreScaler3",
                                    "between 0107MM0001 and 0107MM1000 ? "};
  CheckField chkAlternatePreScaler{*this, "chkAlternatePreScaler"};
  LabelField linAlternatePreScaler2{*this, "linAlternatePreScaler2"};
  LabelField lblAlternatePreScaler4{*this, "lblAlternatePreScaler4",
                                    "Does the serial number end in \"A\"?"};
  CheckField chkAlternatePreScaler2{*this, "chkAlternatePreScaler2"};

  // --- Page 3: "Select Detailed Radio Options - Part I" (QVR) ---
  ChoiceField cmbScanType{*this, "cmbScanType", "Scan Type:"};
  ChoiceField cmbAuxKeyType{*this, "cmbAuxKeyType", "Auxiliary Key Type:"};
  CheckField chkEnableChannelRollover{*this, "chkEnableChannelRollover",
                                      "Enable Channel Rollover:"};
  ChoiceField cmbPriorityChannelMonitorTime{*this, "cmbPriorityChannelMonitorTime",
                                            "Priority Ch. Monitor Time:"};
  ChoiceField cmbPriorityChannelMonitorCycle{*this, "cmbPriorityChannelMonitorCycle",
                                             "Priority Ch Monitor Cycle:"};
  CheckField chkPriority2Channel{*this, "chkPriority2Channel", "Priority 2 Channel?:"};
  ChoiceField cmbScanHoldConditions{*this, "cmbScanHoldConditions", "Scan Hold Conditions:"};
  ChoiceField cmbScanHoldOnRx{*this, "cmbScanHoldOnRx", "Scan Hold On Rx:"};
  ChoiceField cmbScanHoldAfterTx{*this, "cmbScanHoldAfterTx", "Scan Hold After Tx"};

  // --- Page 4: "Select Detailed Radio Options - Part II" (QVR) ---
  CheckField chkBeepA{*this, "chkBeepA", "Beep A ?"};
  CheckField chkBeepB{*this, "chkBeepB", "Beep B ?"};
  CheckField chkBeepC{*this, "chkBeepC", "Beep C ?"};
  CheckField chkBeepD{*this, "chkBeepD", "Beep D ?"};
  ChoiceField cmbTxTimeOutTimer{*this, "cmbTxTimeOutTimer", "Tx Time-Out Timer:"};
  ChoiceField cmbBusyChannelLockOut{*this, "cmbBusyChannelLockOut", "Busy Channel Lock Out:"};
  CheckField chkScanStopWithMicOffHook{*this, "chkScanStopWithMicOffHook",
                                       "Scan Stop w/Mic Off-Hook:"};
  ChoiceField cmbWhenTableIsDeleted{*this, "cmbWhenTableIsDeleted", "When Table Is Deleted:"};

  // --- Page 5: "Channel Data" ---
  ChoiceField cmbChannelNumber{*this, "cmbChannelNumber", "Channel Number:"};
  CommandField btnChannelUp{*this, "btnChannelUp", "Up"};
  CommandField btnChannelDown{*this, "btnChannelDown", "Down"};
  CommandField btnChannelSheet{*this, "btnChannelSheet", "Channel Sheet..."};
  TextField ReceiveChannelFreq{*this, "ReceiveChannelFreq", "Receive Channel Freq:"};
  TextField txtTransmitChannelFreq{*this, "txtTransmitChannelFreq", "Transmit Channel Freq:"};
  ChoiceField cmbReceiveSignalingType{*this, "cmbReceiveSignalingType", "Receive Signaling Type:"};
  ChoiceField cmbCTCSSFrequenciesRx{*this, "cmbCTCSSFrequenciesRx"};
  TextField ReceiveOctal{*this, "ReceiveOctal"};
  ChoiceField cmbTransmitSignalingType{*this, "cmbTransmitSignalingType",
                                       "Transmit Signaling Type:"};
  ChoiceField cmbCTCSSFrequenciesTx{*this, "cmbCTCSSFrequenciesTx"};
  TextField txtTransmitOctal{*this, "txtTransmitOctal"};
  ChoiceField cmbTxPowerControl{*this, "cmbTxPowerControl", "TX Power Control"};
  ChoiceField cmbSubsignalingType{*this, "cmbSubsignalingType", "Subsignaling Type"};
  CheckField chkEnableScrambler{*this, "chkEnableScrambler", "Enable Scrambler?"};
  CheckField chkChannelinScanGroupA{*this, "chkChannelinScanGroupA", "Channel in Scan Group A?"};
  CheckField chkBurstToneEnable{*this, "chkBurstToneEnable", "PTT Burst Tone Enable ?"};
  CheckField chkChannelinScanGroupB{*this, "chkChannelinScanGroupB", "Channel in Scan Group B?"};
  CheckField chkTranspondToneEnable{*this, "chkTranspondToneEnable", "Transpond Tone Enable ?"};
  LabelField lblAuxiliaryData{*this, "lblAuxiliaryData", "Auxiliary Data"};
  std::array<CheckField, 8> chkAuxiliaryData{{{*this, "chkAuxiliaryData0"},
                                              {*this, "chkAuxiliaryData1"},
                                              {*this, "chkAuxiliaryData2"},
                                              {*this, "chkAuxiliaryData3"},
                                              {*this, "chkAuxiliaryData4"},
                                              {*this, "chkAuxiliaryData5"},
                                              {*this, "chkAuxiliaryData6"},
                                              {*this, "chkAuxiliaryData7"}}};
  ChoiceField cmbRFPowerSelection{*this, "cmbRFPowerSelection", "RF Power Selection"};
  TextField txtChannelName{*this, "txtChannelName", "Ch. Name:"};
  TextField txtBurstFeq{*this, "txtBurstFeq", "Burst Feq (Hz):"};
  TextField txtBurstDuration{*this, "txtBurstDuration", "Burst Duration (ms):"};

  // --- Page 6: "Finish" ---
  CommandField btnWriteToRadio{*this, "btnWriteToRadio", "Write To Radio"};
  CommandField btnProgramSeveral{*this, "btnProgramSeveral", "Program Several Radios..."};
  CommandField btnChannelSheet2{*this, "btnChannelSheet2", "Channel Sheet..."};
  CommandField btnSaveToFile{*this, "btnSaveToFile", "Save To File"};
  CommandField btnPrint{*this, "btnPrint", "Print Settings"};
  CommandField btnSaveAsPdf{*this, "btnSaveAsPdf", "Save as PDF..."};
  CommandField btnTestMode2{*this, "btnTestMode2", "Test"};
  CommandField cmbManual{*this, "cmbManual", "Manual"};
  CommandField btnCancelWriting{*this, "btnCancelWriting", "Stop"};
  LabelField lblWriteToRadioInfo{*this, "lblWriteToRadioInfo"};

  // --- Page 7: "Select Detailed Radio Option for KM-2 - Part 1 of 3" ---
  ChoiceField cmbOperationType{*this, "cmbOperationType", "Operation Type:"};
  ChoiceField cmbRelocateKey{*this, "cmbRelocateKey", "Relocate Add/Del Keys:"};
  CheckField chkEnableChannelRolloverKM2{*this, "chkEnableChannelRolloverKM2",
                                         "Enable Channel Rollover ?"};
  ChoiceField cmbPR1PR2{*this, "cmbPR1PR2", "PRI1/PRI2:"};
  ChoiceField cmbTimeOutLockOut{*this, "cmbTimeOutLockOut", "Time-Out/Busy Lock Out:"};
  ChoiceField cmbPushButtonFeedback{*this, "cmbPushButtonFeedback", "Push Button Feedback:"};
  ChoiceField cmbSelfTestError{*this, "cmbSelfTestError", "Self Test and Error:"};
  ChoiceField cmbSelectiveCallReceipt{*this, "cmbSelectiveCallReceipt", "Selective Call Receipt:"};
  ChoiceField cmbSCANPRIMonitor{*this, "cmbSCANPRIMonitor", "SCAN/PRI Monitor:"};
  CheckField chkGroupRolloverEnable{*this, "chkGroupRolloverEnable", "Enable Group Rollover"};
  LabelField linDeluxeDisplay{*this, "linDeluxeDisplay"};
  ChoiceField cmbDisplayArrangement{*this, "cmbDisplayArrangement", "Display Arrangement"};
  ChoiceField cmblblSquelchTonesCodes{*this, "cmblblSquelchTonesCodes", "Squelch Tones/Codes"};
  ChoiceField cmbOneTouchSelection{*this, "cmbOneTouchSelection", "One-Touch Selection"};
  CommandField btnCTCSSKeyForm{*this, "btnCTCSSKeyForm", "CTCSS Key Form"};

  // --- Page 8: "Select Detailed Radio Option for KM-2 - Part 2 of 3" ---
  CheckField chkMomentaryChannelKnob{*this, "chkMomentaryChannelKnob", "Momentary Channel Knob ?"};
  CheckField chkMuteUntilSignalled{*this, "chkMuteUntilSignalled", "Mute Until Signalled ?"};
  CheckField chkPRIButtonFunctionEnable{*this, "chkPRIButtonFunctionEnable",
                                        "PRI Button Function Enable ?"};
  CheckField chkScanStopMicOffHook{*this, "chkScanStopMicOffHook", "Scan-Stop w/Mic Off-Hook ?"};
  ChoiceField cmbScanChannelSlaving{*this, "cmbScanChannelSlaving", "Scan Channel Slaving:"};
  // Box i enables auxiliary key i + 1; the page shows them under column heads 8 down to 1.
  std::array<CheckField, 8> chkAux{{{*this, "chkAux0", "1"},
                                    {*this, "chkAux1", "2"},
                                    {*this, "chkAux2", "3"},
                                    {*this, "chkAux3", "4"},
                                    {*this, "chkAux4", "5"},
                                    {*this, "chkAux5", "6"},
                                    {*this, "chkAux6", "7"},
                                    {*this, "chkAux7", "8"}}};
  ChoiceField cmbFrontPanelConfig{*this, "cmbFrontPanelConfig", "Front Panel Configuration:"};
  ChoiceField cmbOptionPartType{*this, "cmbOptionPartType", "Option Port Type:"};

  // --- Page 9: "Select Detailed Radio Option for KM-2 - Part 3 of 3" ---
  TextField txtNoiseSquelchTail{*this, "txtNoiseSquelchTail", "Noise-Squelch Tail (msec):"};
  TextField txtCTCSSSquelchTail{*this, "txtCTCSSSquelchTail", "CTCSS-Squelch Tail (msec):"};
  TextField txtDCSTail{*this, "txtDCSTail", "DCS Tail:"};
  CheckField chkTalkAroundMic{*this, "chkTalkAroundMic", "Talk Around Mic:"};
  ChoiceField cmbHornDelay{*this, "cmbHornDelay", "Horn Delay (sec):"};
  ChoiceField cmbHornOn{*this, "cmbHornOn", "Horn On (sec):"};
  ChoiceField cmbSecondLocalRX{*this, "cmbSecondLocalRX", "Second Local RX:"};
  CheckField chkEnableCTCSSHPF{*this, "chkEnableCTCSSHPF", "Enable CTCSS HPF ?"};

  // --- Page 10: "Select Detailed Group - Part 1 of 3" ---
  ChoiceField cmbGroupNumber{*this, "cmbGroupNumber", "Group Number:"};
  TextField txtGroupName{*this, "txtGroupName", "Group Name:"};
  ChoiceField cmbPriorityChannel1{*this, "cmbPriorityChannel1", "Priority Channel 1:"};
  ChoiceField cmbPriorityChannel2{*this, "cmbPriorityChannel2", "Priority Channel 2:"};
  ChoiceField cmbChannelLockOut{*this, "cmbChannelLockOut", "Busy Channel Lock-Out:"};
  TextField txtTimeOutTimer{*this, "txtTimeOutTimer", "Time-Out Timer (sec):"};

  // --- Page 11: "Select Detailed Group - Part 2 of 3" ---
  ChoiceField cmbScanTimingIntervalA{*this, "cmbScanTimingIntervalA", "Interval A (msec):"};
  ChoiceField cmbScanTimmingIntervalBDCS{*this, "cmbScanTimmingIntervalBDCS", "Interval B DCS:"};
  ChoiceField cmbScanTimingIntervalBCTCSS{*this, "cmbScanTimingIntervalBCTCSS",
                                          "Interval B CTCSS:"};
  TextField txtScanTimingRXScanHold{*this, "txtScanTimingRXScanHold", "RX Scan Hold (sec):"};
  TextField txtScanTimingTXScanHold{*this, "txtScanTimingTXScanHold", "TX Scan Hold (sec):"};
  ChoiceField cmbPriChSamplingRatio{*this, "cmbPriChSamplingRatio", "Pri Ch Sampling Ratio:"};
  TextField txtPriChSamplingRate{*this, "txtPriChSamplingRate", "Pri Ch Sampling Rate:"};
  ChoiceField cmbScanHoldingEvents{*this, "cmbScanHoldingEvents", "Scan-Holding Events:"};
  CheckField chkTXOnPriorityChannel{*this, "chkTXOnPriorityChannel", "TX on Priority Channel ?"};

  // --- Page 12: "Select Detailed Group - Part 3 of 3" ---
  ChoiceField cmbDeleteChTableClear{*this, "cmbDeleteChTableClear", "Delete Ch Table Clear:"};
  ChoiceField cmbMultiDigitDecodeFormat{*this, "cmbMultiDigitDecodeFormat",
                                        "Multi-Digit Decode Format:"};
  TextField txtDTMF2805IDNumber{*this, "txtDTMF2805IDNumber", "DTMF/2805 ID Number:"};
  TextField txtUnkeyDelayTime{*this, "txtUnkeyDelayTime", "Un-Key Delay Time (msec):"};
  CheckField chkEnablePTTANI{*this, "chkEnablePTTANI", "Enable PTT ANI ?"};
  CheckField chkEnableANITranspond{*this, "chkEnableANITranspond", "Enable ANI Transpond ?"};
  CheckField chkEnableANIOnMONButton{*this, "chkEnableANIOnMONButton",
                                     "Enable ANI on MON Button ?"};
  LabelField linANI{*this, "linANI"};
  ChoiceField cmbANIRate{*this, "cmbANIRate", "ANI Rate (msec):"};
  ChoiceField cmbANIRepetitions{*this, "cmbANIRepetitions", "ANI Repetitions:"};
  ChoiceField cmbANIDelay{*this, "cmbANIDelay", "ANI Delay (msec):"};
  ChoiceField cmbANIInterval{*this, "cmbANIInterval", "ANI Interval (sec):"};
  CommandField btnChannelList{*this, "btnChannelList", "Channel List"};

  // --- The strip under the pages ---
  CommandField btnNext{*this, "btnNext", "Next"};
  CommandField btnBack{*this, "btnBack", "Back"};
  CommandField btnFinish{*this, "btnFinish", "Finish"};
  CommandField btnOptions{*this, "btnOptions", "Options..."};

 private:
  // The sheet edits channels through the channel page's own fields, checks and stores.
  friend class ChannelSheet;

  // Construction in pieces (frmMainPages.cpp).
  void LayOutPages();
  void ApplyInputStyles();
  void ConnectReactions();

  // Reactions.
  void RadioTypePicked();
  void ModelPicked();
  void OperationTypeChanged();
  void OneTouchSelectionChanged();
  void ShowAniFields();
  void GroupNumberChanged();
  void SignallingTypeChanged(bool receive);
  void ChannelNumberChanged();
  void StepChannel(int step);
  void FrequencyLeft(bool receive);

  // Page 2's questions, which follow the model number.
  void ShowModelQuestions();
  bool TakeKM2ModelDefaults();
  void FillSettingsChoices();
  void FillGroupChoices();
  void ApplyChannelFieldSet();
  void FillToneChoices();
  void FillPriorityChannelChoices();
  void SelectGroupNumberQuietly(int group);
  // The group whose values the group pages hold (0: the defaults of a model), stored before
  // the pages show another so that no edit is lost.
  void KeepGroupEdits();
  // BandProfile for the model, the injection side and the selected reference frequency;
  // none matching gives an empty band (no synthesiser data). True when a band matched.
  bool TakeBandProfile(bool injectionHigh);
  // The frequency the current channel's synthesiser field tunes to for this one (a scratch
  // copy of the channel is encoded and read back); none when the field cannot hold it.
  std::optional<double> TunedHertz(bool receive, double hertz) const;
  // A number field's limits: what its record can hold.
  struct NumberLimits {
    double Minimum;
    double Maximum;
    // The value the record holds of an accepted one: the nearest it can.
    std::function<double(double)> Held;
    // How the field shows a value.
    std::function<std::string(double)> Text;
  };
  void NumberLeft(TextField& field, const NumberLimits& limits);
  // Whether the last frequency or number field left took the value typed (perhaps the
  // nearest the radio holds) or refused it.
  enum class LeaveOutcome { Taken, Refused };
  LeaveOutcome lastLeave_ = LeaveOutcome::Taken;
  // The channel or group page's fields into their objects, and the pages shown again from
  // the objects (after an undo, say).
  void StorePageShown();
  void ShowProgrammingAgain(bool settingsChanged);
  void ConnectNumberFields();
  void WarnOutsideBands(double megahertz);
  // Pages that hold a model's defaults while the group number names a group show that
  // group instead.
  void ShowCurrentGroupOverDefaults();
  void ShowNoBandMessage();
  Page& PageAtIndex(int index);
  std::string FamilyTitle() const;

  // Reading, writing, radio files and the byte editor (frmMainTransfer.cpp,
  // frmMainImage.cpp, frmMainFiles.cpp).
  class Transfer;
  void SetUpTransfers();
  // The report and test-window commands (frmMainPrint.cpp).
  void SetUpPrinting();
  void ReadRadioPressed();
  void WriteToRadioPressed();
  void SaveToFilePressed();
  void LoadFilePressed();
  void ManualPressed();
  // The decoded image becomes the window's programming and the pages show it.
  bool TakeImage(const std::string& image, bool openPage2);
  // The image of the programming in memory, built for `family`. False, with the user told
  // why, when it cannot be built whole; `report` tells of a codec failure in the words of
  // the operation.
  using FailureReport = std::function<void(const TalliskError&)>;
  bool BuildWindowImage(std::int32_t family, const FailureReport& report, std::string& part1,
                        std::string& part2);
  void SetProgress(const TransferProgress& progress);
  // The read-back of a write (frmMainVerify.cpp): whether the radio holds what was sent,
  // and where it differs, by channel, group or settings.
  enum class WriteCheck { Verified, Differs, NoAnswer };
  WriteCheck ReadBack(std::int32_t family, const std::string& part1, const std::string& part2,
                      std::vector<std::string>& differing);
  // Every read and write goes into the history folder and its job log (files/History.h).
  void KeepInHistory(JobAction action, const std::string& result, const std::string& part1,
                     const std::string& part2);
  WriteOutcome KeepWrite(bool sent, bool verified, WriteCheck check,
                         const std::vector<std::string>& differing, const std::string& part1,
                         const std::string& part2);
  // Says how a verified write ended; true when the user asks to write again. A batch asks
  // nothing: its window shows the outcome.
  bool TellWriteEnd(std::int32_t family, WriteCheck check,
                    const std::vector<std::string>& differing, bool batch);
  WriteOutcome WriteQVR(bool batch);
  WriteOutcome WriteKM2(bool batch);
  std::string lastWriteResult_;
  // "Write To Radio" asks first, saying whether the radio's present programming is kept.
  bool AskToWrite(bool readFirst = false);
  // Whether KM2Tail came from a radio or a radio file, not from the installation's km2.clr:
  // a programming with the installation's tail is written with the radio's own, read first.
  bool tailFromRadio_ = false;
  // The KM2 read before a write: true with the radio's tail in `tail`, kept in the history.
  bool ReadTailFirst(std::string& tail);
  // When this window last read a radio (kept in the history).
  std::chrono::system_clock::time_point readAt_{};
  void LogEntry(clsLogger& log, const std::string& text);

  MessageTap dialogs_;
  ProgramFolders folders_;
  std::unique_ptr<SerialDeviceSource> ownDevices_;
  SerialDeviceSource* devices_;
  std::shared_ptr<UserPrompt> previousPrompt_;
  std::int32_t loadedFamily_ = -1;
  int acceptedModelIndex_ = -1;
  int groupOnPages_ = 0;
  bool bandMatched_ = true;
  bool fillingModelList_ = false;
  bool revertingModel_ = false;
  bool quietGroupNumber_ = false;
  bool quietChannelNumber_ = false;
  // The receive and transmit frequencies (MHz) last shown or accepted on the channel page.
  std::array<double, 2> checkedMegahertz_{};
  // The image the programming was read or loaded from; none for a new programming.
  ImageOrigin origin_;
  // What the pages showed of the programming, and which channel and group they showed: a
  // store changes only what the user changed.
  ShownValues shown_;
  const clsChannel* shownChannel_ = nullptr;
  const clsGroup* shownGroup_ = nullptr;
  std::shared_ptr<Transfer> transfer_;
  ReportOutput* reportOutput_ = nullptr;
  TransferProgress progress_;
  UndoStack undo_{{RadioHeader, Channels, Groups, ChannelGroupTable}};
};

}  // namespace tallisk
