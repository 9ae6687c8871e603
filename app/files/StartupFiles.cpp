#include "files/StartupFiles.h"

#include <algorithm>

#include "files/AtomicFile.h"
#include "files/FileError.h"
#include "files/RadioFile.h"

namespace tallisk {
namespace {

// 1-based character 12731 of the image is address 18DD.
constexpr std::size_t kTailStart = 0x18DD * 2;

}  // namespace

FamilyConfiguration ReadFamilyConfiguration(const std::filesystem::path& controlTxt) {
  std::string text = ReadWholeFile(controlTxt).value_or(std::string());
  std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');  // the same in any locale
  }

  FamilyConfiguration configuration;
  configuration.Km2Enabled = text.find("KM2=TRUE") != std::string::npos;
  configuration.QvrEnabled = text.find("QVR=TRUE") != std::string::npos;
  // An installation that offers nothing would be a program that can do nothing.
  if (!configuration.Km2Enabled && !configuration.QvrEnabled) {
    configuration.Km2Enabled = configuration.QvrEnabled = true;
  }
  configuration.RadioType = configuration.QvrEnabled ? 0 : 1;
  return configuration;
}

std::string ReadKM2Tail(const std::filesystem::path& km2Clr) {
  try {
    const std::string image = ReadRadioFile(km2Clr, RadioFamily::KM2);
    // A read dump runs past the image; the tail ends with the image.
    return image.substr(kTailStart, kKM2TailDigits);
  } catch (const FileError&) {
    return {};
  }
}

std::string ReadModelHelp(const std::filesystem::path& helpFile) {
  return ReadWholeFile(helpFile).value_or(std::string());
}

}  // namespace tallisk
