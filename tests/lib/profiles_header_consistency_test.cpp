// The shipped profiles against the settings block codecs: a QVR header written with a band's
// values and read back identifies the same model and band, and a KM2 header written from a
// band's default image text carries that text's synthesiser set-up.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "tallisk/UserPrompt.h"
#include "tallisk/clsOperator.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

// Answers No to every question and counts them.
class CountingPrompt : public UserPrompt {
 public:
  void ShowMessage(const std::string&, const std::string&) override { ++messages; }
  bool AskYesNo(const std::string&, const std::string&, bool) override {
    ++questions;
    return false;
  }
  int messages = 0;
  int questions = 0;
};

class PromptScope {
 public:
  PromptScope() : prompt(std::make_shared<CountingPrompt>()), previous_(SetUserPrompt(prompt)) {}
  ~PromptScope() { SetUserPrompt(previous_); }
  std::shared_ptr<CountingPrompt> prompt;

 private:
  std::shared_ptr<UserPrompt> previous_;
};

TEST(ProfilesHeaderConsistency, EveryQvrBandIsIdentifiedFromItsOwnHeader) {
  clsOperator op;
  op.LoadProfiles();
  std::mt19937 random(4);
  int checked = 0;
  for (const auto& model : *op.RadioData) {
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      const bool specialBand = band->Address0x0D == "0x8A";
      // A special radio writes its marker instead of the band byte; the band is found too.
      for (const bool special : {false, true}) {
        if (special && !specialBand) continue;
        SCOPED_TRACE(model->Model + " " + band->Address0x0D + (special ? " special" : ""));
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
        // The settings that share bytes 14 and 16 with the identification bits.
        written.LoopSwitchTimer = static_cast<std::uint8_t>(random() % 4);
        written.AuxKeyType = static_cast<std::int32_t>(random() % 4);
        written.PriorityCnlMonitorTime = static_cast<std::int32_t>(random() % 4);
        written.BeepA = random() % 2;
        written.BeepD = random() % 2;
        ASSERT_TRUE(written.CreateRadioHeader());

        clsRadioHeader read;
        read.RadioHeader = written.RadioHeader;
        read.BreakUpRadioHeader();
        EXPECT_EQ(read.SpecialRadio, special);
        EXPECT_EQ(op.GetRadioInfoByModelNumber(static_cast<std::int16_t>(read.Model)), model);
        EXPECT_EQ(op.GetNonPersistentMatchBasedOnAddresses(
                      static_cast<std::int16_t>(read.Model), read.Address0x0D, read.Address0x0F,
                      read.Address0x10, read.Address0x14, read.Address0x15, read.Address0x16,
                      read.Address0x17),
                  band);
        // What the radio makes of the bytes is what the band says.
        EXPECT_EQ(read.PrescalerSwitch, band->PrescalerSwitch);
        EXPECT_EQ(read.Synthesizer, band->SynthesizerType == "MB1504" ? 1 : 0);
        if (!special) {
          EXPECT_DOUBLE_EQ(read.ReferenceCounter * static_cast<double>(band->PllReferenceFrequency),
                           12800.0);
        }
        EXPECT_EQ(read.Polarity, !band->InjectAspect);
        EXPECT_DOUBLE_EQ(read.TalkAround * static_cast<double>(band->PllReferenceFrequency),
                         std::fabs(band->IFRx));
        EXPECT_EQ(read.ChannelSwitchType, band->ChannelSwitchType);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 40);
}

TEST(ProfilesHeaderConsistency, KM2HeaderCarriesTheBandDefaultText) {
  PromptScope prompt;
  clsOperator op;
  op.LoadProfilesKM2();
  int checked = 0;
  for (const auto& model : *op.RadioData) {
    const std::string line = model->Model.substr(0, 6);
    const std::string prefix = line.substr(0, 5);
    const bool alternateLine =
        prefix == "52-11" || prefix == "52-12" || prefix == "52-91" || prefix == "52-92";
    for (const auto& band : model->collectionNonPersistentRadioInfo) {
      for (const std::string& digits : {std::string("1"), std::string("2"), std::string("7")}) {
        for (const std::string& suffix : {std::string(), std::string("D")}) {
          const std::string number = line + digits + band->FreqBand + suffix;
          SCOPED_TRACE(number);
          std::string text;
          ASSERT_TRUE(op.IsRadioModelExist(number, text));
          ASSERT_EQ(op.GetRadioInfoKM2(number), model);

          for (const int alternate : {0, 1, 2}) {
            if (alternate != 0 && !alternateLine) continue;
            clsRadioHeader written;
            written.ModelName = number;
            written.DefaultKM2 = text;
            written.PLLReferenceFreq = band->PllReferenceFrequency;
            written.IFRx = band->IFRx;
            written.IFTx = band->IFTx;
            written.AlternatePreScaler = alternate == 1;
            written.AlternatePreScaler2 = alternate == 2;
            written.KM2Tail = std::string(3654, 'F');
            ASSERT_TRUE(written.CreateRadioHeaderKM2());
            const std::string words = written.Address(0x1890, 32);
            if (alternate == 0) {
              // Reference, prescaler and counter, IF steps, VCO limits, TX IF and spare as
              // the default text has them; only the flag bytes come from the settings.
              EXPECT_EQ(words.substr(0, 20), text.substr(0, 20));
            } else {
              EXPECT_EQ(words.substr(0, 4), text.substr(0, 4));
              EXPECT_EQ(ParseHex(words.substr(4, 4)) >> 14, alternate == 2 ? 1 : 2);
              EXPECT_EQ(ParseHex(words.substr(4, 4)) & 0x3FFF,
                        ParseHex(text.substr(4, 4)) & 0x3FFF);
              EXPECT_EQ(words.substr(8, 12), text.substr(8, 4) + "01B401F7");
              // The fixed VCO limits of that hardware cover the band.
              EXPECT_GE(band->FreqMinHz, 436e6);
              EXPECT_LE(band->FreqMaxHz + band->IFRx * 100.0, 503e6);
            }
            EXPECT_EQ(words.substr(24, 8), text.substr(24, 8));
            // The transmit offset word is the TX IF less the RX IF, in reference steps.
            const auto offset = static_cast<std::int32_t>(
                static_cast<std::uint32_t>(ParseHex(written.Address(0x18D9, 8))));
            EXPECT_EQ(offset, static_cast<std::int32_t>(ParseHex(text.substr(24, 4))) -
                                  static_cast<std::int32_t>(ParseHex(text.substr(8, 4))));

            clsRadioHeader read;
            read.RadioHeader = written.RadioHeader;
            read.BreakUpRadioHeaderKM2();
            EXPECT_EQ(read.ModelName.substr(0, 8), number.substr(0, 8));
            EXPECT_EQ(op.GetRadioInfoKM2(read.ModelName), model);
            EXPECT_FLOAT_EQ(read.PLLReferenceFreq, band->PllReferenceFrequency);
            EXPECT_FLOAT_EQ(read.IFRx, band->IFRx);
            EXPECT_FLOAT_EQ(read.IFTx, band->IFTx);
            if (alternate == 0) {
              EXPECT_EQ(read.PRSCLType, ParseHex(text.substr(4, 4)) >> 14);
            }
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 100);
  // Only the alternate-prescaler lines make the reader ask about the hardware.
  EXPECT_GT(prompt.prompt->questions, 0);
  EXPECT_EQ(prompt.prompt->messages, 0);
}

}  // namespace
}  // namespace tallisk
