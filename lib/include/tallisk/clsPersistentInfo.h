#pragma once

#include <cstdint>
#include <string>

#include "tallisk/colNonPersistentData.h"

namespace tallisk {

// One radio model of the profile database with its bands.
class clsPersistentInfo {
 public:
  // The model text shown to the user. QVR: a text containing "UHF" makes the channel codec
  // inject below the carrier. KM2: starts with the six characters of the model line.
  std::string Model;
  // QVR: the model byte of the header (enumModel). KM2: the database's own number.
  std::uint8_t ModelCode = 0;
  std::int16_t NumberOfChannels = 0;
  colNonPersistentData collectionNonPersistentRadioInfo;
};

}  // namespace tallisk
