#include "ui/ProgrammingDiff.h"

#include <cctype>
#include <set>

#include "files/ProgrammingFields.h"
#include "tallisk/conversions.h"

namespace tallisk {

std::map<std::int32_t, std::string> ImageBytes(RadioFamily family, const std::string& image) {
  std::map<std::int32_t, std::string> bytes;
  auto upper = [](std::string byte) {
    for (char& c : byte) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return byte;
  };
  if (family == RadioFamily::KM2) {
    for (std::size_t at = 0; at + 1 < image.size(); at += 2)
      bytes[static_cast<std::int32_t>(at / 2)] = upper(image.substr(at, 2));
    return bytes;
  }
  std::size_t start = 0;
  while (start < image.size()) {
    std::size_t end = image.find('\n', start);
    if (end == std::string::npos) end = image.size();
    std::string line = image.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.size() != 26 || !line.starts_with("S1")) continue;
    const auto address = static_cast<std::int32_t>(ParseHex(line.substr(4, 4)));
    for (int i = 0; i < 8; ++i)
      bytes[address + i] = upper(line.substr(8 + 2 * static_cast<std::size_t>(i), 2));
  }
  return bytes;
}

std::string PartOf(RadioFamily family, std::int32_t address) {
  if (family == RadioFamily::KM2) {
    if (address < 0x1400) return "channel " + std::to_string(address / 16 + 1);
    if (address < 0x1600) return "group " + std::to_string((address - 0x1400) / 32 + 1);
    if (address < 0x1880) return "the channel-group table";
    if (address < 0x1EBC) return "the radio-wide settings";
    if (address < 0x1FFC) return "the checksum of channel " + std::to_string(address - 0x1EBC + 1);
    return "the last four bytes";
  }
  if (address < 0x22) return "the radio-wide settings";
  return "channel " + std::to_string((address - 0x22) / 10 + 1);
}

namespace {

template <class T>
void Compare(const std::vector<ProgrammingField<T>>& fields, const T& a, const T& b,
             const std::string& lead, std::vector<std::string>& lines) {
  for (const auto& field : fields) {
    if (SameField(field, a, b)) continue;
    std::string unit = field.Unit;
    lines.push_back(lead + field.Label + " " + FieldText(field, a) + " -> " + FieldText(field, b) +
                    (unit.empty() ? "" : " " + unit));
  }
}

std::string Members(const std::vector<clsChannelGroup>& table, std::int16_t group) {
  std::string list;
  for (const auto& entry : table) {
    if (!entry.Programmed || entry.GroupNumber != group) continue;
    list += (list.empty() ? "" : ", ") + std::to_string(entry.ChannelNumber);
  }
  return list.empty() ? "none" : list;
}

}  // namespace

std::vector<std::string> DescribeDifferences(const ProgrammingParts& from,
                                             const ProgrammingParts& to) {
  std::vector<std::string> lines;
  if (from.Family != to.Family) {
    lines.push_back(std::string("family ") + (from.Family == RadioFamily::KM2 ? "KM2" : "QVR") +
                    " -> " + (to.Family == RadioFamily::KM2 ? "KM2" : "QVR"));
    return lines;
  }
  if (from.Model != to.Model) lines.push_back("model " + from.Model + " -> " + to.Model);
  // The parts whose fields differ; a byte there is accounted for.
  std::set<std::string> explained;
  auto note = [&](std::size_t before, const std::string& part) {
    if (lines.size() > before) explained.insert(part);
  };
  std::size_t before = lines.size();
  Compare(SettingsFields(), from.Settings, to.Settings, "", lines);
  note(before, "the radio-wide settings");
  const std::size_t channels = std::min(from.Channels.size(), to.Channels.size());
  for (std::size_t i = 0; i < channels; ++i) {
    const std::string part = "channel " + std::to_string(i + 1);
    before = lines.size();
    Compare(ChannelFields(), from.Channels[i], to.Channels[i], part + ": ", lines);
    note(before, part);
    if (lines.size() > before && from.Family == RadioFamily::KM2)
      explained.insert("the checksum of " + part);
  }
  if (from.Channels.size() != to.Channels.size())
    lines.push_back("channels " + std::to_string(from.Channels.size()) + " -> " +
                    std::to_string(to.Channels.size()));
  const std::size_t groups = std::min(from.Groups.size(), to.Groups.size());
  for (std::size_t i = 0; i < groups; ++i) {
    const std::string part = "group " + std::to_string(i + 1);
    before = lines.size();
    Compare(GroupFields(), from.Groups[i], to.Groups[i], part + ": ", lines);
    note(before, part);
  }
  // The table by what it means: which channels each group scans.
  before = lines.size();
  for (std::int16_t group = 1; group <= static_cast<std::int16_t>(groups); ++group) {
    const std::string a = Members(from.ChannelGroups, group);
    const std::string b = Members(to.ChannelGroups, group);
    if (a != b) lines.push_back("group " + std::to_string(group) + ": channels " + a + " -> " + b);
  }
  if (lines.size() > before || from.ChannelGroups != to.ChannelGroups)
    explained.insert("the channel-group table");

  const auto a = ImageBytes(from.Family, from.Image);
  const auto b = ImageBytes(to.Family, to.Image);
  auto byteAt = [](const std::map<std::int32_t, std::string>& bytes, std::int32_t address) {
    const auto found = bytes.find(address);
    return found == bytes.end() ? std::string("--") : found->second;
  };
  std::set<std::int32_t> addresses;
  for (const auto& [address, byte] : a) addresses.insert(address);
  for (const auto& [address, byte] : b) addresses.insert(address);
  for (const std::int32_t address : addresses) {
    const std::string x = byteAt(a, address), y = byteAt(b, address);
    if (x == y) continue;
    const std::string part = PartOf(from.Family, address);
    if (explained.contains(part)) continue;
    lines.push_back("byte " + ToHex(static_cast<std::uint64_t>(address), 4) + " (" + part +
                    "): " + x + " -> " + y);
  }
  return lines;
}

}  // namespace tallisk
