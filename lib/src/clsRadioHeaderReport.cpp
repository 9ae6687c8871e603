// The radio-wide settings as the printed report shows them.

#include "reportText.h"
#include "tallisk/clsRadioHeader.h"

namespace tallisk {
namespace {

using namespace report_text;

// The lines both families open with.
std::string IdentityLines(const clsRadioHeader& h) {
  std::string r;
  AddLine(r, "Model", h.ModelName);
  AddLine(r, "Injection Aspect", h.InjectionAspect == 1 ? "High Side" : "Low Side");
  AddLine(r, "PLL Reference Frequency", PlainForm(h.PLLReferenceFreq));
  AddLine(r, "Serial Number", h.SerialNumber);
  AddLine(r, "Customer Number", h.CustomerNumber);
  AddLine(r, "Date", h.DateRadio.ToLongDateString());
  return r;
}

std::optional<std::string_view> HoldTime(std::int32_t value) {
  return NameOf(value, {{0, "0.3 sec"}, {1, "2.5 sec"}, {2, "5 sec"}, {3, "Infinite"}});
}

std::string_view BeepVolume(std::int32_t value) {
  return value == 1 ? "High" : value == 0 ? "Low" : "None";
}

// Code 3 is type 4, and so is any code without a name of its own.
std::string_view PanelType(std::int32_t value) {
  return NameOf(value, {{0, "Type 1"}, {1, "Type 2"}, {2, "Type 3"}, {4, "None"}})
      .value_or("Type 4");
}

}  // namespace

std::string clsRadioHeader::CreateHumanViewableString() const {
  std::string r = IdentityLines(*this);
  AddLine(r, "Scan Type",
          NameOf(ScanMethod, {{0, "Normal"}, {1, "Modified"}, {2, "Secondary"}, {3, "PS"}}));
  AddLine(r, "Auxilliary Key Type",
          NameOf(AuxKeyType, {{3, "Type 1"}, {2, "Type 2"}, {1, "Type 3"}, {0, "Type 4"}}));
  AddLine(r, "Enable Channel Rollover", YesNo(ChannelRollOver));
  AddLine(r, "Priority Channel Monitor Time",
          NameOf(PriorityCnlMonitorTime,
                 {{0, "0.75 sec"}, {1, "1.00 sec"}, {2, "1.25 sec"}, {3, "1.50 sec"}}));
  AddLine(r, "Priority Channel Monitor Cycle", PriorityCnlMonitorCycle == 1 ? "1 to 8" : "1 to 4");
  // The setting the page offers as "Priority 2 Channel?". PriorityChannelMonitorEnable is
  // only the block's always-set bit read back, which would print Yes for every radio read
  // and No for every new programming, whatever the technician chose.
  AddLine(r, "Priority 2 Channel", YesNo(Priority2Channel));
  AddLine(
      r, "Scan Hold Conditions",
      NameOf(ScanHoldConditions,
             {{0, "Open/NSQ"}, {1, "Busy/NSQ"}, {2, "Open/Signalling"}, {3, "Busy/Signalling"}}));
  AddLine(r, "Scan Hold On RX", HoldTime(HoldTimeAfterRx));
  AddLine(r, "Scan Hold After TX", HoldTime(HoldTimeAfterTx));
  AddLine(r, "When Table Is Deleted",
          NameOf(ScanListClear,
                 {{0, "Power/Scan"}, {1, "Power Off"}, {2, "Scan Off"}, {3, "No Clear"}}));
  AddLine(r, "Scan Stop w/Mic Off-Hook", YesNo(OffHookScanStop));
  AddLine(
      r, "Busy Channel Lock Out",
      NameOf(BusyChannelLockOut, {{0, "NSQ"}, {1, "Signalling"}, {2, "Special"}, {3, "Disable"}}));
  AddLine(r, "Tx Time-Out Timer",
          NameOf(TxTimeOutTimer, {{0, "30 sec"},
                                  {1, "60 sec"},
                                  {2, "90 sec"},
                                  {3, "120 sec"},
                                  {4, "150 sec"},
                                  {5, "180 sec"},
                                  {6, "210 sec"},
                                  {7, "Infinite"}}));
  AddLine(r, "Beep A ?", YesNo(BeepA));
  AddLine(r, "Beep B ?", YesNo(BeepB));
  AddLine(r, "Beep C ?", YesNo(BeepC));
  AddLine(r, "Beep D ?", YesNo(BeepD));
  return r;
}

std::string clsRadioHeader::CreateHumanViewableStringKM2() const {
  std::string r = IdentityLines(*this);
  AddLine(r, "Operation Type", OperationType == 0 ? "General Purpose" : "Public Safety");
  AddLine(r, "Relocate Add/Del Keys", RelocateAddDelKeys == 1 ? "Special" : "Standard");
  AddLine(r, "Enable Channel Rollover ?", YesNo(EnableChannelRollover));
  AddLine(r, "PRI1/PRI2 Beep Volume", BeepVolume(PRI1PRI2));
  AddLine(r, "Time-Out/Busy Lock Out Beep Volume", BeepVolume(TimeOutBusyLockOut));
  AddLine(r, "Push Button Feedback Beep Volume", BeepVolume(PushButtonFeedback));
  AddLine(r, "Self Test and Error Beep Volume", BeepVolume(SelfTestAndError));
  AddLine(r, "Selective Call Receipt Beep Volume", BeepVolume(SelectiveCallReceipt));
  AddLine(r, "Option Port Type", PanelType(OptionPortType));
  AddLine(r, "Front Panel Configuration", PanelType(FrontPanelConfiguration));
  std::string aux;
  for (const bool key : {Aux1, Aux2, Aux3, Aux4, Aux5, Aux6, Aux7, Aux8}) {
    if (!aux.empty()) aux += ' ';
    aux += key ? 'Y' : 'N';
  }
  // The auxiliary key enables print under the panel label, as earlier reports have them.
  AddLine(r, "Front Panel Configuration", aux);
  AddLine(r, "Scan Channel Slaving",
          ScanChannelSlaving == 0 ? "PRI1/TX CHANNEL SLAVING" : "TX CHANNEL SLAVING");
  AddLine(r, "PRI Button Function Enable ?", YesNo(PRIButtonFunctionEnable));
  AddLine(r, "Mute Until Signalled ?", YesNo(MuteUntilSignalled));
  AddLine(r, "Momentary Channel Knob ?", YesNo(MomentaryChannelKnob));
  AddLine(r, "Second Local RX", SecondLocalRX == 1 ? "High" : "Low");
  AddLine(r, "Enable CTCSS HPF ?", YesNo(EnableCTCSSHPF));
  AddLine(r, "Noise-Squelch Tail (msec)", StrForm(NoiseSquelchTail));
  AddLine(r, "CTCSS-Squelch Tail (msec)", StrForm(CTCSSSquelchTail));
  AddLine(r, "DCS Tail", StrForm(DCSTail));
  return r;
}

}  // namespace tallisk
