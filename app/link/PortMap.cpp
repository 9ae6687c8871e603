#include "link/PortMap.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "files/AtomicFile.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// ttyUSB2 before ttyUSB10: the number counts, not its first digit.
bool NameOrder(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    std::size_t i = s.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
    const long number = i < s.size() ? std::stol(s.substr(i)) : -1;
    return std::make_pair(s.substr(0, i), number);
  };
  return split(a) < split(b);
}

}  // namespace

std::filesystem::path PortOverridesFile() {
  return UserConfigFolder() / "ports.txt";
}

PortOverrides LoadPortOverrides(const std::filesystem::path& file) {
  PortOverrides overrides;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line.substr(0, line.find('#')));
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = Trim(line.substr(0, equals));
    const std::string device = Trim(line.substr(equals + 1));
    if (name.size() < 4 || device.empty()) continue;
    std::string prefix = name.substr(0, 3);
    std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::string digits = name.substr(3);
    if (prefix != "COM" || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
      continue;
    }
    const int number = std::stoi(digits);
    if (number >= 1) overrides[number] = device;
  }
  return overrides;
}

void SavePortOverrides(const std::filesystem::path& file, const PortOverrides& overrides) {
  // Written whole or not at all: a failed save leaves the ports the link used before.
  std::ostringstream text;
  text << "# Tallisk serial ports: COMn = device (a path, or sim:qvr / sim:km2)\n";
  for (const auto& [number, device] : overrides) text << "COM" << number << " = " << device << "\n";
  WriteFileAtomically(file, text.str(), true);
}

std::vector<std::string> UsbSerialAdapters(const std::filesystem::path& deviceFolder) {
  std::vector<std::string> usb, acm;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(deviceFolder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0) usb.push_back(name);
    if (name.rfind("ttyACM", 0) == 0) acm.push_back(name);
  }
  std::sort(usb.begin(), usb.end(), NameOrder);
  std::sort(acm.begin(), acm.end(), NameOrder);
  std::vector<std::string> adapters;
  for (const auto* group : {&usb, &acm}) {
    for (const auto& name : *group) adapters.push_back((deviceFolder / name).string());
  }
  return adapters;
}

std::string DeviceForPort(int portNumber, const PortOverrides& overrides,
                          const std::vector<std::string>& adapters) {
  if (auto it = overrides.find(portNumber); it != overrides.end()) return it->second;
  if (portNumber < 1) return {};
  if (portNumber >= 1 && static_cast<std::size_t>(portNumber) <= adapters.size()) {
    return adapters[static_cast<std::size_t>(portNumber - 1)];
  }
  return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::string ResolvePortDevice(int portNumber) {
  return DeviceForPort(portNumber, LoadPortOverrides(PortOverridesFile()), UsbSerialAdapters());
}

}  // namespace tallisk
