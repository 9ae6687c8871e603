#include "reportText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tallisk::report_text {
namespace {

template <typename T>
std::string Chars(T value, auto... format) {
  // Wide enough for any double in fixed notation with six decimals.
  char buf[400];
  const auto result = std::to_chars(buf, buf + sizeof buf, value, format...);
  if (result.ec != std::errc{}) return {};
  return std::string(buf, result.ptr);
}

}  // namespace

std::string Line(std::string_view label, std::string_view value) {
  std::string line(label.substr(0, kLabelWidth));
  line.resize(kLabelWidth, ' ');
  line += ": ";
  line += value;
  line += "\r\n";
  return line;
}

void AddLine(std::string& report, std::string_view label, std::optional<std::string_view> value) {
  if (value) report += Line(label, *value);
}

std::optional<std::string_view> NameOf(std::int32_t value, Names names) {
  for (const auto& [code, text] : names) {
    if (code == value) return text;
  }
  return std::nullopt;
}

std::string_view YesNo(bool value) {
  return value ? "Yes" : "No";
}

std::string PlainForm(int value) {
  return std::to_string(value);
}

std::string PlainForm(float value) {
  // Also turns -0 into "0".
  if (value == 0) return "0";
  // The shortest text of to_chars switches to exponent form as soon as that is shorter
  // (100000 would print as "1e+05"); a technician reads milliseconds and kHz, and a report
  // never shows an exponent, so every magnitude is printed in plain decimals.
  return Chars(value, std::chars_format::fixed);
}

std::string StrForm(int value) {
  return (value < 0 ? "" : " ") + PlainForm(value);
}

std::string StrForm(float value) {
  return (value < 0 ? "" : " ") + PlainForm(value);
}

std::string OctalCode(std::int32_t value, bool zeroIsPositive) {
  const bool positive = value > 0 || (value == 0 && zeroIsPositive);
  const auto magnitude = static_cast<unsigned long long>(std::llabs(value));
  return (positive ? "+" : "-") + Chars(magnitude, 8);
}

namespace {

std::string Megahertz(double hz, bool grouped) {
  std::string text = Chars(hz / 1000000.0, std::chars_format::fixed, 6);
  const auto point = text.find('.');
  if (point == std::string::npos) return text;  // not a finite number
  const bool negative = text.front() == '-';
  if (negative) text.erase(0, 1);
  if (point - negative < 3) text.insert(0, 3 - (point - negative), '0');
  if (grouped) text.insert(text.size() - 3, 1, ' ');
  // A frequency that rounds to nothing gets no sign.
  if (negative && text.find_first_not_of("0. ") != std::string::npos) text.insert(0, 1, '-');
  return text;
}

}  // namespace

std::string MegahertzText(double hz) {
  return Megahertz(hz, false);
}

std::string MegahertzGroupedText(double hz) {
  return Megahertz(hz, true);
}

std::string RightAligned(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

}  // namespace tallisk::report_text
