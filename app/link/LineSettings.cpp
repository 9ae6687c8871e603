#include "link/LineSettings.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace tallisk {
namespace {

// The number a field starts with, or nothing.
bool ReadNumber(std::string_view field, int& value) {
  int read = 0;
  const auto result = std::from_chars(field.data(), field.data() + field.size(), read);
  if (result.ec != std::errc{}) return false;
  value = read;
  return true;
}

}  // namespace

LineSettings ParseLineSettings(std::string_view text) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    std::string_view field = text.substr(start, comma - start);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    fields.push_back(field);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  LineSettings s;
  int number = 0;
  if (ReadNumber(fields[0], number) && number > 0) s.Baud = number;
  if (fields.size() > 1 && !fields[1].empty()) {
    const char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(fields[1][0])));
    if (std::string_view("NEOMS").find(parity) != std::string_view::npos) s.Parity = parity;
  }
  if (fields.size() > 2 && ReadNumber(fields[2], number) && number >= 5 && number <= 8) {
    s.DataBits = number;
  }
  if (fields.size() > 3 && ReadNumber(fields[3], number) && (number == 1 || number == 2)) {
    s.StopBits = number;
  }
  return s;
}

}  // namespace tallisk
