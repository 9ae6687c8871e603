#include "tallisk/clsChannelGroup.h"

#include <string_view>

#include "tallisk/conversions.h"

namespace tallisk {
namespace {

constexpr std::size_t kEntryBits = 16;
constexpr std::string_view kFreeMark = "111";

}  // namespace

std::string clsChannelGroup::Num2BinStr(double x, int intLen) const {
  return tallisk::Num2BinStr(x, intLen);
}

void clsChannelGroup::CreateChannelGroup() {
  std::string bits;
  if (Programmed) {
    // Both numbers are stored counted from 0; the subtraction stays 16-bit like the
    // properties, so -32768 is refused instead of wrapping round to a real channel.
    bits = "000";
    bits += Num2BinStr(RoundToInt16(GroupNumber - 1.0, "CreateChannelGroup"), 4);
    bits += Num2BinStr(RoundToInt16(ChannelNumber - 1.0, "CreateChannelGroup"), 9);
  } else {
    bits.assign(kEntryBits, '1');
  }
  ChannelGroupStr = BinStrToHex(bits);
}

void clsChannelGroup::BreakChannelGroup() {
  const std::string bits = HexToBinStr(ChannelGroupStr.substr(0, kEntryBits / 4));
  const std::string_view b(bits);

  // Only the free mark 111 frees an entry; any other pattern is an entry in use. An entry cut
  // short has erased digits where its numbers should be: it is no assignment at all, so a
  // cut-off image never invents one.
  Programmed = ChannelGroupStr.size() >= kEntryBits / 4 && b.substr(0, 3) != kFreeMark;
  if (Programmed) {
    GroupNumber = static_cast<std::int16_t>(BinToDec(b.substr(3, 4)) + 1);
    ChannelNumber = static_cast<std::int16_t>(BinToDec(b.substr(7, 9)) + 1);
  } else {
    GroupNumber = 0;
    ChannelNumber = 0;
  }
}

}  // namespace tallisk
