#include "tallisk/clsStringCreator.h"

#include <cstddef>
#include <string_view>

#include "tallisk/UserPrompt.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

// QVR transfer lines: "S1", count 0B, 4-digit address, 8 data bytes, checksum, CR LF.
constexpr std::size_t kLineLength = 28;
constexpr std::size_t kLineDataStart = 8;
constexpr std::size_t kLineDataDigits = 16;
// The radio takes the QVR image in two phases, the second from this address on.
constexpr std::int32_t kSecondPhaseAddress = 0x0100;
constexpr std::size_t kQvrHeaderDigits = 68;
constexpr std::size_t kQvrChannelDigits = 20;

// KM2 image: 8192 bytes with fixed block addresses.
constexpr std::size_t kKm2ImageDigits = 16384;
constexpr std::size_t kKm2Channels = 320;
constexpr std::size_t kKm2ChannelDigits = 32;
constexpr std::size_t kKm2Groups = 16;
constexpr std::size_t kKm2GroupDigits = 64;
constexpr std::size_t kKm2TableDigits = 4;
constexpr std::size_t kKm2GroupsStart = kKm2Channels * kKm2ChannelDigits;                 // 1400
constexpr std::size_t kKm2TableStart = kKm2GroupsStart + kKm2Groups * kKm2GroupDigits;    // 1600
constexpr std::size_t kKm2HeaderStart = kKm2TableStart + kKm2Channels * kKm2TableDigits;  // 1880
constexpr char kKm2ImageEnd[] = "FFFEFFFF";

// Like Mid$: a piece that starts or runs past the end of the text is shorter or empty.
std::string Piece(std::string_view text, std::size_t start, std::size_t length) {
  if (start >= text.size()) return {};
  return std::string(text.substr(start, length));
}

std::string S1Line(std::int32_t address, std::string_view data) {
  const std::string body = "0B" + ToHex(static_cast<std::uint64_t>(address), 4) + std::string(data);
  return "S1" + body + RecordCheckSum(body) + "\r\n";
}

}  // namespace

bool clsStringCreator::CreateString() {
  std::string image = RadioHeader;
  for (const auto& record : colChannelData) image += record;
  // The last line is filled with erased bytes.
  const std::size_t remainder = image.size() % kLineDataDigits;
  if (remainder != 0) image.append(kLineDataDigits - remainder, 'F');

  std::string lines;
  for (std::size_t pos = 0; pos < image.size(); pos += kLineDataDigits) {
    const auto address = static_cast<std::int32_t>(pos / 2);
    if (address == kSecondPhaseAddress) {
      ProgrammingStringPart1 = lines;
      lines.clear();
    }
    lines += S1Line(address, std::string_view(image).substr(pos, kLineDataDigits));
  }
  ProgrammingStringPart2 = lines;
  return true;
}

bool clsStringCreator::BreakUpString() {
  std::string data;
  for (std::size_t pos = 0; pos < EntireString.size(); pos += kLineLength) {
    data += Piece(std::string_view(EntireString).substr(pos, kLineLength), kLineDataStart,
                  kLineDataDigits);
  }
  RadioHeader = Piece(data, 0, kQvrHeaderDigits);
  for (std::size_t pos = kQvrHeaderDigits; pos < data.size(); pos += kQvrChannelDigits) {
    colChannelData.Add(Piece(data, pos, kQvrChannelDigits));
  }
  return true;
}

bool clsStringCreator::CreateStringKM2() {
  std::string image;
  image.reserve(kKm2ImageDigits);
  for (const auto& record : colChannelData) image += record;
  for (const auto& record : colGroupData) image += record;
  for (const auto& entry : colChannelGroup) image += entry;
  image += RadioHeader;
  for (const auto& sum : colChannelCheckSum) image += sum;
  image += kKm2ImageEnd;
  ProgrammingStringPart1 = std::move(image);

  if (ProgrammingStringPart1.size() != kKm2ImageDigits) {
    CurrentUserPrompt().ShowMessage("Internal Error: EEPROM size not correct",
                                    "KM2 Radio Programmer");
    return false;
  }
  return true;
}

bool clsStringCreator::BreakUpStringKM2() {
  const std::string_view image(EntireString);
  RadioHeader = Piece(image, kKm2HeaderStart, std::string::npos);
  colChannelData.Reserve(static_cast<std::size_t>(colChannelData.Count()) + kKm2Channels);
  colGroupData.Reserve(static_cast<std::size_t>(colGroupData.Count()) + kKm2Groups);
  colChannelGroup.Reserve(static_cast<std::size_t>(colChannelGroup.Count()) + kKm2Channels);
  for (std::size_t n = 0; n < kKm2Channels; ++n) {
    colChannelData.Add(Piece(image, n * kKm2ChannelDigits, kKm2ChannelDigits));
  }
  for (std::size_t g = 0; g < kKm2Groups; ++g) {
    colGroupData.Add(Piece(image, kKm2GroupsStart + g * kKm2GroupDigits, kKm2GroupDigits));
  }
  for (std::size_t n = 0; n < kKm2Channels; ++n) {
    colChannelGroup.Add(Piece(image, kKm2TableStart + n * kKm2TableDigits, kKm2TableDigits));
  }
  return true;
}

std::string clsStringCreator::Address(std::int32_t lngHexAddress, std::int16_t intLen) const {
  return tallisk::Address(RadioHeader, lngHexAddress, intLen);
}

}  // namespace tallisk
