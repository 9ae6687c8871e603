// A whole KM2 programming made through the windows only: the model, the radio-wide
// settings, a dozen channels and three groups with their channels. It is turned into the
// image a write sends, cut up again as a read does, and every typed value is looked for.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "MainWindowFixture.h"
#include "tallisk/clsStringCreator.h"
#include "ui/PageText.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

using WholeProgramming = MainWindowTest;

// One channel as typed. A signalling is "None", "CTCSS <tone>" or "DCS <code>".
struct Typed {
  int n;
  std::string name, rx, tx, rxSignalling, txSignalling, subsignalling;
  bool low, scrambler, burst, transpond;
  std::string burstFeq, duration;
};

const Typed kChannels[] = {
    {1, "base", "470.0125", "475.0125", "CTCSS 67", "CTCSS 71.9", "Type 1", true, false, true,
     false, "694.4", "3200"},
    {2, "porta", "471.5", "471.5", "DCS +23", "DCS -754", "Type 2", false, true, false, true,
     "1008.1", "100"},
    {3, "", "472.25", "", "None", "None", "None", true, false, false, false, "694.4", "3200"},
    {7, "rpt 7", "480.025", "485.025", "CTCSS 250.3", "DCS +017", "Type 3", false, false, true,
     true, "1250", "800"},
    {10, "x", "495.5", "500.5", "DCS -001", "CTCSS 100", "None", false, true, false, false, "694.4",
     "3200"},
    {11, "longname", "511.9875", "470", "None", "CTCSS 250.3", "Type 2", true, false, true, false,
     "2083.3", "1500"},
    {12, "ab", "476.1", "476.2", "CTCSS 203.5", "None", "Type 1", true, true, false, false, "694.4",
     "3200"},
    {100, "c100", "490", "490", "DCS +777", "DCS +777", "None", false, false, false, true, "801.3",
     "400"},
    {150, "c150", "470.5", "0", "CTCSS 123", "None", "Type 3", true, false, false, false, "694.4",
     "3200"},
    {200, "c200", "483.3375", "483.3375", "None", "CTCSS 77", "None", false, false, true, false,
     "694.4", "200"},
    {319, "end-1", "505", "505", "CTCSS 156.7", "CTCSS 156.7", "Type 1", false, false, false, false,
     "694.4", "3200"},
    {320, "end", "512", "511", "DCS +023", "DCS -023", "Type 2", true, true, true, true, "694.4",
     "3200"},
};

// The groups and the channels each gets through its channel list.
const std::map<int, std::vector<int>> kMembers = {
    {1, {1, 2, 7}}, {2, {2, 10, 320}}, {3, {100, 150, 200, 319, 12}}};

void TypeChannel(frmMain& w, const Typed& c) {
  w.cmbChannelNumber.SelectText(std::to_string(c.n));
  w.txtChannelName.TypeText(c.name);
  for (TextField* field : {&w.ReceiveChannelFreq, &w.txtTransmitChannelFreq}) {
    field->SetText("");
    field->TypeText(field == &w.ReceiveChannelFreq ? c.rx : c.tx);
    field->Leave();
  }
  auto signalling = [](const std::string& typed, ChoiceField& type, ChoiceField& tones,
                       TextField& code) {
    type.SelectText(typed.substr(0, typed.find(' ')));
    if (typed.starts_with("CTCSS")) {
      EXPECT_GE(tones.SelectText(typed.substr(5)), 0) << typed;
    } else if (typed.starts_with("DCS")) {
      code.TypeText(typed.substr(4));
    }
  };
  signalling(c.rxSignalling, w.cmbReceiveSignalingType, w.cmbCTCSSFrequenciesRx, w.ReceiveOctal);
  signalling(c.txSignalling, w.cmbTransmitSignalingType, w.cmbCTCSSFrequenciesTx,
             w.txtTransmitOctal);
  w.cmbSubsignalingType.SelectText(c.subsignalling);
  w.cmbRFPowerSelection.SelectText(c.low ? "Low" : "Normal");
  w.chkEnableScrambler.SetChecked(c.scrambler);
  w.chkBurstToneEnable.SetChecked(c.burst);
  w.chkTranspondToneEnable.SetChecked(c.transpond);
  w.txtBurstFeq.SetText(c.burstFeq);
  w.txtBurstDuration.SetText(c.duration);
}

// The signalling value and the code (tone code or signed DCS value) a typed signalling
// stands for.
std::pair<int, int> Expected(const frmMain& w, const std::string& typed) {
  if (typed.starts_with("CTCSS")) {
    const float tone = std::strtof(typed.c_str() + 6, nullptr);
    for (const auto& t : *w.ToneTable)
      if (t.CTCSSFreq == tone && !t.SpecialRadioKM2) return {0, t.CTCSSCodeKM2};
    ADD_FAILURE() << "no tone " << typed;
  }
  if (typed.starts_with("DCS")) {
    const long value = std::strtol(typed.c_str() + 5, nullptr, 8);
    return {1, static_cast<int>(typed[4] == '-' ? -value : value)};
  }
  return {3, 0};
}

std::pair<int, int> Decoded(std::int32_t signalling, std::uint8_t tone, std::int16_t data) {
  return {signalling, signalling == 0 ? tone : signalling == 1 ? data : 0};
}

TEST_F(WholeProgramming, AKm2ProgrammingTypedIntoTheWindowsComesBackFromItsImage) {
  frmMain& w = StartKM2();
  // A deluxe radio of the 52-371 line, whose records insert a zero into the synthesiser
  // field.
  ToPage2KM2(w, "52-3712a");
  w.txtSerialNumber.TypeText("sn-0042");
  w.txtCustomer.TypeText("bench-7");
  w.btnNext.Press();
  ASSERT_EQ(w.CurrentPage, 5);
  for (const Typed& c : kChannels) TypeChannel(w, c);

  w.btnNext.Press();
  w.cmbOneTouchSelection.SelectText("Signalling");
  dialogs_.ModalActions.push_back([](Form& form) {
    auto& keys = dynamic_cast<frmCTCSSKeyForm&>(form);
    keys.cmbCTCSSKeyForm[0].SelectText(" 100");
    keys.cmbCTCSSKeyForm[9].SelectText(" 67");
    keys.btnOK.Press();
  });
  w.btnCTCSSKeyForm.Press();
  w.btnNext.Press();
  w.cmbFrontPanelConfig.SelectText("Type 2");
  w.btnNext.Press();
  w.txtNoiseSquelchTail.SetText("150");
  w.btnNext.Press();

  ASSERT_EQ(w.CurrentPage, 10);
  const char* names[] = {"", "nth", "sth", "est"};
  for (const auto& [group, members] : kMembers) {
    w.cmbGroupNumber.SelectText(" " + std::to_string(group));
    w.txtGroupName.TypeText(names[group]);
    w.cmbPriorityChannel1.SelectText(" " + std::to_string(members.front()));
    for (int channel : members)
      dialogs_.ModalActions.push_back([channel](Form& form) {
        auto& picker = dynamic_cast<frmSelectChannel&>(form);
        picker.cmbChannel.SelectText(" " + std::to_string(channel));
        picker.btnOK.Press();
      });
    dialogs_.ModalActions.push_front([&members](Form& form) {
      auto& list = dynamic_cast<frmChannelList&>(form);
      for (std::size_t i = 0; i < members.size(); ++i) list.btnAdd.Press();
      list.btnOK.Press();
    });
    w.btnChannelList.Press();
  }
  Walk(w, w.btnNext, 6);
  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();

  // The image a write sends.
  clsStringCreator creator;
  for (clsChannel channel : w.Channels) {
    channel.AlternatePreScaler = w.RadioHeader.AlternatePreScaler;
    channel.AlternatePreScaler2 = w.RadioHeader.AlternatePreScaler2;
    ASSERT_TRUE(channel.CreateChannelDataKM2());
    creator.colChannelData.Add(channel.ChannelData);
    creator.colChannelCheckSum.Add(channel.CheckSumKM2);
  }
  for (clsGroup group : w.Groups) {
    group.CreateGroupData();
    creator.colGroupData.Add(group.GroupData);
  }
  for (clsChannelGroup entry : w.ChannelGroupTable) {
    entry.CreateChannelGroup();
    creator.colChannelGroup.Add(entry.ChannelGroupStr);
  }
  creator.RadioHeader = w.RadioHeader.RadioHeader;
  ASSERT_TRUE(creator.CreateStringKM2());
  ASSERT_EQ(creator.ProgrammingStringPart1.size(), 16384u);

  // Read back as a read does.
  clsStringCreator splitter;
  splitter.EntireString = creator.ProgrammingStringPart1;
  splitter.BreakUpStringKM2();
  clsRadioHeader header;
  header.RadioHeader = splitter.RadioHeader;
  ASSERT_TRUE(header.BreakUpRadioHeaderKM2());
  EXPECT_EQ(header.SerialNumber, "SN-0042");
  EXPECT_EQ(header.CustomerNumber, "BENCH-7");
  EXPECT_EQ(header.OneTouchSelection, 1);
  EXPECT_EQ(std::tie(header.CTCSSKeyForm1, header.CTCSSKeyForm10),
            std::make_tuple(std::int16_t{12}, std::int16_t{1}));
  EXPECT_EQ(header.FrontPanelConfiguration, 1);
  EXPECT_EQ(header.NoiseSquelchTail, 150);

  std::map<int, const Typed*> typed;
  for (const Typed& c : kChannels) typed[c.n] = &c;
  for (int n = 1; n <= 320; ++n) {
    SCOPED_TRACE("channel " + std::to_string(n));
    clsChannel ch;
    ch.ChannelData = splitter.colChannelData.Item(n);
    ch.ModelName = w.ModelProfile->Model;
    ch.PLLReferenceFreq = header.PLLReferenceFreq;
    std::tie(ch.RxIF, ch.TxIF, ch.prsclKM2) = std::tie(header.IFRx, header.IFTx, header.PRSCLType);
    std::tie(ch.SpecialRadio, ch.AlternatePreScaler, ch.AlternatePreScaler2) =
        std::tie(header.SpecialRadio, header.AlternatePreScaler, header.AlternatePreScaler2);
    ch.BreakChannelDataKM2();
    if (!typed.contains(n)) {
      EXPECT_EQ(ch.RxFrequency, 0);
      continue;
    }
    const Typed& c = *typed[n];
    const std::string name = UpperCase(c.name).substr(0, 6);
    EXPECT_EQ(ch.ChannelName, name.empty() ? "" : (name + "      ").substr(0, 6));
    EXPECT_DOUBLE_EQ(ch.RxFrequency, std::atof(c.rx.c_str()) * 1e6);
    EXPECT_DOUBLE_EQ(ch.TxFrequency, std::atof(c.tx.c_str()) * 1e6);
    EXPECT_EQ(Decoded(ch.RxSignalling, ch.RxCTCSSCode, ch.RxSignalData),
              Expected(w, c.rxSignalling));
    EXPECT_EQ(Decoded(ch.TxSignalling, ch.TxCTCSSCode, ch.TxSignalData),
              c.tx == "0" ? std::make_pair(3, 0) : Expected(w, c.txSignalling));
    const int subsignalling = c.subsignalling == "None" ? 3 : c.subsignalling.back() - '1';
    EXPECT_EQ(std::tie(ch.SubsignalingType, ch.RFPower, ch.Scrambler),
              std::make_tuple(subsignalling, c.low, c.scrambler));
    EXPECT_EQ(std::tie(ch.PTTBurstToneEnable, ch.TranspondToneEnable),
              std::tie(c.burst, c.transpond));
    if (c.burst || c.transpond) {
      EXPECT_EQ(ch.BurstDuration, std::atof(c.duration.c_str()));
      // Typed as tones the burst divider makes exactly, to a tenth of a hertz.
      EXPECT_NEAR(ch.BurstFrequency, std::atof(c.burstFeq.c_str()), 0.1);
    }
  }

  std::map<int, std::multiset<int>> members;
  for (int k = 1; k <= 320; ++k) {
    clsChannelGroup entry;
    entry.ChannelGroupStr = splitter.colChannelGroup.Item(k);
    entry.BreakChannelGroup();
    if (entry.Programmed) members[entry.GroupNumber].insert(entry.ChannelNumber);
  }
  ASSERT_EQ(members.size(), kMembers.size());
  for (const auto& [group, channels] : kMembers) {
    EXPECT_EQ(members[group], std::multiset<int>(channels.begin(), channels.end()));
    clsGroup g;
    g.GroupData = splitter.colGroupData.Item(group);
    g.BreakGroupData();
    EXPECT_EQ(g.GroupName, (UpperCase(names[group]) + "   ").substr(0, 3));
    EXPECT_EQ(g.PriorityChannel1, channels.front());
  }
}

}  // namespace
}  // namespace tallisk::testing
