#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "tallisk/Date.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"

namespace tallisk {
namespace {

// The value on the last line of `label` (at most 30 characters), or "-" when there is none.
std::string ValueOf(const std::string& report, const std::string& label) {
  const std::string text = "\n" + report;
  const std::string key = "\n" + label + std::string(30 - label.size(), ' ') + ": ";
  const std::size_t at = text.rfind(key);
  if (at == std::string::npos) return "-";
  const std::size_t from = at + key.size();
  return text.substr(from, text.find("\r\n", from) - from);
}

// The values of `label` in the reports for codes -1, 0 ... `last`, joined with "|".
std::string Values(const std::function<std::string(int)>& report, const std::string& label,
                   int last) {
  std::string joined;
  for (int code = -1; code <= last; ++code) {
    joined += (code < 0 ? "" : "|") + ValueOf(report(code), label);
  }
  return joined;
}

// The literal blocks also hold the label rule: labels padded to 30 columns, a label of exactly
// 30 followed directly by ": ", longer labels cut to their first 30 characters.
TEST(ReportText, SettingsPrintEveryLineInOrder) {
  clsRadioHeader h;
  h.ModelName = "52-37211";
  h.PLLReferenceFreq = 6.25f;
  h.SerialNumber = "12345";
  h.CustomerNumber = "C0001";
  h.DateRadio = Date(2026, 12, 6);
  h.InjectionAspect = h.PriorityCnlMonitorCycle = h.HoldTimeAfterRx = h.BusyChannelLockOut = 1;
  h.ScanMethod = h.PriorityCnlMonitorTime = h.ScanListClear = 2;
  h.AuxKeyType = h.ScanHoldConditions = h.HoldTimeAfterTx = 3;
  h.TxTimeOutTimer = 4;
  h.ChannelRollOver = h.Priority2Channel = h.OffHookScanStop = h.BeepA = h.BeepC = true;
  h.OperationType = h.RelocateAddDelKeys = h.PRI1PRI2 = h.SelectiveCallReceipt = 1;
  h.ScanChannelSlaving = h.SecondLocalRX = 1;
  h.PushButtonFeedback = 2;
  h.SelfTestAndError = -1;
  h.OptionPortType = 4;
  h.FrontPanelConfiguration = 3;
  h.Aux1 = h.Aux3 = h.Aux5 = h.Aux7 = true;
  h.EnableChannelRollover = h.PRIButtonFunctionEnable = h.MomentaryChannelKnob = true;
  h.NoiseSquelchTail = 250;
  h.CTCSSSquelchTail = 25.5f;

  const std::string identity =
      "Model                         : 52-37211\r\n"
      "Injection Aspect              : High Side\r\n"
      "PLL Reference Frequency       : 6.25\r\n"
      "Serial Number                 : 12345\r\n"
      "Customer Number               : C0001\r\n"
      "Date                          : Sunday, December 6, 2026\r\n";
  EXPECT_EQ(h.CreateHumanViewableString(), identity +
                                               "Scan Type                     : Secondary\r\n"
                                               "Auxilliary Key Type           : Type 1\r\n"
                                               "Enable Channel Rollover       : Yes\r\n"
                                               "Priority Channel Monitor Time : 1.25 sec\r\n"
                                               "Priority Channel Monitor Cycle: 1 to 8\r\n"
                                               "Priority 2 Channel            : Yes\r\n"
                                               "Scan Hold Conditions          : Busy/Signalling\r\n"
                                               "Scan Hold On RX               : 2.5 sec\r\n"
                                               "Scan Hold After TX            : Infinite\r\n"
                                               "When Table Is Deleted         : Scan Off\r\n"
                                               "Scan Stop w/Mic Off-Hook      : Yes\r\n"
                                               "Busy Channel Lock Out         : Signalling\r\n"
                                               "Tx Time-Out Timer             : 150 sec\r\n"
                                               "Beep A ?                      : Yes\r\n"
                                               "Beep B ?                      : No\r\n"
                                               "Beep C ?                      : Yes\r\n"
                                               "Beep D ?                      : No\r\n");
  EXPECT_EQ(h.CreateHumanViewableStringKM2(),
            identity +
                "Operation Type                : Public Safety\r\n"
                "Relocate Add/Del Keys         : Special\r\n"
                "Enable Channel Rollover ?     : Yes\r\n"
                "PRI1/PRI2 Beep Volume         : High\r\n"
                "Time-Out/Busy Lock Out Beep Vo: Low\r\n"
                "Push Button Feedback Beep Volu: None\r\n"
                "Self Test and Error Beep Volum: None\r\n"
                "Selective Call Receipt Beep Vo: High\r\n"
                "Option Port Type              : None\r\n"
                "Front Panel Configuration     : Type 4\r\n"
                "Front Panel Configuration     : Y N Y N Y N Y N\r\n"
                "Scan Channel Slaving          : TX CHANNEL SLAVING\r\n"
                "PRI Button Function Enable ?  : Yes\r\n"
                "Mute Until Signalled ?        : No\r\n"
                "Momentary Channel Knob ?      : Yes\r\n"
                "Second Local RX               : High\r\n"
                "Enable CTCSS HPF ?            : No\r\n"
                "Noise-Squelch Tail (msec)     :  250\r\n"
                "CTCSS-Squelch Tail (msec)     :  25.5\r\n"
                "DCS Tail                      :  0\r\n");
}
// Every code of every QVR list; "-" is a code the list does not name, which leaves its line out.
TEST(ReportText, QvrSettingsNameEveryCodeAndLeaveUnnamedOnesOut) {
  const auto report = [](int code) {
    clsRadioHeader h;
    h.ScanMethod = h.AuxKeyType = h.PriorityCnlMonitorTime = h.ScanHoldConditions = code;
    h.HoldTimeAfterRx = h.HoldTimeAfterTx = h.ScanListClear = h.BusyChannelLockOut = code;
    h.TxTimeOutTimer = code;
    return h.CreateHumanViewableString();
  };
  EXPECT_EQ(Values(report, "Scan Type", 8), "-|Normal|Modified|Secondary|PS|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Auxilliary Key Type", 8), "-|Type 4|Type 3|Type 2|Type 1|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Priority Channel Monitor Time", 8),
            "-|0.75 sec|1.00 sec|1.25 sec|1.50 sec|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Scan Hold Conditions", 8),
            "-|Open/NSQ|Busy/NSQ|Open/Signalling|Busy/Signalling|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Scan Hold On RX", 8), "-|0.3 sec|2.5 sec|5 sec|Infinite|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Scan Hold After TX", 8), "-|0.3 sec|2.5 sec|5 sec|Infinite|-|-|-|-|-");
  EXPECT_EQ(Values(report, "When Table Is Deleted", 8),
            "-|Power/Scan|Power Off|Scan Off|No Clear|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Busy Channel Lock Out", 8),
            "-|NSQ|Signalling|Special|Disable|-|-|-|-|-");
  EXPECT_EQ(Values(report, "Tx Time-Out Timer", 8),
            "-|30 sec|60 sec|90 sec|120 sec|150 sec|180 sec|210 sec|Infinite|-");
}

TEST(ReportText, GroupPrintsEveryLineInOrder) {
  clsGroup g;
  g.GroupName = "FIR";
  g.PriorityChannel1 = 12;
  g.BusyChannelLockOut = g.ScanHoldingEvents = g.MultiDigitDecodeFormat = 1;
  g.TimeOutTimer = 67.5f;
  g.IntervalA = 250;
  g.IntervalBDCS = 15;
  g.IntervalBCTCSS = 3;
  g.RXScanHold = 2.5f;
  g.TXScanHold = 0.5f;
  g.PriChSamplingRatio = 4;
  g.PriChSamplingRate = 0.3f;
  g.DeleteChTableClear = 3;
  g.UnKeyDelayTime = 105;
  g.TXOnPriorityChannel = g.EnablePTTANI = g.EnableANIOnMONButton = true;
  g.DTMF2805IDNumber = "12AB*#";

  EXPECT_EQ(g.CreateHumanViewableString(7),
            "Group Number                  :  7\r\n"
            "Group Name                    : FIR\r\n"
            "Priority Channel 1            : 12\r\n"
            "Priority Channel 2            : 0\r\n"
            "Busy Channel Lock-Out         : Signalling\r\n"
            "Time-Out Timer (sec)          : 67.5\r\n"
            "Scan Timing Interval A (msec) :  250\r\n"
            "Scan Timing Interval B DCS    :  15\r\n"
            "Scan Timing Interval B CTCSS  :  3\r\n"
            "Scan Timing RX Scan Hold (sec):  2.5\r\n"
            "Scan Timing TX Scan Hold (sec):  0.5\r\n"
            "Pri Ch Sampling Ratio         :  4\r\n"
            "Pri Ch Sampling Rate          :  0.3\r\n"
            "Scan-Holding Events           : Busy/Signaling\r\n"
            "TX on Priority Channel ?      : Yes\r\n"
            "Delete Ch Table Clear         : No Clear\r\n"
            "Un-Key Delay Time (msec)      :  105\r\n"
            "Multi-Digit Decode Format     : DTMF\r\n"
            "Enable PTT ANI ?              : Yes\r\n"
            "Enable ANI Transpond ?        : No\r\n"
            "Enable ANI on MON Button ?    : Yes\r\n"
            "DTMF/2805 ID Number           : 12AB*#\r\n");
  // Unlike the header's lists, the group's choices fall back to their last text.
  const auto report = [](int code) {
    clsGroup g;
    g.BusyChannelLockOut = g.ScanHoldingEvents = g.DeleteChTableClear = code;
    g.MultiDigitDecodeFormat = static_cast<std::int16_t>(code);
    return g.CreateHumanViewableString(1);
  };
  EXPECT_EQ(Values(report, "Busy Channel Lock-Out", 4),
            "Special|NSQ|Signalling|Special|None|Special");
  EXPECT_EQ(Values(report, "Scan-Holding Events", 4),
            "Open/Signaling|Busy/NSQ|Busy/Signaling|Open/NSQ|Open/Signaling|Open/Signaling");
  EXPECT_EQ(Values(report, "Delete Ch Table Clear", 4),
            "Scan Off|Power/Scan|Power Off|Scan Off|No Clear|Scan Off");
  EXPECT_EQ(Values(report, "Multi-Digit Decode Format", 4),
            "Disable|2805|DTMF|Disable|Disable|Disable");
}

TEST(ReportText, QvrChannelHalvesCodesAndFrequencies) {
  clsChannel c;
  c.RxFrequency = 150012500;
  c.RxSquelchToneFrequency = 88.5f;
  c.TxFrequency = 155012500;
  c.TxSignalling = c.TxPowerControl = 1;
  c.TxSignalData = -19;
  c.AuxData = "11111111";
  c.GroupA = true;
  EXPECT_EQ(c.CreateHumanViewableString(),
            "Receive Channel Frequency     : 150.012 500\r\n"
            "Receive Channel Frequency     : CTCSS\r\n"
            "Squelch Tone Frequency        : 88.5\r\n"
            "Transmit Channel Frequency    : 155.012 500\r\n"
            "Transmit Channel Frequency    : DCS\r\n"
            "DCS Code                      : -23\r\n"
            "Tx Power Control              : Normal\r\n"
            "Enable Scrambler?             : No\r\n"
            "Auxiliary Data                : Yes Yes Yes Yes Yes Yes Yes Yes \r\n"
            "Channel in Scan Group A?      : Yes\r\n"
            "Channel in Scan Group B?      : No\r\n");
  // Octal with its sign; 0 counts as positive here, and the lowest code has no positive twin.
  c.TxSignalData = 0;
  EXPECT_EQ(ValueOf(c.CreateHumanViewableString(), "DCS Code"), "+0");
  c.TxSignalData = -32768;
  EXPECT_EQ(ValueOf(c.CreateHumanViewableString(), "DCS Code"), "-100000");
  // A signalling code with no name prints the frequency and nothing about the decoder.
  c.RxSignalling = 2;
  const std::pair<double, const char*> frequencies[] = {{1, "000.000 001"},
                                                        {150012499.6, "150.012 500"},
                                                        {1234567890, "1234.567 890"},
                                                        {-1, "-000.000 001"}};
  for (const auto& [hz, text] : frequencies) {
    c.RxFrequency = hz;
    EXPECT_EQ(ValueOf(c.CreateHumanViewableString(), "Receive Channel Frequency"), text);
  }

  clsChannel rxOnly;
  rxOnly.RxFrequency = 450100000;
  rxOnly.RxSignalling = 3;
  rxOnly.TxSignalling = 1;  // no transmit frequency: no signalling lines for it
  rxOnly.Scrambler = rxOnly.GroupB = true;
  rxOnly.AuxData = "10100000";
  EXPECT_EQ(rxOnly.CreateHumanViewableString(),
            "Receive Channel Frequency     : 450.100 000\r\n"
            "Receive Channel Frequency     : None\r\n"
            "Transmit Channel Frequency    : Not Defined\r\n"
            "Tx Power Control              : Low Only\r\n"
            "Enable Scrambler?             : Yes\r\n"
            "Auxiliary Data                : Yes No Yes No No No No No \r\n"
            "Channel in Scan Group A?      : No\r\n"
            "Channel in Scan Group B?      : Yes\r\n");

  rxOnly.RxFrequency = 0;
  EXPECT_EQ(rxOnly.CreateHumanViewableString(), "This Channel Has Not Been Defined\r\n");
}

TEST(ReportText, Km2ChannelRow) {
  clsChannel c;
  c.ChannelName = "AB";
  c.RxFrequency = 150012500;
  c.TxFrequency = 155012500;
  c.TxSignalling = 1;
  c.TxSignalData = 19;
  // 52 characters: number, name, then frequency, decoder and its kind for each half.
  EXPECT_EQ(c.CreateHumanViewableStringKM2(1, "67.0", "ignored"),
            "   1     AB  150.012500   67.0T   155.012500    +23D");

  // Long texts keep their first characters; a digital code of 0 is "-0" in the table.
  c.ChannelName = "REPEATER";
  c.RxSignalling = 1;
  c.RxSignalData = 0;
  c.TxSignalling = 0;
  EXPECT_EQ(c.CreateHumanViewableStringKM2(320, "unused", "103.5 Hz"),
            " 320 REPEAT  150.012500     -0D   155.012500 103.5 T");

  // No decoder, and a blank transmit half.
  c.ChannelName = "";
  c.RxSignalling = c.TxSignalling = 3;
  c.TxFrequency = 0;
  EXPECT_EQ(c.CreateHumanViewableStringKM2(45, "67.0", "67.0"),
            "  45         150.012500   None    000.000000   None ");

  // A channel the radio cannot receive on has no row.
  std::swap(c.RxFrequency, c.TxFrequency);
  EXPECT_EQ(c.CreateHumanViewableStringKM2(3, "67.0", "67.0"), "");
}

}  // namespace
}  // namespace tallisk
