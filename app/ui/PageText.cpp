#include "ui/PageText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tallisk/conversions.h"

namespace tallisk {

namespace {

template <typename T>
std::string Shortest(T value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string TrimEnd(const std::string& text) {
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string UpperCase(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string ShortestText(float value) {
  return Shortest(value);
}

std::string ShortestText(double value) {
  return Shortest(value);
}

std::string FrequencyText(double megahertz, bool qvr) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%010.6f", megahertz < 0 ? "-" : "", std::fabs(megahertz));
  std::string text = buffer;
  if (qvr) text.insert(text.size() - 3, " ");
  return text;
}

void FillChoice(ChoiceField& field, std::initializer_list<const char*> texts, int selected) {
  field.Clear();
  for (const char* text : texts) field.AddItem(text, field.Count());
  field.Select(selected);
}

void ShowIndex(ChoiceField& field, std::int32_t value) {
  field.Select(value >= 0 && value < field.Count() ? value : -1);
}

std::string NumberChoiceText(double value) {
  return " " + ShortestText(value);
}

void FillNumberChoice(ChoiceField& field, int first, int last, int step, int selectedValue) {
  field.Clear();
  for (int value = first; value <= last; value += step)
    field.AddItem(NumberChoiceText(value), value);
  ShowNumberChoice(field, selectedValue);
}

void StoreNumberChoice(const ChoiceField& field, std::int16_t& property) {
  if (field.SelectedIndex() < 0) return;
  property = RoundToInt16(NumberTextValue(field.Text()));
}

void ShowNumberChoice(ChoiceField& field, double value) {
  field.SelectText(NumberChoiceText(value));
}

// Signalling property (CTCSS 0, CDCSS 1, None 3) and the choice's index.
std::int32_t SignallingOfIndex(int index) {
  return index == 2 ? 3 : index;
}
int IndexOfSignalling(std::int32_t signalling) {
  switch (signalling) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 3:
      return 2;
    default:
      return -1;
  }
}

std::int16_t OctalCodeValue(const std::string& text) {
  const double number = NumberTextValue(text);
  const long magnitude = static_cast<long>(std::fabs(number));
  const long value = std::strtol(std::to_string(magnitude).c_str(), nullptr, 8);
  return RoundToInt16(number < 0 ? -static_cast<double>(value) : static_cast<double>(value));
}

std::string OctalCodeText(std::int16_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%o", static_cast<unsigned>(std::abs(value)));
  return std::string(value >= 1 ? "+" : "-") + digits;
}

}  // namespace tallisk
