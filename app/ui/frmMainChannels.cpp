// The channels of the main window: the band the model's channels are tuned with, building
// the channels from the channel page's defaults, the channel page's transfers, and the KM2
// table of channel-to-group memberships.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"
#include "ui/ChannelGroupTable.h"
#include "ui/PageText.h"
#include "ui/frmChannelList.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr double kHzPerMHz = 1000000;

const char* const kSignallingTexts[] = {"CTCSS", "DCS", "None"};

}  // namespace

// --- Band ---

std::shared_ptr<clsNonPersistentInfo> frmMain::FindBandProfile(const std::string& model,
                                                               bool injectionHigh,
                                                               float referenceFrequency) const {
  if (!Operator || !Operator->RadioData) return nullptr;
  const auto profile =
      RadioType == 1 ? Operator->GetRadioInfoKM2(model) : Operator->GetRadioInfo(model);
  if (!profile) return nullptr;
  for (const auto& band : profile->collectionNonPersistentRadioInfo)
    if (band->InjectAspect == injectionHigh && band->PllReferenceFrequency == referenceFrequency)
      return band;
  return nullptr;
}

bool frmMain::TakeBandProfile(bool injectionHigh) {
  BandProfile = FindBandProfile(SelectedModelText(), injectionHigh,
                                static_cast<float>(NumberTextValue(cmbPllReferenceFreq.Text())));
  bandMatched_ = BandProfile != nullptr;
  // As a read does: an empty band in its place, so the channels carry no synthesiser data
  // rather than another band's.
  if (!BandProfile) BandProfile = std::make_shared<clsNonPersistentInfo>();
  return bandMatched_;
}

void frmMain::CopyBandToChannel(clsChannel& channel) const {
  const clsNonPersistentInfo empty;
  const clsNonPersistentInfo& band = BandProfile ? *BandProfile : empty;
  channel.PLLReferenceFreq = band.PllReferenceFrequency;
  channel.Prescaler = band.PrescalerSwitch;
  channel.RxIF = band.IFRx;
  channel.TxIF = band.IFTx;
  // A KM2 header tells the radio how many zeros its channel records insert into the
  // synthesiser field (the top two bits of the model's stored word at 1892); a new channel
  // has to be laid out the same way, as a read channel is, or the radio tunes elsewhere.
  if (RadioType == 1 && RadioHeader.DefaultKM2.size() >= 8)
    channel.prsclKM2 =
        static_cast<std::int16_t>((ParseHex(RadioHeader.DefaultKM2.substr(4, 4)) & 0xFFFF) >> 14);
}

void frmMain::BuildChannels() {
  Channels.Clear();
  const std::int16_t count = ModelProfile ? ModelProfile->NumberOfChannels : 0;
  Channels.Reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    clsChannel channel;
    StoreChannel(channel);
    CopyBandToChannel(channel);
    Channels.Add(std::move(channel));
  }
  ChannelCount = count;
  undo_.Reset();
}

// --- Channel-group table ---

void frmMain::ClearChannelGroupTable() {
  for (auto& entry : ChannelGroupTable) entry.Programmed = false;
}

std::int32_t frmMain::LastProgrammedEntry() const {
  return tallisk::LastProgrammedEntry(ChannelGroupTable);
}

void frmMain::RemoveChannelFromGroups(std::int16_t channel) {
  for (auto& entry : ChannelGroupTable)
    if (entry.Programmed && entry.ChannelNumber == channel) entry.Programmed = false;
  CloseChannelGroupGaps(ChannelGroupTable);
}

void frmMain::OpenChannelList() {
  if (CurrentGroup < 1) return;
  frmChannelList list(dialogs_, ChannelGroupTable, CurrentGroup, cmbPriorityChannel1.Items());
  dialogs_.RunModal(list);
  undo_.Commit();
}

// --- Channel page ---

void frmMain::InitChannelPage() {
  // The page is being set to defaults for new channels: no channel is stored or shown.
  quietChannelNumber_ = true;
  cmbChannelNumber.Clear();
  const int count = ModelProfile ? ModelProfile->NumberOfChannels : 0;
  for (int n = 1; n <= count; ++n) cmbChannelNumber.AddItem(std::to_string(n), n);
  if (count >= 1) cmbChannelNumber.Select(0);
  quietChannelNumber_ = false;

  for (ChoiceField* signalling : {&cmbReceiveSignalingType, &cmbTransmitSignalingType})
    FillChoice(*signalling, {kSignallingTexts[0], kSignallingTexts[1], kSignallingTexts[2]}, 2);
  FillChoice(cmbTxPowerControl, {"Low Only", "Normal"}, 1);
  chkEnableScrambler.SetChecked(false);
  chkChannelinScanGroupA.SetChecked(false);
  chkChannelinScanGroupB.SetChecked(false);

  FillToneChoices();
  ReceiveOctal.SetText("");
  txtTransmitOctal.SetText("");
  ReceiveChannelFreq.SetText("");
  txtTransmitChannelFreq.SetText("");
  checkedMegahertz_ = {0, 0};

  FillChoice(cmbSubsignalingType, {"Type 1", "Type 2", "Type 3", "None"}, 3);
  FillChoice(cmbRFPowerSelection, {"Low", "Normal"}, 0);
  txtBurstFeq.SetText("694.4");
  txtBurstDuration.SetText("3200");
  txtChannelName.SetText("");

  CurrentChannel = 1;
  CurrentGroup = 1;
  SelectGroupNumberQuietly(1);
  // The page holds the defaults new channels take whole.
  shownChannel_ = nullptr;
  shown_.Forget({PageAt(5)});
}

void frmMain::FillToneChoices() {
  cmbCTCSSFrequenciesRx.Clear();
  cmbCTCSSFrequenciesTx.Clear();
  if (!ToneTable) return;
  const bool km2 = RadioType == 1;
  for (const auto& tone : *ToneTable) {
    if (!km2) {
      const std::string text = ShortestText(tone.CTCSSFreq);
      cmbCTCSSFrequenciesRx.AddItem(text, tone.Index);
      cmbCTCSSFrequenciesTx.AddItem(text, tone.Index);
      continue;
    }
    // The special bank is a transmit-only extension of a special radio.
    const std::string text = " " + ShortestText(tone.CTCSSFreq);
    if (!tone.SpecialRadioKM2) cmbCTCSSFrequenciesRx.AddItem(text, tone.CTCSSCodeKM2);
    if (!tone.SpecialRadioKM2 || chkSpecialRadio.Checked())
      cmbCTCSSFrequenciesTx.AddItem(text, tone.CTCSSCodeKM2);
  }
  if (cmbCTCSSFrequenciesRx.Count() > 0) cmbCTCSSFrequenciesRx.Select(0);
  if (cmbCTCSSFrequenciesTx.Count() > 0) cmbCTCSSFrequenciesTx.Select(0);
}

void frmMain::ApplyChannelFieldSet() {
  const bool km2 = RadioType == 1;
  for (Field* field : std::initializer_list<Field*>{
           &txtChannelName, &cmbSubsignalingType, &cmbRFPowerSelection, &txtBurstFeq,
           &txtBurstDuration, &chkBurstToneEnable, &chkTranspondToneEnable})
    field->SetVisible(km2);
  for (Field* field : std::initializer_list<Field*>{
           &cmbTxPowerControl, &lblAuxiliaryData, &chkChannelinScanGroupA, &chkChannelinScanGroupB})
    field->SetVisible(!km2);
  for (auto& box : chkAuxiliaryData) box.SetVisible(!km2);
  if (!km2) chkEnableScrambler.SetVisible(true);
}

void frmMain::SignallingTypeChanged(bool receive) {
  const ChoiceField& type = receive ? cmbReceiveSignalingType : cmbTransmitSignalingType;
  ChoiceField& tone = receive ? cmbCTCSSFrequenciesRx : cmbCTCSSFrequenciesTx;
  TextField& code = receive ? ReceiveOctal : txtTransmitOctal;
  tone.SetVisible(type.SelectedIndex() == 0);
  code.SetVisible(type.SelectedIndex() == 1);
}

void frmMain::ChannelNumberChanged() {
  if (quietChannelNumber_ || cmbChannelNumber.SelectedIndex() < 0) return;
  if (CurrentChannel >= 1 && CurrentChannel <= Channels.Count())
    StoreChannel(Channels.Item(CurrentChannel));
  const int n = static_cast<int>(NumberTextValue(cmbChannelNumber.Text()));
  if (n < 1 || n > Channels.Count()) return;
  ShowChannel(Channels.Item(n));
  CurrentChannel = static_cast<std::int16_t>(n);
  undo_.Commit();
}

void frmMain::StepChannel(int step) {
  const int channels = ModelProfile ? ModelProfile->NumberOfChannels : 0;
  const int index = cmbChannelNumber.SelectedIndex();
  if (step > 0 && CurrentChannel < channels && index + 1 < cmbChannelNumber.Count())
    cmbChannelNumber.Select(index + 1);
  if (step < 0 && CurrentChannel > 1 && index >= 1) cmbChannelNumber.Select(index - 1);
}

// --- Frequencies a radio can hold ---

std::optional<double> frmMain::TunedHertz(bool receive, double hertz) const {
  if (CurrentChannel < 1 || CurrentChannel > Channels.Count()) return hertz;
  clsChannel scratch = Channels.Item(CurrentChannel);
  // Without a band the channel has nothing to tune with, which the technician was told when
  // the channels were built.
  if (scratch.PLLReferenceFreq <= 0) return hertz;
  const bool km2 = RadioType == 1;
  // The other half is left out of the record, except that a KM2 record carries a transmit
  // half only beside a receive frequency.
  if (receive) {
    scratch.RxFrequency = hertz;
    scratch.TxFrequency = km2 ? 0 : -1;
  } else {
    const double receiveHertz = ReceiveChannelFreq.Value() * kHzPerMHz;
    scratch.RxFrequency = km2 ? (receiveHertz > 0 ? receiveHertz : hertz) : 0;
    scratch.TxFrequency = hertz;
  }
  if (km2) {
    scratch.AlternatePreScaler = chkAlternatePreScaler.Checked();
    scratch.AlternatePreScaler2 = chkAlternatePreScaler2.Checked();
  }
  // A frequency typed into an unused channel puts it in use, as storing the page will.
  scratch.RxChannelData = scratch.TxChannelData = true;
  clsChannel readBack = scratch;
  try {
    if (km2) {
      scratch.CreateChannelDataKM2();
      readBack.ChannelData = scratch.ChannelData;
      readBack.BreakChannelDataKM2();
    } else {
      scratch.CreateChannelData();
      readBack.ChannelData = scratch.ChannelData;
      readBack.BreakChannelData();
    }
  } catch (const TalliskError& e) {
    if (e.Number() == 6) return std::nullopt;
    return hertz;
  }
  // A field too narrow for the divide ratio keeps its low bits and tunes somewhere else
  // entirely; a frequency it holds comes back within a reference step (and the whole kHz
  // the QVR synthesiser works in).
  const double tuned = receive ? readBack.RxFrequency : readBack.TxFrequency;
  const double step = static_cast<double>(scratch.PLLReferenceFreq) * 1000 + 1000;
  if (std::fabs(tuned - hertz) > step) return std::nullopt;
  return tuned;
}

void frmMain::WarnOutsideBands(double megahertz) {
  if (!ModelProfile) return;
  std::vector<std::pair<double, double>> bands;
  for (const auto& band : ModelProfile->collectionNonPersistentRadioInfo) {
    if (band->FreqMaxHz <= 0) continue;  // a band the database gives no limits for
    const std::pair<double, double> limits{band->FreqMinHz, band->FreqMaxHz};
    if (std::find(bands.begin(), bands.end(), limits) != bands.end()) continue;
    bands.push_back(limits);
  }
  if (bands.empty()) return;
  const double hertz = megahertz * kHzPerMHz;
  std::string ranges;
  for (const auto& [low, high] : bands) {
    if (hertz >= low && hertz <= high) return;
    if (!ranges.empty()) ranges += ", ";
    ranges += ShortestText(low / kHzPerMHz) + " to " + ShortestText(high / kHzPerMHz) + " MHz";
  }
  dialogs_.Message(FamilyTitle(),
                   FrequencyText(megahertz, RadioType == 0) +
                       " MHz is outside the bands of this model (" + ranges +
                       "). The value is kept.",
                   MessageIcon::Exclamation, MessageButtons::OK);
}

void frmMain::FrequencyLeft(bool receive) {
  TextField& field = receive ? ReceiveChannelFreq : txtTransmitChannelFreq;
  const bool qvr = RadioType == 0;
  const double megahertz = field.Value();
  if (megahertz < 0) {
    lastLeave_ = LeaveOutcome::Refused;
    dialogs_.Inform("System Message", "The minimum value for this item is 0");
    field.SetText(" 0");
    return;
  }
  // Only what the technician typed is checked: passing through a field that shows a
  // channel's value, or a value already accepted, says nothing again.
  double& checked = checkedMegahertz_[receive ? 0 : 1];
  double taken = megahertz;
  if (megahertz > 0 && megahertz != checked) {
    const std::optional<double> tuned = TunedHertz(receive, megahertz * kHzPerMHz);
    if (!tuned) {
      lastLeave_ = LeaveOutcome::Refused;
      double stored = 0;
      if (CurrentChannel >= 1 && CurrentChannel <= Channels.Count()) {
        const clsChannel& channel = Channels.Item(CurrentChannel);
        stored = (receive ? channel.RxFrequency : channel.TxFrequency) / kHzPerMHz;
      }
      dialogs_.Message("System Message",
                       "The radio cannot be tuned to " + FrequencyText(megahertz, qvr) +
                           " MHz: its synthesiser cannot hold that frequency. The channel keeps " +
                           FrequencyText(stored, qvr) + " MHz.",
                       MessageIcon::Exclamation, MessageButtons::OK);
      checked = stored;
      field.SetText(FrequencyText(stored, qvr));
      return;
    }
    taken = *tuned / kHzPerMHz;
    if (FrequencyText(taken, qvr) != FrequencyText(megahertz, qvr)) {
      dialogs_.Message("System Message",
                       "The radio tunes to " + FrequencyText(taken, qvr) + " MHz for " +
                           FrequencyText(megahertz, qvr) +
                           " MHz: its synthesiser holds no closer frequency. The channel takes " +
                           FrequencyText(taken, qvr) + " MHz.",
                       MessageIcon::Exclamation, MessageButtons::OK);
    }
    WarnOutsideBands(taken);
  }
  checked = taken;
  field.SetText(FrequencyText(taken, qvr));

  // A KM2 record has no channel that only transmits; the transmit frequency stays on the
  // page until the technician gives the channel a receive frequency or clears it.
  if (!qvr && ReceiveChannelFreq.Value() <= 0 && txtTransmitChannelFreq.Value() > 0 &&
      (shown_.Edited(ReceiveChannelFreq) || shown_.Edited(txtTransmitChannelFreq))) {
    dialogs_.Message("System Message",
                     "A KM2 channel is in use only with a receive frequency: without one the radio "
                     "keeps no channel here and the transmit frequency " +
                         FrequencyText(txtTransmitChannelFreq.Value(), false) +
                         " MHz is not written. Type a receive frequency, or clear the transmit "
                         "frequency.",
                     MessageIcon::Exclamation, MessageButtons::OK);
  }
}

// --- Page and channel ---

void frmMain::StoreChannel(clsChannel& channel) {
  // Only what the user changed since the page showed this channel goes into it.
  const bool shown = &channel == shownChannel_;
  const auto edited = [&](const Field& field) { return !shown || shown_.Edited(field); };
  const auto check = [&](const CheckField& field, bool& property) {
    if (edited(field)) property = field.Checked();
  };

  const bool receiveEdited = shown && edited(ReceiveChannelFreq);
  if (edited(ReceiveChannelFreq)) {
    channel.RxFrequency = ReceiveChannelFreq.Value() * kHzPerMHz;
    if (channel.RxFrequency > 0) channel.RxChannelData = true;
  }
  if (edited(cmbReceiveSignalingType) && cmbReceiveSignalingType.SelectedIndex() >= 0)
    channel.RxSignalling = SignallingOfIndex(cmbReceiveSignalingType.SelectedIndex());
  if (edited(txtTransmitChannelFreq)) {
    channel.TxFrequency = txtTransmitChannelFreq.Value() * kHzPerMHz;
    if (channel.TxFrequency > 0) channel.TxChannelData = true;
  }
  if (edited(cmbTransmitSignalingType) && cmbTransmitSignalingType.SelectedIndex() >= 0)
    channel.TxSignalling = SignallingOfIndex(cmbTransmitSignalingType.SelectedIndex());

  if (edited(cmbTxPowerControl)) StoreIndex(cmbTxPowerControl, channel.TxPowerControl);
  check(chkEnableScrambler, channel.Scrambler);
  check(chkChannelinScanGroupA, channel.GroupA);
  check(chkChannelinScanGroupB, channel.GroupB);
  std::string aux = channel.AuxData;
  aux.resize(chkAuxiliaryData.size(), '1');
  for (std::size_t i = 0; i < chkAuxiliaryData.size(); ++i)
    if (edited(chkAuxiliaryData[i])) aux[i] = chkAuxiliaryData[i].Checked() ? '1' : '0';
  if (aux != channel.AuxData && channel.AuxData.size() <= aux.size()) {
    bool any = false;
    for (const auto& box : chkAuxiliaryData) any = any || edited(box);
    if (any) channel.AuxData = aux;
  }

  // A tone choice shows nothing when the channel's code is no tone of its list (a special
  // tone on a radio no longer marked special, say); the channel then keeps its code.
  if (edited(cmbCTCSSFrequenciesRx) && cmbCTCSSFrequenciesRx.SelectedIndex() >= 0) {
    channel.RxCTCSSCode = RoundToByte(cmbCTCSSFrequenciesRx.SelectedData());
    channel.RxSquelchToneFrequency =
        static_cast<float>(NumberTextValue(cmbCTCSSFrequenciesRx.Text()));
  }
  if (edited(cmbCTCSSFrequenciesTx) && cmbCTCSSFrequenciesTx.SelectedIndex() >= 0) {
    channel.TxCTCSSCode = RoundToByte(cmbCTCSSFrequenciesTx.SelectedData());
    channel.TxSquelchToneFrequency =
        static_cast<float>(NumberTextValue(cmbCTCSSFrequenciesTx.Text()));
  }
  if (edited(ReceiveOctal)) channel.RxSignalData = OctalCodeValue(ReceiveOctal.Text());
  if (edited(txtTransmitOctal)) channel.TxSignalData = OctalCodeValue(txtTransmitOctal.Text());

  if (ModelProfile) channel.ModelName = ModelProfile->Model;

  check(chkBurstToneEnable, channel.PTTBurstToneEnable);
  check(chkTranspondToneEnable, channel.TranspondToneEnable);
  if (edited(txtBurstFeq)) channel.BurstFrequency = static_cast<float>(txtBurstFeq.Value());
  if (edited(txtBurstDuration))
    channel.BurstDuration = static_cast<float>(txtBurstDuration.Value());
  if (edited(cmbRFPowerSelection) && cmbRFPowerSelection.SelectedIndex() >= 0)
    channel.RFPower = cmbRFPowerSelection.Text() == "Low";
  if (edited(cmbSubsignalingType)) StoreIndex(cmbSubsignalingType, channel.SubsignalingType);
  if (edited(txtChannelName)) channel.ChannelName = txtChannelName.Text();

  // A channel the user takes out of use leaves every group it was in.
  if (RadioType == 1 && receiveEdited && channel.RxFrequency == 0)
    for (std::int32_t n = 1; n <= Channels.Count(); ++n)
      if (&Channels.Item(n) == &channel) RemoveChannelFromGroups(static_cast<std::int16_t>(n));
}

void frmMain::ShowChannel(const clsChannel& channel) {
  const bool qvr = RadioType == 0;
  checkedMegahertz_ = {channel.RxFrequency / kHzPerMHz, channel.TxFrequency / kHzPerMHz};
  ReceiveChannelFreq.SetText(FrequencyText(checkedMegahertz_[0], qvr));
  txtTransmitChannelFreq.SetText(FrequencyText(checkedMegahertz_[1], qvr));

  // Each half shows its own tone and code whatever its signalling, so that storing the page
  // gives the channel back unchanged and no value of the channel shown before stays behind.
  auto showSignalling = [](std::int32_t signalling, std::uint8_t toneCode, std::int16_t code,
                           ChoiceField& type, ChoiceField& tone, TextField& codeText) {
    type.Select(IndexOfSignalling(signalling));
    if (signalling == 3) {
      codeText.SetText("");
      tone.Select(tone.Count() > 0 ? 0 : -1);
      return;
    }
    tone.Select(tone.FindData(toneCode));
    codeText.SetText(signalling == 1 ? OctalCodeText(code) : "");
  };
  showSignalling(channel.RxSignalling, channel.RxCTCSSCode, channel.RxSignalData,
                 cmbReceiveSignalingType, cmbCTCSSFrequenciesRx, ReceiveOctal);
  showSignalling(channel.TxSignalling, channel.TxCTCSSCode, channel.TxSignalData,
                 cmbTransmitSignalingType, cmbCTCSSFrequenciesTx, txtTransmitOctal);

  ShowIndex(cmbTxPowerControl, channel.TxPowerControl);
  chkEnableScrambler.SetChecked(channel.Scrambler);
  chkChannelinScanGroupA.SetChecked(channel.GroupA);
  chkChannelinScanGroupB.SetChecked(channel.GroupB);
  for (std::size_t i = 0; i < chkAuxiliaryData.size(); ++i)
    chkAuxiliaryData[i].SetChecked(i < channel.AuxData.size() && channel.AuxData[i] == '1');

  chkBurstToneEnable.SetChecked(channel.PTTBurstToneEnable);
  chkTranspondToneEnable.SetChecked(channel.TranspondToneEnable);
  char burst[32];
  std::snprintf(burst, sizeof burst, "%.1f", static_cast<double>(channel.BurstFrequency));
  txtBurstFeq.SetText(burst);
  txtBurstDuration.SetText(ShortestText(channel.BurstDuration));
  cmbRFPowerSelection.Select(channel.RFPower ? 0 : 1);
  ShowIndex(cmbSubsignalingType, channel.SubsignalingType);
  txtChannelName.SetText(TrimEnd(channel.ChannelName));
  shownChannel_ = &channel;
  shown_.Remember({PageAt(5)});
}

}  // namespace tallisk
