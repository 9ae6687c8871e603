#pragma once

// Which device a port number means. COMn is the n-th USB serial adapter present
// (/dev/ttyUSB* in name order, then /dev/ttyACM*), else /dev/ttyS{n-1}; the user can name
// the device of any port number in a small text file of the configuration folder:
//
//   # Tallisk serial ports
//   COM1 = /dev/ttyUSB0
//   COM2 = sim:km2
//
// The devices "sim:qvr" and "sim:km2" (optionally followed by ":" and an EEPROM file to
// start from) are virtual radios inside the program.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/ProgramPaths.h"

namespace tallisk {

inline constexpr char kSimDevicePrefix[] = "sim:";
inline constexpr char kSimQVR[] = "sim:qvr";
inline constexpr char kSimKM2[] = "sim:km2";

using PortOverrides = std::map<int, std::string>;

// ports.txt in UserConfigFolder() (files/ProgramPaths.h).
std::filesystem::path PortOverridesFile();

// A missing file is no overrides; lines that do not read "COMn = device" are skipped.
PortOverrides LoadPortOverrides(const std::filesystem::path& file);
// Creates the folder when needed; raises TalliskError when the file cannot be written.
void SavePortOverrides(const std::filesystem::path& file, const PortOverrides& overrides);

// USB serial adapters under a device folder, in the order the port numbers take them.
std::vector<std::string> UsbSerialAdapters(const std::filesystem::path& deviceFolder = "/dev");

// An empty text for a port number below 1.
std::string DeviceForPort(int portNumber, const PortOverrides& overrides,
                          const std::vector<std::string>& adapters);

// The device of a port number on this system now: the override file is read afresh, so
// an edit takes effect with the next conversation.
std::string ResolvePortDevice(int portNumber);

}  // namespace tallisk
