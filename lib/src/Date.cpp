#include "tallisk/Date.h"

#include <cstdio>

#include "tallisk/errors.h"

namespace tallisk {

Date::Date(int year, int month, int day) : year_(year), month_(month), day_(day) {
  if (!IsValid(year, month, day)) {
    RaiseInvalidArgument("Date", "Invalid date");
  }
}

int Date::DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

bool Date::IsValid(int year, int month, int day) noexcept {
  return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

long Date::DaysSinceEpoch() const noexcept {
  // Howard Hinnant's days_from_civil.
  const long y = year_ - (month_ <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long mp = (month_ + 9) % 12;
  const long doy = (153 * mp + 2) / 5 + day_ - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int Date::DayOfWeek() const noexcept {
  // 1970-01-01 was a Thursday.
  const long d = DaysSinceEpoch();
  return static_cast<int>(((d % 7) + 7 + 4) % 7);
}

std::string Date::ToIsoString() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year_, month_, day_);
  return buf;
}

std::string Date::ToLongDateString() const {
  static constexpr const char* kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  return std::string(kDays[DayOfWeek()]) + ", " + kMonths[month_ - 1] + " " + std::to_string(day_) +
         ", " + std::to_string(year_);
}

}  // namespace tallisk
