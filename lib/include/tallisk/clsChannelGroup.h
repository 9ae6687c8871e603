#pragma once

#include <cstdint>
#include <string>

namespace tallisk {

// One entry of the KM2 channel-group table: which group a channel sits in. The entry is two
// bytes (4 hex digits in ChannelGroupStr); an erased entry, FFFF, is a free one.
class clsChannelGroup {
 public:
  std::string ChannelGroupStr;     // the entry, 4 hex digits
  std::int16_t ChannelNumber = 0;  // from 1 (1..512)
  std::int16_t GroupNumber = 0;    // from 1 (1..16)
  bool Programmed = false;         // the entry is in use

  // The bits of x (rounded to an integer) as exactly intLen characters.
  std::string Num2BinStr(double x, int intLen) const;

  // Writes ChannelGroupStr. A free entry ignores the numbers; a number too large for its
  // field keeps its low bits; -32768 fails with the overflow error and leaves the text as it
  // was.
  void CreateChannelGroup();

  // Reads ChannelGroupStr. A free entry gives channel and group 0. Never fails; an entry with
  // digits missing reads as free, so a cut-off image never invents assignments.
  void BreakChannelGroup();

  // Every property alike, the record texts included.
  bool operator==(const clsChannelGroup&) const = default;
};

}  // namespace tallisk
