#pragma once

// The settings blocks of both families are described as layouts: one row per field in
// address order, each with its width, how its bits are made from the settings and how
// the settings are taken back from them. Building and reading a block walk the same rows,
// so the two directions cannot drift apart.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "tallisk/Date.h"
#include "tallisk/clsRadioHeader.h"
#include "tallisk/conversions.h"
#include "tallisk/errors.h"

namespace tallisk::header_fields {

using Writer = std::function<std::string(const clsRadioHeader&)>;
// Returns false when the bits hold no valid value; the setting then keeps its value.
using Reader = std::function<bool(clsRadioHeader&, std::string_view)>;

struct Field {
  int width = 0;
  Writer write;
  Reader read;  // empty: the block does not carry the setting back
  // Firmware bytes carried over from the radio: as many bits as the carried text holds.
  bool carried = false;
};

using Layout = std::vector<Field>;

// The low `width` bits of value (two's complement for a negative value).
inline std::string Bits(std::int64_t value, int width) {
  return DecToBinStr(static_cast<std::int32_t>(value), width);
}

// The first bits of the layout, up to (not including) bit `endBit`, in block order.
inline std::string WriteBits(const clsRadioHeader& h, const Layout& layout,
                             std::size_t endBit = static_cast<std::size_t>(-1)) {
  std::size_t total = 0;
  for (const Field& field : layout) total += static_cast<std::size_t>(field.width);
  // The KM2 block is some thirteen thousand bits: grown field by field, it would be copied
  // over and over.
  std::string out;
  out.reserve(std::min(total, endBit));
  std::size_t position = 0;
  for (const Field& field : layout) {
    if (position >= endBit) break;
    std::string bits = field.write(h);
    // A field that came out at the wrong width would shift every later byte of the block.
    if (!field.carried && bits.size() != static_cast<std::size_t>(field.width)) {
      RaiseInvalidArgument("RadioHeader", "Settings field of the wrong width");
    }
    out += bits;
    position += static_cast<std::size_t>(field.width);
  }
  return out;
}

// Bits a block must hold so that every field that is read back is there.
inline std::size_t BitsNeeded(const Layout& layout) {
  std::size_t position = 0;
  std::size_t needed = 0;
  for (const Field& field : layout) {
    position += static_cast<std::size_t>(field.width);
    if (field.read) needed = position;
  }
  return needed;
}

// Reads every field that the block carries back. The caller has made sure that `bits`
// holds at least BitsNeeded(layout). False when some field held no valid value.
inline bool ReadBits(clsRadioHeader& h, const Layout& layout, std::string_view bits) {
  bool allValid = true;
  std::size_t position = 0;
  for (const Field& field : layout) {
    const auto width = static_cast<std::size_t>(field.width);
    if (field.read && !field.read(h, bits.substr(position, width))) allValid = false;
    position += width;
  }
  return allValid;
}

// A number of `width` bits.
template <auto Member>
Field Num(int width) {
  return {width, [width](const clsRadioHeader& h) { return Bits(h.*Member, width); },
          [](clsRadioHeader& h, std::string_view bits) {
            using T = std::remove_reference_t<decltype(h.*Member)>;
            h.*Member = static_cast<T>(BinToDec(bits));
            return true;
          }};
}

// A flag written as 1 when set.
template <auto Member>
Field Flag() {
  return Num<Member>(1);
}

// An active-low flag: written as 0 when set.
template <auto Member>
Field LowFlag() {
  return {1, [](const clsRadioHeader& h) { return std::string(h.*Member ? "0" : "1"); },
          [](clsRadioHeader& h, std::string_view bits) {
            h.*Member = bits == "0";
            return true;
          }};
}

// Bits the radio expects with a fixed value; not read back.
inline Field Fixed(std::string bits) {
  const int width = static_cast<int>(bits.size());
  return {width, [bits = std::move(bits)](const clsRadioHeader&) { return bits; }, nullptr};
}

// Six decimal digits "mmddyy" of a date.
inline std::string MmDdYy(const Date& date) {
  const auto two = [](int v) {
    return std::string{static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
  };
  return two(date.Month()) + two(date.Day()) + two(date.Year() % 100);
}

// The date of six decimal digits "mmddyy"; a two-digit year 00-29 is 2000-2029, 30-99
// is 1930-1999. False when the digits are no date.
inline bool DateFromMmDdYy(std::string_view digits, Date& date) {
  if (digits.size() != 6) return false;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  const auto two = [&](std::size_t i) { return (digits[i] - '0') * 10 + (digits[i + 1] - '0'); };
  const int month = two(0);
  const int day = two(2);
  const int yy = two(4);
  const int year = yy < 30 ? 2000 + yy : 1900 + yy;
  if (!Date::IsValid(year, month, day)) return false;
  date = Date(year, month, day);
  return true;
}

}  // namespace tallisk::header_fields
