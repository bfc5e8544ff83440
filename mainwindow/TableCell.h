#pragma once
// One day of a month grid, on screen or on paper, and the fill that computes a
// month's cells from the calendar engine.

#include <array>
#include <cstdint>
#include <string>

#include "framework/Basic.h"

struct TableCell {
  fw::Color GColor = 0x000000;
  int32_t GD = 0;
  int32_t GM = 0;
  int32_t GY = 0;
  fw::Color HColor = 0x000000;
  int32_t HD = 0;
  int32_t HM = 0;
  int32_t HY = 0;
  std::string Gid;  // span letter of the Gregorian month (printed Hijri-led pages)
  std::string Hid;  // span letter of the Hijri month (printed Gregorian-led pages)
};

// How the other calendar's months are told apart within one grid, by span number
// 1 to 3.
struct SpanStyle {
  std::array<fw::Color, 3> Colors;
  bool WithLetters;  // paper only: "A", "B", "C" in the cells
};

inline constexpr SpanStyle kScreenSpans{{0x0000FF, 0xFF0000, 0x006513}, false};
inline constexpr SpanStyle kPaperSpans{{0x0000FF, 0xFF0000, 0xFF00FF}, true};

struct MonthLayout {
  int32_t start = 0;  // grid index of day 1 (1 = Sunday of the first row)
  int32_t n = 0;      // days in the month
};

// Fills AppGlobal::DayBlock elements 1..n for a month whose leading calendar is
// the Gregorian (Hijri) one. The caller renews the cells first and keeps the month
// within its limits.
MonthLayout FillMonthGre(int32_t year, int32_t month, const SpanStyle& spans);
MonthLayout FillMonthHij(int32_t year, int32_t month, const SpanStyle& spans);
