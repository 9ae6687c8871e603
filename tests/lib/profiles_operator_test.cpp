// The lookups of clsOperator over the database the build ships beside the library.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "profiles_test_support.h"
#include "tallisk/clsOperator.h"
#include "tallisk/enums.h"

namespace tallisk {
namespace {

using testing_support::CaughtError;

clsOperator LoadedQvr() {
  clsOperator op;
  op.LoadProfiles();
  return op;
}

TEST(ProfilesOperator, QvrLoadsEveryModelInCodeOrderWithItsBands) {
  clsOperator op;
  op.LoadProfiles();
  ASSERT_TRUE(op.RadioData);
  ASSERT_EQ(op.RadioData->Count(), 19);
  std::int32_t position = 1;
  for (const auto& profile : *op.RadioData) {
    // The program numbers its model list from the list position, so order is the code.
    EXPECT_EQ(profile->ModelCode, position - 1);
    EXPECT_EQ(op.RadioData->Item(position), profile);
    EXPECT_EQ(profile->NumberOfChannels, profile->ModelCode >= 12 ? 8 : 16) << profile->Model;
    EXPECT_GE(profile->collectionNonPersistentRadioInfo.Count(), 2) << profile->Model;
    ++position;
  }
  const auto uhfLowA = op.GetRadioInfoByModelNumber(value_of(enumModel::UHF_L_A_Band));
  ASSERT_TRUE(uhfLowA);
  EXPECT_EQ(uhfLowA->Model, "UHF Low A 403-423 MHz 16 Ch");
  const auto& band = *uhfLowA->collectionNonPersistentRadioInfo.Item(1);
  EXPECT_EQ(band.Address0x0D, "0x04");
  EXPECT_EQ(band.Address0x14, "XX11XX01");
  EXPECT_EQ(band.Address0x16, "XXXXXX01");
  EXPECT_FLOAT_EQ(band.PllReferenceFrequency, 12.5f);
  EXPECT_FLOAT_EQ(band.IFRx, 21400.0f);
  EXPECT_FLOAT_EQ(band.IFTx, 0.0f);
  EXPECT_EQ(band.SynthesizerType, "MB1501");
  EXPECT_EQ(band.PrescalerSwitch, "128/129");
  EXPECT_TRUE(band.Default);
  EXPECT_FALSE(band.InjectAspect);
  EXPECT_EQ(band.ChannelSwitchType, 3);
  EXPECT_EQ(band.RadioModelCode, 0);  // the loaders leave it
  EXPECT_DOUBLE_EQ(band.FreqMinHz, 403e6);
  EXPECT_DOUBLE_EQ(band.FreqMaxHz, 423e6);
  EXPECT_FALSE(op.GetRadioInfoByModelNumber(19));
  EXPECT_FALSE(op.GetRadioInfoByModelNumber(value_of(enumModel::UndefinedRadio)));
}

TEST(ProfilesOperator, KM2LoadsModelsWith320ChannelsAndLetteredBands) {
  clsOperator op;
  op.LoadProfilesKM2();
  ASSERT_TRUE(op.RadioData);
  ASSERT_GE(op.RadioData->Count(), 5);
  for (const auto& profile : *op.RadioData) {
    EXPECT_EQ(profile->NumberOfChannels, 320) << profile->Model;
    ASSERT_GE(profile->collectionNonPersistentRadioInfo.Count(), 1) << profile->Model;
    for (const auto& band : profile->collectionNonPersistentRadioInfo) {
      EXPECT_EQ(band->FreqBand.size(), 1u);
      EXPECT_TRUE(band->Address0x0D.empty());  // the QVR identification is not KM2's
      EXPECT_EQ(band->Address0x18D0.substr(0, 2), "0x");
      EXPECT_TRUE(band->InjectAspect);
    }
  }
  const auto line899 = op.GetRadioInfoKM2("52-8991A");
  ASSERT_TRUE(line899);
  EXPECT_EQ(line899->Model.substr(0, 6), "52-899");
  const auto& bandA = *line899->collectionNonPersistentRadioInfo.Item(1);
  EXPECT_EQ(bandA.FreqBand, "A");
  EXPECT_FLOAT_EQ(bandA.IFRx, 214000.0f);
  EXPECT_FLOAT_EQ(bandA.PllReferenceFrequency, 12.5f);
  EXPECT_TRUE(bandA.Default);
}

TEST(ProfilesOperator, ModelTextLookups) {
  clsOperator km2;
  km2.LoadProfilesKM2();
  // Seven characters are needed; only the first six are compared.
  EXPECT_FALSE(km2.GetRadioInfoKM2("52-899"));
  EXPECT_FALSE(km2.GetRadioInfoKM2(""));
  EXPECT_TRUE(km2.GetRadioInfoKM2("52-899X"));
  EXPECT_EQ(km2.GetRadioInfoKM2("52-8991AD"), km2.GetRadioInfoKM2("52-8992C"));
  EXPECT_FALSE(km2.GetRadioInfoKM2("52-8981A"));

  const clsOperator qvr = LoadedQvr();
  const auto model = qvr.GetRadioInfo("VHF High B 150-174 MHz 16 Ch");
  ASSERT_TRUE(model);
  EXPECT_EQ(model->ModelCode, value_of(enumModel::VHF_H_B_Band));
  EXPECT_FALSE(qvr.GetRadioInfo("vhf high b 150-174 mhz 16 ch"));
  EXPECT_FALSE(qvr.GetRadioInfo("VHF High B 150-174 MHz 16 Ch "));
}

TEST(ProfilesOperator, IdentifiesQvrBandsByExactAddressTexts) {
  const clsOperator qvr = LoadedQvr();
  const auto code = value_of(enumModel::VHF_H_A_Band);
  const auto model = qvr.GetRadioInfoByModelNumber(code);
  ASSERT_TRUE(model);
  for (const auto& band : model->collectionNonPersistentRadioInfo) {
    EXPECT_EQ(qvr.GetNonPersistentMatchBasedOnAddresses(
                  code, band->Address0x0D, band->Address0x0F, band->Address0x10, band->Address0x14,
                  band->Address0x15, band->Address0x16, band->Address0x17),
              band);
  }
  const auto& first = *model->collectionNonPersistentRadioInfo.Item(1);
  // A lower-case hex digit is another text.
  EXPECT_FALSE(qvr.GetNonPersistentMatchBasedOnAddresses(code, "0x84", "0x86", "0xb0",
                                                         first.Address0x14, first.Address0x15,
                                                         first.Address0x16, first.Address0x17));
  // The same bytes under another model code are not this model's band.
  EXPECT_FALSE(qvr.GetNonPersistentMatchBasedOnAddresses(
      value_of(enumModel::UHF_H), first.Address0x0D, first.Address0x0F, first.Address0x10,
      first.Address0x14, first.Address0x15, first.Address0x16, first.Address0x17));
  // The 8-channel version shares the bytes but is found under its own code.
  const auto eight = value_of(enumModel::VHF_H_A_Band_8Channel);
  const auto match = qvr.GetNonPersistentMatchBasedOnAddresses(
      eight, first.Address0x0D, first.Address0x0F, first.Address0x10, first.Address0x14,
      first.Address0x15, first.Address0x16, first.Address0x17);
  ASSERT_TRUE(match);
  EXPECT_EQ(match, qvr.GetRadioInfoByModelNumber(eight)->collectionNonPersistentRadioInfo.Item(1));
  // A special radio reads back as 0x8A; the models sold as special radios have that band.
  const auto special = qvr.GetNonPersistentMatchBasedOnAddresses(
      code, "0x8A", "0x90", "0xB8", "XX01XX00", "0xA7", "XXXXXX00", "0x92");
  ASSERT_TRUE(special);
  EXPECT_FLOAT_EQ(special->PllReferenceFrequency, 5.0f);
  EXPECT_EQ(special->PrescalerSwitch, "64/65");
}

TEST(ProfilesOperator, KM2ModelNumberCheck) {
  clsOperator km2;
  km2.LoadProfilesKM2();
  std::string def = "left over";
  // Neither 8 nor 9 characters.
  EXPECT_FALSE(km2.IsRadioModelExist("52-8994", def));
  EXPECT_EQ(def, "");
  def = "left over";
  EXPECT_FALSE(km2.IsRadioModelExist("52-8991A12", def));
  EXPECT_EQ(def, "");

  ASSERT_TRUE(km2.IsRadioModelExist("52-8991A", def));
  const std::string bandA = def;
  EXPECT_EQ(bandA, "007D040006B0008800B2FFF00000FFFF");
  // Typed in lower case it is the same model number.
  EXPECT_TRUE(km2.IsRadioModelExist("52-8991a", def));
  EXPECT_EQ(def, bandA);
  // A ninth character must be D; with it the same band is accepted.
  EXPECT_TRUE(km2.IsRadioModelExist("52-8991AD", def));
  EXPECT_EQ(def, bandA);
  EXPECT_TRUE(km2.IsRadioModelExist("52-8991ad", def));
  EXPECT_FALSE(km2.IsRadioModelExist("52-8991AX", def));
  EXPECT_EQ(def, "");
  // Feature digits 1, 2 and 7 only.
  EXPECT_TRUE(km2.IsRadioModelExist("52-8992A", def));
  EXPECT_TRUE(km2.IsRadioModelExist("52-8997A", def));
  EXPECT_FALSE(km2.IsRadioModelExist("52-8993A", def));
  EXPECT_EQ(def, "");
  // Another band of the model gives its own default; an unknown band or line none.
  EXPECT_TRUE(km2.IsRadioModelExist("52-8991C", def));
  EXPECT_NE(def, bandA);
  EXPECT_FALSE(km2.IsRadioModelExist("52-8991Z", def));
  EXPECT_FALSE(km2.IsRadioModelExist("52-1231A", def));
  EXPECT_EQ(def, "");
  // The band letter reaches the database as a value, so a quote is just an unknown band.
  EXPECT_FALSE(km2.IsRadioModelExist("52-8991'", def));
  EXPECT_FALSE(km2.IsRadioModelExist("52-8991'D", def));
  EXPECT_EQ(def, "");
}

TEST(ProfilesOperator, LoadingAgainReplacesAndUnloadingEmpties) {
  clsOperator op;
  op.LoadProfiles();
  const auto first = op.RadioData;
  const std::int32_t count = first->Count();
  op.LoadProfiles();
  EXPECT_EQ(op.RadioData->Count(), count);
  EXPECT_NE(op.RadioData, first);
  // Whoever kept a profile of the earlier load still holds it.
  EXPECT_EQ(first->Count(), count);
  const auto kept = first->Item(1);
  op.LoadProfilesKM2();
  EXPECT_NE(op.RadioData->Count(), count);
  EXPECT_EQ(kept->Model, "VHF Low A 29.7-36 MHz 16 Ch");
  op.UnloadProfiles();
  EXPECT_FALSE(op.RadioData);
  op.UnloadProfiles();
  EXPECT_FALSE(op.RadioData);
}

TEST(ProfilesOperator, LookupsBeforeALoadFail) {
  clsOperator op;
  std::string def;
  for (const auto& call : std::initializer_list<std::function<void()>>{
           [&] { op.GetRadioInfo("x"); },
           [&] { op.GetRadioInfoKM2("52-8991A"); },
           [&] { op.GetRadioInfoByModelNumber(0); },
           [&] { op.GetNonPersistentMatchBasedOnAddresses(0, "", "", "", "", "", "", ""); },
           [&] { op.IsRadioModelExist("52-8991A", def); },
       }) {
    const TalliskError e = CaughtError(call);
    EXPECT_EQ(e.Number(), 91);
    EXPECT_NE(e.Description().find("not been loaded"), std::string::npos);
  }
}

}  // namespace
}  // namespace tallisk
