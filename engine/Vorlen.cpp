#include "engine/Vorlen.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The date arithmetic was first written with real numbers (Meeus' Julian Day steps,
// a real-valued Hijri year estimate). The routines here compute the same numbers in
// exact 64-bit integer arithmetic, which is several times faster: each integer step
// equals its real counterpart because the real quotient it replaces never lands
// within rounding distance of a whole number (the comments say why), and the test
// suite checks them against the real steps over every day of the era. Working in
// 64 bits also keeps absurd input (years in the millions, day 2^31 - 1) free of
// overflow; results that leave int32 are clamped.

namespace Vorlen {
namespace {

constexpr int64_t Int32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t Int32Max = std::numeric_limits<int32_t>::max();

// The engine's own copies of the Hijri tables: the arithmetic does not depend on
// initConstants having run, which only publishes them.
constexpr std::array<int32_t, 11> LeapPositions{2, 5, 7, 10, 13, 15, 18, 21, 24, 26, 29};
constexpr std::array<int32_t, 13> MonthLengthsHij{0, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29};
constexpr std::array<int32_t, 13> PastDaysHij{0, 0, 30, 59, 89, 118, 148, 177, 207, 236, 266, 295, 325};
constexpr std::array<int32_t, 30> LeapsBeforeHij{0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5,
                                                 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 11};

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp(v, Int32Min, Int32Max));
}

// Division by a positive constant, rounding toward zero as Trunc does. Every date
// near the era keeps each dividend in [0, 2^32), where an unsigned 32-bit division
// is much cheaper; the routines below are instantiated for that case (Small) and
// for any input.
template <bool Small>
[[gnu::always_inline]] constexpr int64_t quot(int64_t a, int64_t b) {
  if constexpr (Small) {
    return static_cast<uint32_t>(a) / static_cast<uint32_t>(b);
  } else {
    return a / b;
  }
}

// Division by a positive constant, rounding down.
template <bool Small>
[[gnu::always_inline]] constexpr int64_t floorQuot(int64_t a, int64_t b) {
  if constexpr (Small) {
    return quot<true>(a, b);
  } else {
    return (a >= 0 ? a : a - (b - 1)) / b;
  }
}

// ---- The calendar switches ------------------------------------------------------------

// Whether (y + m / 100) + d / 10000, computed in doubles, is below the switch key.
[[gnu::noinline]] bool keyBelow(int32_t y, int32_t m, int32_t d, double key) {
  const double s = (static_cast<double>(y) + static_cast<double>(m) / 100.0) + static_cast<double>(d) / 10000.0;
  return s < key;
}

// For a month of 1..12 and a day of 1..31 the key orders dates as their digits do
// (the tests hold the two together on every such date of the switch years); any
// other month or day goes through the real key, so it lands where it always did.
[[gnu::always_inline]] inline bool beforeSwitch(int32_t y, int32_t m, int32_t d, int32_t switchYear,
                                                int32_t switchMonthDay, double key) {
  if (m >= 1 && m <= 12 && d >= 1 && d <= 31) [[likely]] {
    return y < switchYear || (y == switchYear && m * 100 + d < switchMonthDay);
  }
  return keyBelow(y, m, d, key);
}

[[gnu::always_inline]] inline bool beforeGregorianSwitch(int32_t y, int32_t m, int32_t d) {
  return beforeSwitch(y, m, d, 1582, 1005, GregorianSwitchKey);
}

[[gnu::always_inline]] inline bool beforeHijriSwitch(int32_t y, int32_t m, int32_t d) {
  return beforeSwitch(y, m, d, 990, 917, HijriSwitchKey);
}

// ---- Civil calendar and Julian Day Numbers ------------------------------------------

// Trunc(30.6001 * k), the day offset of a March-based month. 30.6001 * k is a whole
// number only when 10000 divides k, so below that the integer quotient is the same.
constexpr int64_t monthOffset(int64_t k) {
  if (k > -10000 && k < 10000) return (306001 * k) / 10000;
  return static_cast<int64_t>(30.6001 * static_cast<double>(k));  // |k| < 2^33: fits
}

// monthOffset(m + 1) for the March-based months m = 3..14, looked up.
constexpr auto MarchMonthOffsets = [] {
  std::array<int32_t, 12> offsets{};
  for (int32_t m = 3; m <= 14; ++m) offsets[m - 3] = static_cast<int32_t>(monthOffset(m + 1));
  return offsets;
}();

struct MonthDay {
  int32_t month;
  int32_t day;
};

// Month and day of the day `daysIn` (plus 122) of a March-based year:
// E = Trunc(daysIn / 30.6001) = daysIn * 10000 / 306001, never whole for |daysIn| < 306001.
constexpr MonthDay civilMonthDay(int64_t daysIn) {
  const int64_t e = (daysIn * 10000) / 306001;
  return {static_cast<int32_t>(e < 14 ? e - 1 : e - 13), static_cast<int32_t>(daysIn - monthOffset(e))};
}

// civilMonthDay over the values daysIn takes for any day from Julian Day 0 on
// (123 to 488), packed small and looked up.
struct PackedMonthDay {
  uint8_t month;
  uint8_t day;
};
constexpr int32_t FirstDaysIn = 123;
constexpr auto CivilMonthDays = [] {
  std::array<PackedMonthDay, 366> table{};
  for (int32_t i = 0; i < 366; ++i) {
    const MonthDay md = civilMonthDay(FirstDaysIn + i);
    table[i] = {static_cast<uint8_t>(md.month), static_cast<uint8_t>(md.day)};
  }
  return table;
}();

// Julian Day Number of a civil date (Meeus): the Julian calendar when `julian`,
// else the Gregorian. Small: a year of 1 to 1000000 and a month of 1..12.
template <bool Small>
[[gnu::always_inline]] inline int64_t julianDayOf(int64_t y, int64_t m, int64_t d, bool julian) {
  if (m <= 2) {  // January and February count as months 13 and 14 of the year before
    y -= 1;
    m += 12;
  }
  int64_t b = 0;  // Gregorian correction: the dropped century leap days
  if (!julian) {
    const int64_t a = quot<Small>(y, 100);
    b = (2 - a) + quot<Small>(a, 4);
  }
  int64_t offset = 0;
  if constexpr (Small) {
    offset = MarchMonthOffsets[m - 3];
  } else {
    offset = monthOffset(m + 1);
  }
  // 365.25 * (y + 4716) is exact in a double, so truncating it is integer division.
  return quot<Small>(1461 * (y + 4716), 4) + offset + d + b - 1524;
}

[[gnu::noinline]] int64_t julianDayOfAnyDate(int32_t y, int32_t m, int32_t d, bool julian) {
  return julianDayOf<false>(y, m, d, julian);
}

[[gnu::always_inline]] inline int64_t julianDay(int32_t y, int32_t m, int32_t d, bool julian) {
  if (y >= 1 && y <= 1000000 && m >= 1 && m <= 12) [[likely]] return julianDayOf<true>(y, m, d, julian);
  return julianDayOfAnyDate(y, m, d, julian);
}

struct CivilDate {
  int64_t year;
  int32_t month;
  int32_t day;
};

// The civil date of Julian Day Number z (Meeus), Julian calendar up to 4 October 1582.
// Small: z in 0..100000000.
template <bool Small>
[[gnu::always_inline]] inline CivilDate civilDateOf(int64_t z) {
  int64_t a = z;
  if (z > LastJulianCalendarDay) {
    // Trunc((z - 1867216.25) / 36524.25), both sides taken in quarter days.
    const int64_t alpha = quot<Small>(4 * z - 7468865, 146097);
    a = z + 1 + alpha - quot<Small>(alpha, 4);
  }
  const int64_t b = a + 1524;
  // Trunc((b - 122.1) / 365.25) = (20b - 2442) / 7305, never whole as 5 does not divide 2442.
  const int64_t q = quot<Small>(20 * b - 2442, 7305);
  const int64_t dd = quot<Small>(1461 * q, 4);  // Trunc(365.25 * q)
  const int64_t daysIn = b - dd;  // day of the March-based year, plus 122
  MonthDay md{};
  if constexpr (Small) {
    // b - 122.1 - 365.25 q lies in [0, 365.25), so daysIn in 123..488; min() only guards.
    const PackedMonthDay packed = CivilMonthDays[std::min<uint64_t>(daysIn - FirstDaysIn, 365)];
    md = {packed.month, packed.day};
  } else {
    md = civilMonthDay(daysIn);
  }
  const int64_t year = md.month > 2 ? q - 4716 : q - 4715;
  return {year, md.month, md.day};
}

[[gnu::noinline]] CivilDate civilDateOfAnyDay(int64_t z) {
  return civilDateOf<false>(z);
}

[[gnu::always_inline]] inline CivilDate civilDate(int64_t z) {
  if (z >= 0 && z <= 100000000) [[likely]] return civilDateOf<true>(z);
  return civilDateOfAnyDay(z);
}

// ---- Hijri calendar -----------------------------------------------------------------

// Leap years among the first r years of a cycle: (11r + 15) div 30 for r in 0..29.
constexpr bool leapCountMatchesTable() {
  for (int32_t r = 0; r < 30; ++r) {
    if ((11 * r + 15) / 30 != LeapsBeforeHij[r]) return false;
  }
  return true;
}
static_assert(leapCountMatchesTable());

// Days from 1 Muharram 1 to 1 Muharram of year y: 354 a year and 11 leap days per
// 30-year cycle, i.e. (10631 (y - 1) + 15) div 30. Before year 1 the count runs on
// backwards in the same pattern. Small: y from 1 to 300000.
template <bool Small>
[[gnu::always_inline]] constexpr int64_t daysBeforeHijriYear(int64_t y) {
  return floorQuot<Small>(10631 * (y - 1) + 15, 30);
}

// Hijri day number of any year, month and day: a month outside 0..12 carries into
// the year, a year before 1 counts backwards.
[[gnu::noinline]] int64_t hijriDayNumberOfAnyDate(int64_t y, int64_t m, int64_t d) {
  if (m < 0 || m > 12) {
    const int64_t years = floorQuot<false>(m - 1, 12);
    y += years;
    m -= 12 * years;
  }
  return daysBeforeHijriYear<false>(y) + PastDaysHij[m] + d - 1;
}

// Hijri day number of year y, month m, day d; the day is not held to the month's length.
[[gnu::always_inline]] inline int64_t hijriDayNumber(int32_t y, int32_t m, int32_t d) {
  if (y >= 1 && y <= 300000 && m >= 0 && m <= 12) [[likely]] {
    return daysBeforeHijriYear<true>(y) + PastDaysHij[m] + static_cast<int64_t>(d) - 1;
  }
  return hijriDayNumberOfAnyDate(y, m, d);
}

struct HijriDate {
  int64_t year;
  int32_t month;
  int32_t day;
};

// Month and day of day `rem` (0..354) of a Hijri year. Month k + 1 starts on day
// ceil(29.5 k); day 354, 30 Thul-Hijjah of a leap year, stays in month 12.
constexpr MonthDay hijriMonthDay(uint32_t rem) {
  const auto month = static_cast<int32_t>(std::min(2 * rem / 59 + 1, 12u));
  return {month, static_cast<int32_t>(rem) - PastDaysHij[month] + 1};
}

constexpr auto HijriMonthDays = [] {
  std::array<PackedMonthDay, 355> table{};
  for (uint32_t rem = 0; rem < 355; ++rem) {
    const MonthDay md = hijriMonthDay(rem);
    table[rem] = {static_cast<uint8_t>(md.month), static_cast<uint8_t>(md.day)};
  }
  return table;
}();

// The Hijri date of day number n: the largest year whose 1 Muharram is not after n,
// then the month whose first day is not after the days left. Small: n in 0..100000000.
template <bool Small>
[[gnu::always_inline]] inline HijriDate hijriDateOf(int64_t n) {
  // daysBeforeHijriYear(Y) <= n  <=>  10631 (Y - 1) <= 30n + 14, so the year comes
  // straight from n instead of from trying the years below an estimate.
  const int64_t year = floorQuot<Small>(30 * n + 10645, 10631);
  const auto rem = static_cast<uint32_t>(n - daysBeforeHijriYear<Small>(year));  // 0..354
  if constexpr (Small) {
    const PackedMonthDay md = HijriMonthDays[std::min(rem, 354u)];  // min() only guards
    return {year, md.month, md.day};
  } else {
    const MonthDay md = hijriMonthDay(rem);
    return {year, md.month, md.day};
  }
}

[[gnu::noinline]] HijriDate hijriDateOfAnyDay(int64_t n) {
  return hijriDateOf<false>(n);
}

[[gnu::always_inline]] inline HijriDate hijriDate(int64_t n) {
  if (n >= 0 && n <= 100000000) [[likely]] return hijriDateOf<true>(n);
  return hijriDateOfAnyDay(n);
}

int32_t isLeapYearHij(int32_t y) {
  const int32_t r = y % 30;  // negative for negative years, which are never leap
  return std::find(LeapPositions.begin(), LeapPositions.end(), r) != LeapPositions.end() ? 1 : 0;
}

int32_t daysInMonHij(int32_t y, int32_t m) {
  if (m >= 1 && m <= 11) return MonthLengthsHij[m];
  if (m == 12) return MonthLengthsHij[12] + isLeapYearHij(y);
  return 0;
}

}  // namespace

int32_t Trunc(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}

int32_t IsLeapYearGre(int32_t& year) {
  const int32_t y = year;
  return (y % 4 == 0 && y % 4000 != 0 && (y % 100 != 0 || y % 400 == 0)) ? 1 : 0;
}

int32_t DaysInMonGre(int32_t& year, int32_t& month) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
      return 31;
    case 4: case 6: case 9: case 11:
      return 30;
    case 2:
      return 28 + IsLeapYearGre(year);
    default:
      return 0;
  }
}

void YMDToJulianGre(int32_t& year, int32_t& month, int32_t& day, int32_t& JD) {
  const int32_t y = year, m = month, d = day;
  JD = clampToInt32(julianDay(y, m, d, beforeGregorianSwitch(y, m, d)));
}

void JulianToYMD(int32_t& year, int32_t& month, int32_t& day, int32_t& JD) {
  const CivilDate date = civilDate(JD);
  day = date.day;
  month = date.month;
  year = clampToInt32(date.year);
}

void FindDayOfTheWeekGre(int32_t& year, int32_t& month, int32_t& day, int32_t& W) {
  int32_t jd = 0;
  YMDToJulianGre(year, month, day, jd);
  // Julian Day 0 was a Monday. Before it the remainder is negative; no caller goes there.
  W = static_cast<int32_t>((static_cast<int64_t>(jd) + 1) % 7);
}

int32_t CheckDateGre(int32_t& year, int32_t& month, int32_t& day) {
  const int32_t y = year, m = month, d = day;
  const int64_t jd = julianDay(y, m, d, beforeGregorianSwitch(y, m, d));
  if (jd < HijriEpochBeforeSwitch || jd > LastEraJulianDay) return 0;
  if (m < 1 || m > 12) return 0;
  if (d <= 0) return 0;
  return d <= DaysInMonGre(year, month) ? 1 : 0;
}

int32_t IsLeapYearHij(int32_t& year) {
  return isLeapYearHij(year);
}

int32_t DaysInMonHij(int32_t& year, int32_t& month) {
  return daysInMonHij(year, month);
}

void NumberOfDaysHij(int32_t& year, int32_t& month, int32_t& day, int32_t& N) {
  N = clampToInt32(hijriDayNumber(year, month, day));
}

void NDaysToYMDHij(int32_t& year, int32_t& month, int32_t& day, int32_t& N) {
  const HijriDate date = hijriDate(N);
  year = clampToInt32(date.year);
  month = date.month;
  day = date.day;
}

int32_t CheckDateHij(int32_t& year, int32_t& month, int32_t& day) {
  const int32_t y = year, m = month, d = day;
  if (m < 1 || m > 12 || y < 1) return 0;
  const int64_t n = hijriDayNumber(y, m, d);
  if (n < 0 || n > LastEraHijriDay) return 0;
  if (d <= 0) return 0;
  return d <= daysInMonHij(y, m) ? 1 : 0;
}

void GreToHij(int32_t& gYear, int32_t& gMonth, int32_t& gDay,
              int32_t& hYear, int32_t& hMonth, int32_t& hDay) {
  const int32_t y = gYear, m = gMonth, d = gDay;
  const bool before = beforeGregorianSwitch(y, m, d);
  const int64_t jd = julianDay(y, m, d, before);
  const HijriDate date = hijriDate(jd - (before ? HijriEpochBeforeSwitch : HijriEpochAfterSwitch));
  hYear = clampToInt32(date.year);
  hMonth = date.month;
  hDay = date.day;
}

void HijToGre(int32_t& hYear, int32_t& hMonth, int32_t& hDay,
              int32_t& gYear, int32_t& gMonth, int32_t& gDay) {
  const int32_t y = hYear, m = hMonth, d = hDay;
  const int64_t n = hijriDayNumber(y, m, d);
  const bool before = beforeHijriSwitch(y, m, d);
  const CivilDate date = civilDate(n + (before ? HijriEpochBeforeSwitch : HijriEpochAfterSwitch));
  gDay = date.day;
  gMonth = date.month;
  gYear = clampToInt32(date.year);
}

void initConstants() {
  LeapYearHij = LeapPositions;
  NoOfDaysInMonthHij = MonthLengthsHij;
  NoOfPastDaysHij = PastDaysHij;
  NoOfLeapHij = LeapsBeforeHij;
  AppGlobal::TodaysDate = Date::Now();
  AppGlobal::CurrentDate = TSLDate{};
  AppGlobal::CurrentDate.Year = AppGlobal::TodaysDate.Year;
  AppGlobal::CurrentDate.Month = AppGlobal::TodaysDate.Month;
  AppGlobal::CurrentDate.Day = AppGlobal::TodaysDate.Day;
}

}  // namespace Vorlen
