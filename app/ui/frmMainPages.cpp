// The main window's pages as a front end lays them out, the input styles of its text
// fields, and which routine each field's reaction runs.

#include <algorithm>
#include <cctype>

#include "tallisk/conversions.h"
#include "ui/frmMain.h"

namespace tallisk {

void frmMain::LayOutPages() {
  AddPage(0, "What Do You Want To Do?")
      .Row({&cmbRadioType})
      .Row({&btnLoadFile})
      .Row({&btnReadRadio})
      .Row({&btnProgramRadio})
      .Row({&btnTestMode})
      .Row({&btnHistory})
      .Row({&btnStop})
      .Row({&lblReadRadioInfo});

  AddPage(1, "Select Radio Model")
      .Row({&lblSelectedModelNumber})
      .Row({&lstRadios})
      .Row({&txtModelNumber})
      .Row({&txtModelHelp});

  AddPage(2, "Identify Radio Features")
      .Row({&txtSerialNumber})
      .Row({&txtCustomer})
      .Row({&Calendar})
      .Row({&cmbPllReferenceFreq})
      .Row({&lblInjectionAspect, &optInjectionAspectLow, &optInjectionAspectHigh})
      .Row({&lblSpecialRadio, &chkSpecialRadio})
      .Row({&linAlternatePreScaler})
      .Row({&lblAlternatePreScaler1})
      .Row({&lblAlternatePreScaler2})
      .Row({&lblAlternatePreScaler3, &chkAlternatePreScaler})
      .Row({&linAlternatePreScaler2})
      .Row({&lblAlternatePreScaler4, &chkAlternatePreScaler2});

  AddPage(3, "Select Detailed Radio Options - Part I")
      .Row({&cmbScanType})
      .Row({&cmbAuxKeyType})
      .Row({&chkEnableChannelRollover})
      .Row({&cmbPriorityChannelMonitorTime})
      .Row({&cmbPriorityChannelMonitorCycle})
      .Row({&chkPriority2Channel})
      .Row({&cmbScanHoldConditions})
      .Row({&cmbScanHoldOnRx})
      .Row({&cmbScanHoldAfterTx});

  AddPage(4, "Select Detailed Radio Options - Part II")
      .Row({&chkBeepA, &chkBeepB, &chkBeepC, &chkBeepD}, "BeepControl")
      .Row({&cmbTxTimeOutTimer})
      .Row({&cmbBusyChannelLockOut})
      .Row({&chkScanStopWithMicOffHook})
      .Row({&cmbWhenTableIsDeleted});

  // Each family's fields have rows of their own; the other family's are hidden and take no
  // room. The tone choice and the code text of a direction share a place.
  std::vector<Field*> auxiliary{&lblAuxiliaryData};
  for (auto& box : chkAuxiliaryData) auxiliary.push_back(&box);
  AddPage(5, "Channel Data")
      .Row({&cmbChannelNumber, &btnChannelUp, &btnChannelDown, &btnChannelSheet})
      .Row({&ReceiveChannelFreq})
      .Row({&txtTransmitChannelFreq})
      .Row({&cmbReceiveSignalingType, &cmbCTCSSFrequenciesRx, &ReceiveOctal})
      .Row({&cmbTransmitSignalingType, &cmbCTCSSFrequenciesTx, &txtTransmitOctal})
      .Row({&txtChannelName})
      .Row({&cmbTxPowerControl})
      .Row({&cmbSubsignalingType})
      .Row({&cmbRFPowerSelection})
      .Row({&chkEnableScrambler})
      .Row({&chkChannelinScanGroupA})
      .Row({&chkChannelinScanGroupB})
      .Row({&chkBurstToneEnable})
      .Row({&chkTranspondToneEnable})
      .Row({&txtBurstFeq})
      .Row({&txtBurstDuration})
      .Row(auxiliary);

  AddPage(6, "Finish")
      .Row({&btnWriteToRadio})
      .Row({&btnProgramSeveral})
      .Row({&btnChannelSheet2})
      .Row({&btnSaveToFile})
      .Row({&btnPrint})
      .Row({&btnSaveAsPdf})
      .Row({&btnTestMode2})
      .Row({&cmbManual})
      .Row({&btnCancelWriting})
      .Row({&lblWriteToRadioInfo});

  AddPage(7, "Select Detailed Radio Option for KM-2 - Part 1 of 3")
      .Row({&cmbOperationType})
      .Row({&cmbRelocateKey})
      .Row({&chkEnableChannelRolloverKM2})
      .Row({&cmbPR1PR2}, "Beep Volume:")
      .Row({&cmbTimeOutLockOut})
      .Row({&cmbPushButtonFeedback})
      .Row({&cmbSelfTestError})
      .Row({&cmbSelectiveCallReceipt})
      .Row({&cmbSCANPRIMonitor})
      .Row({&chkGroupRolloverEnable})
      .Row({&linDeluxeDisplay})
      .Row({&cmbDisplayArrangement})
      .Row({&cmblblSquelchTonesCodes})
      .Row({&cmbOneTouchSelection, &btnCTCSSKeyForm});

  // Column heads 8 down to 1 from left to right: box 7 (auxiliary key 8) comes first.
  std::vector<Field*> auxKeys;
  for (auto box = chkAux.rbegin(); box != chkAux.rend(); ++box) auxKeys.push_back(&*box);
  AddPage(8, "Select Detailed Radio Option for KM-2 - Part 2 of 3")
      .Row({&chkMomentaryChannelKnob})
      .Row({&chkMuteUntilSignalled})
      .Row({&chkPRIButtonFunctionEnable})
      .Row({&chkScanStopMicOffHook})
      .Row({&cmbScanChannelSlaving})
      .Row(auxKeys, "Auxiliary Key Enable ?")
      .Row({&cmbFrontPanelConfig})
      .Row({&cmbOptionPartType});

  AddPage(9, "Select Detailed Radio Option for KM-2 - Part 3 of 3")
      .Row({&txtNoiseSquelchTail})
      .Row({&txtCTCSSSquelchTail})
      .Row({&txtDCSTail})
      .Row({&chkTalkAroundMic})
      .Row({&cmbHornDelay})
      .Row({&cmbHornOn})
      .Row({&cmbSecondLocalRX})
      .Row({&chkEnableCTCSSHPF});

  AddPage(10, "Select Detailed Group - Part 1 of 3")
      .Row({&cmbGroupNumber})
      .Row({&txtGroupName})
      .Row({&cmbPriorityChannel1})
      .Row({&cmbPriorityChannel2})
      .Row({&cmbChannelLockOut})
      .Row({&txtTimeOutTimer});

  AddPage(11, "Select Detailed Group - Part 2 of 3")
      .Row({&cmbScanTimingIntervalA}, "Scan Timing")
      .Row({&cmbScanTimmingIntervalBDCS})
      .Row({&cmbScanTimingIntervalBCTCSS})
      .Row({&txtScanTimingRXScanHold})
      .Row({&txtScanTimingTXScanHold})
      .Row({&cmbPriChSamplingRatio})
      .Row({&txtPriChSamplingRate})
      .Row({&cmbScanHoldingEvents})
      .Row({&chkTXOnPriorityChannel});

  AddPage(12, "Select Detailed Group - Part 3 of 3")
      .Row({&cmbDeleteChTableClear})
      .Row({&cmbMultiDigitDecodeFormat})
      .Row({&txtDTMF2805IDNumber})
      .Row({&txtUnkeyDelayTime})
      .Row({&chkEnablePTTANI})
      .Row({&chkEnableANITranspond})
      .Row({&chkEnableANIOnMONButton})
      .Row({&linANI})
      .Row({&cmbANIRate})
      .Row({&cmbANIRepetitions})
      .Row({&cmbANIDelay})
      .Row({&cmbANIInterval})
      .Row({&btnChannelList});

  Footer.push_back({{}, {&btnBack, &btnNext, &btnFinish, &btnOptions}});
}

namespace {

bool Printable(char key) {
  return key >= ' ' && key <= '~';
}

// A number as the pages take it: digits with at most one decimal point; blanks are the
// QVR frequency's digit grouping.
bool DecimalText(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) {
                       return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == ' ';
                     }) &&
         std::count(text.begin(), text.end(), '.') <= 1;
}

// Three octal digits at most, with a sign only in front.
bool OctalCodeTyped(const std::string& text) {
  const std::size_t digits = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  return text.size() - digits <= 3 &&
         std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                     [](char c) { return c >= '0' && c <= '7'; });
}

}  // namespace

void frmMain::ApplyInputStyles() {
  for (TextField* field :
       {&txtGroupName, &txtChannelName, &txtModelNumber, &txtSerialNumber, &txtCustomer})
    field->UpperCase = true;
  for (TextField* field : {&txtBurstDuration, &txtUnkeyDelayTime, &txtNoiseSquelchTail,
                           &txtCTCSSSquelchTail, &txtTimeOutTimer, &txtDCSTail})
    field->DigitsOnly = true;
  for (TextField* field :
       {&ReceiveChannelFreq, &txtTransmitChannelFreq, &txtBurstFeq, &txtScanTimingRXScanHold,
        &txtScanTimingTXScanHold, &txtPriChSamplingRate})
    field->Accepts = DecimalText;

  // Each text holds what its record holds, in characters that come back as typed. A QVR
  // stores its serial and customer numbers as hex digits padded with F, so F (and anything
  // that is not a digit A to E or a blank) would not come back; a KM2 writes a blank as an
  // erased byte, which ends the text when it is read.
  auto serialText = [this](char key) -> char {
    if (key == '\b') return key;
    if (RadioType == 1) return Printable(key) && key != ' ' ? key : '\0';
    const bool accepted = std::isdigit(static_cast<unsigned char>(key)) ||
                          (key >= 'A' && key <= 'E') || (key >= 'a' && key <= 'e') || key == ' ';
    return accepted ? key : '\0';
  };
  txtSerialNumber.KeyFilter = serialText;
  txtCustomer.KeyFilter = serialText;
  const auto printable = [](char key) -> char {
    return Printable(key) || key == '\b' ? key : '\0';
  };
  txtChannelName.KeyFilter = printable;
  txtChannelName.MaxLength = 6;
  txtGroupName.KeyFilter = printable;
  txtGroupName.MaxLength = 3;
  txtModelNumber.KeyFilter = printable;
  txtModelNumber.MaxLength = 9;

  // A DCS code is three octal digits; a fourth would not fit the record's nine bits.
  for (TextField* octal : {&ReceiveOctal, &txtTransmitOctal}) {
    octal->MaxLength = 4;
    octal->Accepts = OctalCodeTyped;
  }

  // The group ID is what a 10-digit DTMF ID can hold.
  txtDTMF2805IDNumber.MaxLength = static_cast<int>(clsGroup::MaxIDDigits);
  txtDTMF2805IDNumber.UpperCase = true;
  txtDTMF2805IDNumber.KeyFilter = [](char key) -> char {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    const bool accepted = std::isdigit(static_cast<unsigned char>(key)) ||
                          (upper >= 'A' && upper <= 'D') || key == '*' || key == '#' || key == '\b';
    return accepted ? key : '\0';
  };

  txtModelHelp.MultiLine = true;
  txtModelHelp.ReadOnly = true;
}

void frmMain::ConnectReactions() {
  OptionField::Group({&optInjectionAspectLow, &optInjectionAspectHigh});
  cmbRadioType.OnChange.Connect([this] { RadioTypePicked(); });
  cmbRadioType.OnLeave.Connect([this] {
    if (cmbRadioType.SelectedIndex() >= 0) SelectRadioFamily(cmbRadioType.SelectedIndex());
  });
  lstRadios.OnChange.Connect([this] { ModelPicked(); });
  btnProgramRadio.OnClick.Connect([this] { StartNewProgramming(); });
  btnHistory.OnClick.Connect([this] { OpenHistory(); });
  btnProgramSeveral.OnClick.Connect([this] { OpenBatch(); });

  cmbOperationType.OnChange.Connect([this] { OperationTypeChanged(); });
  cmbOneTouchSelection.OnChange.Connect([this] { OneTouchSelectionChanged(); });
  btnCTCSSKeyForm.OnClick.Connect([this] { OpenCTCSSKeyForm(); });

  cmbChannelNumber.OnChange.Connect([this] { ChannelNumberChanged(); });
  btnChannelUp.OnClick.Connect([this] { StepChannel(1); });
  btnChannelDown.OnClick.Connect([this] { StepChannel(-1); });
  ReceiveChannelFreq.OnLeave.Connect([this] { FrequencyLeft(true); });
  txtTransmitChannelFreq.OnLeave.Connect([this] { FrequencyLeft(false); });
  cmbReceiveSignalingType.OnChange.Connect([this] { SignallingTypeChanged(true); });
  cmbTransmitSignalingType.OnChange.Connect([this] { SignallingTypeChanged(false); });

  cmbGroupNumber.OnChange.Connect([this] { GroupNumberChanged(); });
  btnChannelList.OnClick.Connect([this] { OpenChannelList(); });
  btnChannelSheet.OnClick.Connect([this] { OpenChannelSheet(); });
  btnChannelSheet2.OnClick.Connect([this] { OpenChannelSheet(); });
  for (CheckField* ani : {&chkEnablePTTANI, &chkEnableANITranspond, &chkEnableANIOnMONButton})
    ani->OnChange.Connect([this] { ShowAniFields(); });

  ConnectNumberFields();

  btnNext.OnClick.Connect([this] { Next(); });
  btnBack.OnClick.Connect([this] { Back(); });
  btnFinish.OnClick.Connect([this] { Finish(); });
  btnOptions.OnClick.Connect([this] { OpenOptions(); });
}

}  // namespace tallisk
