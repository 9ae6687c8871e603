#pragma once

#include <cstdint>

namespace tallisk {

// One CTCSS tone of a family's tone table and the code a channel record stores for it.
class clsCTCSSFrequencies {
 public:
  // KM2: the tone belongs to the special-radio bank (a transmit tone that only a special
  // radio offers; its code is 100 plus the code the record holds with the bank flag).
  bool SpecialRadioKM2 = false;
  // KM2: the code a channel record stores for this tone.
  std::int16_t CTCSSCodeKM2 = 0;
  // Hz.
  float CTCSSFreq = 0;
  // QVR: the code a channel record stores for this tone.
  std::int16_t Index = 0;
};

}  // namespace tallisk
