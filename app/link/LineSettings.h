#pragma once

// The line settings text of a serial port, such as "2400,N,8,1": baud, parity, data bits
// and stop bits.

#include <string_view>

namespace tallisk {

struct LineSettings {
  int Baud = 2400;
  char Parity = 'N';  // N(one), E(ven), O(dd), M(ark) or S(pace)
  int DataBits = 8;   // 5 to 8
  int StopBits = 1;   // 1 or 2

  bool operator==(const LineSettings&) const = default;
};

// Fields are read in order, letters of either case; a field that is missing or does not read
// keeps its default. Blanks before a field, and whatever follows its number, are ignored.
LineSettings ParseLineSettings(std::string_view text);

}  // namespace tallisk
