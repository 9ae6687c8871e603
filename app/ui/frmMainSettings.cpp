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
  // The pages are about to show a model's defaults, which a store takes whole.
  shown_.Clear();
  shownChannel_ = nullptr;
  shownGroup_ = nullptr;
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

bool frmMain::BandChosen() const {
  for (const Field* field :
       std::initializer_list<const Field*>{&lstRadios, &txtModelNumber, &cmbPllReferenceFreq,
                                           &optInjectionAspectLow, &optInjectionAspectHigh})
    if (shown_.Edited(*field)) return true;
  return false;
}

void frmMain::StoreRadioSettings() {
  clsRadioHeader& h = RadioHeader;
  // Each field goes into its property only when the user changed it since the pages showed
  // the programming (a new programming's pages show defaults, and every field goes in).
  const auto edited = [this](const Field& field) { return shown_.Edited(field); };
  const auto index = [&](const ChoiceField& field, auto& property) {
    if (edited(field)) StoreIndex(field, property);
  };
  const auto check = [&](const CheckField& field, bool& property) {
    if (edited(field)) property = field.Checked();
  };
  const auto text = [&](const TextField& field, std::string& property) {
    if (edited(field)) property = field.Text();
  };
  const auto number = [&](const TextField& field, float& property) {
    if (edited(field)) property = TextValue(field);
  };
  try {
    index(cmbAuxKeyType, h.AuxKeyType);
    check(chkBeepA, h.BeepA);
    check(chkBeepB, h.BeepB);
    check(chkBeepC, h.BeepC);
    check(chkBeepD, h.BeepD);
    index(cmbBusyChannelLockOut, h.BusyChannelLockOut);
    check(chkEnableChannelRollover, h.ChannelRollOver);
    text(txtCustomer, h.CustomerNumber);
    if (edited(Calendar)) h.DateRadio = Calendar.Value();
    index(cmbScanHoldOnRx, h.HoldTimeAfterRx);
    index(cmbScanHoldAfterTx, h.HoldTimeAfterTx);
    const bool band = BandChosen();
    if (band) {
      if (optInjectionAspectLow.Selected()) h.InjectionAspect = 0;
      if (optInjectionAspectHigh.Selected()) h.InjectionAspect = 1;
    }
    if (const int choice = lstRadios.SelectedIndex(); choice >= 0 && edited(lstRadios)) {
      // A QVR header carries the model's code, which a read identifies the model by.
      const bool coded = RadioType == 0 && Operator && Operator->RadioData &&
                         choice < Operator->RadioData->Count();
      h.Model = coded ? Operator->RadioData->Item(choice + 1)->ModelCode : choice;
      h.ModelName = lstRadios.Text();
    }
    if (RadioType == 1 && edited(txtModelNumber)) h.ModelName = SelectedModelText();
    check(chkScanStopWithMicOffHook, h.OffHookScanStop);
    if (cmbPllReferenceFreq.SelectedIndex() >= 0 && band)
      h.PLLReferenceFreq = static_cast<float>(NumberTextValue(cmbPllReferenceFreq.Text()));
    check(chkPriority2Channel, h.Priority2Channel);
    index(cmbPriorityChannelMonitorCycle, h.PriorityCnlMonitorCycle);
    index(cmbPriorityChannelMonitorTime, h.PriorityCnlMonitorTime);
    index(cmbScanHoldConditions, h.ScanHoldConditions);
    index(cmbWhenTableIsDeleted, h.ScanListClear);
    index(cmbScanType, h.ScanMethod);
    text(txtSerialNumber, h.SerialNumber);
    index(cmbTxTimeOutTimer, h.TxTimeOutTimer);
    check(chkSpecialRadio, h.SpecialRadio);
    check(chkAlternatePreScaler, h.AlternatePreScaler);
    check(chkAlternatePreScaler2, h.AlternatePreScaler2);

    TakeBandProfile(h.InjectionAspect == 1);
    // The band's bytes describe the radio's hardware: they follow a model or band the user
    // chose, and otherwise stay as the radio holds them.
    if (band) {
      const clsNonPersistentInfo& b = *BandProfile;
      h.Address0x0D = b.Address0x0D;
      h.Address0x0F = b.Address0x0F;
      h.Address0x10 = b.Address0x10;
      h.Address0x14 = b.Address0x14;
      h.Address0x15 = b.Address0x15;
      h.Address0x16 = b.Address0x16;
      h.Address0x17 = b.Address0x17;
      h.PrescalerSwitch = b.PrescalerSwitch;
      h.IFRx = b.IFRx;
      h.IFTx = b.IFTx;
      h.ChannelSwitchType = b.ChannelSwitchType;
      h.Synthesizer = b.SynthesizerType == "MB1504" ? 1 : 0;
    }

    if (RadioType == 1) {
      index(cmbOperationType, h.OperationType);
      index(cmbRelocateKey, h.RelocateAddDelKeys);
      check(chkEnableChannelRolloverKM2, h.EnableChannelRollover);
      check(chkGroupRolloverEnable, h.EnableGroupRollover);
      index(cmbPR1PR2, h.PRI1PRI2);
      index(cmbTimeOutLockOut, h.TimeOutBusyLockOut);
      index(cmbPushButtonFeedback, h.PushButtonFeedback);
      index(cmbSelfTestError, h.SelfTestAndError);
      index(cmbSelectiveCallReceipt, h.SelectiveCallReceipt);
      index(cmbSCANPRIMonitor, h.SCANPRIMonitor);
      index(cmbDisplayArrangement, h.DisplayArrangement);
      index(cmblblSquelchTonesCodes, h.SquelchTonesCodes);
      index(cmbOneTouchSelection, h.OneTouchSelection);
      index(cmbOptionPartType, h.OptionPortType);
      index(cmbFrontPanelConfig, h.FrontPanelConfiguration);
      bool* aux[] = {&h.Aux1, &h.Aux2, &h.Aux3, &h.Aux4, &h.Aux5, &h.Aux6, &h.Aux7, &h.Aux8};
      for (std::size_t i = 0; i < chkAux.size(); ++i) check(chkAux[i], *aux[i]);
      index(cmbScanChannelSlaving, h.ScanChannelSlaving);
      check(chkScanStopMicOffHook, h.ScanStopMicOffHook);
      check(chkPRIButtonFunctionEnable, h.PRIButtonFunctionEnable);
      check(chkMuteUntilSignalled, h.MuteUntilSignalled);
      check(chkMomentaryChannelKnob, h.MomentaryChannelKnob);
      index(cmbSecondLocalRX, h.SecondLocalRX);
      check(chkEnableCTCSSHPF, h.EnableCTCSSHPF);
      number(txtNoiseSquelchTail, h.NoiseSquelchTail);
      number(txtCTCSSSquelchTail, h.CTCSSSquelchTail);
      number(txtDCSTail, h.DCSTail);
      check(chkTalkAroundMic, h.TalkAroundMic);
      if (edited(cmbHornDelay)) StoreNumberChoice(cmbHornDelay, h.HornDelay);
      if (edited(cmbHornOn)) StoreNumberChoice(cmbHornOn, h.HornOn);
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

  if (RadioType != 1) {
    RememberSettingsShown();
    return;
  }
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
  RememberSettingsShown();
}

void frmMain::RememberSettingsShown() {
  shown_.Remember({PageAt(1), PageAt(2), PageAt(3), PageAt(4), PageAt(7), PageAt(8), PageAt(9)});
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
  undo_.Commit();
}

}  // namespace tallisk
