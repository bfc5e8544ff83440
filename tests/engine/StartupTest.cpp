// Start-up: the tables are empty until initConstants, which also takes today.
// Its own executable, so that nothing has called initConstants before it.

#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/engine/EngineTestSupport.h"

namespace {

int32_t julianDayOf(const Date& date) { return julianDay({date.Year, date.Month, date.Day}); }

Date nowInZone(const char* tz) {
  setenv("TZ", tz, 1);
  return Date::Now();
}

TEST(Startup, InitConstantsFillsTheTablesAndTakesToday) {
  for (int32_t v : Vorlen::NoOfLeapHij) ASSERT_EQ(v, 0);
  for (int32_t v : Vorlen::NoOfPastDaysHij) ASSERT_EQ(v, 0);
  EXPECT_EQ(AppGlobal::CurrentDate.Year, 0);

  const Date before = Date::Now();
  Vorlen::initConstants();
  const Date after = Date::Now();

  EXPECT_EQ(Vorlen::NoOfPastDaysHij[12], 325);
  const Date today = AppGlobal::TodaysDate;
  EXPECT_TRUE(julianDayOf(today) == julianDayOf(before) || julianDayOf(today) == julianDayOf(after));
  EXPECT_EQ(AppGlobal::CurrentDate.Year, today.Year);
  EXPECT_EQ(AppGlobal::CurrentDate.Month, today.Month);
  EXPECT_EQ(AppGlobal::CurrentDate.Day, today.Day);
  int32_t y = today.Year, m = today.Month, d = today.Day;
  EXPECT_EQ(Vorlen::CheckDateGre(y, m, d), 1) << y << '-' << m << '-' << d;
}

TEST(Startup, TodayIsTheLocalDateOfTheTimeZone) {
  // UTC+14 and UTC-11 are 25 hours apart: their dates differ by one or two days.
  const int32_t east = julianDayOf(nowInZone("UTC-14"));
  const int32_t west = julianDayOf(nowInZone("UTC+11"));
  unsetenv("TZ");
  EXPECT_TRUE(east - west == 1 || east - west == 2) << "east " << east << ", west " << west;
}

}  // namespace
