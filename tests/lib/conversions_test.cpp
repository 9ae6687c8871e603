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

TEST(Conversions, RecordChecksums) {
  EXPECT_EQ(RecordCheckSum("04000E00"), "ED");
  EXPECT_EQ(RecordCheckSum(""), "FF");
  EXPECT_EQ(RecordCheckSum("048000FF"), "7C");  // only the low byte of the sum counts
  EXPECT_EQ(RecordCheckSum("0B00000000000000000000"), "F4");
  EXPECT_EQ(TestRecordCheckSum("N604400020"), "9B");
  // The running sum is 16-bit: 129 bytes FF overflow it.
  EXPECT_EQ(ErrorNumberOf([] { RecordCheckSum(std::string(2 * 129, 'F')); }), ErrOverflow);
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

}  // namespace
}  // namespace tallisk
