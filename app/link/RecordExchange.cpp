#include "link/RecordExchange.h"

#include <algorithm>
#include <cctype>

#include "link/LinkConstants.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

bool IsHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

bool StoreAnswerRecord(std::string& image, std::string_view record) {
  if (record.size() <= 9) return false;
  const auto countText = record.substr(2, 2);
  if (!IsHex(countText)) return false;
  const auto count = static_cast<std::size_t>(ParseHex(countText));
  if (record.size() - 4 != 2 * count) return false;
  const auto body = record.substr(2, 2 * count);
  // A non-hex digit would read as 0 in the checksum and then land in the image.
  if (!IsHex(body)) return false;
  if (RecordCheckSum(body) != record.substr(record.size() - 2)) return false;
  if (count >= 4) {
    const auto data = record.substr(8, 2 * count - 6);
    const auto address = static_cast<std::uint32_t>(ParseHex(record.substr(4, 4)));
    const std::size_t offset = (address - link::kKM2ImageBase) & 0xFFFF;
    const std::size_t position = 2 * offset;
    if (position + data.size() > image.size()) return false;
    image.replace(position, data.size(), Upper(data));
  }
  return true;
}

bool StoreAnswerLines(std::string& image, std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\n') continue;
    if (c != '\r') {
      line.push_back(c);
      continue;
    }
    if (line.size() >= 2 && line[0] == 'R' && std::isdigit(static_cast<unsigned char>(line[1]))) {
      if (!StoreAnswerRecord(image, line)) return false;
    }
    line.clear();
  }
  return true;
}

bool CheckAnswerLinesQVR(std::string_view answer) {
  using link::kQVRAnswerLineChars;
  if (answer.size() % kQVRAnswerLineChars != 0 ||
      answer.size() / kQVRAnswerLineChars < link::kQVRMinimumAnswerLines) {
    return false;
  }
  std::uint32_t expected = 0;
  for (std::size_t pos = 0; pos < answer.size(); pos += kQVRAnswerLineChars) {
    const auto line = answer.substr(pos, kQVRAnswerLineChars);
    if (line.substr(0, 4) != "S10B" || line.substr(26) != "\r\n") return false;
    const auto body = line.substr(2, 22);
    if (!IsHex(body) || !IsHex(line.substr(24, 2))) return false;
    if (static_cast<std::uint32_t>(ParseHex(line.substr(4, 4))) != expected) return false;
    if (RecordCheckSum(body) != line.substr(24, 2)) return false;
    expected += link::kQVRAnswerLineBytes;
  }
  return true;
}

std::string PercentText(std::int32_t part, std::int32_t total) {
  const auto percent = RoundToInt32(100.0 * part / total);
  return std::to_string(percent) + "%";
}

}  // namespace tallisk
