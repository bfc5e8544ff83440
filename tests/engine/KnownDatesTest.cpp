// Dates whose answers are known independently of the engine's arithmetic, the
// calendar switch of 1582, input far outside the era, and the names.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/ReferenceModel.h"

namespace {

constexpr int32_t Int32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();

TEST(GregorianLeapYears, CenturiesLeapEveryFourHundredYearsButNotEveryFourThousand) {
  for (auto [year, leap] : std::vector<std::pair<int32_t, int32_t>>{
           {1500, 0}, {1600, 1}, {1900, 0}, {2000, 1}, {2001, 0}, {2004, 1}, {2100, 0},
           {4000, 0}, {8000, 0}, {-4, 1}, {Int32Min, 1}}) {
    EXPECT_EQ(Vorlen::IsLeapYearGre(year), leap) << year;
  }
  int32_t y = 2000, feb = 2, dec = 12, none = 13;
  EXPECT_EQ(Vorlen::DaysInMonGre(y, feb), 29);
  EXPECT_EQ(Vorlen::DaysInMonGre(y, dec), 31);
  EXPECT_EQ(Vorlen::DaysInMonGre(y, none), 0);
}

TEST(JulianDayNumbers, MatchTheAstronomersScaleWithTheSwitchOn5October1582) {
  const std::vector<std::pair<Ymd, int32_t>> known{
      {{2000, 1, 1}, 2451545},   {{622, 7, 16}, 1948440},  {{1582, 10, 4}, 2299160},
      {{1582, 10, 15}, 2299161}, {{1582, 10, 5}, 2299151}, {{1582, 10, 14}, 2299160},
      {{1500, 2, 29}, 2268992},  {{1858, 11, 17}, 2400001}, {{-4712, 1, 1}, 0}};
  for (const auto& [date, jd] : known) EXPECT_EQ(julianDay(date), jd) << date;
  EXPECT_EQ(julianDay({1700, 2, 29}), julianDay({1700, 3, 1}));
  EXPECT_EQ(civilDate(2299151), (Ymd{1582, 9, 25}));
  EXPECT_EQ(civilDate(2268992), (Ymd{1500, 2, 29}));
}

TEST(Weekdays, FallOnTheirDaysAtTheEpochsAndAcrossTheSwitch) {
  const std::vector<std::pair<Ymd, int32_t>> known{
      {{622, 7, 16}, 5}, {{1582, 10, 4}, 4}, {{1582, 10, 15}, 5}, {{1582, 10, 5}, 2}, {{2024, 2, 29}, 4}};
  for (const auto& [date, w] : known) EXPECT_EQ(weekday(date), w) << date;
}

TEST(GregorianCheck, AcceptsTheEraAndTheSkippedDaysButNotJulianLeapDays) {
  const std::vector<std::pair<Ymd, int32_t>> known{
      {{622, 7, 15}, 0},   {{622, 7, 16}, 1},  {{2562, 1, 7}, 1},  {{2562, 1, 8}, 0},  {{1582, 10, 10}, 1},
      {{1500, 2, 29}, 0},  {{1600, 2, 29}, 1}, {{2000, 13, 1}, 0}, {{2000, 1, 32}, 0}};
  for (const auto& [date, valid] : known) EXPECT_EQ(checkGre(date), valid) << date;
}

TEST(HijriCalendar, LeapYearsFollowTheThirtyYearCycleWithYear15Leap) {
  for (auto [year, leap] : std::vector<std::pair<int32_t, int32_t>>{
           {1, 0}, {2, 1}, {15, 1}, {16, 0}, {29, 1}, {30, 0}, {32, 1}, {1420, 1},
           {1421, 0}, {1998, 1}, {1999, 0}, {2000, 0}, {-28, 0}, {Int32Min, 0}}) {
    EXPECT_EQ(Vorlen::IsLeapYearHij(year), leap) << year;
  }
  for (auto [h, n] : std::vector<std::pair<Ymd, int32_t>>{
           {{1, 12, 29}, 353}, {{2, 12, 30}, 708}, {{30, 12, 29}, 10630}, {{31, 1, 1}, 10631},
           {{1420, 9, 25}, 503106}, {{2000, 1, 1}, 708379}}) {
    EXPECT_EQ(hijriDayNumber(h), n) << h;
  }
  // The day is not held to the month's length.
  EXPECT_EQ(hijriDayNumber({1420, 1, 31}), hijriDayNumber({1420, 2, 1}));
}

TEST(HijriCheck, AcceptsOnlyRealDatesFromMuharram1To1Muharram2000) {
  const std::vector<std::pair<Ymd, int32_t>> known{
      {{1, 1, 1}, 1},      {{2000, 1, 1}, 1},  {{2000, 1, 2}, 0}, {{1998, 12, 30}, 1}, {{1999, 12, 30}, 0},
      {{1420, 2, 30}, 0},  {{1420, 1, 0}, 0},  {{1420, 0, 1}, 0}, {{1420, 13, 1}, 0},  {{0, 1, 1}, 0}};
  for (const auto& [date, valid] : known) EXPECT_EQ(checkHij(date), valid) << date;
}

TEST(Conversion, KnownDatesConvertBothWays) {
  const std::vector<std::pair<Ymd, Ymd>> gregorianToHijri{
      {{2000, 1, 1}, {1420, 9, 25}}, {{622, 7, 16}, {1, 1, 1}},      {{622, 7, 17}, {1, 1, 2}},
      {{2562, 1, 7}, {2000, 1, 1}},  {{1500, 2, 28}, {905, 7, 28}},  {{1500, 3, 1}, {905, 7, 30}}};
  for (const auto& [g, h] : gregorianToHijri) {
    EXPECT_EQ(toHijri(g), h) << g;
    EXPECT_EQ(toGregorian(h), g) << h;
  }
}

// Around the switch: the skipped Gregorian days repeat the Hijri dates of the ten
// Julian days before, and 16 and 17 Ramadan 990 both land on 4 October 1582.
TEST(Conversion, TheCalendarSwitchOf1582RepeatsTenDaysAndMerges17Ramadan) {
  const std::vector<std::pair<Ymd, Ymd>> gregorianToHijri{
      {{1582, 9, 26}, {990, 9, 8}},  {{1582, 10, 3}, {990, 9, 15}}, {{1582, 10, 4}, {990, 9, 16}},
      {{1582, 10, 5}, {990, 9, 8}},  {{1582, 10, 6}, {990, 9, 9}},  {{1582, 10, 13}, {990, 9, 16}},
      {{1582, 10, 14}, {990, 9, 17}}, {{1582, 10, 15}, {990, 9, 18}}};
  for (const auto& [g, h] : gregorianToHijri) EXPECT_EQ(toHijri(g), h) << g;
  for (int32_t d = 5; d <= 14; ++d) {
    // Back to the Julian day after the one the skipped day shares its number with.
    const Ymd expected = d <= 9 ? Ymd{1582, 9, d + 21} : Ymd{1582, 10, std::min(d - 9, 4)};
    EXPECT_EQ(toGregorian(toHijri({1582, 10, d})), expected) << Ymd{1582, 10, d};
  }
  EXPECT_EQ(toGregorian({990, 9, 16}), (Ymd{1582, 10, 4}));
  EXPECT_EQ(toGregorian({990, 9, 17}), (Ymd{1582, 10, 4}));
  EXPECT_EQ(toGregorian({990, 9, 18}), (Ymd{1582, 10, 15}));
}

TEST(Conversion, OutputsMayShareVariablesWithInputs) {
  int32_t y = 2000, m = 1, d = 1;
  Vorlen::GreToHij(y, m, d, y, m, d);
  EXPECT_EQ((Ymd{y, m, d}), (Ymd{1420, 9, 25}));
  Vorlen::HijToGre(y, m, d, y, m, d);
  EXPECT_EQ((Ymd{y, m, d}), (Ymd{2000, 1, 1}));
  int32_t n = 503106;
  Vorlen::NDaysToYMDHij(n, m, d, n);
  EXPECT_EQ((Ymd{n, m, d}), (Ymd{1420, 9, 25}));
}

// ---- Input far outside the era ----------------------------------------------------

const std::vector<int32_t> awkwardValues{
    Int32Min, Int32Min + 1, -6000000, -1000000, -4716, -31, -1, 0, 1, 2, 9, 10, 12, 13,
    14, 17, 29, 30, 31, 622, 990, 1582, 2000, 2562, 5879610, 6000000, Int32Max - 1, Int32Max};

bool moderate(int32_t v) {
  return v >= -1000000 && v <= 1000000;
}

TEST(BadInput, ChecksRefuseEveryExtremeValueAndAgreeWithTheReferenceOnTheRest) {
  for (int32_t y : awkwardValues) {
    for (int32_t m : awkwardValues) {
      for (int32_t d : awkwardValues) {
        const Ymd date{y, m, d};
        const bool small = moderate(y) && moderate(m) && moderate(d);
        EXPECT_EQ(checkGre(date), small ? Reference::CheckDateGre(y, m, d) : 0) << date;
        EXPECT_EQ(checkHij(date), small ? Reference::CheckDateHij(y, m, d) : 0) << date;
      }
    }
  }
}

TEST(BadInput, UncheckedOperationsGiveDefinedDatesForAnyInput) {
  for (int32_t v : awkwardValues) {
    const Ymd g = civilDate(v);
    EXPECT_TRUE(g.m >= -8 && g.m <= 12 && g.d >= -31 && g.d <= 31) << "JD " << v << ": " << g;
    const Ymd h = hijriDate(v);
    EXPECT_TRUE(h.m >= 1 && h.m <= 12 && h.d >= 1 && h.d <= 30) << "day number " << v << ": " << h;
    // Before the era the Hijri count runs on backwards, so every day number comes back.
    EXPECT_EQ(hijriDayNumber(h), v) << h;
    for (int32_t m : awkwardValues) {
      int32_t y = v, month = m;
      const int32_t length = Vorlen::DaysInMonHij(y, month);
      EXPECT_TRUE(length == 0 || length == 29 || length == 30) << y << ' ' << m;
      for (int32_t d : awkwardValues) {
        const Ymd date{v, m, d};
        const Ymd hijri = toHijri(date);
        EXPECT_TRUE(hijri.m >= 1 && hijri.m <= 12 && hijri.d >= 1 && hijri.d <= 30) << date;
        const int32_t w = weekday(date);
        EXPECT_TRUE(w >= -6 && w <= 6) << date;
        hijriDayNumber(date);
        julianDay(date);
        toGregorian(date);
      }
    }
  }
}

TEST(BadInput, HijriMonthsOutsideTheYearCarryIntoTheNeighbouringYears) {
  EXPECT_EQ(hijriDayNumber({1420, 13, 1}), hijriDayNumber({1421, 1, 1}));
  EXPECT_EQ(hijriDayNumber({1420, 24, 3}), hijriDayNumber({1421, 12, 3}));
  EXPECT_EQ(hijriDayNumber({1420, -12, 1}), hijriDayNumber({1418, 12, 1}));
  EXPECT_EQ(hijriDayNumber({1420, -1, 1}), hijriDayNumber({1419, 11, 1}));
  EXPECT_EQ(hijriDayNumber({1420, 0, 1}), hijriDayNumber({1420, 1, 1}));
  EXPECT_EQ(hijriDate(-1), (Ymd{0, 12, 29}));
}

TEST(Trunc, DropsTheFractionAndSaturatesOutsideInt32) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<double, int32_t>> known{
      {7.9, 7},           {-7.9, -7},          {-0.5, 0},           {std::nan(""), 0},
      {inf, Int32Max},    {-inf, Int32Min},    {1e300, Int32Max},   {2147483647.9, Int32Max},
      {2147483648.0, Int32Max}, {-2147483648.9, Int32Min}, {-2147483649.0, Int32Min}};
  for (const auto& [x, expected] : known) EXPECT_EQ(Vorlen::Trunc(x), expected) << x;
}

// ---- Names --------------------------------------------------------------------------

// The window and page tests meet only some of the Hijri months.
TEST(Names, HijriMonthsByNumberInBothFormsAndEveryNameEmptyOutsideItsRange) {
  const std::vector<std::string> hijri{"Muharram", "Safar",   "Rabi' I",  "Rabi' II", "Jumada I",    "Jumada II",
                                       "Rajab",    "Sha'ban", "Ramadhan", "Shawwal",  "Thul-Qa'dah", "Thul-Hijjah"};
  for (int32_t i = 1; i <= 12; ++i) {
    EXPECT_EQ(AppGlobal::GetMonNamHij(i), hijri[i - 1]) << "month " << i;
    EXPECT_EQ(AppGlobal::GetMonNamHijSecondary(i), hijri[i - 1] + " (" + std::to_string(i) + ")") << "month " << i;
  }
  EXPECT_EQ(AppGlobal::GetMonNamGre(12) + AppGlobal::GetWeekName(6), "DecemberSaturday");
  for (int32_t i : {Int32Min, -1, 0, 13, Int32Max}) {
    EXPECT_EQ(AppGlobal::GetMonNamGre(i) + AppGlobal::GetMonNamHij(i) + AppGlobal::GetMonNamGreSecondary(i) +
                  AppGlobal::GetMonNamHijSecondary(i),
              "")
        << i;
  }
  for (int32_t i : {Int32Min, -1, 7, Int32Max}) EXPECT_EQ(AppGlobal::GetWeekName(i), "") << i;
}

}  // namespace
