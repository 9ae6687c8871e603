#include "link/RecordExchange.h"

#include <gtest/gtest.h>

#include "link/Clock.h"
#include "tallisk/conversions.h"

namespace tallisk {
namespace {

const std::string kErased(16704, 'F');

// An answer record as a radio sends it, without the line end.
std::string AnswerRecord(std::uint32_t address, const std::string& data) {
  const std::string body = ToHex(data.size() / 2 + 3, 2) + ToHex(address, 4) + data;
  return "R1" + body + RecordCheckSum(body);
}

TEST(StoreAnswerRecord, RefusesShortMiscountedAndMisspeltRecords) {
  std::string image = kErased;
  EXPECT_FALSE(StoreAnswerRecord(image, "R10300000"));   // nine characters
  EXPECT_TRUE(StoreAnswerRecord(image, "R1030000FC"));   // count 3: nothing to store
  EXPECT_FALSE(StoreAnswerRecord(image, "R1030000fc"));  // checksum compared as text
  EXPECT_FALSE(StoreAnswerRecord(image, "R1030000FD"));
  // Count says five bytes follow, six do.
  std::string miscounted = AnswerRecord(0x8000, "1122");
  miscounted.replace(2, 2, "04");
  miscounted.insert(miscounted.size() - 2, "33");
  EXPECT_FALSE(StoreAnswerRecord(image, miscounted));
  // A digit that is no hex digit would read as 0 in the checksum and land in the image.
  const std::string body = "058000" + std::string("ZZ11");
  EXPECT_FALSE(StoreAnswerRecord(image, "R1" + body + RecordCheckSum(body)));
  EXPECT_EQ(image, kErased);
}

TEST(StoreAnswerRecord, PlacesDataByAddressFrom8000h) {
  std::string image = kErased;
  ASSERT_TRUE(StoreAnswerRecord(image, AnswerRecord(0x8000, "0123456789ABCDEF")));
  EXPECT_EQ(image.substr(0, 16), "0123456789ABCDEF");
  ASSERT_TRUE(StoreAnswerRecord(image, AnswerRecord(0x8010, "A1B2")));
  EXPECT_EQ(image.substr(32, 4), "A1B2");
  EXPECT_EQ(image.substr(16, 16), std::string(16, 'F'));
  // Digits of either case arrive; the image keeps upper case.
  ASSERT_TRUE(StoreAnswerRecord(image, AnswerRecord(0x8020, "abcdef")));
  EXPECT_EQ(image.substr(64, 6), "ABCDEF");
  // The last byte of the image.
  ASSERT_TRUE(StoreAnswerRecord(image, AnswerRecord(0xA09F, "5A")));
  EXPECT_EQ(image.substr(image.size() - 2), "5A");
  EXPECT_EQ(image.size(), kErased.size());
}

TEST(StoreAnswerRecord, RefusesRecordsOutsideTheImage) {
  std::string image = kErased;
  EXPECT_FALSE(StoreAnswerRecord(image, AnswerRecord(0xA0A0, "00")));      // just past the end
  EXPECT_FALSE(StoreAnswerRecord(image, AnswerRecord(0xA09E, "000000")));  // runs over the end
  EXPECT_FALSE(StoreAnswerRecord(image, AnswerRecord(0x7FFF, "00")));      // below the image
  EXPECT_FALSE(StoreAnswerRecord(image, AnswerRecord(0x0000, "00")));
  EXPECT_EQ(image, kErased);
}

TEST(StoreAnswerLines, StoresAnswerLinesOnlyAndStopsAtTheFirstBadOne) {
  std::string image = kErased;
  const std::string text = "TA048000FF7C\r\n" + AnswerRecord(0x8000, "1111") + "\r\n\n" +
                           "noise\r" + AnswerRecord(0x8002, "2222") + "\r\n" +
                           AnswerRecord(0x8004, "3333");  // no CR: not processed
  ASSERT_TRUE(StoreAnswerLines(image, text));
  EXPECT_EQ(image.substr(0, 12), "11112222FFFF");

  std::string bad = AnswerRecord(0x8006, "4444");
  bad.back() = bad.back() == '0' ? '1' : '0';
  image = kErased;
  EXPECT_FALSE(StoreAnswerLines(image, AnswerRecord(0x8000, "5555") + "\r\n" + bad + "\r\n" +
                                           AnswerRecord(0x8008, "6666") + "\r\n"));
  EXPECT_EQ(image.substr(0, 20), "5555FFFFFFFFFFFFFFFF");
  image = kErased;
  EXPECT_TRUE(StoreAnswerLines(image, ""));
  EXPECT_EQ(image, kErased);
}

std::string QvrLine(std::uint32_t address, const std::string& data16) {
  const std::string body = "0B" + ToHex(address, 4) + data16;
  return "S1" + body + RecordCheckSum(body) + "\r\n";
}

TEST(CheckAnswerLinesQVR, AcceptsOnlyWholeConsecutiveCheckedLines) {
  std::string good;
  for (std::uint32_t a = 0; a < 0x100; a += 8) good += QvrLine(a, ToHex(a * 0x01010101ULL, 16));
  EXPECT_TRUE(CheckAnswerLinesQVR(good));

  EXPECT_FALSE(CheckAnswerLinesQVR(""));
  EXPECT_TRUE(CheckAnswerLinesQVR(good.substr(0, 15 * 28)));           // header and eight channels
  EXPECT_FALSE(CheckAnswerLinesQVR(good.substr(0, 14 * 28)));          // a dump cut short
  EXPECT_FALSE(CheckAnswerLinesQVR(good.substr(0, good.size() - 1)));  // torn last line
  EXPECT_FALSE(CheckAnswerLinesQVR(good + "S9030000FC\r\n"));          // anything after
  EXPECT_FALSE(CheckAnswerLinesQVR(good.substr(28)));                  // not from 0000
  EXPECT_FALSE(CheckAnswerLinesQVR(good.substr(0, 28) + good.substr(56)));  // a line missing

  std::string damaged = good;
  damaged[28 * 5 + 12] = damaged[28 * 5 + 12] == '0' ? '1' : '0';  // one data digit
  EXPECT_FALSE(CheckAnswerLinesQVR(damaged));
  const std::string rest = good.substr(28);
  std::string lowerChecksum = QvrLine(0, "00000000000000AA");
  ASSERT_EQ(lowerChecksum.substr(24, 2), "4A");
  EXPECT_TRUE(CheckAnswerLinesQVR(lowerChecksum + rest));
  lowerChecksum[25] = 'a';
  EXPECT_FALSE(CheckAnswerLinesQVR(lowerChecksum + rest));
  std::string noLineEnd = good;
  noLineEnd[28 * 3 + 27] = ' ';
  EXPECT_FALSE(CheckAnswerLinesQVR(noLineEnd));
  std::string wrongCount = good;
  wrongCount.replace(28 * 3 + 2, 2, "0C");
  EXPECT_FALSE(CheckAnswerLinesQVR(wrongCount));
}

TEST(PercentText, WholePercentTiesToEven) {
  EXPECT_EQ(PercentText(208, 8176), "3%");
  EXPECT_EQ(PercentText(8176, 8176), "100%");
  EXPECT_EQ(PercentText(32, 8192), "0%");
  EXPECT_EQ(PercentText(1024, 8192), "12%");  // 12.5
  EXPECT_EQ(PercentText(3072, 8192), "38%");  // 37.5
}

TEST(WholeSecondsBetween, CountsSecondBoundariesCrossed) {
  using std::chrono::milliseconds;
  const Clock::Nanos t(std::chrono::seconds(1000));
  EXPECT_EQ(WholeSecondsBetween(t + milliseconds(900), t + milliseconds(1100)), 1);
  EXPECT_EQ(WholeSecondsBetween(t + milliseconds(100), t + milliseconds(999)), 0);
  EXPECT_EQ(WholeSecondsBetween(t + milliseconds(999), t + milliseconds(5000)), 5);
}

}  // namespace
}  // namespace tallisk
