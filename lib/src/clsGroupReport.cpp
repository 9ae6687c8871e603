// A KM2 group as the printed report shows it.

#include "reportText.h"
#include "tallisk/clsGroup.h"

namespace tallisk {

std::string clsGroup::CreateHumanViewableString(std::int16_t GroupNumber) const {
  using namespace report_text;
  std::string r;
  AddLine(r, "Group Number", StrForm(GroupNumber));
  AddLine(r, "Group Name", GroupName);
  AddLine(r, "Priority Channel 1", PlainForm(PriorityChannel1));
  AddLine(r, "Priority Channel 2", PlainForm(PriorityChannel2));
  AddLine(
      r, "Busy Channel Lock-Out",
      NameOf(BusyChannelLockOut, {{0, "NSQ"}, {1, "Signalling"}, {3, "None"}}).value_or("Special"));
  AddLine(r, "Time-Out Timer (sec)", PlainForm(TimeOutTimer));
  AddLine(r, "Scan Timing Interval A (msec)", StrForm(IntervalA));
  AddLine(r, "Scan Timing Interval B DCS", StrForm(IntervalBDCS));
  AddLine(r, "Scan Timing Interval B CTCSS", StrForm(IntervalBCTCSS));
  AddLine(r, "Scan Timing RX Scan Hold (sec)", StrForm(RXScanHold));
  AddLine(r, "Scan Timing TX Scan Hold (sec)", StrForm(TXScanHold));
  AddLine(r, "Pri Ch Sampling Ratio", StrForm(PriChSamplingRatio));
  AddLine(r, "Pri Ch Sampling Rate", StrForm(PriChSamplingRate));
  AddLine(r, "Scan-Holding Events",
          NameOf(ScanHoldingEvents, {{0, "Busy/NSQ"}, {1, "Busy/Signaling"}, {2, "Open/NSQ"}})
              .value_or("Open/Signaling"));
  AddLine(r, "TX on Priority Channel ?", YesNo(TXOnPriorityChannel));
  AddLine(r, "Delete Ch Table Clear",
          NameOf(DeleteChTableClear, {{0, "Power/Scan"}, {1, "Power Off"}, {3, "No Clear"}})
              .value_or("Scan Off"));
  AddLine(r, "Un-Key Delay Time (msec)", StrForm(UnKeyDelayTime));
  AddLine(r, "Multi-Digit Decode Format",
          NameOf(MultiDigitDecodeFormat, {{0, "2805"}, {1, "DTMF"}}).value_or("Disable"));
  AddLine(r, "Enable PTT ANI ?", YesNo(EnablePTTANI));
  AddLine(r, "Enable ANI Transpond ?", YesNo(EnableANITranspond));
  AddLine(r, "Enable ANI on MON Button ?", YesNo(EnableANIOnMONButton));
  AddLine(r, "DTMF/2805 ID Number", DTMF2805IDNumber);
  return r;
}

}  // namespace tallisk
