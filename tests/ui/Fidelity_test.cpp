// A radio's programming goes through the window unchanged when nobody changes it: images with
// random bytes wherever the radio can hold them are read into the window, every page is walked
// forward and back, and the image saved again must be the image read, byte for byte.

#include <random>
#include <set>

#include "RadioBench.h"
#include "files/ProgrammingJson.h"
#include "files/RadioFile.h"
#include "ui/PageText.h"
#include "ui/frmCTCSSKeyForm.h"
#include "ui/frmChannelList.h"
#include "ui/frmSelectChannel.h"

namespace tallisk::testing {
namespace {

struct Random {
  std::mt19937 rng;
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  std::string Bytes(std::size_t count) {
    std::string hex;
    for (std::size_t i = 0; i < count; ++i)
      hex += ToHex(static_cast<std::uint64_t>(Pick(0, 255)), 2);
    return hex;
  }
};

// Bits `first`..`first + count - 1` (from 1) of `from` copied into `into`, both hex.
void CopyBits(std::string& into, const std::string& from, int first, int count) {
  std::string bits = HexToBinStr(into);
  bits.replace(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count),
               HexToBinStr(from).substr(static_cast<std::size_t>(first - 1),
                                        static_cast<std::size_t>(count)));
  into = BinStrToHex(bits);
}

// A frequency on the band's raster that its synthesiser field holds.
double OnRaster(Random& r, double low, double high, float referenceKHz) {
  const double step = static_cast<double>(referenceKHz) * 1000;
  return low + step * r.Pick(0, static_cast<int>((high - low) / step));
}

class Fidelity : public MainWindowTest {
 protected:
  // Walks every page forward and back, showing several channels and every group.
  void WalkEverything(frmMain& w, const std::vector<int>& channels, bool km2) {
    for (int steps = 0; steps < 20 && w.CurrentPage != 6; ++steps) {
      if (w.CurrentPage == 5)
        for (int n : channels) w.cmbChannelNumber.SelectText(std::to_string(n));
      if (w.CurrentPage == 10)
        for (int g = 0; g < 16; ++g) w.cmbGroupNumber.Select(g);
      w.btnNext.Press();
    }
    ASSERT_EQ(w.CurrentPage, 6);
    Walk(w, w.btnBack, km2 ? 5 : 3);
    Walk(w, w.btnNext, 5);
    w.cmbChannelNumber.SelectText("1");
    w.btnFinish.Press();
    ASSERT_EQ(w.CurrentPage, 6);
  }

  std::string Saved(frmMain& w, RadioFamily family) {
    const auto path = root_ / "saved";
    EXPECT_TRUE(w.SaveRadioFile(path.string()));
    return ReadRadioFile(path, family);
  }
};

std::string RandomKm2Image(Random& r, frmMain& w, const std::string& model) {
  std::string defaults;
  if (!w.Operator->IsRadioModelExist(model, defaults)) return {};
  const auto profile = w.Operator->GetRadioInfoKM2(model);
  std::shared_ptr<clsNonPersistentInfo> band;
  for (const auto& b : profile->collectionNonPersistentRadioInfo)
    if (b->FreqBand == model.substr(7, 1)) band = b;
  if (!band) return {};
  const int prescalerCode = static_cast<int>(ParseHex(defaults.substr(4, 4)) >> 14);
  const bool dModel = model.size() == 9;

  std::string image = r.Bytes(0x2000);
  std::string settings;
  for (char c : model.substr(0, 8)) settings += ToHex(static_cast<unsigned char>(c), 2);
  settings += ToHex(static_cast<std::uint64_t>(band->IFRx), 8);
  settings += ToHex(static_cast<std::uint64_t>(band->IFTx), 8);
  settings += ToHex(static_cast<std::uint64_t>(band->PllReferenceFrequency * 10), 4);
  image.replace(0x1880 * 2, settings.size(), settings);
  std::string flags = image.substr(0x1892 * 2, 2);
  CopyBits(flags, ToHex(static_cast<std::uint64_t>(prescalerCode << 6), 2), 1, 2);
  image.replace(0x1892 * 2, 2, flags);
  flags = image.substr(0x189A * 2, 2);
  CopyBits(flags, dModel ? "00" : "04", 6, 1);
  image.replace(0x189A * 2, 2, flags);

  // Channels: random bytes around synthesiser fields the band can tune; a few erased.
  for (int n = 0; n < 320; ++n) {
    const bool erased = r.Pick(0, 9) == 0;
    std::string record = erased ? std::string(32, 'F') : r.Bytes(16);
    clsChannel tuned;
    tuned.ModelName = model;
    tuned.PLLReferenceFreq = band->PllReferenceFrequency;
    tuned.RxIF = band->IFRx;
    tuned.TxIF = band->IFTx;
    tuned.prsclKM2 = static_cast<std::int16_t>(prescalerCode);
    tuned.RxFrequency = OnRaster(r, band->FreqMinHz, band->FreqMaxHz, band->PllReferenceFrequency);
    tuned.TxFrequency = OnRaster(r, band->FreqMinHz, band->FreqMaxHz, band->PllReferenceFrequency);
    tuned.CreateChannelDataKM2();
    if (!erased || r.Pick(0, 1)) {
      CopyBits(record, tuned.ChannelData, 62, 19);
      CopyBits(record, tuned.ChannelData, 94, 19);
    }
    image.replace(static_cast<std::size_t>(n) * 32, 32, record);
  }
  return image;
}

// The addresses of the bytes that differ.
std::vector<int> Changed(const std::string& before, const std::string& after) {
  std::vector<int> changed;
  for (std::size_t i = 0; i + 1 < before.size() && i + 1 < after.size(); i += 2)
    if (before.compare(i, 2, after, i, 2) != 0) changed.push_back(static_cast<int>(i / 2));
  return changed;
}

// The data digits of S1 lines: the image as the radio holds it.
std::string DataDigits(const std::string& lines) {
  std::string data;
  for (std::size_t at = 0; at + 24 <= lines.size(); at += 28) data += lines.substr(at + 8, 16);
  return data;
}

// One byte of the band's header bytes: "0x8A", or bit characters with X for the user's bits.
void PutBandByte(std::string& header, std::size_t address, const std::string& value) {
  const bool whole = value.starts_with("0x");
  std::string byte = whole ? value.substr(2) : header.substr(address * 2, 2);
  for (std::size_t i = 0; !whole && i < 8 && i < value.size(); ++i)
    if (value[i] != 'X') CopyBits(byte, value[i] == '1' ? "FF" : "00", static_cast<int>(i) + 1, 1);
  header.replace(address * 2, 2, byte);
}

std::string RandomQvrImage(Random& r, const clsPersistentInfo& model) {
  const auto& bands = model.collectionNonPersistentRadioInfo;
  const auto& band = *bands.Item(r.Pick(1, bands.Count()));
  clsStringCreator creator;
  std::string& header = creator.RadioHeader = r.Bytes(34);
  header.replace(0x0C * 2, 2, ToHex(model.ModelCode, 2));
  const std::pair<std::size_t, const std::string*> bandBytes[] = {
      {0x0D, &band.Address0x0D}, {0x0F, &band.Address0x0F}, {0x10, &band.Address0x10},
      {0x14, &band.Address0x14}, {0x15, &band.Address0x15}, {0x16, &band.Address0x16},
      {0x17, &band.Address0x17}};
  for (const auto& [address, value] : bandBytes) PutBandByte(header, address, *value);

  for (int n = 0; n < model.NumberOfChannels; ++n) {
    const bool erased = r.Pick(0, 7) == 0;
    std::string record = erased ? std::string(20, 'F') : r.Bytes(10);
    clsChannel tuned;
    tuned.ModelName = model.Model;
    tuned.PLLReferenceFreq = band.PllReferenceFrequency;
    tuned.Prescaler = band.PrescalerSwitch;
    tuned.RxIF = band.IFRx;
    tuned.TxIF = band.IFTx;
    const double low = band.FreqMinHz > 0 ? band.FreqMinHz : 136e6;
    const double high = band.FreqMaxHz > 0 ? band.FreqMaxHz : 150e6;
    tuned.RxFrequency = OnRaster(r, low, high, band.PllReferenceFrequency);
    tuned.TxFrequency = OnRaster(r, low, high, band.PllReferenceFrequency);
    tuned.CreateChannelData();
    if (!erased || r.Pick(0, 1)) {
      CopyBits(record, tuned.ChannelData, 14, 19);
      CopyBits(record, tuned.ChannelData, 46, 19);
    }
    creator.colChannelData.Add(record);
  }
  creator.CreateString();
  return creator.ProgrammingStringPart1 + creator.ProgrammingStringPart2;
}

class RandomImages : public Fidelity, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RandomImages, AnUntouchedProgrammingIsSavedAsItWasRead) {
  const unsigned seed = GetParam();
  const char* km2Models[] = {"52-8991A", "52-8992B", "52-8997C",  "52-3711A",  "52-3712C",
                             "52-4551B", "52-4552A", "52-8992AD", "52-3712BD", "52-8997BD"};
  const std::string km2Model = km2Models[(seed - 1) % std::size(km2Models)];
  Random r{std::mt19937(seed)};
  frmMain& k = StartKM2();
  const std::string image = RandomKm2Image(r, k, km2Model);
  ASSERT_EQ(image.size(), 16384u) << km2Model;
  ASSERT_TRUE(k.ShowImageKM2(image)) << dialogs_.LastText();
  WalkEverything(k, {2, 3, 17, 160, 320, 1}, true);
  EXPECT_EQ(ImageDifference(Saved(k, RadioFamily::KM2), image), "") << km2Model;

  Random q{std::mt19937(seed)};
  frmMain& w = Start();
  const auto& models = *w.Operator->RadioData;
  const auto& model = *models.Item(static_cast<std::int32_t>(seed % models.Count()) + 1);
  const std::string lines = RandomQvrImage(q, model);
  ASSERT_TRUE(w.ShowImageQVR(lines));
  WalkEverything(w, {2, 3, 8, 1}, false);
  EXPECT_EQ(ImageDifference(DataDigits(Saved(w, RadioFamily::QVR)), DataDigits(lines)), "")
      << model.Model;
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomImages, ::testing::Range(1u, 31u));

TEST_F(Fidelity, AQvrEditChangesOnlyItsBytesAndChannelsOfABandNoProfileKnowsGoBackAsRead) {
  Random r{std::mt19937(11)};
  const std::string image = RandomQvrImage(r, *Start().Operator->RadioData->Item(1));
  // The same radio with band bytes no profile has.
  std::string unknown = DataDigits(image);
  unknown.replace(0x0D * 2, 2, "01");
  const std::string unknownImage = DataLines("S1", unknown, 0, 0, unknown.size() / 2, 8);

  // Each edit, alone on the programming as read, changes some bytes and only bytes of its own
  // field (and the checksum that covers it); the rest of a record it touches stays as read.
  struct Edit {
    const char* what;
    std::function<void(frmMain&)> make;
    int first, last;  // the addresses the edit may change
  };
  const Edit edits[] = {
      {"beep A",
       [](frmMain& w) {
         Walk(w, w.btnNext, 4);
         w.chkBeepA.Click();
       },
       0x16, 0x16},
      {"transmit frequency of channel 2",
       [](frmMain& w) {
         Walk(w, w.btnNext, 5);
         w.cmbChannelNumber.SelectText("2");
         const std::string receive = w.ReceiveChannelFreq.Text();
         TypeAndLeave(w.txtTransmitChannelFreq, receive == "000.000 000" ? "1" : receive);
       },
       0x2C, 0x35},
  };
  for (const std::string* programmed : {&image, &unknownImage}) {
    for (const Edit& edit : edits) {
      SCOPED_TRACE(edit.what);
      frmMain& w = Start();
      const std::size_t before = dialogs_.Messages.size();
      ASSERT_TRUE(w.ShowImageQVR(*programmed));
      const bool known = programmed == &image;
      EXPECT_EQ(dialogs_.Messages.size(), before + (known ? 0 : 1));
      // Channels of a band no profile knows are never decoded: an edit of one cannot be made,
      // and everything goes back as read.
      const bool untouched = !known && edit.first == 0x2C;
      if (!untouched) edit.make(w);
      w.btnFinish.Press();
      const std::string read = DataDigits(*programmed),
                        saved = DataDigits(Saved(w, RadioFamily::QVR));
      EXPECT_EQ(saved.size(), read.size());
      const std::vector<int> changed = Changed(read, saved);
      EXPECT_EQ(changed.empty(), untouched);
      for (int address : changed)
        EXPECT_TRUE(address >= edit.first && address <= edit.last)
            << ToHex(static_cast<std::uint64_t>(address), 4);
    }
  }
}

// --- A whole programming typed in ---

// A whole KM2 programming made through the windows only: the model, the radio-wide
// settings, a dozen channels and three groups with their channels. It is turned into the
// image a write sends, cut up again as a read does, and every typed value is looked for.

using WholeProgramming = MainWindowTest;

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
