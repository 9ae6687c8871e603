// A radio's programming goes through the window unchanged when nobody changes it: images with
// random bytes wherever the radio can hold them are read into the window, every page is walked
// forward and back, and the image saved again must be the image read, byte for byte.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "PagesSupport.h"
#include "RadioBench.h"
#include "files/RadioFile.h"
#include "tallisk/clsStringCreator.h"
#include "tallisk/conversions.h"

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

class Fidelity : public PagesTest {
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

}  // namespace
}  // namespace tallisk::testing
