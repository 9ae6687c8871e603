#pragma once

#include <cstdint>

#include "tallisk/clsCTCSSFrequencies.h"
#include "tallisk/collection.h"

namespace tallisk {

// The CTCSS tone table of one radio family, read from the profile database in ascending
// tone frequency, so Item(1) is the lowest tone.
class colCTCSSFrequencies {
 public:
  // Append the QVR tone table. A load does not clear what is there: loading twice holds
  // every tone twice. A missing database, table or field fails with the database's message;
  // the tones read before the failure stay.
  void LoadCodes();
  // Append the KM2 tone table, both banks.
  void LoadCodesKM2();

  // Positions outside 1..Count fail with the invalid-argument error.
  clsCTCSSFrequencies& Item(std::int32_t index) { return tones_.Item(index); }
  const clsCTCSSFrequencies& Item(std::int32_t index) const { return tones_.Item(index); }
  std::int32_t Count() const noexcept { return tones_.Count(); }
  void Clear() noexcept { tones_.Clear(); }

  auto begin() noexcept { return tones_.begin(); }
  auto end() noexcept { return tones_.end(); }
  auto begin() const noexcept { return tones_.begin(); }
  auto end() const noexcept { return tones_.end(); }

 private:
  Collection<clsCTCSSFrequencies> tones_;
};

}  // namespace tallisk
