#include "tallisk/clsOperator.h"

#include <cctype>
#include <memory>
#include <optional>
#include <string>

#include "ProfileDatabase.h"
#include "tallisk/errors.h"

namespace tallisk {

namespace {

using profiledb::Database;
using profiledb::Statement;

constexpr std::int16_t kKM2Channels = 320;

// The band query of one family, prepared once for all its models.
Statement BandQuery(Database& db, const std::string& view) {
  return db.Prepare("SELECT * FROM " + view + " WHERE RadioCode = ?1", view);
}

// The bands of one QVR model, in the order the query gives them.
void LoadBands(Statement& query, std::uint8_t code, colNonPersistentData& bands) {
  query.Reset();
  query.Bind(1, code);
  const int a0D = query.Field("Address0x0D");
  const int a0F = query.Field("Address0x0F");
  const int a10 = query.Field("Address0x10");
  const int a14 = query.Field("Address0x14");
  const int a15 = query.Field("Address0x15");
  const int a16 = query.Field("Address0x16");
  const int a17 = query.Field("Address0x17");
  const int injectAspect = query.Field("InjectAspect");
  const int reference = query.Field("PllReferenceFrequency");
  const int isDefault = query.Field("Default");
  const int synthesizer = query.Field("SynthesizerType");
  const int prescaler = query.Field("PrescalerSwitch");
  const int ifRx = query.Field("IFRx");
  const int ifTx = query.Field("IFTx");
  const int switchType = query.Field("ChannelSwitchType");
  // The tuning range came later; a database without it still loads, with no range known.
  const auto freqMin = query.OptionalField("FreqMinHz");
  const auto freqMax = query.OptionalField("FreqMaxHz");
  while (query.Next()) {
    auto band = std::make_shared<clsNonPersistentInfo>();
    band->Address0x0D = query.Text(a0D);
    band->Address0x0F = query.Text(a0F);
    band->Address0x10 = query.Text(a10);
    band->Address0x14 = query.Text(a14);
    band->Address0x15 = query.Text(a15);
    band->Address0x16 = query.Text(a16);
    band->Address0x17 = query.Text(a17);
    band->InjectAspect = query.Boolean(injectAspect);
    band->PllReferenceFrequency = query.Single(reference);
    band->Default = query.Boolean(isDefault);
    band->SynthesizerType = query.Text(synthesizer);
    band->PrescalerSwitch = query.Text(prescaler);
    band->IFRx = query.Single(ifRx);
    band->IFTx = query.Single(ifTx);
    band->ChannelSwitchType = query.Byte(switchType);
    if (freqMin) band->FreqMinHz = query.Number(*freqMin);
    if (freqMax) band->FreqMaxHz = query.Number(*freqMax);
    bands.Add(std::move(band));
  }
}

// The bands of one KM2 model, in the order the query gives them.
void LoadBandsKM2(Statement& query, std::uint8_t code, colNonPersistentData& bands) {
  query.Reset();
  query.Bind(1, code);
  const int ifRx = query.Field("IFRx");
  const int ifTx = query.Field("IFTx");
  const int a18D0 = query.Field("Address0x18D0");
  const int injectAspect = query.Field("InjectAspect");
  const int reference = query.Field("PllReferenceFrequency");
  const int isDefault = query.Field("Default");
  const auto freqBand = query.OptionalField("FreqBand");
  const auto freqMin = query.OptionalField("FreqMinHz");
  const auto freqMax = query.OptionalField("FreqMaxHz");
  while (query.Next()) {
    auto band = std::make_shared<clsNonPersistentInfo>();
    band->IFRx = query.Single(ifRx);
    band->IFTx = query.Single(ifTx);
    band->Address0x18D0 = query.Text(a18D0);
    band->InjectAspect = query.Boolean(injectAspect);
    band->PllReferenceFrequency = query.Single(reference);
    band->Default = query.Boolean(isDefault);
    if (freqBand) band->FreqBand = query.Text(*freqBand);
    if (freqMin) band->FreqMinHz = query.Number(*freqMin);
    if (freqMax) band->FreqMaxHz = query.Number(*freqMax);
    bands.Add(std::move(band));
  }
}

// The first six characters, or all of a shorter text.
std::string ModelLine(const std::string& text) {
  return text.substr(0, 6);
}

}  // namespace

const colRadioData& clsOperator::Loaded(const char* source) const {
  if (!RadioData) {
    throw TalliskError(91, source, "The radio profiles have not been loaded.");
  }
  return *RadioData;
}

std::string clsOperator::DatabaseFile() {
  return profiledb::LocateDatabase("clsOperator.DatabaseFile");
}

void clsOperator::LoadProfiles() {
  // Built aside and put in place whole: a load that fails leaves no half list of models
  // that would look complete to the pages.
  RadioData = std::make_shared<colRadioData>();
  auto loaded = std::make_shared<colRadioData>();
  Database db("clsOperator.LoadProfiles");
  Statement models = db.Prepare("SELECT * FROM tblRadioList", "tblRadioList");
  std::optional<Statement> bands;  // prepared with the first model
  const int name = models.Field("RadioModel");
  const int code = models.Field("RadioModelCode");
  const int channels = models.Field("NumberOfChannels");
  while (models.Next()) {
    auto profile = std::make_shared<clsPersistentInfo>();
    profile->Model = models.Text(name);
    profile->ModelCode = models.Byte(code);
    profile->NumberOfChannels = models.Int16(channels);
    if (!bands) bands.emplace(BandQuery(db, "qryGetInfoForRadio"));
    LoadBands(*bands, profile->ModelCode, profile->collectionNonPersistentRadioInfo);
    loaded->Add(std::move(profile));
  }
  RadioData = std::move(loaded);
}

void clsOperator::LoadProfilesKM2() {
  RadioData = std::make_shared<colRadioData>();
  auto loaded = std::make_shared<colRadioData>();
  Database db("clsOperator.LoadProfilesKM2");
  Statement models = db.Prepare("SELECT * FROM KM2RadioList", "KM2RadioList");
  std::optional<Statement> bands;  // prepared with the first model
  const int name = models.Field("RadioModel");
  const int code = models.Field("ModelCode");
  while (models.Next()) {
    auto profile = std::make_shared<clsPersistentInfo>();
    profile->Model = models.Text(name);
    profile->ModelCode = models.Byte(code);
    profile->NumberOfChannels = kKM2Channels;
    if (!bands) bands.emplace(BandQuery(db, "qryGetInfoForRadioKM2"));
    LoadBandsKM2(*bands, profile->ModelCode, profile->collectionNonPersistentRadioInfo);
    loaded->Add(std::move(profile));
  }
  RadioData = std::move(loaded);
}

std::shared_ptr<clsNonPersistentInfo> clsOperator::GetNonPersistentMatchBasedOnAddresses(
    std::int16_t RadioModel, const std::string& Address0x0D, const std::string& Address0x0F,
    const std::string& Address0x10, const std::string& Address0x14, const std::string& Address0x15,
    const std::string& Address0x16, const std::string& Address0x17) const {
  for (const auto& profile : Loaded("clsOperator.GetNonPersistentMatchBasedOnAddresses")) {
    if (profile->ModelCode != RadioModel) continue;
    for (const auto& band : profile->collectionNonPersistentRadioInfo) {
      if (band->Address0x0D == Address0x0D && band->Address0x0F == Address0x0F &&
          band->Address0x10 == Address0x10 && band->Address0x14 == Address0x14 &&
          band->Address0x15 == Address0x15 && band->Address0x16 == Address0x16 &&
          band->Address0x17 == Address0x17) {
        return band;
      }
    }
  }
  return nullptr;
}

std::shared_ptr<clsPersistentInfo> clsOperator::GetRadioInfo(const std::string& RadioModel) const {
  for (const auto& profile : Loaded("clsOperator.GetRadioInfo")) {
    if (profile->Model == RadioModel) return profile;
  }
  return nullptr;
}

std::shared_ptr<clsPersistentInfo> clsOperator::GetRadioInfoKM2(
    const std::string& RadioModel) const {
  const auto& profiles = Loaded("clsOperator.GetRadioInfoKM2");
  if (RadioModel.size() < 7) return nullptr;
  for (const auto& profile : profiles) {
    if (ModelLine(profile->Model) == ModelLine(RadioModel)) return profile;
  }
  return nullptr;
}

std::shared_ptr<clsPersistentInfo> clsOperator::GetRadioInfoByModelNumber(
    std::int16_t radioModelNumber) const {
  for (const auto& profile : Loaded("clsOperator.GetRadioInfoByModelNumber")) {
    if (profile->ModelCode == radioModelNumber) return profile;
  }
  return nullptr;
}

bool clsOperator::IsRadioModelExist(std::string strUserInput, std::string& strDefault) const {
  const auto& profiles = Loaded("clsOperator.IsRadioModelExist");
  strDefault.clear();
  if (strUserInput.size() != 8 && strUserInput.size() != 9) return false;
  for (auto& c : strUserInput) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  std::shared_ptr<clsPersistentInfo> model;
  for (const auto& profile : profiles) {
    if (ModelLine(profile->Model) == ModelLine(strUserInput)) {
      model = profile;
      break;
    }
  }
  if (!model) return false;

  const std::string value = LookupBandDefault(model->ModelCode, strUserInput.substr(7, 1));
  const char feature = strUserInput[6];
  const bool featureKnown = feature == '2' || feature == '1' || feature == '7';
  const bool suffixKnown = strUserInput.size() == 8 || strUserInput[8] == 'D';
  if (value.empty() || !featureKnown || !suffixKnown) return false;
  strDefault = value;
  return true;
}

std::string clsOperator::LookupBandDefault(std::uint8_t code, const std::string& band) const {
  // The band letter is typed by the user, so it goes in as a parameter, never into the text.
  Database db("clsOperator.LookupBandDefault");
  Statement query = db.Prepare(
      "SELECT Address0x1890 From KM2RadioFeqBand where [ModelCode] = ?1 AND [FreqBand] = ?2",
      "KM2RadioFeqBand");
  query.Bind(1, code);
  query.Bind(2, band);
  const int text = query.Field("Address0x1890");
  std::string value;
  while (query.Next()) value = query.Text(text);
  return value;
}

}  // namespace tallisk
