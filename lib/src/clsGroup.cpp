#include "tallisk/clsGroup.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

#include "tallisk/conversions.h"

namespace tallisk {
namespace {

constexpr std::size_t kRecordBits = 256;
constexpr std::string_view kNoPriorityChannel = "1111111111111111";

// The 16 DTMF/2805 symbols in the order of their 4-bit codes: "D" is code 0 and "0" is
// code 10.
constexpr std::string_view kIDSymbols = "D1234567890*#ABC";

int IDCode(char c) {
  const auto pos = kIDSymbols.find(c);
  if (pos != std::string_view::npos) return static_cast<int>(pos);
  // Anything else goes in as a hex digit ("E" 14, "F" 15, a lower-case "a" 10), and a
  // character that is no hex digit as 0. The group page upper-cases what is typed.
  return static_cast<int>(ParseHex(std::string_view(&c, 1)));
}

// The three-bit lock-out codes 100, 101, 110 carry 0..2; everything else means disabled.
std::string_view BusyChannelLockOutBits(std::int32_t value) {
  switch (value) {
    case 0:
      return "100";
    case 1:
      return "101";
    case 2:
      return "110";
    default:
      return "111";
  }
}

std::int32_t BusyChannelLockOutValue(std::string_view bits) {
  if (bits == "100") return 0;
  if (bits == "101") return 1;
  if (bits == "110") return 2;
  return 3;
}

// Reads the record's fields one after the other, in address order.
class FieldReader {
 public:
  explicit FieldReader(std::string bits) : bits_(std::move(bits)) {}

  std::string_view Bits(std::size_t width) {
    const auto field = std::string_view(bits_).substr(pos_, width);
    pos_ += width;
    return field;
  }
  std::int32_t Value(std::size_t width) { return BinToDec(Bits(width)); }
  bool IsOne() { return Bits(1) == "1"; }
  void Skip(std::size_t width) { pos_ += width; }

 private:
  std::string bits_;
  std::size_t pos_ = 0;
};

}  // namespace

clsGroup::clsGroup() : GroupData(DefaultGroupData) {
  BreakGroupData();
}

std::string clsGroup::Num2BinStr(double x, int intLen) const {
  return tallisk::Num2BinStr(x, intLen);
}

void clsGroup::CreateGroupData() {
  std::string bits;
  bits.reserve(kRecordBits);
  auto put = [&](double value, int width) { bits += Num2BinStr(value, width); };
  auto putBits = [&](std::string_view text) { bits += text; };
  auto putFlag = [&](bool one) { bits += one ? '1' : '0'; };
  auto putPriorityChannel = [&](std::int16_t channel) {
    if (channel == 0) {
      putBits(kNoPriorityChannel);
    } else {
      putBits("1111111");
      put(channel, 9);
    }
  };
  // The 16-bit settings are multiplied and offset in 16-bit arithmetic: a result outside
  // that range is refused rather than written as some other interval.
  auto int16 = [](double value) { return RoundToInt16(value, "CreateGroupData"); };

  // Name: an erased byte (FF) is what the radio shows as a blank.
  const std::string name = (GroupName + "   ").substr(0, 3);
  for (const char c : name) {
    if (c == ' ') {
      putBits("11111111");
    } else {
      put(static_cast<unsigned char>(c), 8);
    }
  }
  putPriorityChannel(PriorityChannel1);
  putPriorityChannel(PriorityChannel2);
  putBits(BusyChannelLockOutBits(BusyChannelLockOut));
  put(static_cast<double>(TimeOutTimer) * 2 - 1, 13);
  put(int16(int16(IntervalA * 4.0) - 1.0), 8);
  put(IntervalBDCS, 4);
  put(IntervalBCTCSS, 4);
  put(static_cast<double>(RXScanHold) * 2 - 1, 8);
  put(static_cast<double>(TXScanHold) * 2 - 1, 8);
  put(static_cast<double>(UnKeyDelayTime) / 5, 8);
  // The rate is a single-precision setting and is scaled as one: 0.85 then makes exactly 8.5
  // tenths and rounds to the even step, where a double product of the stored 0.85000002
  // would round up.
  const float samplingTenths = PriChSamplingRate * 10.0f;
  put(samplingTenths, 5);
  put(int16(PriChSamplingRatio - 1.0), 3);
  put(ScanHoldingEvents, 2);
  putFlag(TXOnPriorityChannel);
  put(DeleteChTableClear, 2);
  putBits("1110");
  // The three ANI switches are active low.
  putFlag(!EnablePTTANI);
  putFlag(!EnableANITranspond);
  putFlag(!EnableANIOnMONButton);
  put(MultiDigitDecodeFormat, 4);
  put(ANIRate / 20.0, 4);
  put(ANIRepetitions, 4);
  put(ANIDelay / 20.0, 4);
  put(ANIInterval / 5.0, 4);
  // A longer ID is cut to the ten digits the record holds, so the length byte never
  // claims digits that are not there (such a record would read back with no ID at all).
  const std::size_t digits = std::min(DTMF2805IDNumber.size(), MaxIDDigits);
  put(static_cast<double>(digits), 8);
  for (std::size_t i = 0; i < MaxIDDigits; ++i) {
    if (i < digits) {
      put(IDCode(DTMF2805IDNumber[i]), 4);
    } else {
      putBits("1111");
    }
  }
  bits.append(56, '1');

  GroupData = BinStrToHex(bits);
}

void clsGroup::BreakGroupData() {
  std::string bits = HexToBinStr(GroupData);
  bits.resize(kRecordBits, '0');
  FieldReader r(std::move(bits));

  GroupName.clear();
  for (int i = 0; i < 3; ++i) {
    const auto byte = r.Bits(8);
    GroupName += byte[0] != '0' ? ' ' : static_cast<char>(BinToDec(byte.substr(1)));
  }
  // An unset priority channel is sixteen ones. A set one carries the channel in the low
  // nine bits, after either seven ones (as written here) or a leading zero.
  for (std::int16_t* channel : {&PriorityChannel1, &PriorityChannel2}) {
    const auto field = r.Bits(16);
    *channel =
        field == kNoPriorityChannel ? 0 : static_cast<std::int16_t>(BinToDec(field.substr(7)));
  }
  BusyChannelLockOut = BusyChannelLockOutValue(r.Bits(3));
  TimeOutTimer = static_cast<float>((r.Value(13) + 1) / 2.0);
  IntervalA = RoundToInt16((r.Value(8) + 1) / 4.0, "BreakGroupData");
  IntervalBDCS = static_cast<std::int16_t>(r.Value(4));
  IntervalBCTCSS = static_cast<std::int16_t>(r.Value(4));
  RXScanHold = static_cast<float>((r.Value(8) + 1) / 2.0);
  TXScanHold = static_cast<float>((r.Value(8) + 1) / 2.0);
  UnKeyDelayTime = static_cast<float>(r.Value(8) * 5);
  PriChSamplingRate = static_cast<float>(r.Value(5) / 10.0);
  PriChSamplingRatio = static_cast<std::int16_t>(r.Value(3) + 1);
  ScanHoldingEvents = r.Value(2);
  TXOnPriorityChannel = r.IsOne();
  DeleteChTableClear = r.Value(2);
  r.Skip(4);
  EnablePTTANI = !r.IsOne();
  EnableANITranspond = !r.IsOne();
  EnableANIOnMONButton = !r.IsOne();
  MultiDigitDecodeFormat = static_cast<std::int16_t>(r.Value(4));
  ANIRate = static_cast<std::int16_t>(r.Value(4) * 20);
  ANIRepetitions = static_cast<std::int16_t>(r.Value(4));
  ANIDelay = static_cast<std::int16_t>(r.Value(4) * 20);
  ANIInterval = static_cast<std::int16_t>(r.Value(4) * 5);
  // A length the record cannot hold means no ID.
  const auto count = static_cast<std::size_t>(r.Value(8));
  DTMF2805IDNumber.clear();
  for (std::size_t i = 0; i < MaxIDDigits; ++i) {
    const auto code = static_cast<std::size_t>(r.Value(4));
    if (count <= MaxIDDigits && i < count) DTMF2805IDNumber += kIDSymbols[code];
  }
}

}  // namespace tallisk
