// The shipped profile rows agree with the hardware they describe: the identification bytes
// of every QVR band spell out its synthesiser, prescaler, reference, IF and centres, and the
// default image text of every KM2 band spells out its reference, prescaler layout and IFs.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "tallisk/clsOperator.h"
#include "tallisk/conversions.h"
#include "tallisk/enums.h"

namespace tallisk {
namespace {

constexpr double kOscillatorKHz = 12800;

int HexByte(const std::string& text) {
  EXPECT_EQ(text.size(), 4u) << text;
  EXPECT_EQ(text.substr(0, 2), "0x") << text;
  EXPECT_EQ(ToHex(static_cast<std::uint64_t>(ParseHex(text.substr(2))), 2), text.substr(2))
      << "not upper-case hex: " << text;
  return static_cast<int>(ParseHex(text.substr(2)));
}

bool IsUhf(const std::string& model) {
  return model.find("UHF") != std::string::npos;
}

TEST(ProfilesContent, EveryQvrModelOfTheEnumerationIsThere) {
  clsOperator op;
  op.LoadProfiles();
  for (int code = 0; code <= 18; ++code) {
    const auto model = op.GetRadioInfoByModelNumber(static_cast<std::int16_t>(code));
    ASSERT_TRUE(model) << code;
    const bool eight = code >= value_of(enumModel::VHF_M_A_Band_8Channel);
    EXPECT_EQ(model->NumberOfChannels, eight ? 8 : 16) << model->Model;
    EXPECT_NE(model->Model.find(eight ? "8 Ch" : "16 Ch"), std::string::npos) << model->Model;
    // The channel codec subtracts the IF exactly for the models that say UHF.
    const bool uhf = (code >= 7 && code <= 11) || code >= 16;
    EXPECT_EQ(IsUhf(model->Model), uhf) << model->Model;
    std::string lower = model->Model;
    for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.find("uhf") != std::string::npos, uhf) << model->Model;
  }
}

TEST(ProfilesContent, QvrIdentificationBytesAgreeWithTheBand) {
  clsOperator op;
  op.LoadProfiles();
  int specialModels = 0;
  int lowSideVhf = 0;
  int highSideUhf = 0;
  for (const auto& model : *op.RadioData) {
    SCOPED_TRACE(model->Model);
    const int sign = IsUhf(model->Model) ? -1 : 1;
    int defaults = 0;
    std::set<std::string> identities;
    std::set<std::pair<bool, float>> pageChoices;
    bool special = false;
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      SCOPED_TRACE(band->Address0x0D + " " + std::to_string(band->PllReferenceFrequency));
      defaults += band->Default ? 1 : 0;
      identities.insert(band->Address0x0D + band->Address0x0F + band->Address0x10 +
                        band->Address0x14 + band->Address0x15 + band->Address0x16 +
                        band->Address0x17);
      pageChoices.insert({band->InjectAspect, band->PllReferenceFrequency});

      // 0D: synthesiser, prescaler and the high bits of the reference counter.
      const int b0D = HexByte(band->Address0x0D);
      EXPECT_NE(b0D, 0x94) << "the special-radio marker";
      const bool mb1504 = (b0D & 0x80) != 0;
      EXPECT_EQ(band->SynthesizerType, mb1504 ? "MB1504" : "MB1501");
      const bool bit6 = (b0D & 0x40) != 0;
      EXPECT_EQ(band->PrescalerSwitch,
                mb1504 ? (bit6 ? "32/33" : "64/65") : (bit6 ? "64/65" : "128/129"));
      const int counter = (b0D & 0x3F) * 256;  // the header writes 00 at 0E
      EXPECT_DOUBLE_EQ(counter * static_cast<double>(band->PllReferenceFrequency), kOscillatorKHz);
      if (band->Address0x0D == "0x8A") special = true;

      // 0F/10: injection side and talk-around steps.
      const int b0F = HexByte(band->Address0x0F);
      const int talkAround = (b0F & 0x7F) << 8 | HexByte(band->Address0x10);
      EXPECT_DOUBLE_EQ(talkAround * static_cast<double>(band->PllReferenceFrequency),
                       std::fabs(band->IFRx));
      const double loOffsetKHz = sign * static_cast<double>(band->IFRx);
      EXPECT_EQ(band->InjectAspect, loOffsetKHz > 0);
      EXPECT_EQ((b0F & 0x80) != 0, band->InjectAspect);
      if (sign > 0 && !band->InjectAspect) ++lowSideVhf;
      if (sign < 0 && band->InjectAspect) ++highSideUhf;

      // 14/15 and 16/17: the receive LO and transmit centres in MHz.
      ASSERT_EQ(band->Address0x14.size(), 8u);
      EXPECT_EQ(band->Address0x14.substr(0, 2) + band->Address0x14.substr(4, 2), "XXXX");
      EXPECT_EQ(band->Address0x14.substr(2, 2), band->Address0x0D == "0x8A" ? "01" : "11");
      const int centreRx =
          BinToDec(band->Address0x14.substr(6, 2)) << 8 | HexByte(band->Address0x15);
      ASSERT_EQ(band->Address0x16.substr(0, 6), "XXXXXX");
      const int centreTx =
          BinToDec(band->Address0x16.substr(6, 2)) << 8 | HexByte(band->Address0x17);
      const double centreHz = (band->FreqMinHz + band->FreqMaxHz) / 2;
      EXPECT_EQ(centreRx, std::nearbyint(centreHz / 1e6 + loOffsetKHz / 1e3));
      EXPECT_EQ(band->IFTx, 0.0f);  // direct transmit synthesis
      EXPECT_EQ(centreTx, std::nearbyint(centreHz / 1e6));

      // The band edges lie on the channel grid of the reference.
      const double stepHz = band->PllReferenceFrequency * 1000.0;
      EXPECT_EQ(std::fmod(band->FreqMinHz, stepHz), 0);
      EXPECT_EQ(std::fmod(band->FreqMaxHz, stepHz), 0);
      EXPECT_EQ(std::fmod(band->IFRx * 1000.0, stepHz), 0);
      EXPECT_EQ(band->ChannelSwitchType, model->NumberOfChannels == 16 ? 3 : 0);
    }
    EXPECT_EQ(defaults, 1);
    EXPECT_EQ(identities.size(),
              static_cast<std::size_t>(model->collectionNonPersistentRadioInfo.Count()));
    // Each band is a distinct choice of injection side and reference on the settings page.
    EXPECT_EQ(pageChoices.size(), identities.size());
    EXPECT_GE(identities.size(), 2u);
    specialModels += special ? 1 : 0;
  }
  EXPECT_GT(specialModels, 0);
  EXPECT_GT(lowSideVhf, 0);
  EXPECT_GT(highSideUhf, 0);
}

TEST(ProfilesContent, KM2DefaultTextsAgreeWithTheBand) {
  clsOperator op;
  op.LoadProfilesKM2();
  std::set<std::string> lines;
  for (const auto& model : *op.RadioData) {
    SCOPED_TRACE(model->Model);
    const std::string line = model->Model.substr(0, 6);
    EXPECT_TRUE(lines.insert(line).second) << "model line twice";
    const std::string prefix = line.substr(0, 5);
    const bool alternate =
        prefix == "52-11" || prefix == "52-12" || prefix == "52-91" || prefix == "52-92";
    int defaults = 0;
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      SCOPED_TRACE(band->FreqBand);
      defaults += band->Default ? 1 : 0;
      std::string text;
      ASSERT_TRUE(op.IsRadioModelExist(line + "1" + band->FreqBand, text));
      ASSERT_EQ(text.size(), 32u);
      const auto word = [&](int n) { return static_cast<int>(ParseHex(text.substr(4 * n, 4))); };
      const double reference = band->PllReferenceFrequency;
      EXPECT_EQ(word(0), std::nearbyint(reference * 10));
      const int prescalerCode = word(1) >> 14;
      EXPECT_TRUE(prescalerCode == 0 || prescalerCode == 1);  // layouts the codec undoes
      EXPECT_DOUBLE_EQ((word(1) & 0x3FFF) * reference, kOscillatorKHz);
      const double stepsPer100Hz = 1 / (reference * 10);
      EXPECT_DOUBLE_EQ(word(2), band->IFRx * stepsPer100Hz);
      EXPECT_DOUBLE_EQ(word(6), band->IFTx * stepsPer100Hz);
      // The VCO words cover every carrier and every receive LO of the band.
      const double loMaxHz = band->FreqMaxHz + band->IFRx * 100.0;
      EXPECT_LE(word(3), band->FreqMinHz / 1e6);
      EXPECT_GT(word(3) + 1, band->FreqMinHz / 1e6);
      EXPECT_GE(word(4), loMaxHz / 1e6);
      EXPECT_LT(word(4) - 1, loMaxHz / 1e6);
      EXPECT_EQ(text.substr(20, 4), "FFF0");
      EXPECT_EQ(text.substr(28, 4), "FFFF");
      // The header only keeps these references apart (12.5 and 5 it rewrites itself).
      EXPECT_TRUE(reference == 12.5 || reference == 5 || reference == 2.5) << reference;
      if (alternate) {
        // The alternate hardware decodes on 2.5 kHz and tunes its VCO from 436 to 503 MHz.
        EXPECT_EQ(reference, 2.5);
        EXPECT_GE(band->FreqMinHz, 436e6);
        EXPECT_LE(loMaxHz, 503e6);
      }
      const double stepHz = reference * 1000;
      EXPECT_EQ(std::fmod(band->FreqMinHz, stepHz), 0);
      EXPECT_EQ(std::fmod(band->FreqMaxHz, stepHz), 0);
      EXPECT_EQ(std::fmod(band->IFRx * 100.0, stepHz), 0);
    }
    EXPECT_EQ(defaults, 1);
  }
  // The model lines that take the special paths of the codecs and pages are all there.
  for (const char* prefix : {"52-11", "52-12", "52-91", "52-92", "52-37"}) {
    bool found = false;
    for (const auto& line : lines) found = found || line.rfind(prefix, 0) == 0;
    EXPECT_TRUE(found) << prefix;
  }
}

}  // namespace
}  // namespace tallisk
