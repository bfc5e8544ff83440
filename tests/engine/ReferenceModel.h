#pragma once
// The engine's date arithmetic as it was first written: real-number steps (each
// operation rounded to double on its own, no fused multiply-add), 32-bit integers,
// the Hijri tables and the four-candidate year search. The engine now computes in
// integers; the tests hold it to this model on every input a caller can pass.
//
// The model is only called where its values stay inside int32 and its table indexes
// inside the tables: a year of 1 or more and a month of 0..12 on the Hijri side,
// a non-negative Hijri day number.

#include <cstdint>

#include "tests/engine/EngineTestSupport.h"

namespace Reference {

inline int32_t Trunc(double x) {
  return static_cast<int32_t>(x);
}

inline constexpr int32_t LeapYearHij[11] = {2, 5, 7, 10, 13, 15, 18, 21, 24, 26, 29};
inline constexpr int32_t NoOfDaysInMonthHij[13] = {0, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29};
inline constexpr int32_t NoOfPastDaysHij[13] = {0, 0, 30, 59, 89, 118, 148, 177, 207, 236, 266, 295, 325};
inline constexpr int32_t NoOfLeapHij[30] = {0, 0, 1, 1, 1, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5,
                                            6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 11};

inline double SwitchKey(int32_t year, int32_t month, int32_t day) {
  const double y = year, m = month, d = day;
  return (y + m / 100) + d / 10000;
}

inline int32_t IsLeapYearGre(int32_t y) {
  return (y % 4 == 0 && y % 4000 != 0 && (y % 100 != 0 || y % 400 == 0)) ? 1 : 0;
}

inline int32_t DaysInMonGre(int32_t y, int32_t m) {
  if (m == 1 || m == 3 || m == 5 || m == 7 || m == 8 || m == 10 || m == 12) return 31;
  if (m == 4 || m == 6 || m == 9 || m == 11) return 30;
  if (m == 2) return 28 + IsLeapYearGre(y);
  return 0;
}

inline int32_t YMDToJulianGre(int32_t Y, int32_t M, int32_t D) {
  double y = Y, m = M, d = D;
  const double s = SwitchKey(Y, M, D);
  if (m <= 2) {
    y = y - 1;
    m = m + 12;
  }
  double B = 0;
  if (!(s < 1582.1005)) {
    const double A = Trunc(y / 100);
    B = (2 - A) + Trunc(A / 4);
  }
  return Trunc(365.25 * (y + 4716)) + Trunc(30.6001 * (m + 1)) + Trunc(d) + Trunc(B) - 1524;
}

inline Ymd JulianToYMD(int32_t JD) {
  const int32_t Z = JD;
  int32_t A = Z;
  if (Z > 2299160) {
    const int32_t alpha = Trunc((Z - 1867216.25) / 36524.25);
    A = Z + 1 + alpha - alpha / 4;
  }
  const int32_t B = A + 1524;
  const int32_t Q = Trunc((B - 122.1) / 365.25);
  const int32_t Dd = Trunc(365.25 * Q);
  const int32_t E = Trunc((B - Dd) / 30.6001);
  const int32_t D = (B - Dd) - Trunc(30.6001 * E);
  const int32_t M = E < 14 ? E - 1 : E - 13;
  const int32_t Y = M > 2 ? Q - 4716 : Q - 4715;
  return {Y, M, D};
}

inline int32_t FindDayOfTheWeekGre(int32_t y, int32_t m, int32_t d) {
  return (YMDToJulianGre(y, m, d) + 1) % 7;
}

inline int32_t CheckDateGre(int32_t y, int32_t m, int32_t d) {
  const int32_t jd = YMDToJulianGre(y, m, d);
  if (!(1948440 <= jd && jd <= 2656818)) return 0;
  if (!(0 < m && m < 13)) return 0;
  if (!(d > 0)) return 0;
  return d <= DaysInMonGre(y, m) ? 1 : 0;
}

inline int32_t IsLeapYearHij(int32_t y) {
  const int32_t r = y % 30;
  for (int32_t position : LeapYearHij) {
    if (position == r) return 1;
  }
  return 0;
}

inline int32_t DaysInMonHij(int32_t y, int32_t m) {
  if (0 < m && m < 12) return NoOfDaysInMonthHij[m];
  return NoOfDaysInMonthHij[12] + IsLeapYearHij(y);
}

inline int32_t NumberOfDaysHij(int32_t Y, int32_t M, int32_t D) {
  const int32_t y1 = Y - 1;
  return y1 * 354 + (y1 / 30) * 11 + NoOfLeapHij[y1 % 30] + NoOfPastDaysHij[M] + D - 1;
}

// Gives 0-00-00 when none of the four candidate years starts on or before N.
inline Ymd NDaysToYMDHij(int32_t N) {
  const int32_t estimate = Trunc(N / 354.3666666666667) + 3;
  for (int32_t candidate = estimate; candidate > estimate - 4; --candidate) {
    const int32_t S = NumberOfDaysHij(candidate, 1, 1);
    if (S <= N) {
      const int32_t rem = N - S;
      int32_t month = 12;
      for (int32_t m = 1; m < 12; ++m) {
        if (rem < NoOfPastDaysHij[m + 1]) {
          month = m;
          break;
        }
      }
      return {candidate, month, rem - NoOfPastDaysHij[month] + 1};
    }
  }
  return {};
}

inline int32_t CheckDateHij(int32_t y, int32_t m, int32_t d) {
  if (m < 1 || m > 12 || y < 1) return 0;
  const int32_t N = NumberOfDaysHij(y, m, d);
  if (!(0 <= N && N <= 708379)) return 0;
  if (!(d > 0)) return 0;
  return d <= DaysInMonHij(y, m) ? 1 : 0;
}

inline Ymd GreToHij(Ymd g) {
  const int32_t JD = YMDToJulianGre(g.y, g.m, g.d);
  const int32_t N = SwitchKey(g.y, g.m, g.d) < 1582.1005 ? JD - 1948440 : JD - 1948439;
  return NDaysToYMDHij(N);
}

inline Ymd HijToGre(Ymd h) {
  const int32_t N = NumberOfDaysHij(h.y, h.m, h.d);
  const int32_t JD = SwitchKey(h.y, h.m, h.d) < 990.0917 ? N + 1948440 : N + 1948439;
  return JulianToYMD(JD);
}

}  // namespace Reference
