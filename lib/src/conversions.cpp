#include "tallisk/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "tallisk/errors.h"

namespace tallisk {
namespace {

int HexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One byte pair as a reader takes it; a lone trailing digit reads on its own.
int PairValue(std::string_view hex, std::size_t pos) noexcept {
  return static_cast<int>(ParseHex(hex.substr(pos, 2)));
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

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
  std::string buf(32, '0');
  auto bits = static_cast<std::uint32_t>(value);
  int examined = 0;
  for (int i = 0; i < 32; ++i) {
    if (bits & (1u << i)) {
      buf[31 - i] = '1';
      bits &= ~(1u << i);
    }
    examined = i + 1;
    if (bits == 0) break;
  }
  const int keep = width >= 0 ? std::min(width, 32) : examined;
  return buf.substr(32 - keep);
}

std::string Num2BinStr(double x, int intLen) {
  const std::int32_t v = RoundToInt32(x, "Num2BinStr");
  if (intLen < 0) RaiseInvalidArgument("Num2BinStr");
  std::string padded = std::string(intLen, '0') + DecToBinStr(v, -1);
  return padded.substr(padded.size() - intLen);
}

std::int32_t BinToDec(std::string_view value) {
  std::uint32_t result = 0;
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
  std::string out;
  out.reserve(hex.size() * 4);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int v = PairValue(hex, i);
    for (int b = 7; b >= 0; --b) out.push_back((v >> b) & 1 ? '1' : '0');
  }
  return out;
}

std::string BinStrToHex(std::string_view bits) {
  const std::size_t pad = (4 - bits.size() % 4) % 4;
  std::string padded = std::string(pad, '0') + std::string(bits);
  std::string out;
  out.reserve(padded.size() / 4);
  for (std::size_t i = 0; i < padded.size(); i += 4) {
    out.push_back(kHexDigits[BinToDec(std::string_view(padded).substr(i, 4))]);
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
