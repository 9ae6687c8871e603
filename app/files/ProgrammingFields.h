#pragma once

// The fields of a programming by the program's own property names, for the files that hold a
// programming as text (JSON) and for telling two programmings apart in the technician's words.
// Only what a user sets is listed: the records, checksums, synthesiser words and band values
// the codecs derive are not, since the image builder makes them from these.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "tallisk/Date.h"
#include "tallisk/clsChannel.h"
#include "tallisk/clsChannelGroup.h"
#include "tallisk/clsGroup.h"
#include "tallisk/clsRadioHeader.h"

namespace tallisk {

template <class T>
struct ProgrammingField {
  using Member = std::variant<double T::*, float T::*, std::int32_t T::*, std::int16_t T::*,
                              std::uint8_t T::*, bool T::*, std::string T::*, Date T::*>;
  const char* Name;   // the property: "RxFrequency"
  const char* Label;  // what a technician calls it: "receive"
  Member Where;
  // "MHz" for a frequency held in hertz; otherwise the unit the value is in, or "".
  const char* Unit = "";
  // Names of the values of an enumerated field, by value; none for a plain number.
  const std::vector<const char*>* ValueNames = nullptr;
};

const std::vector<ProgrammingField<clsRadioHeader>>& SettingsFields();
const std::vector<ProgrammingField<clsChannel>>& ChannelFields();
const std::vector<ProgrammingField<clsGroup>>& GroupFields();
const std::vector<ProgrammingField<clsChannelGroup>>& TableFields();

// The value as a technician reads it: "151.537500" (MHz), "KM0042", "yes", "CTCSS".
template <class T>
std::string FieldText(const ProgrammingField<T>& field, const T& object);

// Whether the field holds the same value in both.
template <class T>
bool SameField(const ProgrammingField<T>& field, const T& a, const T& b) {
  return std::visit([&](auto member) { return a.*member == b.*member; }, field.Where);
}

}  // namespace tallisk
