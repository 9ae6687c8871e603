#include "tallisk/conversions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "tallisk/errors.h"

namespace tallisk {
namespace {

// Every image is read digit by digit, so each character's digit value (-1: no hex digit) is
// looked up rather than worked out.
constexpr std::array<std::int8_t, 256> kHexDigitValues = [] {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (int d = 0; d < 10; ++d) values['0' + d] = static_cast<std::int8_t>(d);
  for (int d = 0; d < 6; ++d) {
    values['A' + d] = static_cast<std::int8_t>(10 + d);
    values['a' + d] = static_cast<std::int8_t>(10 + d);
  }
  return values;
}();

int HexDigitValue(char c) noexcept {
  return kHexDigitValues[static_cast<unsigned char>(c)];
}

// One byte pair as a reader takes it; a lone trailing digit reads on its own. Whole images
// pass through here pair by pair, so the digits are read in place.
int PairValue(std::string_view hex, std::size_t pos) noexcept {
  const int high = HexDigitValue(hex[pos]);
  if (pos + 1 == hex.size()) return std::max(high, 0);
  const int low = HexDigitValue(hex[pos + 1]);
  return high < 0 || low < 0 ? 0 : high << 4 | low;
}

// 0 or 1 for a bit character; any other character fails as it does in BinToDec.
std::uint32_t BitOf(char c) {
  const auto bit = static_cast<std::uint32_t>(static_cast<unsigned char>(c)) - '0';
  if (bit > 1) RaiseInvalidArgument("BinToDec", "Invalid bit text");
  return bit;
}

// The low `width` (at most 32) bits of value, most significant first.
void WriteBits(std::uint32_t value, std::size_t width, char* out) noexcept {
  for (std::size_t i = width; i-- > 0; value >>= 1) out[i] = static_cast<char>('0' + (value & 1));
}

constexpr char kHexDigits[] = "0123456789ABCDEF";
// The bit text of each hex digit.
constexpr char kNibbleBits[16][5] = {"0000", "0001", "0010", "0011", "0100", "0101",
                                     "0110", "0111", "1000", "1001", "1010", "1011",
                                     "1100", "1101", "1110", "1111"};

std::int32_t RoundChecked(double x, double lo, double hi, const char* source) {
  if (std::isnan(x)) RaiseOverflow(source);
  const double r = std::nearbyint(x);
  if (r < lo || r > hi) RaiseOverflow(source);
  return static_cast<std::int32_t>(r);
}

}  // namespace

std::int32_t PowerOfTwo(int n) {
  if (n < 0 || n > 31) RaiseInvalidArgument("PowerOfTwo");
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(1) << n);
}

std::string DecToBinStr(std::int32_t value, int width) {
  const auto bits = static_cast<std::uint32_t>(value);
  // Without a width, the bits up to the highest one set (at least one).
  const int significant = bits == 0 ? 1 : 32 - std::countl_zero(bits);
  const auto keep = static_cast<std::size_t>(width >= 0 ? std::min(width, 32) : significant);
  std::string out(keep, '0');
  WriteBits(bits, keep, out.data());
  return out;
}

std::string Num2BinStr(double x, int intLen) {
  const std::int32_t v = RoundToInt32(x, "Num2BinStr");
  if (intLen < 0) RaiseInvalidArgument("Num2BinStr");
  // Zero-padded on the left, or only the low intLen bits: either way the low bits of v.
  std::string out(static_cast<std::size_t>(intLen), '0');
  const std::size_t low = std::min<std::size_t>(out.size(), 32);
  WriteBits(static_cast<std::uint32_t>(v), low, out.data() + out.size() - low);
  return out;
}

std::int32_t BinToDec(std::string_view value) {
  std::uint32_t result = 0;
  if (value.size() <= 32) {
    // Every character is a bit of the result.
    for (const char c : value) result = result << 1 | BitOf(c);
    return static_cast<std::int32_t>(result);
  }
  int p = 0;
  for (auto it = value.rbegin(); it != value.rend(); ++it, ++p) {
    if (*it == '1') {
      result |= static_cast<std::uint32_t>(PowerOfTwo(p));
    } else if (*it != '0') {
      RaiseInvalidArgument("BinToDec", "Invalid bit text");
    }
  }
  return static_cast<std::int32_t>(result);
}

std::string Address(std::string_view image, std::int32_t lngHexAddress, std::int16_t intLen,
                    std::int32_t baseAddress) {
  const long long start = (static_cast<long long>(lngHexAddress) - baseAddress) * 2;
  if (start < 0 || intLen < 0) RaiseInvalidArgument("Address");
  if (static_cast<std::size_t>(start) >= image.size()) return {};
  return std::string(
      image.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(intLen)));
}

std::string ConvertFtoSpace(std::string_view strText) {
  std::string s(strText);
  for (char& c : s) {
    if (c == 'F') c = ' ';
  }
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

std::string RecordCheckSum(std::string_view hex) {
  int sum = 0;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    sum += PairValue(hex, i);
    if (sum > std::numeric_limits<std::int16_t>::max()) RaiseOverflow("RecordCheckSum");
  }
  return ToHex(static_cast<std::uint64_t>(255 - (sum & 255)), 2);
}

std::string TestRecordCheckSum(std::string_view record) {
  return record.size() > 2 ? RecordCheckSum(record.substr(2)) : RecordCheckSum({});
}

std::string HexToBinStr(std::string_view hex) {
  std::string out((hex.size() + 1) / 2 * 8, '0');
  char* bits = out.data();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int v = PairValue(hex, i);
    bits = std::copy_n(kNibbleBits[v >> 4], 4, bits);
    bits = std::copy_n(kNibbleBits[v & 15], 4, bits);
  }
  return out;
}

std::string BinStrToHex(std::string_view bits) {
  std::string out((bits.size() + 3) / 4, '0');
  auto digit = out.begin();
  // Counting starts as if the left padding to a multiple of four had been read already.
  std::size_t count = (4 - bits.size() % 4) % 4;
  std::uint32_t nibble = 0;
  for (const char c : bits) {
    nibble = nibble << 1 | BitOf(c);
    if (++count % 4 == 0) {
      *digit++ = kHexDigits[nibble];
      nibble = 0;
    }
  }
  return out;
}

std::string HexDigitsToBinStr(std::string_view hex, int bits) {
  std::string out;
  for (char c : hex) {
    const int v = std::max(HexDigitValue(c), 0);
    for (int b = 3; b >= 0; --b) out.push_back((v >> b) & 1 ? '1' : '0');
  }
  if (bits < 0) return out;
  const auto width = static_cast<std::size_t>(bits);
  if (out.size() >= width) return out.substr(out.size() - width);
  return std::string(width - out.size(), '0') + out;
}

std::string InvertBinStr(std::string_view bits) {
  std::string out(bits.size(), '1');
  for (std::size_t i = 0; i < bits.size(); ++i) {
    if (bits[i] == '1') out[i] = '0';
  }
  return out;
}

char OctalKeyFilter(std::string_view fieldText, bool hasSelection, char key) {
  if ((key >= '0' && key <= '7') || key == '\b') return key;
  if (key == '+' || key == '-') {
    const bool hasSign = fieldText.find_first_of("+-") != std::string_view::npos;
    return hasSelection || !hasSign ? key : '\0';
  }
  return '\0';
}

double ParseNumber(std::string_view text) {
  const auto digitAt = [&](std::size_t k) {
    return k < text.size() && text[k] >= '0' && text[k] <= '9';
  };
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // The number's extent: digits, a point and digits, and an exponent only when digits follow
  // its letter.
  const std::size_t begin = i;
  while (digitAt(i)) ++i;
  const std::size_t point = i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (digitAt(i)) ++i;
  }
  const std::size_t mantissaEnd = i;
  if (mantissaEnd - begin == (mantissaEnd > point ? 1u : 0u)) return 0;  // no digit at all
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    const bool exponentNegative = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (digitAt(j)) {
      for (; digitAt(j); ++j) exponent = std::min(exponent * 10 + (text[j] - '0'), 1000000LL);
      if (exponentNegative) exponent = -exponent;
      i = j;
    }
  }

  // from_chars rounds correctly and ignores the locale, whatever the program has set.
  double value = 0;
  if (std::from_chars(text.data() + begin, text.data() + i, value).ec ==
      std::errc::result_out_of_range) {
    // Beyond a double: a huge number reads as the largest double, a tiny one as 0, so that
    // every text gives a finite number ("0E1001" is 0, not 0 times infinity).
    const std::size_t lead = text.substr(begin, mantissaEnd - begin).find_first_of("123456789");
    const long long magnitude =
        static_cast<long long>(point) - static_cast<long long>(begin + lead) + exponent;
    value =
        lead != std::string_view::npos && magnitude > 0 ? std::numeric_limits<double>::max() : 0;
  }
  return negative ? -value : value;
}

std::int64_t ParseHex(std::string_view text) {
  if (text.empty() || text.size() > 16) return 0;
  std::uint64_t v = 0;
  for (char c : text) {
    const int d = HexDigitValue(c);
    if (d < 0) return 0;
    v = v << 4 | static_cast<std::uint64_t>(d);
  }
  return static_cast<std::int64_t>(v);
}

std::int32_t RoundToInt32(double x, const char* source) {
  return RoundChecked(x, std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max(), source);
}

std::int16_t RoundToInt16(double x, const char* source) {
  return static_cast<std::int16_t>(RoundChecked(x, std::numeric_limits<std::int16_t>::min(),
                                                std::numeric_limits<std::int16_t>::max(), source));
}

std::uint8_t RoundToByte(double x, const char* source) {
  return static_cast<std::uint8_t>(RoundChecked(x, 0, 255, source));
}

std::string ToHex(std::uint64_t value, int digits) {
  std::string out(static_cast<std::size_t>(std::max(digits, 0)), '0');
  for (int i = digits - 1; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = kHexDigits[value & 15];
    value >>= 4;
  }
  return out;
}

}  // namespace tallisk
