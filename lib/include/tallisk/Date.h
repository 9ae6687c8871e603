#pragma once

#include <compare>
#include <string>

namespace tallisk {

// A calendar date without time. The default is the zero date 1899-12-30 that an unset
// radio date starts from.
class Date {
 public:
  constexpr Date() = default;

  // Fails with the invalid-argument error when the three numbers are no calendar date.
  Date(int year, int month, int day);

  static bool IsValid(int year, int month, int day) noexcept;
  static int DaysInMonth(int year, int month) noexcept;

  int Year() const noexcept { return year_; }
  int Month() const noexcept { return month_; }
  int Day() const noexcept { return day_; }

  // Days since 1970-01-01, for ordering and day-of-week arithmetic.
  long DaysSinceEpoch() const noexcept;
  // 0 = Sunday .. 6 = Saturday.
  int DayOfWeek() const noexcept;

  // "2026-12-06"
  std::string ToIsoString() const;
  // "Sunday, December 6, 2026": English names, so a printed report reads the same on every
  // machine whatever its locale.
  std::string ToLongDateString() const;

  friend constexpr bool operator==(const Date&, const Date&) = default;
  friend constexpr auto operator<=>(const Date&, const Date&) = default;

 private:
  int year_ = 1899;
  int month_ = 12;
  int day_ = 30;
};

}  // namespace tallisk
