#include "tallisk/conversions.h"

#include <gtest/gtest.h>

#include <limits>

#include "tallisk/collection.h"
#include "tallisk/errors.h"

namespace tallisk {
namespace {

int ErrorNumberOf(auto&& f) {
  try {
    f();
  } catch (const TalliskError& e) {
    return e.Number();
  }
  return 0;
}

TEST(Conversions, BitTextsPadTruncateRoundAndRefuse) {
  EXPECT_EQ(Num2BinStr(300, 8), "00101100");  // low 8 bits of 100101100
  EXPECT_EQ(Num2BinStr(-1, 4), "1111");
  EXPECT_EQ(Num2BinStr(12345, 0), "");
  EXPECT_EQ(Num2BinStr(2.5, 4), "0010");  // ties go to even
  EXPECT_EQ(Num2BinStr(-2147483648.0, 32), "1" + std::string(31, '0'));
  EXPECT_EQ(ErrorNumberOf([] { Num2BinStr(5, -1); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([] { Num2BinStr(2147483648.0, 32); }), ErrOverflow);
  EXPECT_EQ(DecToBinStr(0, -1), "0");
  EXPECT_EQ(DecToBinStr(-1, -1), std::string(32, '1'));
  EXPECT_EQ(DecToBinStr(5, 40), std::string(29, '0') + "101");  // at most 32 characters
  EXPECT_EQ(DecToBinStr(6, 2), "10");

  EXPECT_EQ(BinToDec("1" + std::string(31, '0')), -2147483647 - 1);
  EXPECT_EQ(BinToDec(std::string(40, '0') + "101"), 5);  // leading zeros beyond 32 are harmless
  EXPECT_EQ(ErrorNumberOf([] { BinToDec("0121"); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([] { BinToDec("1" + std::string(32, '0')); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([] { PowerOfTwo(32); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([] { PowerOfTwo(-1); }), ErrInvalidArgument);
}

TEST(Conversions, HexAndBitTextsConvertBothWays) {
  for (int v = 0; v < 256; ++v) {
    const std::string hex = ToHex(static_cast<unsigned>(v), 2);
    EXPECT_EQ(BinStrToHex(HexToBinStr(hex)), hex);
  }
  EXPECT_EQ(HexToBinStr("a5"), "10100101");
  EXPECT_EQ(HexToBinStr("ZZ01"), "0000000000000001");  // a non-hex pair reads as 0
  EXPECT_EQ(BinStrToHex("101"), "5");
  EXPECT_EQ(BinStrToHex("111110100101"), "FA5");
  EXPECT_EQ(ErrorNumberOf([] { BinStrToHex("10x1"); }), ErrInvalidArgument);
  EXPECT_EQ(InvertBinStr("1001x"), "01101");
  EXPECT_EQ(HexDigitsToBinStr("F", 8), "00001111");
  EXPECT_EQ(HexDigitsToBinStr("1F", 4), "1111");
}

TEST(Conversions, RecordChecksums) {
  EXPECT_EQ(RecordCheckSum("04000E00"), "ED");
  EXPECT_EQ(RecordCheckSum(""), "FF");
  EXPECT_EQ(RecordCheckSum("048000FF"), "7C");  // only the low byte of the sum counts
  EXPECT_EQ(RecordCheckSum("0B00000000000000000000"), "F4");
  EXPECT_EQ(TestRecordCheckSum("N604400020"), "9B");
  // The running sum is 16-bit: 129 bytes FF overflow it.
  EXPECT_EQ(ErrorNumberOf([] { RecordCheckSum(std::string(2 * 129, 'F')); }), ErrOverflow);
}

TEST(Conversions, TextFieldsAndKeys) {
  EXPECT_EQ(ConvertFtoSpace("FFABCFFF"), "ABC");
  EXPECT_EQ(ConvertFtoSpace("ffAB"), "ffAB");
  EXPECT_EQ(ConvertFtoSpace("12F45"), "12 45");
  EXPECT_EQ(Address("00112233", 3, 4), "33");  // past the end gives a shorter text
  EXPECT_EQ(Address("AABBCC", 0x1881, 2, 0x1880), "BB");
  // Octal digits, editing keys and one sign at the front.
  EXPECT_EQ(OctalKeyFilter("", false, '7'), '7');
  EXPECT_EQ(OctalKeyFilter("", false, '8'), '\0');
  EXPECT_EQ(OctalKeyFilter("+23", false, '\b'), '\b');
  EXPECT_EQ(OctalKeyFilter("23", false, '-'), '-');
  EXPECT_EQ(OctalKeyFilter("+23", false, '-'), '\0');
  EXPECT_EQ(OctalKeyFilter("+23", true, '-'), '-');  // typing replaces the selection
}

TEST(Conversions, LenientReadsAndRounding) {
  EXPECT_DOUBLE_EQ(ParseNumber("  150.0125 MHz"), 150.0125);
  EXPECT_DOUBLE_EQ(ParseNumber("1e3x"), 1000);
  EXPECT_DOUBLE_EQ(ParseNumber("1e"), 1);
  EXPECT_DOUBLE_EQ(ParseNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(ParseNumber("-.5"), -0.5);
  // A finite number for every text: beyond a double, huge is the largest one and tiny is 0.
  EXPECT_EQ(ParseNumber("0E1001"), 0);
  EXPECT_DOUBLE_EQ(ParseNumber("0." + std::string(400, '3')), 1.0 / 3);
  EXPECT_EQ(ParseNumber("-1" + std::string(400, '0')), -std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("1e-400"), 0);
  EXPECT_EQ(ParseHex("8a"), 0x8A);
  EXPECT_EQ(ParseHex("FFFFFFFF"), 0xFFFFFFFFLL);
  EXPECT_EQ(ParseHex("1G"), 0);
  EXPECT_EQ(RoundToInt16(-0.5), 0);
  EXPECT_EQ(ErrorNumberOf([] { RoundToInt16(32767.6); }), ErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { RoundToByte(-1); }), ErrOverflow);
}

TEST(Collection, IsOneBasedAndRefusesBadIndexes) {
  Collection<std::string> c;
  for (const char* s : {"a", "b", "c"}) c.Add(s);
  c.Remove(2);
  std::string joined;
  for (const auto& s : c) joined += s;
  EXPECT_EQ(joined + c.Item(2), "acc");
  EXPECT_EQ(ErrorNumberOf([&] { c.Item(0); }), ErrInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([&] { c.Item(3); }), ErrInvalidArgument);
}

}  // namespace
}  // namespace tallisk
