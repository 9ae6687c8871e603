#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tallisk/clsNonPersistentInfo.h"
#include "tallisk/clsPersistentInfo.h"
#include "tallisk/colRadioData.h"

namespace tallisk {

// Loads the model profiles of one radio family from the profile database (RadioInfo.db)
// and answers the lookups the program makes: by model text, by model code, by the
// identification bytes of a QVR header, and the check of a typed KM2 model number.
//
// The database is found through the environment variable TALLISK_PROFILE_DB, else beside
// the library file, else under share/tallisk of the installation; it is open only while a
// load or a lookup of a KM2 band default runs. A missing database, table or field fails
// with a TalliskError that names the file and carries the database's message (3024 file,
// 3078 table or query, 3265 field, 3049 other database faults, 94 an empty field, 13 a
// field that is not a number, 6 a number too large for its property).
class clsOperator {
 public:
  clsOperator() = default;
  ~clsOperator() { UnloadProfiles(); }

  // The loaded profiles; null until a load. A load replaces it whole.
  std::shared_ptr<colRadioData> RadioData;

  // The first band of a model with this code whose identification bytes equal the given
  // texts exactly (a lower-case hex digit does not match); null when none does.
  std::shared_ptr<clsNonPersistentInfo> GetNonPersistentMatchBasedOnAddresses(
      std::int16_t RadioModel, const std::string& Address0x0D, const std::string& Address0x0F,
      const std::string& Address0x10, const std::string& Address0x14,
      const std::string& Address0x15, const std::string& Address0x16,
      const std::string& Address0x17) const;
  // The first profile whose Model equals the text exactly; null when none does.
  std::shared_ptr<clsPersistentInfo> GetRadioInfo(const std::string& RadioModel) const;
  // The first profile whose Model starts with the first six characters of the text; null
  // for a text shorter than seven characters or when none matches.
  std::shared_ptr<clsPersistentInfo> GetRadioInfoKM2(const std::string& RadioModel) const;
  // The first profile with this model code; null when none has it.
  std::shared_ptr<clsPersistentInfo> GetRadioInfoByModelNumber(std::int16_t radioModelNumber) const;

  // Load the KM2 profiles (every KM2 model has 320 channels).
  void LoadProfilesKM2();
  // Load the QVR profiles.
  void LoadProfiles();
  // The database file the loads open, found as above; TalliskError when there is none.
  static std::string DatabaseFile();
  void UnloadProfiles() noexcept { RadioData.reset(); }

  // Checks a typed KM2 model number "52-nnnfb" or "52-nnnfbD" (8 or 9 characters, any
  // letter case): the model line "52-nnn" must be known, the feature digit f one of 1, 2, 7,
  // the band letter b a band of that model, and a ninth character only "D". True sets
  // strDefault to the band's default image text (addresses 1890-189F); false empties it.
  bool IsRadioModelExist(std::string strUserInput, std::string& strDefault) const;

 private:
  const colRadioData& Loaded(const char* source) const;
  std::string LookupBandDefault(std::uint8_t code, const std::string& band) const;
};

}  // namespace tallisk
