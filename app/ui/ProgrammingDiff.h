#pragma once

// Two programmings told apart in a technician's words: the fields that differ, by channel,
// group and setting, then the bytes of the images that no field accounts for, by address.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "files/ProgrammingJson.h"

namespace tallisk {

// The bytes of a radio file's image text by address, as two upper-case hex digits: KM2 from
// its hex digits, QVR from its S1 lines (lines that are no S1 line of eight bytes are passed
// by).
std::map<std::int32_t, std::string> ImageBytes(RadioFamily family, const std::string& image);

// Where a byte of the image belongs: "channel 3", "group 2", "the radio-wide settings".
std::string PartOf(RadioFamily family, std::int32_t address);

// "serial number KM0042 -> KM0043", "channel 17: receive 151.537500 -> 151.550000 MHz",
// "group 2: channels 1, 5 -> 1, 5, 8", then "byte 1FFD (the last four bytes): 3C -> 3D" for a
// byte whose part shows no field difference. Empty when the images are the same.
std::vector<std::string> DescribeDifferences(const ProgrammingParts& from,
                                             const ProgrammingParts& to);

}  // namespace tallisk
