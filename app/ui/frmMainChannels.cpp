// The channels of the main window: the band the model's channels are tuned with, building
// the channels from the channel page's defaults, the channel page's transfers, and the KM2
// table of channel-to-group memberships.

#include <cmath>
#include <cstdlib>

#include "tallisk/conversions.h"
#include "ui/PageText.h"
#include "ui/frmMain.h"

namespace tallisk {

namespace {

constexpr int kTableEntries = 320;
constexpr double kHzPerMHz = 1000000;

const char* const kSignallingTexts[] = {"CTCSS", "DCS", "None"};

// Signalling property (CTCSS 0, CDCSS 1, None 3) and the choice's index.
std::int32_t SignallingOfIndex(int index) {
  return index == 2 ? 3 : index;
}
int IndexOfSignalling(std::int32_t signalling) {
  switch (signalling) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 3:
      return 2;
    default:
      return -1;
  }
}

// "+23" / "-23": the octal digits' value, negative for an inverted code.
std::int16_t OctalCodeValue(const std::string& text) {
  const double number = NumberTextValue(text);
  const long magnitude = static_cast<long>(std::fabs(number));
  const long value = std::strtol(std::to_string(magnitude).c_str(), nullptr, 8);
  return RoundToInt16(number < 0 ? -static_cast<double>(value) : static_cast<double>(value));
}

std::string OctalCodeText(std::int16_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%o", static_cast<unsigned>(std::abs(value)));
  return std::string(value >= 1 ? "+" : "-") + digits;
}

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
}

// --- Channel-group table ---

void frmMain::ClearChannelGroupTable() {
  for (auto& entry : ChannelGroupTable) entry.Programmed = false;
}

std::int32_t frmMain::LastProgrammedEntry() const {
  for (std::int32_t i = ChannelGroupTable.Count(); i >= 1; --i)
    if (ChannelGroupTable.Item(i).Programmed) return i;
  return 0;
}

void frmMain::RemoveChannelFromGroups(std::int16_t channel) {
  for (auto& entry : ChannelGroupTable)
    if (entry.Programmed && entry.ChannelNumber == channel) entry.Programmed = false;
  // The gaps are filled from the end, so the programmed entries stay contiguous.
  std::int32_t last = LastProgrammedEntry();
  if (last == 0) return;
  for (std::int32_t i = 1; i <= kTableEntries && i <= ChannelGroupTable.Count(); ++i) {
    clsChannelGroup& entry = ChannelGroupTable.Item(i);
    if (entry.Programmed) continue;
    if (i >= last) break;
    clsChannelGroup& moved = ChannelGroupTable.Item(last);
    entry.ChannelNumber = moved.ChannelNumber;
    entry.GroupNumber = moved.GroupNumber;
    entry.Programmed = true;
    moved.Programmed = false;
    last = LastProgrammedEntry();
  }
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
  ReceiveChannelFreq.SetText("");
  txtTransmitChannelFreq.SetText("");

  FillChoice(cmbSubsignalingType, {"Type 1", "Type 2", "Type 3", "None"}, 3);
  FillChoice(cmbRFPowerSelection, {"Low", "Normal"}, 0);
  txtBurstFeq.SetText("694.4");
  txtBurstDuration.SetText("3200");
  txtChannelName.SetText("");

  CurrentChannel = 1;
  CurrentGroup = 1;
  SelectGroupNumberQuietly(1);
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
}

void frmMain::StepChannel(int step) {
  const int channels = ModelProfile ? ModelProfile->NumberOfChannels : 0;
  const int index = cmbChannelNumber.SelectedIndex();
  if (step > 0 && CurrentChannel < channels && index + 1 < cmbChannelNumber.Count())
    cmbChannelNumber.Select(index + 1);
  if (step < 0 && CurrentChannel > 1 && index >= 1) cmbChannelNumber.Select(index - 1);
}

void frmMain::FrequencyLeft(bool receive) {
  TextField& field = receive ? ReceiveChannelFreq : txtTransmitChannelFreq;
  const double megahertz = field.Value();
  if (receive && megahertz < 0) {
    dialogs_.Inform("System Message", "The minimum value for this item is 0");
    field.SetText(" 0");
    return;
  }
  field.SetText(FrequencyText(megahertz, RadioType == 0));
}

void frmMain::StoreChannel(clsChannel& channel) {
  channel.RxFrequency = ReceiveChannelFreq.Value() * kHzPerMHz;
  if (cmbReceiveSignalingType.SelectedIndex() >= 0)
    channel.RxSignalling = SignallingOfIndex(cmbReceiveSignalingType.SelectedIndex());
  channel.TxFrequency = txtTransmitChannelFreq.Value() * kHzPerMHz;
  if (channel.RxFrequency > 0) channel.RxChannelData = true;
  if (channel.TxFrequency > 0) channel.TxChannelData = true;
  if (cmbTransmitSignalingType.SelectedIndex() >= 0)
    channel.TxSignalling = SignallingOfIndex(cmbTransmitSignalingType.SelectedIndex());

  StoreIndex(cmbTxPowerControl, channel.TxPowerControl);
  channel.Scrambler = chkEnableScrambler.Checked();
  channel.GroupA = chkChannelinScanGroupA.Checked();
  channel.GroupB = chkChannelinScanGroupB.Checked();
  std::string aux;
  for (const auto& box : chkAuxiliaryData) aux += box.Checked() ? '1' : '0';
  channel.AuxData = aux;

  for (ChoiceField* tone : {&cmbCTCSSFrequenciesRx, &cmbCTCSSFrequenciesTx})
    if (tone->SelectedIndex() < 0 && tone->Count() > 0) tone->Select(0);
  if (cmbCTCSSFrequenciesRx.SelectedIndex() >= 0) {
    channel.RxCTCSSCode = RoundToByte(cmbCTCSSFrequenciesRx.SelectedData());
    channel.RxSquelchToneFrequency =
        static_cast<float>(NumberTextValue(cmbCTCSSFrequenciesRx.Text()));
  }
  if (cmbCTCSSFrequenciesTx.SelectedIndex() >= 0) {
    channel.TxCTCSSCode = RoundToByte(cmbCTCSSFrequenciesTx.SelectedData());
    channel.TxSquelchToneFrequency =
        static_cast<float>(NumberTextValue(cmbCTCSSFrequenciesTx.Text()));
  }
  channel.RxSignalData = OctalCodeValue(ReceiveOctal.Text());
  channel.TxSignalData = OctalCodeValue(txtTransmitOctal.Text());

  if (ModelProfile) channel.ModelName = ModelProfile->Model;

  channel.PTTBurstToneEnable = chkBurstToneEnable.Checked();
  channel.TranspondToneEnable = chkTranspondToneEnable.Checked();
  channel.BurstFrequency = static_cast<float>(txtBurstFeq.Value());
  channel.BurstDuration = static_cast<float>(txtBurstDuration.Value());
  if (cmbRFPowerSelection.SelectedIndex() >= 0)
    channel.RFPower = cmbRFPowerSelection.Text() == "Low";
  channel.Scrambler = chkEnableScrambler.Checked();
  StoreIndex(cmbSubsignalingType, channel.SubsignalingType);
  channel.ChannelName = UpperCase(Trim(txtChannelName.Text()));
}

void frmMain::ShowChannel(const clsChannel& channel) {
  const bool qvr = RadioType == 0;
  ReceiveChannelFreq.SetText(FrequencyText(channel.RxFrequency / kHzPerMHz, qvr));
  txtTransmitChannelFreq.SetText(FrequencyText(channel.TxFrequency / kHzPerMHz, qvr));

  auto showSignalling = [](std::int32_t signalling, std::uint8_t toneCode, std::int16_t code,
                           ChoiceField& type, ChoiceField& tone, TextField& codeText) {
    type.Select(IndexOfSignalling(signalling));
    if (signalling == 0) {
      const int entry = tone.FindData(toneCode);
      tone.Select(entry >= 0 ? entry : (tone.Count() > 0 ? 0 : -1));
    } else if (signalling == 1) {
      codeText.SetText(OctalCodeText(code));
    } else if (signalling == 3) {
      codeText.SetText("");
      if (tone.Count() > 0) tone.Select(0);
    }
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
  txtChannelName.SetText(UpperCase(Trim(channel.ChannelName)));
}

}  // namespace tallisk
