// Drawing the month grid of the main window.

#include <cstdint>
#include <string>

#include "engine/Vorlen.h"
#include "framework/Basic.h"
#include "framework/Graphics.h"
#include "mainwindow/CalMain.h"
#include "mainwindow/TableCell.h"
#include "shell/AppGlobal.h"

namespace {

constexpr fw::Color kTodayShade = 0xE8E8E8;
constexpr fw::Color kSlashGrey = 0x808080;
constexpr const char* kDigitFont = "VERDANA";

std::string MonthLabelHij(const TableCell& c) { return AppGlobal::GetMonNamHijSecondary(c.HM) + ", " + fw::Str(c.HY); }
std::string MonthLabelGre(const TableCell& c) { return AppGlobal::GetMonNamGreSecondary(c.GM) + ", " + fw::Str(c.GY); }

}  // namespace

void CalMain::DisplayCalendar(const TSLDate& dt) {
  fw::Graphics* surface = CalendarTable->GetGraphics();
  if (!surface) return;  // the grid is drawn by the canvas's paint only
  fw::Graphics& g = *surface;

  const int32_t W = CalendarTable->Width();
  const int32_t H = CalendarTable->Height();
  AppGlobal::iSquareWidth = W / 7;
  AppGlobal::iSquareHeight = H / 6;
  if (AppGlobal::iSquareWidth < 1 || AppGlobal::iSquareHeight < 1) return;  // no room for a cell

  // The frame is drawn with a thin pen; the inner lines with the surface's own.
  const int32_t penWidth = g.PenWidth;
  const int32_t penHeight = g.PenHeight;
  g.PenWidth = 1;
  g.PenHeight = 1;
  g.DrawLine(0, 0, 0, H - 1);
  g.DrawLine(W - 1, 0, W - 1, H - 1);
  g.DrawLine(0, 0, W - 1, 0);
  g.DrawLine(0, H - 1, W - 1, H - 1);
  g.PenWidth = penWidth;
  g.PenHeight = penHeight;
  for (int32_t x = W / 7; x <= W - 1; x += W / 7) g.DrawLine(x, 0, x, H - 1);
  for (int32_t y = H / 6; y <= H - 1; y += H / 6) g.DrawLine(0, y, W - 1, y);

  AppGlobal::RenewDayBlock();

  const bool gregorian = GregOpt->Value();
  if (!gregorian && !HijOpt->Value()) return;  // no leading calendar: lines only

  const int32_t year = dt.Year;
  const int32_t month = dt.Month;
  const MonthLayout m = gregorian ? FillMonthGre(year, month, kScreenSpans) : FillMonthHij(year, month, kScreenSpans);
  const std::string font = g.TextFont;
  g.TextFont = kDigitFont;
  for (int32_t d = 1; d <= m.n; ++d) {
    const TableCell& c = AppGlobal::DayBlock[static_cast<size_t>(d)];
    const int32_t cell = m.start + d - 1;
    if (!gregorian) {
      AppGlobal::PutNum(g, cell, m.start, fw::Str(d), c.HColor, fw::Str(c.GD), c.GColor);
    } else if (c.HD != 0) {  // before the Hijri epoch (1 to 15 July 622) a day stays blank
      AppGlobal::PutNum(g, cell, m.start, fw::Str(d), c.GColor, fw::Str(c.HD), c.HColor);
    }
  }
  g.TextFont = font;
  if (m.n < 1) return;

  // The leading month above the grid; the other calendar's months of the first and
  // the last day beside it, each in its own colour.
  const TableCell& first = AppGlobal::DayBlock[1];
  const TableCell& last = AppGlobal::DayBlock[static_cast<size_t>(m.n)];
  Heading->SetText((gregorian ? AppGlobal::GetMonNamGre(month) : AppGlobal::GetMonNamHij(month)) + ", " +
                   fw::Str(year));
  CurMonth->SetTextColor(gregorian ? first.HColor : first.GColor);
  CurMonth->SetText(gregorian ? MonthLabelHij(first) : MonthLabelGre(first));
  NextMonth->SetTextColor(gregorian ? last.HColor : last.GColor);
  NextMonth->SetText(gregorian ? MonthLabelHij(last) : MonthLabelGre(last));
}

void AppGlobal::PutNum(fw::Graphics& g, int32_t cell, int32_t start, const std::string& s1, fw::Color c1,
                       const std::string& s2, fw::Color c2) {
  const int64_t wc = AppGlobal::iSquareWidth;
  const int64_t hc = AppGlobal::iSquareHeight;

  int32_t col = cell % 7;
  int32_t row = cell / 7 + 1;
  if (col == 0 && cell / 7 > 0) {
    col = 7;
    row = cell / 7;
  }
  const auto cx = static_cast<int32_t>(col * wc - (wc >> 1) - 1);
  const auto cy = static_cast<int32_t>(row * hc - (hc >> 1) - 1);

  const fw::Color noted = g.ForeColor;

  bool today = false;
  if (CalMain::Instance().GregOpt->Value()) {
    today = AppGlobal::TodaysDate.Year == AppGlobal::CurrentDate.Year &&
            AppGlobal::TodaysDate.Month == AppGlobal::CurrentDate.Month &&
            static_cast<double>(AppGlobal::TodaysDate.Day) == fw::CDbl(s1);
  } else {
    const int64_t index = int64_t{cell} - start + 1;
    if (index >= 0 && index < static_cast<int64_t>(AppGlobal::DayBlock.size())) {
      const TableCell& day = AppGlobal::DayBlock[static_cast<size_t>(index)];
      today = AppGlobal::TodaysDate.Year == day.GY && AppGlobal::TodaysDate.Month == day.GM &&
              AppGlobal::TodaysDate.Day == fw::CInt32(fw::CDbl(s2));
    }
  }
  if (today) {
    g.ForeColor = kTodayShade;
    g.FillRect(static_cast<int32_t>(cx - (wc / 2) + 1), static_cast<int32_t>(cy - (hc / 2) + 1),
               static_cast<int32_t>(wc - 1), static_cast<int32_t>(hc - 1));
  }

  // "s1 / s2" on one baseline, the slash centred on the cell.
  g.ForeColor = kSlashGrey;
  const auto hw = static_cast<int32_t>(fw::CUInt64(g.StringWidth("/")) >> 1);
  const int32_t base = g.TextHeight() / 2 + cy;
  g.DrawString("/", cx - hw, base, 0, false);

  g.ForeColor = c1;
  const int32_t x1 = fw::CInt32(cx - g.StringWidth(s1 + " ") - hw);
  g.DrawString(s1, x1, base, 0, false);

  g.ForeColor = c2;
  const int32_t x2 = fw::CInt32(cx + g.StringWidth(" ") + hw);
  g.DrawString(s2, x2, base, 0, false);

  g.ForeColor = noted;
}
