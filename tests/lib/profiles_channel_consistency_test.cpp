// The shipped profiles against the channel codecs: on every band of both families, channels
// at the low end, the middle and the high end of the band, on its channel grid, come back
// from their record exactly.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tallisk/clsChannel.h"
#include "tallisk/clsOperator.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

// The low end, the middle (on the grid) and the high end of a band.
std::vector<double> BandPoints(const clsNonPersistentInfo& band) {
  const double stepHz = band.PllReferenceFrequency * 1000.0;
  const double middle = std::nearbyint((band.FreqMinHz + band.FreqMaxHz) / 2 / stepHz) * stepHz;
  return {band.FreqMinHz, middle, band.FreqMaxHz};
}

TEST(ProfilesChannelConsistency, QvrChannelsAcrossEveryBandSurviveTheirRecord) {
  clsOperator op;
  op.LoadProfiles();
  int checked = 0;
  for (const auto& model : *op.RadioData) {
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      const auto points = BandPoints(*band);
      for (std::size_t i = 0; i < points.size(); ++i) {
        // Receive on one point and transmit on another, so both halves are exercised.
        const double rx = points[i];
        const double tx = points[(i + 1) % points.size()];
        SCOPED_TRACE(model->Model + " " + band->Address0x0D + " " + std::to_string(rx));
        clsChannel written;
        written.ModelName = model->Model;
        written.PLLReferenceFreq = band->PllReferenceFrequency;
        written.Prescaler = band->PrescalerSwitch;
        written.RxIF = band->IFRx;
        written.TxIF = band->IFTx;
        written.RxFrequency = rx;
        written.TxFrequency = tx;
        written.RxSignalling = 0;
        written.RxCTCSSCode = 37;
        written.TxSignalling = 1;
        written.TxSignalData = -0754;
        written.TxPowerControl = 1;
        written.AuxData = "11111111";
        written.CreateChannelData();
        ASSERT_EQ(written.ChannelData.size(), 20u);

        clsChannel read;
        read.ModelName = model->Model;
        read.PLLReferenceFreq = band->PllReferenceFrequency;
        read.Prescaler = band->PrescalerSwitch;
        read.RxIF = band->IFRx;
        read.TxIF = band->IFTx;
        read.ChannelData = written.ChannelData;
        read.BreakChannelData();
        EXPECT_EQ(read.RxFrequency, rx);
        EXPECT_EQ(read.TxFrequency, tx);
        EXPECT_EQ(read.RxSynthesizerData, written.RxSynthesizerData);
        EXPECT_EQ(read.TxSynthesizerData, written.TxSynthesizerData);
        EXPECT_EQ(read.RxCTCSSCode, 37);
        EXPECT_EQ(read.TxSignalData, -0754);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(ProfilesChannelConsistency, KM2ChannelsAcrossEveryBandSurviveTheirRecord) {
  clsOperator op;
  op.LoadProfilesKM2();
  int checked = 0;
  for (const auto& model : *op.RadioData) {
    const std::string line = model->Model.substr(0, 6);
    const std::string prefix = line.substr(0, 5);
    const bool alternateLine =
        prefix == "52-11" || prefix == "52-12" || prefix == "52-91" || prefix == "52-92";
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      std::string text;
      ASSERT_TRUE(op.IsRadioModelExist(line + "1" + band->FreqBand, text));
      // The header reads the prescaler code from the default text's second word.
      const auto prescalerCode = static_cast<std::int16_t>(ParseHex(text.substr(4, 4)) >> 14);
      const auto points = BandPoints(*band);
      for (const int alternate : {0, 1, 2}) {
        if (alternate != 0 && !alternateLine) continue;
        for (std::size_t i = 0; i < points.size(); ++i) {
          const double rx = points[i];
          const double tx = points[(i + 2) % points.size()];
          SCOPED_TRACE(line + band->FreqBand + " alternate " + std::to_string(alternate) + " " +
                       std::to_string(rx));
          const auto bandValues = [&](clsChannel& ch) {
            ch.ModelName = model->Model;
            ch.PLLReferenceFreq = band->PllReferenceFrequency;
            ch.RxIF = band->IFRx;
            ch.TxIF = band->IFTx;
            ch.prsclKM2 = prescalerCode;
            ch.AlternatePreScaler = alternate == 1;
            ch.AlternatePreScaler2 = alternate == 2;
          };
          clsChannel written;
          bandValues(written);
          written.ChannelName = "CH" + std::to_string(i);
          written.RxFrequency = rx;
          written.TxFrequency = tx;
          written.RxSignalling = 0;
          written.RxCTCSSCode = 26;
          written.TxSignalling = 0;
          written.TxCTCSSCode = 26;
          written.CreateChannelDataKM2();
          ASSERT_EQ(written.ChannelData.size(), 32u);

          clsChannel read;
          bandValues(read);
          read.ChannelData = written.ChannelData;
          read.BreakChannelDataKM2();
          // The dual-modulus layout is decoded in floating point: exact to the hertz.
          EXPECT_EQ(std::llround(read.RxFrequency), std::llround(rx));
          EXPECT_EQ(std::llround(read.TxFrequency), std::llround(tx));
          if (alternate == 0) {
            EXPECT_EQ(read.RxFrequency, rx);
            EXPECT_EQ(read.TxFrequency, tx);
          }
          EXPECT_EQ(read.RxCTCSSCode, 26);
          EXPECT_EQ(read.ChannelName, "CH" + std::to_string(i) + "   ");
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace tallisk
