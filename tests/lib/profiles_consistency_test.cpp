// The shipped profile rows agree with the hardware they describe and with the codecs: every
// QVR band is identified again from a header written with its bytes, every KM2 band's default
// image text spells out its reference, prescaler and IFs, and on every band of both families
// channels across the band come back from their record exactly.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "tallisk/clsChannel.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/conversions.h"
#include "tallisk/enums.h"

namespace tallisk {
namespace {

constexpr double kOscillatorKHz = 12800;  // divided by the 14-bit reference counter

// Channels at the low end, the middle (on the grid) and the high end of a band, each receiving
// on one point and transmitting on the next, written and read with the band's values. A KM2
// channel takes the prescaler code of its band's default text and, on the alternate hardware,
// alternate prescaler 1 or 2 (0: none).
void ExpectChannelsSurvive(const std::string& model, const clsNonPersistentInfo& band, bool km2,
                           std::int16_t prescalerKM2 = 0, int alternate = 0) {
  const double stepHz = band.PllReferenceFrequency * 1000.0;
  const double middle = std::nearbyint((band.FreqMinHz + band.FreqMaxHz) / 2 / stepHz) * stepHz;
  const double points[] = {band.FreqMinHz, middle, band.FreqMaxHz};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(std::to_string(points[i]));
    clsChannel written, read;
    for (clsChannel* ch : {&written, &read}) {
      ch->ModelName = model;
      ch->PLLReferenceFreq = band.PllReferenceFrequency;
      ch->Prescaler = band.PrescalerSwitch;
      ch->RxIF = band.IFRx;
      ch->TxIF = band.IFTx;
      ch->AuxData = "11111111";
      ch->prsclKM2 = prescalerKM2;
      ch->AlternatePreScaler = alternate == 1;
      ch->AlternatePreScaler2 = alternate == 2;
    }
    written.RxFrequency = points[i];
    written.TxFrequency = points[(i + 1) % 3];
    ASSERT_TRUE(km2 ? written.CreateChannelDataKM2() : written.CreateChannelData());
    read.ChannelData = written.ChannelData;
    ASSERT_TRUE(km2 ? read.BreakChannelDataKM2() : read.BreakChannelData());
    // The dual-modulus layout of the alternate hardware decodes in floating point: to the hertz.
    for (const auto& [got, want] : {std::pair{read.RxFrequency, written.RxFrequency},
                                    std::pair{read.TxFrequency, written.TxFrequency}}) {
      EXPECT_TRUE(alternate ? std::llround(got) == std::llround(want) : got == want) << got;
    }
  }
}

TEST(ProfilesConsistency, EveryQvrBandIsIdentifiedFromItsHeaderAndTunesItsRange) {
  clsOperator op;
  op.LoadProfiles();
  int specialBands = 0;
  int code = 0;
  for (const auto& model : *op.RadioData) {
    SCOPED_TRACE(model->Model);
    // The program numbers its model list from the list position, so order is the code.
    EXPECT_EQ(model->ModelCode, code);
    const bool eight = code >= value_of(enumModel::VHF_M_A_Band_8Channel);
    EXPECT_EQ(model->NumberOfChannels, eight ? 8 : 16);
    EXPECT_NE(model->Model.find(eight ? "8 Ch" : "16 Ch"), std::string::npos);
    // The channel codec subtracts the IF exactly for the models that say UHF.
    const bool uhf = model->Model.find("UHF") != std::string::npos;
    EXPECT_EQ(uhf, (code >= 7 && code <= 11) || code >= 16);
    EXPECT_GE(model->collectionNonPersistentRadioInfo.Count(), 2);
    ++code;
    std::set<std::pair<bool, float>> pageChoices;
    int defaults = 0;
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      SCOPED_TRACE(band->Address0x0D + " " + std::to_string(band->PllReferenceFrequency));
      const double reference = band->PllReferenceFrequency;
      defaults += band->Default;
      // Each band is its own choice of injection side and reference on the settings page.
      EXPECT_TRUE(pageChoices.insert({band->InjectAspect, band->PllReferenceFrequency}).second);
      // A special radio writes its marker instead of the band byte and reads back as 0x8A.
      for (const bool special : {false, true}) {
        if (special && band->Address0x0D != "0x8A") continue;
        specialBands += special;
        clsRadioHeader written;
        written.Model = model->ModelCode;
        written.SpecialRadio = special;
        written.Address0x0D = band->Address0x0D;
        written.Address0x0F = band->Address0x0F;
        written.Address0x10 = band->Address0x10;
        written.Address0x14 = band->Address0x14;
        written.Address0x15 = band->Address0x15;
        written.Address0x16 = band->Address0x16;
        written.Address0x17 = band->Address0x17;
        written.ChannelSwitchType = band->ChannelSwitchType;
        ASSERT_TRUE(written.CreateRadioHeader());
        clsRadioHeader read;
        read.RadioHeader = written.RadioHeader;
        ASSERT_TRUE(read.BreakUpRadioHeader());
        EXPECT_EQ(read.SpecialRadio, special);
        const auto code = static_cast<std::int16_t>(read.Model);
        EXPECT_EQ(op.GetRadioInfoByModelNumber(code), model);
        EXPECT_EQ(op.GetNonPersistentMatchBasedOnAddresses(
                      code, read.Address0x0D, read.Address0x0F, read.Address0x10, read.Address0x14,
                      read.Address0x15, read.Address0x16, read.Address0x17),
                  band);
        // What the radio makes of the bytes is what the band says.
        EXPECT_EQ(read.PrescalerSwitch, band->PrescalerSwitch);
        EXPECT_EQ(read.Synthesizer, band->SynthesizerType == "MB1504" ? 1 : 0);
        if (!special) {
          EXPECT_DOUBLE_EQ(read.ReferenceCounter * reference, kOscillatorKHz);
        }
        EXPECT_EQ(read.Polarity, !band->InjectAspect);
        EXPECT_DOUBLE_EQ(read.TalkAround * reference, std::fabs(band->IFRx));
      }
      // 14/15 and 16/17 hold the receive LO and the transmit centre of the band in MHz.
      const double loOffsetKHz = (uhf ? -1 : 1) * band->IFRx;
      EXPECT_EQ(band->InjectAspect, loOffsetKHz > 0);
      EXPECT_EQ(band->IFTx, 0.0f);  // direct transmit synthesis
      const double centreMHz = (band->FreqMinHz + band->FreqMaxHz) / 2e6;
      EXPECT_EQ(
          BinToDec(band->Address0x14.substr(6, 2)) << 8 | ParseHex(band->Address0x15.substr(2)),
          std::nearbyint(centreMHz + loOffsetKHz / 1e3));
      EXPECT_EQ(
          BinToDec(band->Address0x16.substr(6, 2)) << 8 | ParseHex(band->Address0x17.substr(2)),
          std::nearbyint(centreMHz));

      ExpectChannelsSurvive(model->Model, *band, false);
    }
    EXPECT_EQ(defaults, 1);
  }
  EXPECT_EQ(code, 19);
  EXPECT_GT(specialBands, 0);
}

TEST(ProfilesConsistency, EveryKM2BandIsKnownByNumberAndItsDefaultTextAgrees) {
  clsOperator op;
  op.LoadProfilesKM2();
  std::string lines;
  for (const auto& model : *op.RadioData) {
    const std::string line = model->Model.substr(0, 6);
    EXPECT_EQ(model->NumberOfChannels, 320) << line;
    EXPECT_EQ(lines.find(line), std::string::npos) << "model line twice: " << line;
    lines += line + " ";
    const std::string prefix = line.substr(0, 5);
    const bool alternateLine =
        prefix == "52-11" || prefix == "52-12" || prefix == "52-91" || prefix == "52-92";
    int defaults = 0;
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      SCOPED_TRACE(line + band->FreqBand);
      defaults += band->Default;
      std::string text;
      ASSERT_TRUE(op.IsRadioModelExist(line + "1" + band->FreqBand, text));
      ASSERT_EQ(text.size(), 32u);
      const auto word = [&](int n) { return static_cast<double>(ParseHex(text.substr(4 * n, 4))); };
      const double reference = band->PllReferenceFrequency;
      // The header keeps only these references apart (12.5 and 5 it rewrites itself).
      EXPECT_TRUE(reference == 12.5 || reference == 5 || reference == 2.5) << reference;
      EXPECT_EQ(word(0), reference * 10);
      EXPECT_LE(static_cast<int>(word(1)) >> 14, 1);  // the layouts the channel codec undoes
      EXPECT_EQ((static_cast<int>(word(1)) & 0x3FFF) * reference, kOscillatorKHz);
      EXPECT_EQ(word(2), band->IFRx / (reference * 10));
      EXPECT_EQ(word(6), band->IFTx / (reference * 10));
      // The VCO words (MHz) cover every carrier and every receive LO of the band.
      const double loMaxMHz = (band->FreqMaxHz + band->IFRx * 100.0) / 1e6;
      EXPECT_EQ(word(3), std::floor(band->FreqMinHz / 1e6));
      EXPECT_EQ(word(4), std::ceil(loMaxMHz));
      EXPECT_EQ(text.substr(20, 4) + text.substr(28, 4), "FFF0FFFF");
      if (alternateLine) {
        // The alternate hardware decodes on 2.5 kHz and tunes its VCO from 436 to 503 MHz.
        EXPECT_EQ(reference, 2.5);
        EXPECT_GE(band->FreqMinHz, 436e6);
        EXPECT_LE(loMaxMHz, 503);
      }

      for (int alternate = 0; alternate <= (alternateLine ? 2 : 0); ++alternate) {
        SCOPED_TRACE("alternate " + std::to_string(alternate));
        // The header reads the prescaler code from the default text's second word.
        ExpectChannelsSurvive(model->Model, *band, true,
                              static_cast<std::int16_t>(static_cast<int>(word(1)) >> 14),
                              alternate);
      }
    }
    EXPECT_EQ(defaults, 1);
  }
  // The model lines that take the special paths of the codecs and pages are all there.
  for (const char* prefix : {"52-11", "52-12", "52-91", "52-92", "52-37"}) {
    EXPECT_NE(lines.find(prefix), std::string::npos) << prefix;
  }
}

}  // namespace
}  // namespace tallisk
