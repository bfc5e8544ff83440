#include <algorithm>

#include "engine/Vorlen.h"
#include "mainwindow/TableCell.h"
#include "shell/AppGlobal.h"

namespace {

constexpr fw::Color kBlack = 0x000000;

// Span numbers past 3 cannot occur within the windows' limits; clamp rather than
// read past the table.
fw::Color SpanColor(const SpanStyle& spans, int32_t span) {
  return spans.Colors[static_cast<size_t>(std::clamp(span, 1, 3) - 1)];
}

std::string SpanLetter(int32_t span) { return std::string(1, static_cast<char>('A' + std::clamp(span, 1, 3) - 1)); }

// July 622 holds the Hijri epoch (16 July); its first fifteen days have no Hijri date.
bool BeforeHijriEpoch(int32_t year, int32_t month, int32_t day) { return year == 622 && month == 7 && day < 16; }

}  // namespace

MonthLayout FillMonthGre(int32_t year, int32_t month, const SpanStyle& spans) {
  int32_t hy = 1, hm = 1, hd = 0;
  int32_t one = 1;
  int32_t weekday = 0;
  Vorlen::FindDayOfTheWeekGre(year, month, one, weekday);
  if (!BeforeHijriEpoch(year, month, 1)) Vorlen::GreToHij(year, month, one, hy, hm, hd);

  int32_t lastMonth = hm;
  const int32_t n = std::clamp(Vorlen::DaysInMonGre(year, month), 0, 31);
  int32_t span = 1;
  for (int32_t d = 1; d <= n; ++d) {
    TableCell& c = AppGlobal::DayBlock[static_cast<size_t>(d)];
    c.GY = year;
    c.GM = month;
    c.GD = d;
    c.GColor = kBlack;
    if (!BeforeHijriEpoch(year, month, d)) Vorlen::GreToHij(year, month, d, hy, hm, hd);
    c.HY = hy;
    c.HM = hm;
    c.HD = hd;
    if (hm != lastMonth) {
      ++span;
      lastMonth = hm;
    }
    c.HColor = SpanColor(spans, span);
    if (spans.WithLetters) c.Hid = SpanLetter(span);
  }
  return {weekday + 1, n};
}

MonthLayout FillMonthHij(int32_t year, int32_t month, const SpanStyle& spans) {
  int32_t gy = 0, gm = 0, gd = 0;
  int32_t one = 1;
  Vorlen::HijToGre(year, month, one, gy, gm, gd);
  int32_t weekday = 0;
  Vorlen::FindDayOfTheWeekGre(gy, gm, gd, weekday);

  int32_t lastMonth = gm;
  const int32_t n = std::clamp(Vorlen::DaysInMonHij(year, month), 0, 30);
  int32_t span = 1;
  for (int32_t d = 1; d <= n; ++d) {
    TableCell& c = AppGlobal::DayBlock[static_cast<size_t>(d)];
    c.HY = year;
    c.HM = month;
    c.HD = d;
    c.HColor = kBlack;
    Vorlen::HijToGre(year, month, d, gy, gm, gd);
    c.GY = gy;
    c.GM = gm;
    c.GD = gd;
    if (gm != lastMonth) {
      ++span;
      lastMonth = gm;
    }
    c.GColor = SpanColor(spans, span);
    if (spans.WithLetters) c.Gid = SpanLetter(span);
  }
  return {weekday + 1, n};
}
