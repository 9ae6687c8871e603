#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "tallisk/Date.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"

namespace tallisk {
namespace {

// The printed block: every line followed by CR LF.
std::string Report(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// The value printed after `label` (the label written out to its 30 columns), or "<none>".
std::string ValueOf(const std::string& report, const std::string& paddedLabel) {
  const std::string key = paddedLabel + ": ";
  std::size_t at = report.rfind("\n" + key);
  if (at == std::string::npos) {
    if (report.compare(0, key.size(), key) != 0) return "<none>";
    at = 0;
  } else {
    at += 1;
  }
  const std::size_t from = at + key.size();
  return report.substr(from, report.find("\r\n", from) - from);
}

TEST(ReportText, LabelsArePaddedOrCutToThirtyColumns) {
  clsRadioHeader h;
  h.ModelName = "M";
  const std::string qvr = h.CreateHumanViewableString();
  EXPECT_EQ(qvr.substr(0, 35), "Model" + std::string(25, ' ') + ": M\r\n");
  // Exactly 30 characters: ": " follows directly.
  EXPECT_NE(qvr.find("\nPriority Channel Monitor Cycle: 1 to 4\r\n"), std::string::npos);
  // Longer labels keep their first 30 characters.
  const std::string km2 = h.CreateHumanViewableStringKM2();
  EXPECT_NE(km2.find("\nTime-Out/Busy Lock Out Beep Vo: Low\r\n"), std::string::npos);
  EXPECT_EQ(km2.find("Time-Out/Busy Lock Out Beep Vol"), std::string::npos);
  clsGroup g;
  g.RXScanHold = 0;
  EXPECT_NE(g.CreateHumanViewableString(1).find("\nScan Timing RX Scan Hold (sec):  0\r\n"),
            std::string::npos);
}

TEST(ReportText, QvrSettingsPrintEveryLineInOrder) {
  clsRadioHeader h;
  h.ModelName = "VHF M A 16 channel";
  h.InjectionAspect = 1;
  h.PLLReferenceFreq = 6.25f;
  h.SerialNumber = "12345";
  h.CustomerNumber = "C0001";
  h.DateRadio = Date(2026, 12, 6);
  h.ScanMethod = 2;
  h.AuxKeyType = 3;
  h.ChannelRollOver = true;
  h.PriorityCnlMonitorTime = 2;
  h.PriorityCnlMonitorCycle = 1;
  h.Priority2Channel = true;
  h.ScanHoldConditions = 3;
  h.HoldTimeAfterRx = 1;
  h.HoldTimeAfterTx = 3;
  h.ScanListClear = 2;
  h.OffHookScanStop = true;
  h.BusyChannelLockOut = 1;
  h.TxTimeOutTimer = 4;
  h.BeepA = true;
  h.BeepC = true;

  EXPECT_EQ(h.CreateHumanViewableString(),
            Report({
                "Model                         : VHF M A 16 channel",
                "Injection Aspect              : High Side",
                "PLL Reference Frequency       : 6.25",
                "Serial Number                 : 12345",
                "Customer Number               : C0001",
                "Date                          : Sunday, December 6, 2026",
                "Scan Type                     : Secondary",
                "Auxilliary Key Type           : Type 1",
                "Enable Channel Rollover       : Yes",
                "Priority Channel Monitor Time : 1.25 sec",
                "Priority Channel Monitor Cycle: 1 to 8",
                "Priority 2 Channel            : Yes",
                "Scan Hold Conditions          : Busy/Signalling",
                "Scan Hold On RX               : 2.5 sec",
                "Scan Hold After TX            : Infinite",
                "When Table Is Deleted         : Scan Off",
                "Scan Stop w/Mic Off-Hook      : Yes",
                "Busy Channel Lock Out         : Signalling",
                "Tx Time-Out Timer             : 150 sec",
                "Beep A ?                      : Yes",
                "Beep B ?                      : No",
                "Beep C ?                      : Yes",
                "Beep D ?                      : No",
            }));
}

TEST(ReportText, QvrSettingsWithUnnamedCodesLeaveTheirLinesOut) {
  clsRadioHeader h;  // the zero date, empty texts
  h.ScanMethod = 4;
  h.AuxKeyType = -1;
  h.PriorityCnlMonitorTime = 4;
  h.ScanHoldConditions = 7;
  h.HoldTimeAfterRx = 4;
  h.HoldTimeAfterTx = 255;
  h.ScanListClear = 4;
  h.BusyChannelLockOut = 4;
  h.TxTimeOutTimer = 8;
  // Two-way choices print their "else" text for any other code.
  h.InjectionAspect = 2;
  h.PriorityCnlMonitorCycle = 3;
  // The always-set bit read back from a block is not the technician's priority 2 choice.
  h.PriorityChannelMonitorEnable = true;

  EXPECT_EQ(h.CreateHumanViewableString(),
            Report({
                "Model                         : ",
                "Injection Aspect              : Low Side",
                "PLL Reference Frequency       : 0",
                "Serial Number                 : ",
                "Customer Number               : ",
                "Date                          : Saturday, December 30, 1899",
                "Enable Channel Rollover       : No",
                "Priority Channel Monitor Cycle: 1 to 4",
                "Priority 2 Channel            : No",
                "Scan Stop w/Mic Off-Hook      : No",
                "Beep A ?                      : No",
                "Beep B ?                      : No",
                "Beep C ?                      : No",
                "Beep D ?                      : No",
            }));
}

TEST(ReportText, QvrSettingsNameEveryListedCode) {
  clsRadioHeader h;
  const char* scan[] = {"Normal", "Modified", "Secondary", "PS"};
  const char* aux[] = {"Type 4", "Type 3", "Type 2", "Type 1"};
  const char* monitor[] = {"0.75 sec", "1.00 sec", "1.25 sec", "1.50 sec"};
  const char* hold[] = {"Open/NSQ", "Busy/NSQ", "Open/Signalling", "Busy/Signalling"};
  const char* holdTime[] = {"0.3 sec", "2.5 sec", "5 sec", "Infinite"};
  const char* clear[] = {"Power/Scan", "Power Off", "Scan Off", "No Clear"};
  const char* busy[] = {"NSQ", "Signalling", "Special", "Disable"};
  for (int code = 0; code < 4; ++code) {
    h.ScanMethod = h.AuxKeyType = h.PriorityCnlMonitorTime = h.ScanHoldConditions = code;
    h.HoldTimeAfterRx = code;
    h.HoldTimeAfterTx = 3 - code;
    h.ScanListClear = h.BusyChannelLockOut = code;
    const std::string r = h.CreateHumanViewableString();
    EXPECT_EQ(ValueOf(r, "Scan Type                     "), scan[code]);
    EXPECT_EQ(ValueOf(r, "Auxilliary Key Type           "), aux[code]);
    EXPECT_EQ(ValueOf(r, "Priority Channel Monitor Time "), monitor[code]);
    EXPECT_EQ(ValueOf(r, "Scan Hold Conditions          "), hold[code]);
    EXPECT_EQ(ValueOf(r, "Scan Hold On RX               "), holdTime[code]);
    EXPECT_EQ(ValueOf(r, "Scan Hold After TX            "), holdTime[3 - code]);
    EXPECT_EQ(ValueOf(r, "When Table Is Deleted         "), clear[code]);
    EXPECT_EQ(ValueOf(r, "Busy Channel Lock Out         "), busy[code]);
  }
  const char* timer[] = {"30 sec",  "60 sec",  "90 sec",  "120 sec",
                         "150 sec", "180 sec", "210 sec", "Infinite"};
  for (int code = 0; code < 8; ++code) {
    h.TxTimeOutTimer = code;
    EXPECT_EQ(ValueOf(h.CreateHumanViewableString(), "Tx Time-Out Timer             "),
              timer[code]);
  }
}

TEST(ReportText, Km2SettingsCutLongLabelsAndListTheAuxKeys) {
  clsRadioHeader h;
  h.ModelName = "52-37211";
  h.PLLReferenceFreq = 12.5f;
  h.SerialNumber = "A1234567";
  h.CustomerNumber = "ACME";
  h.DateRadio = Date(2027, 2, 28);
  h.OperationType = 1;
  h.RelocateAddDelKeys = 1;
  h.EnableChannelRollover = true;
  h.PRI1PRI2 = 1;
  h.TimeOutBusyLockOut = 0;
  h.PushButtonFeedback = 2;
  h.SelfTestAndError = -1;
  h.SelectiveCallReceipt = 1;
  h.OptionPortType = 4;
  h.FrontPanelConfiguration = 3;
  h.Aux1 = true;
  h.ScanChannelSlaving = 1;
  h.PRIButtonFunctionEnable = true;
  h.MomentaryChannelKnob = true;
  h.SecondLocalRX = 1;
  h.NoiseSquelchTail = 250;
  h.CTCSSSquelchTail = 25.5f;
  h.DCSTail = 0;

  EXPECT_EQ(h.CreateHumanViewableStringKM2(),
            Report({
                "Model                         : 52-37211",
                "Injection Aspect              : Low Side",
                "PLL Reference Frequency       : 12.5",
                "Serial Number                 : A1234567",
                "Customer Number               : ACME",
                "Date                          : Sunday, February 28, 2027",
                "Operation Type                : Public Safety",
                "Relocate Add/Del Keys         : Special",
                "Enable Channel Rollover ?     : Yes",
                "PRI1/PRI2 Beep Volume         : High",
                "Time-Out/Busy Lock Out Beep Vo: Low",
                "Push Button Feedback Beep Volu: None",
                "Self Test and Error Beep Volum: None",
                "Selective Call Receipt Beep Vo: High",
                "Option Port Type              : None",
                "Front Panel Configuration     : Type 4",
                "Front Panel Configuration     : Y N N N N N N N",
                "Scan Channel Slaving          : TX CHANNEL SLAVING",
                "PRI Button Function Enable ?  : Yes",
                "Mute Until Signalled ?        : No",
                "Momentary Channel Knob ?      : Yes",
                "Second Local RX               : High",
                "Enable CTCSS HPF ?            : No",
                "Noise-Squelch Tail (msec)     :  250",
                "CTCSS-Squelch Tail (msec)     :  25.5",
                "DCS Tail                      :  0",
            }));
}

TEST(ReportText, Km2SettingsOtherChoicesAndNumberForms) {
  clsRadioHeader h;
  h.Aux1 = h.Aux3 = h.Aux8 = true;
  h.OptionPortType = 1;
  h.FrontPanelConfiguration = 7;
  h.SecondLocalRX = -1;
  h.NoiseSquelchTail = -5;
  h.CTCSSSquelchTail = 100000;  // plain digits, never "1e+05"
  h.DCSTail = 0.1f;             // the single's shortest text, not 0.100000001
  h.PLLReferenceFreq = 2.5f;
  std::string r = h.CreateHumanViewableStringKM2();
  EXPECT_EQ(ValueOf(r, "Front Panel Configuration     "), "Y N Y N N N N Y");
  EXPECT_NE(r.find("Front Panel Configuration     : Type 4\r\n"), std::string::npos);
  EXPECT_EQ(ValueOf(r, "Option Port Type              "), "Type 2");
  EXPECT_EQ(ValueOf(r, "Operation Type                "), "General Purpose");
  EXPECT_EQ(ValueOf(r, "Relocate Add/Del Keys         "), "Standard");
  EXPECT_EQ(ValueOf(r, "Scan Channel Slaving          "), "PRI1/TX CHANNEL SLAVING");
  EXPECT_EQ(ValueOf(r, "Second Local RX               "), "Low");
  EXPECT_EQ(ValueOf(r, "Noise-Squelch Tail (msec)     "), "-5");
  EXPECT_EQ(ValueOf(r, "CTCSS-Squelch Tail (msec)     "), " 100000");
  EXPECT_EQ(ValueOf(r, "DCS Tail                      "), " 0.1");
  EXPECT_EQ(ValueOf(r, "PLL Reference Frequency       "), "2.5");
  EXPECT_EQ(ValueOf(r, "Date                          "), "Saturday, December 30, 1899");

  h.Aux1 = h.Aux2 = h.Aux3 = h.Aux4 = h.Aux5 = h.Aux6 = h.Aux7 = h.Aux8 = true;
  h.OptionPortType = 2;
  h.FrontPanelConfiguration = 0;
  r = h.CreateHumanViewableStringKM2();
  EXPECT_NE(r.find("Option Port Type              : Type 3\r\n"
                   "Front Panel Configuration     : Type 1\r\n"
                   "Front Panel Configuration     : Y Y Y Y Y Y Y Y\r\n"),
            std::string::npos);
  // 26 lines, each ending in CR LF and with the value after column 32.
  std::size_t lines = 0;
  for (std::size_t at = 0; at < r.size(); ++lines) {
    const std::size_t end = r.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(r.substr(at + 30, 2), ": ");
    at = end + 2;
  }
  EXPECT_EQ(lines, 26u);
}

TEST(ReportText, GroupPrintsEveryLineInOrder) {
  clsGroup g;
  g.GroupName = "FIR";
  g.PriorityChannel1 = 12;
  g.PriorityChannel2 = 0;
  g.BusyChannelLockOut = 1;
  g.TimeOutTimer = 67.5f;
  g.IntervalA = 250;
  g.IntervalBDCS = 15;
  g.IntervalBCTCSS = 3;
  g.RXScanHold = 2.5f;
  g.TXScanHold = 0;
  g.PriChSamplingRatio = 4;
  g.PriChSamplingRate = 0.3f;
  g.ScanHoldingEvents = 1;
  g.TXOnPriorityChannel = true;
  g.DeleteChTableClear = 3;
  g.UnKeyDelayTime = 105;
  g.MultiDigitDecodeFormat = 1;
  g.EnablePTTANI = true;
  g.EnableANIOnMONButton = true;
  g.DTMF2805IDNumber = "12AB*#";

  const std::string before = g.GroupData;
  EXPECT_EQ(g.CreateHumanViewableString(7), Report({
                                                "Group Number                  :  7",
                                                "Group Name                    : FIR",
                                                "Priority Channel 1            : 12",
                                                "Priority Channel 2            : 0",
                                                "Busy Channel Lock-Out         : Signalling",
                                                "Time-Out Timer (sec)          : 67.5",
                                                "Scan Timing Interval A (msec) :  250",
                                                "Scan Timing Interval B DCS    :  15",
                                                "Scan Timing Interval B CTCSS  :  3",
                                                "Scan Timing RX Scan Hold (sec):  2.5",
                                                "Scan Timing TX Scan Hold (sec):  0",
                                                "Pri Ch Sampling Ratio         :  4",
                                                "Pri Ch Sampling Rate          :  0.3",
                                                "Scan-Holding Events           : Busy/Signaling",
                                                "TX on Priority Channel ?      : Yes",
                                                "Delete Ch Table Clear         : No Clear",
                                                "Un-Key Delay Time (msec)      :  105",
                                                "Multi-Digit Decode Format     : DTMF",
                                                "Enable PTT ANI ?              : Yes",
                                                "Enable ANI Transpond ?        : No",
                                                "Enable ANI on MON Button ?    : Yes",
                                                "DTMF/2805 ID Number           : 12AB*#",
                                            }));
  EXPECT_EQ(g.GroupData, before);
}

TEST(ReportText, GroupChoicesFallBackToTheirLastText) {
  clsGroup g;
  g.IntervalA = -20;
  g.TimeOutTimer = 100000;
  const struct {
    int code;
    const char* busy;
    const char* events;
    const char* clear;
    const char* format;
  } cases[] = {
      {0, "NSQ", "Busy/NSQ", "Power/Scan", "2805"},
      {1, "Signalling", "Busy/Signaling", "Power Off", "DTMF"},
      {2, "Special", "Open/NSQ", "Scan Off", "Disable"},
      {3, "None", "Open/Signaling", "No Clear", "Disable"},
      {9, "Special", "Open/Signaling", "Scan Off", "Disable"},
      {-1, "Special", "Open/Signaling", "Scan Off", "Disable"},
  };
  for (const auto& c : cases) {
    g.BusyChannelLockOut = g.ScanHoldingEvents = g.DeleteChTableClear = c.code;
    g.MultiDigitDecodeFormat = static_cast<std::int16_t>(c.code);
    const std::string r = g.CreateHumanViewableString(-3);
    EXPECT_EQ(ValueOf(r, "Busy Channel Lock-Out         "), c.busy) << c.code;
    EXPECT_EQ(ValueOf(r, "Scan-Holding Events           "), c.events) << c.code;
    EXPECT_EQ(ValueOf(r, "Delete Ch Table Clear         "), c.clear) << c.code;
    EXPECT_EQ(ValueOf(r, "Multi-Digit Decode Format     "), c.format) << c.code;
    EXPECT_EQ(ValueOf(r, "Group Number                  "), "-3");
    EXPECT_EQ(ValueOf(r, "Scan Timing Interval A (msec) "), "-20");
    EXPECT_EQ(ValueOf(r, "Time-Out Timer (sec)          "), "100000");
  }
}

TEST(ReportText, QvrChannelThatIsNotDefined) {
  clsChannel c;
  c.Scrambler = true;
  c.AuxData = "11111111";
  c.RxSignalling = 1;
  EXPECT_EQ(c.CreateHumanViewableString(), "This Channel Has Not Been Defined\r\n");
}

TEST(ReportText, QvrChannelBothHalves) {
  clsChannel c;
  c.RxFrequency = 150012500;
  c.RxSignalling = 0;
  c.RxSquelchToneFrequency = 88.5f;
  c.TxFrequency = 155012500;
  c.TxSignalling = 1;
  c.TxSignalData = -19;
  c.TxPowerControl = 1;
  c.AuxData = "11111111";
  c.GroupA = true;
  EXPECT_EQ(c.CreateHumanViewableString(),
            Report({
                "Receive Channel Frequency     : 150.012 500",
                "Receive Channel Frequency     : CTCSS",
                "Squelch Tone Frequency        : 88.5",
                "Transmit Channel Frequency    : 155.012 500",
                "Transmit Channel Frequency    : DCS",
                "DCS Code                      : -23",
                "Tx Power Control              : Normal",
                "Enable Scrambler?             : No",
                "Auxiliary Data                : Yes Yes Yes Yes Yes Yes Yes Yes ",
                "Channel in Scan Group A?      : Yes",
                "Channel in Scan Group B?      : No",
            }));
}

TEST(ReportText, QvrChannelWithOneHalf) {
  clsChannel rxOnly;
  rxOnly.RxFrequency = 450100000;
  rxOnly.RxSignalling = 3;
  rxOnly.TxSignalling = 1;  // no transmit frequency: no signalling lines for it
  rxOnly.Scrambler = true;
  rxOnly.AuxData = "10100000";
  rxOnly.GroupB = true;
  EXPECT_EQ(rxOnly.CreateHumanViewableString(),
            Report({
                "Receive Channel Frequency     : 450.100 000",
                "Receive Channel Frequency     : None",
                "Transmit Channel Frequency    : Not Defined",
                "Tx Power Control              : Low Only",
                "Enable Scrambler?             : Yes",
                "Auxiliary Data                : Yes No Yes No No No No No ",
                "Channel in Scan Group A?      : No",
                "Channel in Scan Group B?      : Yes",
            }));

  clsChannel txOnly;
  txOnly.RxSignalling = 0;
  txOnly.TxFrequency = 29700000;
  txOnly.TxSignalling = 1;
  txOnly.TxSignalData = 0;
  txOnly.TxPowerControl = 1;
  EXPECT_EQ(txOnly.CreateHumanViewableString(), Report({
                                                    "Receive Channel Frequency     : Not Defined",
                                                    "Transmit Channel Frequency    : 029.700 000",
                                                    "Transmit Channel Frequency    : DCS",
                                                    "DCS Code                      : +0",
                                                    "Tx Power Control              : Normal",
                                                    "Enable Scrambler?             : No",
                                                    "Auxiliary Data                : ",
                                                    "Channel in Scan Group A?      : No",
                                                    "Channel in Scan Group B?      : No",
                                                }));
}

TEST(ReportText, QvrChannelCodesFrequenciesAndUnknownSignalling) {
  clsChannel c;
  c.RxFrequency = 146520000;
  c.RxSignalling = 1;
  const struct {
    std::int16_t data;
    const char* code;
  } codes[] = {{19, "+23"},    {-19, "-23"},  {0, "+0"},
               {-492, "-754"}, {511, "+777"}, {-32768, "-100000"}};
  for (const auto& k : codes) {
    c.RxSignalData = k.data;
    EXPECT_EQ(ValueOf(c.CreateHumanViewableString(), "DCS Code                      "), k.code);
  }

  const struct {
    double hz;
    const char* text;
  } frequencies[] = {{1, "000.000 001"},
                     {29700000, "029.700 000"},
                     {150012499.6, "150.012 500"},
                     {1234567890, "1234.567 890"},
                     {-1, "-000.000 001"}};
  for (const auto& f : frequencies) {
    c.RxFrequency = f.hz;
    EXPECT_EQ(c.CreateHumanViewableString().substr(0, 32 + std::string(f.text).size() + 2),
              "Receive Channel Frequency     : " + std::string(f.text) + "\r\n");
  }

  // A signalling code with no name prints the frequency and nothing about the decoder.
  c.RxFrequency = 146520000;
  c.RxSignalling = 2;
  c.TxFrequency = 146520000;
  c.TxSignalling = 3;
  const std::string r = c.CreateHumanViewableString();
  EXPECT_EQ(r.substr(0, 90),
            "Receive Channel Frequency     : 146.520 000\r\n"
            "Transmit Channel Frequency    : 146.520 000\r\n");
}

TEST(ReportText, Km2ChannelRow) {
  clsChannel c;
  c.ChannelName = "AB";
  c.RxFrequency = 150012500;
  c.RxSignalling = 0;
  c.TxFrequency = 155012500;
  c.TxSignalling = 1;
  c.TxSignalData = 19;
  std::string row = c.CreateHumanViewableStringKM2(1, "67.0", "ignored");
  EXPECT_EQ(row, "   1     AB  150.012500   67.0T   155.012500    +23D");
  EXPECT_EQ(row.size(), 52u);

  // Long texts keep their first characters; a digital code of 0 is "-0" in the table.
  c.ChannelName = "REPEATER";
  c.RxSignalling = 1;
  c.RxSignalData = 0;
  c.TxSignalling = 0;
  row = c.CreateHumanViewableStringKM2(320, "unused", "103.5 Hz");
  EXPECT_EQ(row, " 320 REPEAT  150.012500     -0D   155.012500 103.5 T");

  // No decoder, and a blank transmit half.
  c.ChannelName = "";
  c.RxSignalling = 3;
  c.RxSignalData = -777;
  c.TxFrequency = 0;
  c.TxSignalling = 3;
  row = c.CreateHumanViewableStringKM2(45, "67.0", "67.0");
  EXPECT_EQ(row, "  45         150.012500   None    000.000000   None ");

  c.RxSignalling = c.TxSignalling = 1;
  c.RxSignalData = -19;
  c.TxSignalData = -492;
  c.TxFrequency = 469987500;
  row = c.CreateHumanViewableStringKM2(7, "", "");
  EXPECT_EQ(row, "   7         150.012500    -23D   469.987500   -754D");
  EXPECT_EQ(row.size(), 52u);
}

TEST(ReportText, Km2ChannelWithoutReceiveFrequencyHasNoRow) {
  clsChannel c;
  c.ChannelName = "TXONLY";
  c.TxFrequency = 155012500;
  c.TxSignalling = 1;
  EXPECT_EQ(c.CreateHumanViewableStringKM2(3, "67.0", "67.0"), "");
}

}  // namespace
}  // namespace tallisk
