// The KM2 group pages (10, 11, 12): their choices and defaults, and one group's settings
// onto the pages and back.

#include <cmath>

#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

// The priority channel choices hold an empty entry for "none", which stores 0.
void ShowPriorityChannel(ChoiceField& field, std::int16_t channel) {
  if (channel == 0) {
    field.Select(field.FindText(""));
  } else {
    ShowNumberChoice(field, channel);
  }
}

// The group holds scan hold in half tenths of a second: 25.5 is 2.55 s.
std::string ScanHoldText(float tenths) {
  return ShortestText(std::nearbyint(static_cast<double>(tenths) * 10) / 100);
}

}  // namespace

void frmMain::FillGroupChoices() {
  quietGroupNumber_ = true;
  FillNumberChoice(cmbGroupNumber, 1, 16, 1, CurrentGroup >= 1 ? CurrentGroup : 1);
  quietGroupNumber_ = false;
  for (ChoiceField* priority : {&cmbPriorityChannel1, &cmbPriorityChannel2}) {
    priority->Clear();
    priority->AddItem("", 0);
    priority->Select(0);
  }
  FillChoice(cmbChannelLockOut, {"NSQ", "Signalling", "Special", "Disable"}, 3);

  FillNumberChoice(cmbScanTimingIntervalA, 3, 64, 1, 20);
  FillNumberChoice(cmbScanTimmingIntervalBDCS, 0, 15, 1, 0);
  FillNumberChoice(cmbScanTimingIntervalBCTCSS, 0, 15, 1, 0);
  FillNumberChoice(cmbPriChSamplingRatio, 2, 8, 1, 8);
  FillChoice(cmbScanHoldingEvents, {"Busy/NSQ", "Busy/Sig", "Open/NSQ", "Open/Sig"}, 1);
  chkTXOnPriorityChannel.SetChecked(true);

  FillChoice(cmbDeleteChTableClear, {"Power/Scan", "Power Off", "Scan Off", "No Clear"}, 1);
  FillChoice(cmbMultiDigitDecodeFormat, {"2805", "DTMF", "Disable"}, 2);
  txtUnkeyDelayTime.SetText("0");
  FillNumberChoice(cmbANIRate, 20, 100, 20, 60);
  FillNumberChoice(cmbANIRepetitions, 1, 9, 1, 1);
  FillNumberChoice(cmbANIDelay, 0, 300, 20, 140);
  FillNumberChoice(cmbANIInterval, 0, 35, 5, 20);
  // The pages hold defaults now, no group's values.
  groupOnPages_ = 0;
  shownGroup_ = nullptr;
  shown_.Forget({PageAt(10), PageAt(11), PageAt(12)});
}

void frmMain::FillPriorityChannelChoices() {
  for (ChoiceField* priority : {&cmbPriorityChannel1, &cmbPriorityChannel2}) {
    priority->Clear();
    priority->AddItem("", 0);
    for (std::int32_t n = 1; n <= ChannelCount && n <= Channels.Count(); ++n)
      if (Channels.Item(n).RxFrequency != 0) priority->AddItem(NumberChoiceText(n), n);
  }
}

void frmMain::SelectGroupNumberQuietly(int group) {
  quietGroupNumber_ = true;
  ShowNumberChoice(cmbGroupNumber, group);
  quietGroupNumber_ = false;
}

void frmMain::KeepGroupEdits() {
  if (groupOnPages_ >= 1 && groupOnPages_ <= Groups.Count()) StoreGroup(Groups.Item(groupOnPages_));
}

void frmMain::GroupNumberChanged() {
  if (quietGroupNumber_ || cmbGroupNumber.SelectedIndex() < 0) return;
  if (CurrentGroup >= 1 && CurrentGroup <= Groups.Count()) StoreGroup(Groups.Item(CurrentGroup));
  const int n = static_cast<int>(NumberTextValue(cmbGroupNumber.Text()));
  if (n < 1 || n > Groups.Count()) return;
  ShowGroup(Groups.Item(n));
  CurrentGroup = static_cast<std::int16_t>(n);
  undo_.Commit();
}

void frmMain::StoreGroup(clsGroup& group) {
  // Only what the user changed since the pages showed this group goes into it.
  const bool shown = &group == shownGroup_;
  const auto edited = [&](const Field& field) { return !shown || shown_.Edited(field); };
  const auto index = [&](const ChoiceField& field, auto& property) {
    if (edited(field)) StoreIndex(field, property);
  };
  const auto numberChoice = [&](const ChoiceField& field, std::int16_t& property) {
    if (edited(field)) StoreNumberChoice(field, property);
  };
  const auto check = [&](const CheckField& field, bool& property) {
    if (edited(field)) property = field.Checked();
  };
  const auto number = [&](const TextField& field, float& property, double scale) {
    if (edited(field)) property = static_cast<float>(field.Value() * scale);
  };
  if (edited(txtGroupName)) group.GroupName = txtGroupName.Text();
  numberChoice(cmbPriorityChannel1, group.PriorityChannel1);
  numberChoice(cmbPriorityChannel2, group.PriorityChannel2);
  index(cmbChannelLockOut, group.BusyChannelLockOut);
  number(txtTimeOutTimer, group.TimeOutTimer, 1);
  numberChoice(cmbScanTimingIntervalA, group.IntervalA);
  numberChoice(cmbScanTimmingIntervalBDCS, group.IntervalBDCS);
  numberChoice(cmbScanTimingIntervalBCTCSS, group.IntervalBCTCSS);
  // The pages show seconds; the group holds tenths of a second.
  number(txtScanTimingRXScanHold, group.RXScanHold, 10);
  number(txtScanTimingTXScanHold, group.TXScanHold, 10);
  numberChoice(cmbPriChSamplingRatio, group.PriChSamplingRatio);
  number(txtPriChSamplingRate, group.PriChSamplingRate, 1);
  index(cmbScanHoldingEvents, group.ScanHoldingEvents);
  check(chkTXOnPriorityChannel, group.TXOnPriorityChannel);
  index(cmbDeleteChTableClear, group.DeleteChTableClear);
  number(txtUnkeyDelayTime, group.UnKeyDelayTime, 1);
  index(cmbMultiDigitDecodeFormat, group.MultiDigitDecodeFormat);
  if (edited(txtDTMF2805IDNumber)) group.DTMF2805IDNumber = txtDTMF2805IDNumber.Text();
  check(chkEnablePTTANI, group.EnablePTTANI);
  check(chkEnableANITranspond, group.EnableANITranspond);
  check(chkEnableANIOnMONButton, group.EnableANIOnMONButton);
  numberChoice(cmbANIRate, group.ANIRate);
  numberChoice(cmbANIRepetitions, group.ANIRepetitions);
  numberChoice(cmbANIDelay, group.ANIDelay);
  numberChoice(cmbANIInterval, group.ANIInterval);
}

void frmMain::ShowGroup(const clsGroup& group) {
  txtGroupName.SetText(TrimEnd(group.GroupName));
  ShowPriorityChannel(cmbPriorityChannel1, group.PriorityChannel1);
  ShowPriorityChannel(cmbPriorityChannel2, group.PriorityChannel2);
  ShowIndex(cmbChannelLockOut, group.BusyChannelLockOut);
  txtTimeOutTimer.SetText(" " + ShortestText(group.TimeOutTimer));
  ShowNumberChoice(cmbScanTimingIntervalA, group.IntervalA);
  ShowNumberChoice(cmbScanTimmingIntervalBDCS, group.IntervalBDCS);
  ShowNumberChoice(cmbScanTimingIntervalBCTCSS, group.IntervalBCTCSS);
  txtScanTimingRXScanHold.SetText(ScanHoldText(group.RXScanHold));
  txtScanTimingTXScanHold.SetText(ScanHoldText(group.TXScanHold));
  ShowNumberChoice(cmbPriChSamplingRatio, group.PriChSamplingRatio);
  txtPriChSamplingRate.SetText(ShortestText(group.PriChSamplingRate));
  ShowIndex(cmbScanHoldingEvents, group.ScanHoldingEvents);
  chkTXOnPriorityChannel.SetChecked(group.TXOnPriorityChannel);
  ShowIndex(cmbDeleteChTableClear, group.DeleteChTableClear);
  txtUnkeyDelayTime.SetText(" " + ShortestText(group.UnKeyDelayTime));
  ShowIndex(cmbMultiDigitDecodeFormat,
            group.MultiDigitDecodeFormat >= 2 ? 2 : group.MultiDigitDecodeFormat);
  txtDTMF2805IDNumber.SetText(group.DTMF2805IDNumber);
  chkEnablePTTANI.SetChecked(group.EnablePTTANI);
  chkEnableANITranspond.SetChecked(group.EnableANITranspond);
  chkEnableANIOnMONButton.SetChecked(group.EnableANIOnMONButton);
  ShowNumberChoice(cmbANIRate, group.ANIRate);
  ShowNumberChoice(cmbANIRepetitions, group.ANIRepetitions);
  ShowNumberChoice(cmbANIDelay, group.ANIDelay);
  ShowNumberChoice(cmbANIInterval, group.ANIInterval);

  // The pages now hold this group, so it is the one they store into and the one the group
  // number names; choosing the number here must not store the pages into another group.
  groupOnPages_ = 0;
  for (std::int32_t n = 1; n <= Groups.Count(); ++n)
    if (&Groups.Item(n) == &group) groupOnPages_ = n;
  if (groupOnPages_ >= 1) {
    CurrentGroup = static_cast<std::int16_t>(groupOnPages_);
    SelectGroupNumberQuietly(groupOnPages_);
  }
  shownGroup_ = &group;
  shown_.Remember({PageAt(10), PageAt(11), PageAt(12)});
}

void frmMain::ShowCurrentGroupOverDefaults() {
  if (groupOnPages_ == 0 && CurrentGroup >= 1 && CurrentGroup <= Groups.Count())
    ShowGroup(Groups.Item(CurrentGroup));
}

void frmMain::ShowAniFields() {
  const bool shown = chkEnablePTTANI.Checked() || chkEnableANITranspond.Checked() ||
                     chkEnableANIOnMONButton.Checked();
  for (Field* field : std::initializer_list<Field*>{&cmbANIRate, &cmbANIRepetitions, &cmbANIDelay,
                                                    &cmbANIInterval, &linANI})
    field->SetVisible(shown);
}

}  // namespace tallisk
