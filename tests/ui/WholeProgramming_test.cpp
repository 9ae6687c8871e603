// A whole KM2 programming made through the windows only: the model, the radio-wide
// settings, a dozen channels and three groups with their channels. It is turned into the
// image a write sends, cut up again as a read does, and every typed value is looked for.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "PagesSupport.h"
#include "files/ProgrammingJson.h"
#include "ui/PageText.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

using WholeProgramming = PagesTest;

// One channel as typed; a signalling is "None", "CTCSS <tone>" or "DCS <code>". A channel
// without burst or transpond tone shows the burst values a radio reads back for it.
struct Typed {
  int n;
  std::string name, rx, tx, rxSignalling, txSignalling, subsignalling;
  std::string switches;  // L low power, S scrambler, B burst tone, T transpond tone
  std::string burstFeq, duration;
};

const Typed kChannels[] = {
    {1, "base", "470.0125", "475.0125", "CTCSS 67", "CTCSS 71.9", "Type 1", "LB", "694.4", "3200"},
    {2, "porta", "471.5", "471.5", "DCS +23", "DCS -754", "Type 2", "ST", "1008.1", "100"},
    {3, "", "472.25", "", "None", "None", "None", "L", "694.4", "3200"},
    {7, "rpt 7", "480.025", "485.025", "CTCSS 250.3", "DCS +17", "Type 3", "BT", "1250.0", "800"},
    {10, "x", "495.5", "500.5", "DCS -1", "CTCSS 100", "None", "S", "694.4", "3200"},
    {11, "sixchr", "511.9875", "470", "None", "CTCSS 250.3", "Type 2", "LB", "2083.3", "1500"},
    {12, "ab", "476.1", "476.2", "CTCSS 203.5", "None", "Type 1", "LS", "694.4", "3200"},
    {100, "c100", "490", "490", "DCS +777", "DCS +777", "None", "T", "801.3", "400"},
    {150, "c150", "470.5", "", "CTCSS 123", "None", "Type 3", "L", "694.4", "3200"},
    {200, "c200", "483.3375", "483.3375", "None", "CTCSS 77", "None", "B", "694.4", "200"},
    {319, "end-1", "505", "505", "CTCSS 156.7", "CTCSS 156.7", "Type 1", "", "694.4", "3200"},
    {320, "end", "512", "511", "DCS +23", "DCS -23", "Type 2", "LSBT", "694.4", "3200"},
};

// Each group's name and the channels its channel list gets, the first also its priority
// channel.
const std::map<int, std::pair<std::string, std::vector<int>>> kGroups = {
    {1, {"nth", {1, 2, 7}}}, {2, {"sth", {2, 10, 320}}}, {3, {"est", {100, 150, 200, 319, 12}}}};

void TypeChannel(frmMain& w, const Typed& c) {
  w.cmbChannelNumber.SelectText(std::to_string(c.n));
  w.txtChannelName.TypeText(c.name);
  TypeAndLeave(w.ReceiveChannelFreq, c.rx);
  TypeAndLeave(w.txtTransmitChannelFreq, c.tx);
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
  const auto on = [&c](char s) { return c.switches.find(s) != std::string::npos; };
  w.cmbRFPowerSelection.SelectText(on('L') ? "Low" : "Normal");
  w.chkEnableScrambler.SetChecked(on('S'));
  w.chkBurstToneEnable.SetChecked(on('B'));
  w.chkTranspondToneEnable.SetChecked(on('T'));
  w.txtBurstFeq.SetText(c.burstFeq);
  w.txtBurstDuration.SetText(c.duration);
}

TEST_F(WholeProgramming, AKm2ProgrammingTypedIntoTheWindowsComesBackFromItsImage) {
  // A deluxe radio of the 52-371 line, whose records insert a zero into the synthesiser
  // field.
  frmMain& w = Km2OnPage5("52-3712a");
  std::map<int, std::map<std::string, std::string>> typed;
  for (const Typed& c : kChannels) {
    TypeChannel(w, c);
    typed[c.n] = ChannelShown(w);
  }
  Walk(w, w.btnBack, 2);
  w.txtSerialNumber.TypeText("sn-0042");
  w.txtCustomer.TypeText("bench-7");
  Walk(w, w.btnNext, 7);
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
  for (const auto& [group, named] : kGroups) {
    const auto& [name, members] = named;
    w.cmbGroupNumber.SelectText(" " + std::to_string(group));
    w.txtGroupName.TypeText(name);
    w.cmbPriorityChannel1.SelectText(" " + std::to_string(members.front()));
    for (int channel : members)
      dialogs_.ModalActions.push_back([channel](Form& form) {
        auto& picker = dynamic_cast<frmSelectChannel&>(form);
        picker.cmbChannel.SelectText(" " + std::to_string(channel));
        picker.btnOK.Press();
      });
    dialogs_.ModalActions.push_front([count = members.size()](Form& form) {
      auto& list = dynamic_cast<frmChannelList&>(form);
      for (std::size_t i = 0; i < count; ++i) list.btnAdd.Press();
      list.btnOK.Press();
    });
    w.btnChannelList.Press();
  }
  Walk(w, w.btnNext, 6);
  EXPECT_TRUE(dialogs_.Messages.empty()) << dialogs_.LastText();

  // The image a write sends, shown in a new window as a read shows it.
  const std::optional<ProgrammingParts> written = w.CurrentProgramming();
  ASSERT_TRUE(written);
  frmMain& r = StartKM2();
  ASSERT_TRUE(r.ShowImageKM2(written->Image)) << dialogs_.LastText();
  const clsRadioHeader& h = r.RadioHeader;
  EXPECT_EQ(std::tie(h.SerialNumber, h.CustomerNumber, h.OneTouchSelection),
            std::make_tuple("SN-0042", "BENCH-7", 1));
  EXPECT_EQ(std::tie(h.CTCSSKeyForm1, h.CTCSSKeyForm10, h.FrontPanelConfiguration),
            std::make_tuple(std::int16_t{12}, std::int16_t{1}, 1));
  EXPECT_EQ(h.NoiseSquelchTail, 150);
  Walk(r, r.btnNext, 5);
  for (int n = 1; n <= 320; ++n) {
    const clsChannel& ch = r.Channels.Item(n);
    if (!typed.contains(n)) {
      EXPECT_EQ(ch.RxFrequency, 0) << "channel " << n;
      continue;
    }
    r.ShowChannel(ch);
    EXPECT_EQ(ChannelShown(r), typed[n]) << "channel " << n;
  }
  // The codes themselves: octal 754 is 492, 77 Hz is the fourth standard tone.
  EXPECT_EQ(std::tie(r.Channels.Item(2).RxSignalData, r.Channels.Item(2).TxSignalData,
                     r.Channels.Item(200).TxCTCSSCode),
            std::make_tuple(std::int16_t{19}, std::int16_t{-492}, std::uint8_t{4}));

  std::map<int, std::multiset<int>> members;
  for (const clsChannelGroup& entry : r.ChannelGroupTable)
    if (entry.Programmed) members[entry.GroupNumber].insert(entry.ChannelNumber);
  EXPECT_EQ(members.size(), kGroups.size());
  for (const auto& [group, named] : kGroups) {
    const auto& [name, channels] = named;
    EXPECT_EQ(members[group], std::multiset<int>(channels.begin(), channels.end()));
    const clsGroup& g = r.Groups.Item(group);
    EXPECT_EQ(std::tie(g.GroupName, g.PriorityChannel1),
              std::make_tuple(UpperCase(name), std::int16_t(channels.front())));
  }
}

}  // namespace
}  // namespace tallisk::testing
