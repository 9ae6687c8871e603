#include "tallisk/Date.h"

#include <gtest/gtest.h>

#include "tallisk/errors.h"

namespace tallisk {
namespace {

TEST(Date, DefaultIsTheZeroDateAndLongFormIsEnglish) {
  EXPECT_EQ(Date().ToIsoString(), "1899-12-30");
  EXPECT_EQ(Date().ToLongDateString(), "Saturday, December 30, 1899");
  EXPECT_EQ(Date(2026, 12, 6).ToLongDateString(), "Sunday, December 6, 2026");
  EXPECT_EQ(Date(2000, 2, 29).ToLongDateString(), "Tuesday, February 29, 2000");
  EXPECT_LT(Date(1999, 12, 31), Date(2000, 1, 1));
}

TEST(Date, RefusesDaysThatDoNotExist) {
  EXPECT_FALSE(Date::IsValid(2023, 2, 29));
  EXPECT_TRUE(Date::IsValid(2024, 2, 29));
  EXPECT_FALSE(Date::IsValid(1900, 2, 29));
  EXPECT_FALSE(Date::IsValid(2024, 13, 1));
  EXPECT_FALSE(Date::IsValid(2024, 0, 10));
  EXPECT_THROW(Date(2024, 4, 31), TalliskError);
}

}  // namespace
}  // namespace tallisk
