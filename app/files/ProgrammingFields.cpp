#include "files/ProgrammingFields.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tallisk {

namespace {

using H = clsRadioHeader;
using C = clsChannel;
using G = clsGroup;
using E = clsChannelGroup;

const std::vector<const char*> kSignalling = {"CTCSS", "DCS", "", "none"};
const std::vector<const char*> kPower = {"low", "normal"};
const std::vector<const char*> kSubsignalling = {"type 1", "type 2", "type 3", "none"};

// A number as short as it reads back exactly: a float field shows 0.1, not 0.100000001.
template <class N>
std::string Shortest(N value) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
  return std::string(text, end);
}

}  // namespace

const std::vector<ProgrammingField<clsRadioHeader>>& SettingsFields() {
  static const std::vector<ProgrammingField<H>> fields = {
      {"SerialNumber", "serial number", &H::SerialNumber},
      {"CustomerNumber", "customer number", &H::CustomerNumber},
      {"DateRadio", "date", &H::DateRadio},
      {"Polarity", "polarity", &H::Polarity},
      {"TalkAround", "talk around", &H::TalkAround},
      {"DigitalControlSquelch", "digital control squelch", &H::DigitalControlSquelch},
      {"ChannelSwitchType", "channel switch type", &H::ChannelSwitchType},
      {"IntervalATime", "interval A time", &H::IntervalATime},
      {"IntervalBTime", "interval B time", &H::IntervalBTime},
      {"HoldTimeAfterRx", "hold time after receive", &H::HoldTimeAfterRx},
      {"HoldTimeAfterTx", "hold time after transmit", &H::HoldTimeAfterTx},
      {"TxDelayTime", "transmit delay time", &H::TxDelayTime},
      {"ScanListClear", "scan list clear", &H::ScanListClear},
      {"ScanHoldConditions", "scan hold conditions", &H::ScanHoldConditions},
      {"ScanMethod", "scan method", &H::ScanMethod},
      {"ChannelRollOver", "channel roll-over", &H::ChannelRollOver},
      {"PriorityCnlMonitorCycle", "priority monitor cycle", &H::PriorityCnlMonitorCycle},
      {"PriorityCnlMonitorTime", "priority monitor time", &H::PriorityCnlMonitorTime},
      {"PriorityChannelMonitorEnable", "priority monitor", &H::PriorityChannelMonitorEnable},
      {"Priority2Channel", "second priority channel", &H::Priority2Channel},
      {"LoopSwitchTimer", "loop switch timer", &H::LoopSwitchTimer},
      {"AuxKeyType", "auxiliary key type", &H::AuxKeyType},
      {"BeepA", "beep A", &H::BeepA},
      {"BeepB", "beep B", &H::BeepB},
      {"BeepC", "beep C", &H::BeepC},
      {"BeepD", "beep D", &H::BeepD},
      {"NormalPower", "normal power", &H::NormalPower},
      {"DePower", "low power", &H::DePower},
      {"MaxModulation", "maximum modulation", &H::MaxModulation},
      {"CrystalCharType", "crystal characteristic", &H::CrystalCharType},
      {"FrequencyControlData", "frequency control", &H::FrequencyControlData},
      {"BusyChannelLockOut", "busy channel lock-out", &H::BusyChannelLockOut},
      {"TxTimeOutTimer", "transmit time-out timer", &H::TxTimeOutTimer},
      {"OffHookScanStop", "off-hook scan stop", &H::OffHookScanStop},
      {"CTCSSRiseTime", "CTCSS rise time", &H::CTCSSRiseTime},
      {"CTCSSFallTime", "CTCSS fall time", &H::CTCSSFallTime},
      {"CDCSSFallTime", "DCS fall time", &H::CDCSSFallTime},
      {"ChatteringCount", "chattering count", &H::ChatteringCount},
      {"CDCSSRiseErrCount", "DCS rise error count", &H::CDCSSRiseErrCount},
      {"CDCSSFallErrCount", "DCS fall error count", &H::CDCSSFallErrCount},
      {"CTCSSKeyForm1", "CTCSS key 1", &H::CTCSSKeyForm1},
      {"CTCSSKeyForm2", "CTCSS key 2", &H::CTCSSKeyForm2},
      {"CTCSSKeyForm3", "CTCSS key 3", &H::CTCSSKeyForm3},
      {"CTCSSKeyForm4", "CTCSS key 4", &H::CTCSSKeyForm4},
      {"CTCSSKeyForm5", "CTCSS key 5", &H::CTCSSKeyForm5},
      {"CTCSSKeyForm6", "CTCSS key 6", &H::CTCSSKeyForm6},
      {"CTCSSKeyForm7", "CTCSS key 7", &H::CTCSSKeyForm7},
      {"CTCSSKeyForm8", "CTCSS key 8", &H::CTCSSKeyForm8},
      {"CTCSSKeyForm9", "CTCSS key 9", &H::CTCSSKeyForm9},
      {"CTCSSKeyForm10", "CTCSS key 10", &H::CTCSSKeyForm10},
      {"OneTouchSelection", "one-touch selection", &H::OneTouchSelection},
      {"SquelchTonesCodes", "squelch tones and codes", &H::SquelchTonesCodes},
      {"DisplayArrangement", "display arrangement", &H::DisplayArrangement},
      {"Aux1", "auxiliary key 1", &H::Aux1},
      {"Aux2", "auxiliary key 2", &H::Aux2},
      {"Aux3", "auxiliary key 3", &H::Aux3},
      {"Aux4", "auxiliary key 4", &H::Aux4},
      {"Aux5", "auxiliary key 5", &H::Aux5},
      {"Aux6", "auxiliary key 6", &H::Aux6},
      {"Aux7", "auxiliary key 7", &H::Aux7},
      {"Aux8", "auxiliary key 8", &H::Aux8},
      {"DCSTail", "DCS tail", &H::DCSTail, "ms"},
      {"CTCSSSquelchTail", "CTCSS squelch tail", &H::CTCSSSquelchTail, "ms"},
      {"NoiseSquelchTail", "noise squelch tail", &H::NoiseSquelchTail, "ms"},
      {"EnableCTCSSHPF", "CTCSS high-pass filter", &H::EnableCTCSSHPF},
      {"MomentaryChannelKnob", "momentary channel knob", &H::MomentaryChannelKnob},
      {"MuteUntilSignalled", "mute until signalled", &H::MuteUntilSignalled},
      {"PRIButtonFunctionEnable", "PRI button", &H::PRIButtonFunctionEnable},
      {"ScanStopMicOffHook", "scan stop with microphone off hook", &H::ScanStopMicOffHook},
      {"TalkAroundMic", "talk around on microphone", &H::TalkAroundMic},
      {"EnableGroupRollover", "group roll-over", &H::EnableGroupRollover},
      {"EnableChannelRollover", "channel roll-over", &H::EnableChannelRollover},
      {"SecondLocalRX", "second local receiver", &H::SecondLocalRX},
      {"ScanChannelSlaving", "scan channel slaving", &H::ScanChannelSlaving},
      {"FrontPanelConfiguration", "front panel", &H::FrontPanelConfiguration},
      {"OptionPortType", "option port", &H::OptionPortType},
      {"SelectiveCallReceipt", "selective call receipt tone", &H::SelectiveCallReceipt},
      {"SelfTestAndError", "self test and error tone", &H::SelfTestAndError},
      {"PushButtonFeedback", "push button tone", &H::PushButtonFeedback},
      {"TimeOutBusyLockOut", "time-out and busy tone", &H::TimeOutBusyLockOut},
      {"PRI1PRI2", "PRI1/PRI2 tone", &H::PRI1PRI2},
      {"RelocateAddDelKeys", "add/delete keys", &H::RelocateAddDelKeys},
      {"SCANPRIMonitor", "scan PRI monitor", &H::SCANPRIMonitor},
      {"OperationType", "operation type", &H::OperationType},
      {"HornOn", "horn on", &H::HornOn, "s"},
      {"HornDelay", "horn delay", &H::HornDelay, "s"},
  };
  return fields;
}

const std::vector<ProgrammingField<clsChannel>>& ChannelFields() {
  static const std::vector<ProgrammingField<C>> fields = {
      {"ChannelName", "name", &C::ChannelName},
      {"RxFrequency", "receive", &C::RxFrequency, "MHz"},
      {"RxChannelData", "receive in use", &C::RxChannelData},
      {"RxSignalling", "receive signalling", &C::RxSignalling, "", &kSignalling},
      {"RxCTCSSCode", "receive CTCSS code", &C::RxCTCSSCode},
      {"RxSignalData", "receive DCS code", &C::RxSignalData},
      {"TxFrequency", "transmit", &C::TxFrequency, "MHz"},
      {"TxChannelData", "transmit in use", &C::TxChannelData},
      {"TxSignalling", "transmit signalling", &C::TxSignalling, "", &kSignalling},
      {"TxCTCSSCode", "transmit CTCSS code", &C::TxCTCSSCode},
      {"TxSignalData", "transmit DCS code", &C::TxSignalData},
      {"TxPowerControl", "power", &C::TxPowerControl, "", &kPower},
      {"RFPower", "RF power", &C::RFPower},
      {"Scrambler", "scrambler", &C::Scrambler},
      {"GroupA", "scan group A", &C::GroupA},
      {"GroupB", "scan group B", &C::GroupB},
      {"AuxData", "auxiliary outputs", &C::AuxData},
      {"SubsignalingType", "subsignalling", &C::SubsignalingType, "", &kSubsignalling},
      {"PTTBurstToneEnable", "PTT burst tone", &C::PTTBurstToneEnable},
      {"TranspondToneEnable", "transpond tone", &C::TranspondToneEnable},
      {"BurstFrequency", "burst frequency", &C::BurstFrequency, "Hz"},
      {"BurstDuration", "burst duration", &C::BurstDuration, "ms"},
  };
  return fields;
}

const std::vector<ProgrammingField<clsGroup>>& GroupFields() {
  static const std::vector<ProgrammingField<G>> fields = {
      {"GroupName", "name", &G::GroupName},
      {"PriorityChannel1", "priority channel 1", &G::PriorityChannel1},
      {"PriorityChannel2", "priority channel 2", &G::PriorityChannel2},
      {"TimeOutTimer", "time-out timer", &G::TimeOutTimer, "s"},
      {"BusyChannelLockOut", "busy channel lock-out", &G::BusyChannelLockOut},
      {"TXOnPriorityChannel", "transmit on priority channel", &G::TXOnPriorityChannel},
      {"ScanHoldingEvents", "scan holding events", &G::ScanHoldingEvents},
      {"PriChSamplingRate", "priority sampling rate", &G::PriChSamplingRate},
      {"PriChSamplingRatio", "priority sampling ratio", &G::PriChSamplingRatio},
      {"RXScanHold", "receive scan hold", &G::RXScanHold, "s"},
      {"TXScanHold", "transmit scan hold", &G::TXScanHold, "s"},
      {"IntervalA", "scan interval A", &G::IntervalA, "ms"},
      {"IntervalBCTCSS", "scan interval B CTCSS", &G::IntervalBCTCSS},
      {"IntervalBDCS", "scan interval B DCS", &G::IntervalBDCS},
      {"DeleteChTableClear", "delete channel table clear", &G::DeleteChTableClear},
      {"UnKeyDelayTime", "un-key delay time", &G::UnKeyDelayTime, "ms"},
      {"MultiDigitDecodeFormat", "multi-digit decode format", &G::MultiDigitDecodeFormat},
      {"DTMF2805IDNumber", "DTMF/2805 ID", &G::DTMF2805IDNumber},
      {"EnablePTTANI", "PTT ANI", &G::EnablePTTANI},
      {"EnableANITranspond", "ANI transpond", &G::EnableANITranspond},
      {"EnableANIOnMONButton", "ANI on MON button", &G::EnableANIOnMONButton},
      {"ANIRate", "ANI rate", &G::ANIRate, "ms"},
      {"ANIDelay", "ANI delay", &G::ANIDelay, "ms"},
      {"ANIInterval", "ANI interval", &G::ANIInterval, "ms"},
      {"ANIRepetitions", "ANI repetitions", &G::ANIRepetitions},
  };
  return fields;
}

const std::vector<ProgrammingField<clsChannelGroup>>& TableFields() {
  static const std::vector<ProgrammingField<E>> fields = {
      {"ChannelNumber", "channel", &E::ChannelNumber},
      {"GroupNumber", "group", &E::GroupNumber},
      {"Programmed", "in use", &E::Programmed},
  };
  return fields;
}

template <class T>
std::string FieldText(const ProgrammingField<T>& field, const T& object) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto& value = object.*member;
        using V = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<V, std::string>) {
          // Records pad their texts with blanks: those are left off, and an empty text or one
          // that starts with a blank is quoted, so it shows.
          std::string text = value;
          while (!text.empty() && text.back() == ' ') text.pop_back();
          return !text.empty() && text.front() != ' ' ? text : "\"" + text + "\"";
        } else if constexpr (std::is_same_v<V, Date>) {
          return value.ToIsoString();
        } else if constexpr (std::is_same_v<V, bool>) {
          return value ? "yes" : "no";
        } else if constexpr (std::is_floating_point_v<V>) {
          if (std::string_view(field.Unit) == "MHz") {
            char text[32];
            std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value) / 1e6);
            return text;
          }
          return Shortest(value);
        } else {
          const auto n = static_cast<long>(value);
          const auto* names = field.ValueNames;
          if (names != nullptr && n >= 0 && static_cast<std::size_t>(n) < names->size() &&
              *(*names)[static_cast<std::size_t>(n)] != '\0')
            return (*names)[static_cast<std::size_t>(n)];
          return std::to_string(n);
        }
      },
      field.Where);
}

template std::string FieldText(const ProgrammingField<H>&, const H&);
template std::string FieldText(const ProgrammingField<C>&, const C&);
template std::string FieldText(const ProgrammingField<G>&, const G&);
template std::string FieldText(const ProgrammingField<E>&, const E&);

}  // namespace tallisk
