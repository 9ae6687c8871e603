#include "sim/VirtualRadio.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk::sim {
namespace {

bool IsHexText(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

std::optional<Record> ParseRecord(std::string_view line) {
  if (line.size() < 10 || line.size() % 2 != 0) return std::nullopt;
  if (!IsHexText(line.substr(2))) return std::nullopt;
  Record r;
  r.Text = std::string(line);
  r.Letter = line[0];
  r.Type = line[1];
  r.Count = static_cast<int>(ParseHex(line.substr(2, 2)));
  if (line.size() != 4 + 2 * static_cast<std::size_t>(r.Count)) return std::nullopt;
  r.Address = static_cast<std::uint32_t>(ParseHex(line.substr(4, 4)));
  for (std::size_t i = 8; i + 2 < line.size(); i += 2) {
    r.Data.push_back(static_cast<std::uint8_t>(ParseHex(line.substr(i, 2))));
  }
  const auto body = line.substr(2, line.size() - 4);
  try {
    r.ChecksumOk = ParseHex(RecordCheckSum(body)) == ParseHex(line.substr(line.size() - 2));
  } catch (const TalliskError&) {
    return std::nullopt;  // a long noisy line overflows the checksum's 16-bit sum
  }
  return r;
}

std::string MakeRecord(std::string_view letterAndType, std::uint32_t address,
                       const std::vector<std::uint8_t>& data) {
  std::string body = ToHex(data.size() + 3, 2) + ToHex(address, 4);
  for (auto b : data) body += ToHex(b, 2);
  return std::string(letterAndType) + body + RecordCheckSum(body) + "\r\n";
}

VirtualRadio::VirtualRadio(std::uint32_t baseAddress, std::size_t eepromSize)
    : Eeprom(eepromSize, 0xFF), base_(baseAddress) {}

void VirtualRadio::Receive(char c, Nanos at) {
  if (Misbehave.NotAttached || dropped_) return;
  if (c == '\n' || c == '\r') {
    if (!line_.empty()) HandleLine(at);
    line_.clear();
    return;
  }
  // A line that never ends is noise; keep the buffer bounded.
  if (line_.size() < 1024) line_.push_back(c);
}

void VirtualRadio::HandleLine(Nanos at) {
  auto record = ParseRecord(line_);
  if (!record || !record->ChecksumOk) {
    ++BadRecords;
    OnBadLine(at);
    return;
  }
  const int number = recordsHeard_++;
  if (Misbehave.IgnoreAfter >= 0 && number >= Misbehave.IgnoreAfter) return;
  if (number == Misbehave.DropRecord) return;
  RecordsHeard.push_back(record->Text);
  OnRecord(*record, at);
  if (Misbehave.DropLineAfter >= 0 && recordsHeard_ >= Misbehave.DropLineAfter) {
    dropped_ = true;
    // What had not left the radio when the cable came off never arrives.
    while (!output_.empty() && output_.back().at > at) output_.pop_back();
  }
}

void VirtualRadio::SetRTS(bool on, Nanos) {
  rts_ = on;
}
void VirtualRadio::SetDTR(bool on, Nanos) {
  dtr_ = on;
}

bool VirtualRadio::CTS() const {
  return !Misbehave.NotAttached && !Misbehave.NeverCTS && !dropped_;
}

std::size_t VirtualRadio::OutputWaiting(Nanos upTo) const {
  return static_cast<std::size_t>(std::count_if(output_.begin(), output_.end(),
                                                [&](const Outgoing& o) { return o.at <= upTo; }));
}

std::string VirtualRadio::TakeOutput(Nanos upTo) {
  std::string out;
  while (!output_.empty() && output_.front().at <= upTo) {
    out.push_back(output_.front().c);
    output_.pop_front();
  }
  charactersSent_ += out.size();
  return out;
}

std::optional<Nanos> VirtualRadio::NextOutputTime() const {
  if (output_.empty()) return std::nullopt;
  return output_.front().at;
}

void VirtualRadio::DiscardOutput() {
  output_.clear();
}

bool VirtualRadio::Answer(std::string_view text, Nanos at, std::size_t pauseAt) {
  if (Misbehave.Silent || dropped_) return false;
  if (Misbehave.StopAnsweringAfter >= 0 && answersGiven_ >= Misbehave.StopAnsweringAfter) {
    return false;
  }
  ++answersGiven_;
  Nanos t = std::max(at + ResponseDelay, outputFreeAt_);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == pauseAt) t += Misbehave.PauseLength;
    if (Paced) t += kCharacterTime2400;
    output_.push_back({text[i], t});
  }
  outputFreeAt_ = t;
  return true;
}

void VirtualRadio::Stray() {
  if (Misbehave.Silent || dropped_) return;
  Nanos t = outputFreeAt_ + Misbehave.StrayDelay;
  if (Paced) t += kCharacterTime2400;
  // The start of a record: the likeliest character to be taken for part of one.
  output_.push_back({'R', t});
  outputFreeAt_ = t;
}

bool VirtualRadio::GarbleNow(int index) {
  if (index != Misbehave.GarbleBlock) return false;
  if (Misbehave.GarbleAlways) return true;
  if (std::find(garbled_.begin(), garbled_.end(), index) != garbled_.end()) return false;
  garbled_.push_back(index);
  return true;
}

bool VirtualRadio::InEeprom(std::uint32_t address, std::size_t length) const {
  return address >= base_ && address - base_ + length <= Eeprom.size();
}

std::uint8_t VirtualRadio::ByteAt(std::uint32_t address) const {
  // Memory outside the EEPROM reads as erased.
  return InEeprom(address, 1) ? Eeprom[address - base_] : 0xFF;
}

std::string VirtualRadio::DataRecords(std::string_view letterAndType, std::uint32_t address,
                                      std::size_t length, std::size_t perRecord,
                                      int garbleRecord) const {
  std::string out;
  int index = 0;
  for (std::size_t done = 0; done < length; done += perRecord, ++index) {
    std::vector<std::uint8_t> data;
    for (std::size_t i = done; i < std::min(length, done + perRecord); ++i) {
      data.push_back(ByteAt(static_cast<std::uint32_t>(address + i)));
    }
    std::string record =
        MakeRecord(letterAndType, static_cast<std::uint32_t>(address + done), data);
    if (index == garbleRecord) {
      // Flip a bit of the checksum: still two upper-case hex digits, but wrong.
      const auto cs = ParseHex(record.substr(record.size() - 4, 2)) ^ 0x01;
      record.replace(record.size() - 4, 2, ToHex(static_cast<std::uint64_t>(cs), 2));
    }
    out += record;
  }
  return out;
}

std::string VirtualRadio::EepromHex() const {
  std::string out;
  out.reserve(Eeprom.size() * 2);
  for (auto b : Eeprom) out += ToHex(b, 2);
  return out;
}

void VirtualRadio::SetEepromHex(std::string_view hex) {
  std::string digits;
  for (char c : hex) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      RaiseInvalidArgument("SetEepromHex", "EEPROM image holds a character that is not hex");
    }
    digits.push_back(c);
  }
  if (digits.size() % 2 != 0 || digits.size() / 2 > Eeprom.size()) {
    RaiseInvalidArgument("SetEepromHex", "EEPROM image of the wrong size");
  }
  std::fill(Eeprom.begin(), Eeprom.end(), 0xFF);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    Eeprom[i / 2] = static_cast<std::uint8_t>(ParseHex(std::string_view(digits).substr(i, 2)));
  }
}

void VirtualRadio::LoadEeprom(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) RaiseInvalidArgument("LoadEeprom", "Cannot read " + file.string());
  std::ostringstream read;
  read << in.rdbuf();
  const std::string text = read.str();
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos || text.compare(first, 2, "S1") != 0) {
    SetEepromHex(text);
    return;
  }
  // A QVR radio file: its S1 lines put their bytes at their addresses.
  std::fill(Eeprom.begin(), Eeprom.end(), 0xFF);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty()) continue;
    const auto record = ParseRecord(line);
    if (!record || !record->ChecksumOk || record->Letter != 'S' || record->Type != '1' ||
        !InEeprom(record->Address, record->Data.size()))
      RaiseInvalidArgument("LoadEeprom", file.string() +
                                             " holds a line that is no S1 record of "
                                             "this radio: " +
                                             line);
    std::copy(record->Data.begin(), record->Data.end(),
              Eeprom.begin() + static_cast<std::ptrdiff_t>(record->Address - base_));
  }
}

void VirtualRadio::SaveEeprom(const std::filesystem::path& file) const {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  const std::string hex = EepromHex();
  // 32 bytes a line, so the file reads like a dump.
  for (std::size_t i = 0; i < hex.size(); i += 64) out << hex.substr(i, 64) << "\n";
  if (!out) RaiseInvalidArgument("SaveEeprom", "Cannot write " + file.string());
}

}  // namespace tallisk::sim

namespace tallisk::sim {

void VirtualRadio::WriteEnded() {
  if (Misbehave.StuckByte >= 0 && static_cast<std::size_t>(Misbehave.StuckByte) < Eeprom.size())
    Eeprom[static_cast<std::size_t>(Misbehave.StuckByte)] = Misbehave.StuckValue;
}

}  // namespace tallisk::sim
