// The radio-wide settings pages (2, 3 and 4 for QVR; 2, 7, 8 and 9 for KM2): a model's
// defaults onto the pages, the pages into RadioHeader, and RadioHeader back onto the pages.
//
// Transfer rules: a choice stores its selected index, a check its state, a number text the
// value of its text, a number choice the value of its selected entry. A choice with nothing
// selected (a radio's value the list does not hold) leaves the property as it was.

#include "tallisk/errors.h"
#include "ui/PageText.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr auto kLowHighNone = {"Low", "High", "None"};
constexpr auto kHoldTimes = {"0.3 sec", "2.5 sec", "5.0 sec", "Infinite"};
constexpr auto kPortTypes = {"Type 1", "Type 2", "Type 3", "Type 4", "None"};

float TextValue(const TextField& field) {
  return static_cast<float>(field.Value());
}

}  // namespace

void frmMain::ApplyModelDefaults(const std::string& model) {
  ModelProfile.reset();
  if (Operator && Operator->RadioData)
    ModelProfile =
        RadioType == 1 ? Operator->GetRadioInfoKM2(model) : Operator->GetRadioInfo(model);

  // The default band chooses the injection side and the reference frequency; a model
  // without one leaves both unselected.
  optInjectionAspectLow.SetSelected(false);
  optInjectionAspectHigh.SetSelected(false);
  cmbPllReferenceFreq.Clear();
  std::string defaultReference;
  bool hasDefault = false;
  if (ModelProfile) {
    for (const auto& band : ModelProfile->collectionNonPersistentRadioInfo) {
      if (!band->Default) continue;
      (band->InjectAspect ? optInjectionAspectHigh : optInjectionAspectLow).Select();
    }
    for (const auto& band : ModelProfile->collectionNonPersistentRadioInfo) {
      const std::string text = ShortestText(band->PllReferenceFrequency);
      if (cmbPllReferenceFreq.FindText(text, true) < 0) cmbPllReferenceFreq.AddItem(text);
      if (band->Default) {
        defaultReference = text;
        hasDefault = true;
      }
    }
  }
  if (hasDefault) cmbPllReferenceFreq.SelectText(defaultReference, true);

  Calendar.SetValue(Today());

  FillSettingsChoices();
  FillGroupChoices();

  const bool deluxe = model.size() >= 7 && model[6] == '2';
  for (Field* field :
       std::initializer_list<Field*>{&cmbDisplayArrangement, &cmblblSquelchTonesCodes,
                                     &cmbOneTouchSelection, &linDeluxeDisplay})
    field->SetVisible(deluxe);

  ShowAniFields();
}

void frmMain::FillSettingsChoices() {
  // Page 3.
  FillChoice(cmbScanType, {"Normal", "Modified", "Secondary", "PS"}, 3);
  FillChoice(cmbAuxKeyType, {"Type 4", "Type 3", "Type 2", "Type 1"}, 2);
  chkEnableChannelRollover.SetChecked(true);
  FillChoice(cmbPriorityChannelMonitorTime, {"0.75 sec", "1.00 sec", "1.25 sec", "1.50 sec"}, 1);
  FillChoice(cmbPriorityChannelMonitorCycle, {"1 to 4", "1 to 8"}, 1);
  chkPriority2Channel.SetChecked(true);
  FillChoice(cmbScanHoldConditions, {"Open/NSQ", "Busy/NSQ", "Open/Signalling", "Busy/Signalling"},
             3);
  FillChoice(cmbScanHoldOnRx, kHoldTimes, 1);
  FillChoice(cmbScanHoldAfterTx, kHoldTimes, 2);

  // Page 4.
  for (CheckField* beep : {&chkBeepA, &chkBeepB, &chkBeepC, &chkBeepD}) beep->SetChecked(true);
  FillChoice(cmbTxTimeOutTimer,
             {"30 sec", "60 sec", "90 sec", "120 sec", "150 sec", "180 sec", "210 sec", "Infinite"},
             7);
  FillChoice(cmbBusyChannelLockOut, {"NSQ", "Signalling", "Special", "Disable"}, 3);
  chkScanStopWithMicOffHook.SetChecked(false);
  FillChoice(cmbWhenTableIsDeleted, {"Power/Scan", "Power Off", "Scan Off", "No Clear"}, 1);

  // Page 7.
  FillChoice(cmbOperationType, {"General Purpose", "Public Safety"}, 0);
  FillChoice(cmbRelocateKey, {"Standard", "Special"}, 0);
  chkEnableChannelRolloverKM2.SetChecked(true);
  for (ChoiceField* volume : {&cmbPR1PR2, &cmbTimeOutLockOut, &cmbPushButtonFeedback,
                              &cmbSelfTestError, &cmbSelectiveCallReceipt})
    FillChoice(*volume, kLowHighNone, 0);
  FillChoice(cmbSCANPRIMonitor, {"PRI", "HOLD/BKUP"}, 0);
  chkGroupRolloverEnable.SetChecked(true);
  FillChoice(cmbDisplayArrangement, {"Channel", "Ch/Group", "Ch/Sig", "Ch/Gr/Sig", "P CH/RX CH"},
             3);
  FillChoice(cmblblSquelchTonesCodes, {"DEC/ENC", "DEC", "ENC", "None"}, 3);
  FillChoice(cmbOneTouchSelection, {"Disable", "Signalling", "Group"}, 0);

  // Page 8.
  chkMomentaryChannelKnob.SetChecked(false);
  chkMuteUntilSignalled.SetChecked(true);
  chkPRIButtonFunctionEnable.SetChecked(false);
  chkScanStopMicOffHook.SetChecked(false);
  FillChoice(cmbScanChannelSlaving, {"PRI1/TX", "TX"}, 0);
  for (auto& box : chkAux) box.SetChecked(true);
  FillChoice(cmbFrontPanelConfig, kPortTypes, 4);
  FillChoice(cmbOptionPartType, kPortTypes, 4);

  // Page 9.
  txtNoiseSquelchTail.SetText("0");
  txtCTCSSSquelchTail.SetText("250");
  txtDCSTail.SetText("46");
  chkTalkAroundMic.SetChecked(false);
  FillNumberChoice(cmbHornDelay, 2, 30, 1, 20);
  FillNumberChoice(cmbHornOn, 2, 5, 1, 5);
  FillChoice(cmbSecondLocalRX, {"Low", "High"}, 0);
  chkEnableCTCSSHPF.SetChecked(true);
}

void frmMain::StoreRadioSettings() {
  clsRadioHeader& h = RadioHeader;
  try {
    StoreIndex(cmbAuxKeyType, h.AuxKeyType);
    h.BeepA = chkBeepA.Checked();
    h.BeepB = chkBeepB.Checked();
    h.BeepC = chkBeepC.Checked();
    h.BeepD = chkBeepD.Checked();
    StoreIndex(cmbBusyChannelLockOut, h.BusyChannelLockOut);
    h.ChannelRollOver = chkEnableChannelRollover.Checked();
    h.CustomerNumber = txtCustomer.Text();
    h.DateRadio = Calendar.Value();
    StoreIndex(cmbScanHoldOnRx, h.HoldTimeAfterRx);
    StoreIndex(cmbScanHoldAfterTx, h.HoldTimeAfterTx);
    if (optInjectionAspectLow.Selected()) h.InjectionAspect = 0;
    if (optInjectionAspectHigh.Selected()) h.InjectionAspect = 1;
    if (const int index = lstRadios.SelectedIndex(); index >= 0) {
      // A QVR header carries the model's code, which a read identifies the model by.
      const bool coded =
          RadioType == 0 && Operator && Operator->RadioData && index < Operator->RadioData->Count();
      h.Model = coded ? Operator->RadioData->Item(index + 1)->ModelCode : index;
      h.ModelName = lstRadios.Text();
    }
    if (RadioType == 1) h.ModelName = SelectedModelText();
    h.OffHookScanStop = chkScanStopWithMicOffHook.Checked();
    if (cmbPllReferenceFreq.SelectedIndex() >= 0)
      h.PLLReferenceFreq = static_cast<float>(NumberTextValue(cmbPllReferenceFreq.Text()));
    h.Priority2Channel = chkPriority2Channel.Checked();
    StoreIndex(cmbPriorityChannelMonitorCycle, h.PriorityCnlMonitorCycle);
    StoreIndex(cmbPriorityChannelMonitorTime, h.PriorityCnlMonitorTime);
    StoreIndex(cmbScanHoldConditions, h.ScanHoldConditions);
    StoreIndex(cmbWhenTableIsDeleted, h.ScanListClear);
    StoreIndex(cmbScanType, h.ScanMethod);
    h.SerialNumber = txtSerialNumber.Text();
    StoreIndex(cmbTxTimeOutTimer, h.TxTimeOutTimer);
    h.SpecialRadio = chkSpecialRadio.Checked();
    h.AlternatePreScaler = chkAlternatePreScaler.Checked();
    h.AlternatePreScaler2 = chkAlternatePreScaler2.Checked();

    TakeBandProfile(h.InjectionAspect == 1);
    const clsNonPersistentInfo& band = *BandProfile;
    h.Address0x0D = band.Address0x0D;
    h.Address0x0F = band.Address0x0F;
    h.Address0x10 = band.Address0x10;
    h.Address0x14 = band.Address0x14;
    h.Address0x15 = band.Address0x15;
    h.Address0x16 = band.Address0x16;
    h.Address0x17 = band.Address0x17;
    h.PrescalerSwitch = band.PrescalerSwitch;
    h.IFRx = band.IFRx;
    h.IFTx = band.IFTx;
    h.ChannelSwitchType = band.ChannelSwitchType;
    h.Synthesizer = band.SynthesizerType == "MB1504" ? 1 : 0;

    if (RadioType == 1) {
      h.ModelName = SelectedModelText();
      StoreIndex(cmbOperationType, h.OperationType);
      StoreIndex(cmbRelocateKey, h.RelocateAddDelKeys);
      h.EnableChannelRollover = chkEnableChannelRolloverKM2.Checked();
      h.EnableGroupRollover = chkGroupRolloverEnable.Checked();
      StoreIndex(cmbPR1PR2, h.PRI1PRI2);
      StoreIndex(cmbTimeOutLockOut, h.TimeOutBusyLockOut);
      StoreIndex(cmbPushButtonFeedback, h.PushButtonFeedback);
      StoreIndex(cmbSelfTestError, h.SelfTestAndError);
      StoreIndex(cmbSelectiveCallReceipt, h.SelectiveCallReceipt);
      StoreIndex(cmbSCANPRIMonitor, h.SCANPRIMonitor);
      StoreIndex(cmbDisplayArrangement, h.DisplayArrangement);
      StoreIndex(cmblblSquelchTonesCodes, h.SquelchTonesCodes);
      StoreIndex(cmbOneTouchSelection, h.OneTouchSelection);
      StoreIndex(cmbOptionPartType, h.OptionPortType);
      StoreIndex(cmbFrontPanelConfig, h.FrontPanelConfiguration);
      bool* aux[] = {&h.Aux1, &h.Aux2, &h.Aux3, &h.Aux4, &h.Aux5, &h.Aux6, &h.Aux7, &h.Aux8};
      for (std::size_t i = 0; i < chkAux.size(); ++i) *aux[i] = chkAux[i].Checked();
      StoreIndex(cmbScanChannelSlaving, h.ScanChannelSlaving);
      h.ScanStopMicOffHook = chkScanStopMicOffHook.Checked();
      h.PRIButtonFunctionEnable = chkPRIButtonFunctionEnable.Checked();
      h.MuteUntilSignalled = chkMuteUntilSignalled.Checked();
      h.MomentaryChannelKnob = chkMomentaryChannelKnob.Checked();
      StoreIndex(cmbSecondLocalRX, h.SecondLocalRX);
      h.EnableCTCSSHPF = chkEnableCTCSSHPF.Checked();
      h.NoiseSquelchTail = TextValue(txtNoiseSquelchTail);
      h.CTCSSSquelchTail = TextValue(txtCTCSSSquelchTail);
      h.DCSTail = TextValue(txtDCSTail);
      h.TalkAroundMic = chkTalkAroundMic.Checked();
      StoreNumberChoice(cmbHornDelay, h.HornDelay);
      StoreNumberChoice(cmbHornOn, h.HornOn);
      h.KM2Tail = KM2Tail;
      h.CreateRadioHeaderKM2();
    } else {
      h.CreateRadioHeader();
    }
  } catch (const TalliskError& e) {
    dialogs_.Message(
        "", "Following error has occcured: " + e.Description() + "  #" + std::to_string(e.Number()),
        MessageIcon::None, MessageButtons::OK);
  }
}

void frmMain::ShowRadioSettings() {
  const clsRadioHeader& h = RadioHeader;
  (h.InjectionAspect == 0 ? optInjectionAspectLow : optInjectionAspectHigh).Select();
  cmbPllReferenceFreq.SelectText(ShortestText(h.PLLReferenceFreq), true);
  txtSerialNumber.SetText(h.SerialNumber);
  txtCustomer.SetText(h.CustomerNumber);
  Calendar.SetValue(h.DateRadio);

  ShowIndex(cmbScanType, h.ScanMethod);
  ShowIndex(cmbAuxKeyType, h.AuxKeyType);
  chkEnableChannelRollover.SetChecked(h.ChannelRollOver);
  ShowIndex(cmbPriorityChannelMonitorTime, h.PriorityCnlMonitorTime);
  ShowIndex(cmbPriorityChannelMonitorCycle, h.PriorityCnlMonitorCycle);
  chkPriority2Channel.SetChecked(h.Priority2Channel);
  ShowIndex(cmbScanHoldConditions, h.ScanHoldConditions);
  ShowIndex(cmbScanHoldOnRx, h.HoldTimeAfterRx);
  ShowIndex(cmbScanHoldAfterTx, h.HoldTimeAfterTx);
  chkBeepA.SetChecked(h.BeepA);
  chkBeepB.SetChecked(h.BeepB);
  chkBeepC.SetChecked(h.BeepC);
  chkBeepD.SetChecked(h.BeepD);
  ShowIndex(cmbTxTimeOutTimer, h.TxTimeOutTimer);
  ShowIndex(cmbBusyChannelLockOut, h.BusyChannelLockOut);
  chkScanStopWithMicOffHook.SetChecked(h.OffHookScanStop);
  ShowIndex(cmbWhenTableIsDeleted, h.ScanListClear);
  chkSpecialRadio.SetChecked(h.SpecialRadio);
  chkAlternatePreScaler.SetChecked(h.AlternatePreScaler);
  chkAlternatePreScaler2.SetChecked(h.AlternatePreScaler2);

  if (RadioType != 1) return;
  txtModelNumber.SetText(Trim(h.ModelName));
  ShowIndex(cmbOperationType, h.OperationType);
  ShowIndex(cmbRelocateKey, h.RelocateAddDelKeys);
  chkEnableChannelRolloverKM2.SetChecked(h.EnableChannelRollover);
  chkGroupRolloverEnable.SetChecked(h.EnableGroupRollover);
  ShowIndex(cmbPR1PR2, h.PRI1PRI2);
  ShowIndex(cmbTimeOutLockOut, h.TimeOutBusyLockOut);
  ShowIndex(cmbPushButtonFeedback, h.PushButtonFeedback);
  ShowIndex(cmbSelfTestError, h.SelfTestAndError);
  ShowIndex(cmbSelectiveCallReceipt, h.SelectiveCallReceipt);
  ShowIndex(cmbSCANPRIMonitor, h.SCANPRIMonitor);
  // A radio can hold a sixth arrangement the list does not name.
  if (h.DisplayArrangement == 5 && cmbDisplayArrangement.FindText("Special") < 0)
    cmbDisplayArrangement.AddItem("Special", 5);
  ShowIndex(cmbDisplayArrangement, h.DisplayArrangement);
  ShowIndex(cmblblSquelchTonesCodes, h.SquelchTonesCodes);
  ShowIndex(cmbOneTouchSelection, h.OneTouchSelection);
  ShowIndex(cmbOptionPartType, h.OptionPortType);
  ShowIndex(cmbFrontPanelConfig, h.FrontPanelConfiguration);
  const bool aux[] = {h.Aux1, h.Aux2, h.Aux3, h.Aux4, h.Aux5, h.Aux6, h.Aux7, h.Aux8};
  for (std::size_t i = 0; i < chkAux.size(); ++i) chkAux[i].SetChecked(aux[i]);
  ShowIndex(cmbScanChannelSlaving, h.ScanChannelSlaving);
  chkScanStopMicOffHook.SetChecked(h.ScanStopMicOffHook);
  chkPRIButtonFunctionEnable.SetChecked(h.PRIButtonFunctionEnable);
  chkMuteUntilSignalled.SetChecked(h.MuteUntilSignalled);
  chkMomentaryChannelKnob.SetChecked(h.MomentaryChannelKnob);
  ShowIndex(cmbSecondLocalRX, h.SecondLocalRX);
  chkEnableCTCSSHPF.SetChecked(h.EnableCTCSSHPF);
  txtNoiseSquelchTail.SetText(ShortestText(h.NoiseSquelchTail));
  txtCTCSSSquelchTail.SetText(ShortestText(h.CTCSSSquelchTail));
  txtDCSTail.SetText(ShortestText(h.DCSTail));
  chkTalkAroundMic.SetChecked(h.TalkAroundMic);
  ShowNumberChoice(cmbHornDelay, h.HornDelay);
  ShowNumberChoice(cmbHornOn, h.HornOn);
}

void frmMain::OperationTypeChanged() {
  const bool publicSafety = cmbOperationType.SelectedIndex() == 1;
  for (Field* field : std::initializer_list<Field*>{&chkGroupRolloverEnable, &cmbSCANPRIMonitor,
                                                    &chkTalkAroundMic, &cmbHornDelay, &cmbHornOn})
    field->SetVisible(publicSafety);
}

void frmMain::OneTouchSelectionChanged() {
  btnCTCSSKeyForm.SetVisible(cmbOneTouchSelection.SelectedIndex() == 1);
}

void frmMain::OpenCTCSSKeyForm() {
  frmCTCSSKeyForm keys(RadioHeader, ToneTable.get());
  dialogs_.RunModal(keys);
}

}  // namespace tallisk
