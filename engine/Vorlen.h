#pragma once
// Tessaral's calendar engine: the civil calendar (Julian up to 4 October 1582,
// Gregorian from 5 October 1582 on) and the tabular Hijri calendar, joined through
// Julian Day Numbers and Hijri day numbers (1 Muharram 1 is day 0).
//
// Every date operation takes year, month and day as separate int32_t by reference,
// inputs first. Inputs are only read, and an output may share its variable with an
// input. Only CheckDateGre and CheckDateHij validate; the other operations compute
// on whatever they are given and never fail.

#include <array>
#include <cstdint>
#include <string>

// A date of either calendar; whoever holds it knows which one.
struct TSLDate {
  int32_t Day = 0;
  int32_t Month = 0;
  int32_t Year = 0;
};

// A date of the local clock. The engine keeps its own so that it does not depend
// on the user interface layer.
struct Date {
  int32_t Year = 0;
  int32_t Month = 0;
  int32_t Day = 0;

  // Today in the local time zone (TZ), read from the system clock on each call.
  static Date Now();
};

namespace Vorlen {

// Julian Day of Friday 16 July 622 (Julian calendar): 1 Muharram 1 for dates before the switch.
inline constexpr int32_t HijriEpochBeforeSwitch = 1948440;
// Julian Day 1 Muharram 1 is counted from for dates from the switch on (one day earlier).
inline constexpr int32_t HijriEpochAfterSwitch = 1948439;
// Julian Day of Thursday 4 October 1582, the last day read in the Julian calendar.
inline constexpr int32_t LastJulianCalendarDay = 2299160;
// Julian Day of Friday 15 October 1582, the first day of the Gregorian calendar.
inline constexpr int32_t FirstGregorianCalendarDay = 2299161;
// Julian Day of Thursday 7 January 2562, 1 Muharram 2000: the last day of the era.
inline constexpr int32_t LastEraJulianDay = 2656818;
// Hijri day number of 1 Muharram 2000.
inline constexpr int32_t LastEraHijriDay = 708379;
// Switch key (year + month / 100) + day / 10000 of 5 October 1582, the first civil
// date computed as Gregorian.
inline constexpr double GregorianSwitchKey = 1582.1005;
// Switch key of 17 Ramadan 990, the first Hijri date counted from the later epoch.
inline constexpr double HijriSwitchKey = 990.0917;

// x truncated toward zero; NaN gives 0 and values beyond int32 saturate.
int32_t Trunc(double x);

int32_t IsLeapYearGre(int32_t& year);
// 0 for a month outside 1..12.
int32_t DaysInMonGre(int32_t& year, int32_t& month);
void YMDToJulianGre(int32_t& year, int32_t& month, int32_t& day, int32_t& JD);
void JulianToYMD(int32_t& year, int32_t& month, int32_t& day, int32_t& JD);
// W: 0 = Sunday .. 6 = Saturday.
void FindDayOfTheWeekGre(int32_t& year, int32_t& month, int32_t& day, int32_t& W);
// 1 for a real date from 16 July 622 to 7 January 2562, else 0.
int32_t CheckDateGre(int32_t& year, int32_t& month, int32_t& day);

int32_t IsLeapYearHij(int32_t& year);
// 0 for a month outside 1..12.
int32_t DaysInMonHij(int32_t& year, int32_t& month);
void NumberOfDaysHij(int32_t& year, int32_t& month, int32_t& day, int32_t& N);
void NDaysToYMDHij(int32_t& year, int32_t& month, int32_t& day, int32_t& N);
// 1 for a real date from 1 Muharram 1 to 1 Muharram 2000, else 0.
int32_t CheckDateHij(int32_t& year, int32_t& month, int32_t& day);

void GreToHij(int32_t& gYear, int32_t& gMonth, int32_t& gDay,
              int32_t& hYear, int32_t& hMonth, int32_t& hDay);
void HijToGre(int32_t& hYear, int32_t& hMonth, int32_t& hDay,
              int32_t& gYear, int32_t& gMonth, int32_t& gDay);

// Fills the tables below and takes today's date; call once at start-up.
void initConstants();

// Positions of the leap years in the 30-year cycle.
inline std::array<int32_t, 11> LeapYearHij{};
// Days of month m in a common year (entry 0 unused).
inline std::array<int32_t, 13> NoOfDaysInMonthHij{};
// Days of the year before month m (entry 0 unused).
inline std::array<int32_t, 13> NoOfPastDaysHij{};
// Leap years among cycle years 1..i.
inline std::array<int32_t, 30> NoOfLeapHij{};

}  // namespace Vorlen

namespace AppGlobal {

// Names of months 1..12 and weekdays 0..6; the empty string for any other number.
std::string GetMonNamGre(int32_t i);
std::string GetMonNamHij(int32_t i);
// The name, a blank and the number in parentheses: "Thul-Hijjah (12)".
std::string GetMonNamGreSecondary(int32_t i);
std::string GetMonNamHijSecondary(int32_t i);
std::string GetWeekName(int32_t i);

// Today, taken once by Vorlen::initConstants.
inline Date TodaysDate{};
// The month the main window shows, in its leading calendar; today at start-up.
inline TSLDate CurrentDate{};

}  // namespace AppGlobal
