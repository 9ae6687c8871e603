#pragma once

// The three installation files the main window reads at start-up, in this order:
// control.txt (which families the installation offers), km2.clr (the KM2 image tail used
// until a read or a loaded file supplies one), tmphelp.thp (the KM2 model help text).
// None of them is required: a missing or unusable file gives a sound default and the
// program starts anyway.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tallisk {

struct FamilyConfiguration {
  bool QvrEnabled = true;
  bool Km2Enabled = true;
  std::int32_t RadioType = 0;  // the starting family: 0 = QVR, 1 = KM2
};

// The whole file with every space and tab dropped and turned to upper case is searched for
// "KM2=TRUE" and "QVR=TRUE". Each found offers its family; QVR is the starting family when
// both are. No file, or one that enables neither family, offers both and starts with QVR.
FamilyConfiguration ReadFamilyConfiguration(const std::filesystem::path& controlTxt);

// The KM2 image tail: characters 12731 to 16384 of the image in km2.clr (image addresses
// 18DD to 1FFF), 3654 upper-case hex digits. The file must be a KM2 programming as a radio
// file is (16384 hex digits, or a 16704-digit read dump, optionally with a line end).
// An empty text means no usable tail (no file, too short, not hex): the KM2 write and save
// must then refuse until a read or a loaded file supplies one.
std::string ReadKM2Tail(const std::filesystem::path& km2Clr);
inline constexpr std::size_t kKM2TailDigits = 3654;

// What the KM2 write and save say, and refuse, while there is no tail (the window shows it
// with the KM2 title).
inline constexpr char kNoKM2TailMessage[] =
    "There is no KM2 firmware data to write: the installation's km2.clr is missing or "
    "damaged. Read a KM2 radio or load a KM2 radio file first.";

// The whole help file as text; an empty text when there is none.
std::string ReadModelHelp(const std::filesystem::path& helpFile);

}  // namespace tallisk
