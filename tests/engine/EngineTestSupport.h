#pragma once
// Dates as one value, so that a failing check prints the date it failed on.

#include <cstdint>
#include <iomanip>
#include <ostream>

#include "engine/Vorlen.h"

struct Ymd {
  int32_t y = 0;
  int32_t m = 0;
  int32_t d = 0;
  friend bool operator==(const Ymd&, const Ymd&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Ymd& date) {
    return out << date.y << '-' << std::setfill('0') << std::setw(2) << date.m << '-'
               << std::setw(2) << date.d << std::setfill(' ');
  }
};

// The engine's operations on Ymd values.
inline int32_t julianDay(Ymd g) { int32_t jd = 0; Vorlen::YMDToJulianGre(g.y, g.m, g.d, jd); return jd; }
inline Ymd civilDate(int32_t jd) { Ymd g; Vorlen::JulianToYMD(g.y, g.m, g.d, jd); return g; }
inline int32_t weekday(Ymd g) { int32_t w = -1; Vorlen::FindDayOfTheWeekGre(g.y, g.m, g.d, w); return w; }
inline int32_t checkGre(Ymd g) { return Vorlen::CheckDateGre(g.y, g.m, g.d); }
inline int32_t hijriDayNumber(Ymd h) { int32_t n = 0; Vorlen::NumberOfDaysHij(h.y, h.m, h.d, n); return n; }
inline Ymd hijriDate(int32_t n) { Ymd h; Vorlen::NDaysToYMDHij(h.y, h.m, h.d, n); return h; }
inline int32_t checkHij(Ymd h) { return Vorlen::CheckDateHij(h.y, h.m, h.d); }
inline Ymd toHijri(Ymd g) { Ymd h; Vorlen::GreToHij(g.y, g.m, g.d, h.y, h.m, h.d); return h; }
inline Ymd toGregorian(Ymd h) { Ymd g; Vorlen::HijToGre(h.y, h.m, h.d, g.y, g.m, g.d); return g; }
