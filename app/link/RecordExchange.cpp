#include "link/RecordExchange.h"

#include <algorithm>
#include <cctype>

#include "link/LinkConstants.h"
#include "tallisk/conversions.h"
#include "tallisk/enums.h"
#include "tallisk/errors.h"

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
  // A noisy line with a large count can overflow the checksum's 16-bit sum: no answer of a
  // radio does, so it is refused like any bad record and the block is asked for again.
  std::string checksum;
  try {
    checksum = RecordCheckSum(body);
  } catch (const TalliskError&) {
    return false;
  }
  if (checksum != record.substr(record.size() - 2)) return false;
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

bool AnswerCompleteKM2(std::string_view answer, std::uint32_t address) {
  std::string coverage(link::kKM2ReadImageChars, '.');
  StoreAnswerLines(coverage, answer);
  const std::size_t from = 2 * static_cast<std::size_t>(address - link::kKM2ImageBase);
  if (from >= coverage.size()) return false;
  return coverage.find('.', from) >= from + 2 * link::kKM2BlockBytes;
}

namespace {

using link::kQVRAnswerLineChars;

// One QVR answer line of 28 characters carrying the 8 bytes at `address`.
bool LineOkQVR(std::string_view line, std::uint32_t address) {
  if (line.substr(0, 2) != "S1" || line.substr(26) != "\r\n") return false;
  const auto body = line.substr(2, 22);
  return IsHex(body) && ParseHex(body.substr(0, 2)) == 3 + link::kQVRAnswerLineBytes &&
         static_cast<std::uint32_t>(ParseHex(body.substr(2, 4))) == address &&
         RecordCheckSum(body) == line.substr(24, 2);
}

// How many whole lines from the start of the answer are good, in address order from 0000.
std::size_t GoodLinesQVR(std::string_view answer) {
  std::size_t lines = 0;
  while ((lines + 1) * kQVRAnswerLineChars <= answer.size() &&
         LineOkQVR(answer.substr(lines * kQVRAnswerLineChars, kQVRAnswerLineChars),
                   static_cast<std::uint32_t>(lines * link::kQVRAnswerLineBytes))) {
    ++lines;
  }
  return lines;
}

}  // namespace

bool CheckAnswerLinesQVR(std::string_view answer) {
  const std::size_t lines = answer.size() / kQVRAnswerLineChars;
  return answer.size() % kQVRAnswerLineChars == 0 && lines >= link::kQVRMinimumAnswerLines &&
         GoodLinesQVR(answer) == lines;
}

bool AnswerCompleteQVR(std::string_view answer) {
  const std::size_t good = GoodLinesQVR(answer);
  // The model byte at 000C is the fifth data byte of the second line.
  if (good < 2) return false;
  const auto model = ParseHex(answer.substr(kQVRAnswerLineChars + 8 + 2 * 4, 2));
  const bool eightChannels = model >= value_of(enumModel::VHF_M_A_Band_8Channel) &&
                             model <= value_of(enumModel::UHF_H_8Channel);
  const std::size_t channels = eightChannels ? 8 : 16;
  return good * link::kQVRAnswerLineBytes >=
         link::kQVRHeaderBytes + link::kQVRChannelBytes * channels;
}

std::string PercentText(std::int32_t part, std::int32_t total) {
  const auto percent = RoundToInt32(100.0 * part / total);
  return std::to_string(percent) + "%";
}

}  // namespace tallisk
