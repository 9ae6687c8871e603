#pragma once

// How the pages write numbers and read texts back, in one place so that a value written
// by one routine is found again by another (a PLL reference frequency shown in the list and
// looked up again, a horn delay " 20" in a number choice).

#include <cstdint>
#include <string>

#include "ui/FormFields.h"

namespace tallisk {

std::string Trim(const std::string& text);
// Without the blanks a name record pads with: leading ones are part of the name.
std::string TrimEnd(const std::string& text);
std::string UpperCase(std::string text);

// The shortest text that reads back as the same number: 12.5, 5, 71.9, 250.
std::string ShortestText(float value);
std::string ShortestText(double value);

// A frequency in MHz with three integer and six decimal digits: "450.125 000" (QVR, a blank
// after the third decimal) or "450.125000" (KM2).
std::string FrequencyText(double megahertz, bool qvr);

// Choices that store the selected index. Nothing selected leaves the property as it was,
// so a value that the list does not hold (read from a radio) survives a store.
void FillChoice(ChoiceField& field, std::initializer_list<const char*> texts, int selected);
template <typename T>
void StoreIndex(const ChoiceField& field, T& property) {
  if (field.SelectedIndex() >= 0) property = static_cast<T>(field.SelectedIndex());
}
void ShowIndex(ChoiceField& field, std::int32_t value);

// Number choices: each entry is a number written with one leading blank (" 20").
void FillNumberChoice(ChoiceField& field, int first, int last, int step, int selectedValue);
std::string NumberChoiceText(double value);
// The value of the selected text rounded to a 16-bit integer; nothing selected leaves the
// property as it was.
void StoreNumberChoice(const ChoiceField& field, std::int16_t& property);
// Selects the entry that shows the value; none when the list does not hold it.
void ShowNumberChoice(ChoiceField& field, double value);

// The signalling choices ("CTCSS", "DCS", "None") and the signalling property (CTCSS 0,
// CDCSS 1, None 3): the property of an index, and the index of a property (-1 for a value the
// choice does not offer).
std::int32_t SignallingOfIndex(int index);
int IndexOfSignalling(std::int32_t signalling);

// A DCS code as the pages show it, "+23" or "-23" (octal digits, "-" for an inverted code),
// and the property's value of such a text.
std::int16_t OctalCodeValue(const std::string& text);
std::string OctalCodeText(std::int16_t value);

}  // namespace tallisk
