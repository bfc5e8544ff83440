// The print job behind the Print button: checks, the printer dialog, the page
// geometry and one page per month.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "engine/Vorlen.h"
#include "framework/Basic.h"
#include "framework/Graphics.h"
#include "framework/Printing.h"
#include "mainwindow/TableCell.h"
#include "printing/CalPrint.h"
#include "shell/AppGlobal.h"

namespace {

constexpr fw::Color kBlack = 0x000000;
// Font sizes and vertical offsets are laid out for a page this many points wide.
constexpr double kReferenceWidth = 612.0;
// The printable width assumed when no page setup is known.
constexpr int32_t kDefaultPrintableWidth = 547;
// Far beyond any sheet (a cell of about 370 m, a title 300000 points high), and
// small enough that every page coordinate stays within 32 bits.
constexpr int32_t kMaxPitch = 1 << 20;
constexpr double kMaxPrintScale = 10000.0;

// The other calendar's month as the legends name it: "A-Muharram (1), 1".
std::string LegendHij(const TableCell& c) {
  return c.Hid + "-" + AppGlobal::GetMonNamHijSecondary(c.HM) + ", " + fw::Str(c.HY);
}
std::string LegendGre(const TableCell& c) {
  return c.Gid + "-" + AppGlobal::GetMonNamGreSecondary(c.GM) + ", " + fw::Str(c.GY);
}

// What the job and its PDF are called: "Tessaral – March–May 2027".
std::string JobTitle(bool hijri, int32_t year, int32_t fromMonth, int32_t toMonth) {
  const auto name = hijri ? AppGlobal::GetMonNamHij : AppGlobal::GetMonNamGre;
  std::string months = name(fromMonth);
  if (toMonth != fromMonth) months += "\u2013" + name(toMonth);
  return "Tessaral \u2013 " + months + " " + fw::Str(year);
}

}  // namespace

void CalPrint::PrintPRT_Action() {
  fw::PrinterSetup setup;
  AppGlobal::RenewDayBlock();

  const int32_t year = YearTXTPRT->IntegerValue();
  const int32_t fromMonth = FromMonthTXTPRT->IntegerValue();
  const int32_t toMonth = ToMonthTXTPRT->IntegerValue();

  if (!CheckDateLimitsPRT(fromMonth, year) || !CheckDateLimitsPRT(toMonth, year)) {
    AppGlobal::RefuseInput("Check your date limits!");
    return;
  }
  if (!CheckMonthLimitsPRT(fromMonth) || !CheckMonthLimitsPRT(toMonth) || toMonth < fromMonth) {
    AppGlobal::RefuseInput("Check your 'From Month' or 'To Month' limits!");
    return;
  }

  const std::string title = JobTitle(!OPTGregorian->Value() && OPTHijri->Value(), year, fromMonth, toMonth);
  std::unique_ptr<fw::Graphics> page;
  int32_t printableWidth = kDefaultPrintableWidth;
  if (!AppGlobal::PageSetup.empty()) {
    setup.SetSetupString(AppGlobal::PageSetup);
    printableWidth = setup.Width();  // before the dialog: the run's page, not the job's
    page = fw::OpenPrinterDialog(&setup, nullptr, title);
  } else {
    page = fw::OpenPrinterDialog(nullptr, nullptr, title);
  }
  const double pageScaling = GetPMScaling(setup.SetupString());
  if (!page) return;  // cancelled: nothing to say
  fw::Graphics& g = *page;

  PageGrid grid;
  grid.PrintScale = setup.PageWidth() / kReferenceWidth * pageScaling;
  g.PenWidth = 1;
  g.PenHeight = 1;

  double boxHeight = 0;
  if (g.Height() < g.Width()) {
    // Landscape: the grid is flatter, and its scale follows the shorter side.
    grid.PrintScale = setup.PageHeight() / kReferenceWidth * pageScaling;
    boxHeight = (printableWidth - 2) * pageScaling * 6.0 / 10.0;
    LeadMargin = 0.5f;
  } else {
    boxHeight = (printableWidth - 2) * pageScaling * 2.0 / 3.0;
    LeadMargin = -0.5f;
  }
  PaperWidth = static_cast<float>(printableWidth * pageScaling);
  BoxWidth = static_cast<float>((printableWidth - 2) * pageScaling);
  BoxHeight = static_cast<float>(boxHeight);

  grid.CellWidth = fw::CInt32(BoxWidth / 7.0);
  grid.CellHeight = fw::CInt32(BoxHeight / 6.0);
  grid.GridLeft = fw::CInt32((PaperWidth - 7.0 * grid.CellWidth) / 2.0 + LeadMargin);

  // A scaling of 0 (or less), or a page too small for a cell, leaves no grid to
  // step through; an absurd scaling, no coordinates to draw at. Drop the job, so
  // that no page and no file comes of it, and say why.
  if (grid.CellWidth < 1 || grid.CellHeight < 1 || grid.CellWidth > kMaxPitch || grid.CellHeight > kMaxPitch ||
      !(grid.PrintScale > 0 && grid.PrintScale < kMaxPrintScale)) {
    fw::AbandonPrintJob(std::move(page));
    AppGlobal::RefuseInput("The calendar does not fit on this page!");
    return;
  }

  for (int32_t m = fromMonth; m <= toMonth; ++m) {
    PrintPage(g, m, grid);
    if (m < toMonth) g.NextPage();
  }
  // Releasing the page completes the job.
}

void CalPrint::PrintPage(fw::Graphics& g, int32_t month, const PageGrid& grid) {
  const int32_t w = grid.CellWidth;
  const int32_t h = grid.CellHeight;

  g.ForeColor = kBlack;
  g.TextFont = "ARIAL";
  g.TextSize = static_cast<float>(30.0 * grid.PrintScale);
  // Room for the title above the grid, taken from the size the title will have.
  const int32_t gridTop = fw::CInt32(g.TextSize + 50.0 * grid.PrintScale);
  g.TextSize = static_cast<float>(12.0 * grid.PrintScale);

  // Six rows of seven boxes; each box is one unit larger than the pitch so that
  // neighbours share their borders.
  for (int32_t row = 0; row < 6; ++row) {
    for (int32_t col = 0; col < 7; ++col) {
      g.DrawRect(grid.GridLeft + col * w, gridTop + row * h, w + 1, h + 1);
    }
  }

  // Bold is left as it is: the first page starts plain, later ones inherit the plain
  // text the previous title ended with.
  for (int32_t i = 0; i <= 6; ++i) {
    const std::string name = AppGlobal::GetWeekName(i);
    const int32_t x = fw::CInt32(grid.GridLeft + i * w + w / 2.0 - g.StringWidth(name) / 2.0);
    g.DrawString(name, x, gridTop - g.TextHeight(), 0, false);
  }

  if (OPTGregorian->Value()) {
    PrintMonth(g, month, grid, gridTop, true);
  } else if (OPTHijri->Value()) {
    PrintMonth(g, month, grid, gridTop, false);
  }
}

void CalPrint::PrintMonth(fw::Graphics& g, int32_t month, const PageGrid& grid, int32_t gridTop,
                          bool gregorianLeads) {
  // The year is read again for every page.
  const int32_t year = YearTXTPRT->IntegerValue();
  const MonthLayout lay =
      gregorianLeads ? FillMonthGre(year, month, kPaperSpans) : FillMonthHij(year, month, kPaperSpans);

  // Leading day number in black, the other calendar's with its span letter in the
  // span's colour.
  g.TextFont = "Courier New";
  g.TextSize = static_cast<float>(12.0 * grid.PrintScale);
  for (int32_t d = 1; d <= lay.n; ++d) {
    const TableCell& c = AppGlobal::DayBlock[static_cast<size_t>(d)];
    // A day with no date in the other calendar (1 to 15 July 622) stays blank.
    if (gregorianLeads && c.HD != 0) {
      AppGlobal::PutNumPRT(g, grid.CellWidth, grid.CellHeight, grid.GridLeft, gridTop, lay.start + d - 1,
                           fw::Str(d), c.GColor, fw::Str(c.HD) + c.Hid, c.HColor);
    } else if (!gregorianLeads && c.GD != 0) {
      AppGlobal::PutNumPRT(g, grid.CellWidth, grid.CellHeight, grid.GridLeft, gridTop, lay.start + d - 1,
                           fw::Str(d), c.HColor, fw::Str(c.GD) + c.Gid, c.GColor);
    }
  }

  // The title is centred on the paper, not on the grid.
  g.ForeColor = kBlack;
  g.TextFont = "Arial";
  g.TextSize = static_cast<float>(30.0 * grid.PrintScale);
  g.Bold = true;
  const std::string title = (gregorianLeads ? AppGlobal::GetMonNamGreSecondary(month)
                                            : AppGlobal::GetMonNamHijSecondary(month)) +
                            ", " + fw::Str(year);
  g.DrawString(title, fw::CInt32(PaperWidth / 2.0 - g.StringWidth(title) / 2.0), g.TextHeight(), 0, false);
  g.TextSize = static_cast<float>(12.0 * grid.PrintScale);
  g.Bold = false;

  // Under the grid, the other calendar's first month at the left and its last at
  // the right, each in its span's colour.
  if (lay.n < 1) return;
  const TableCell& first = AppGlobal::DayBlock[1];
  const TableCell& last = AppGlobal::DayBlock[static_cast<size_t>(lay.n)];
  const int32_t y = gridTop + 6 * grid.CellHeight + g.TextAscent() + g.PenHeight;
  g.ForeColor = gregorianLeads ? first.HColor : first.GColor;
  g.DrawString(gregorianLeads ? LegendHij(first) : LegendGre(first), grid.GridLeft, y, 0, false);
  g.ForeColor = gregorianLeads ? last.HColor : last.GColor;
  const std::string right = gregorianLeads ? LegendHij(last) : LegendGre(last);
  g.DrawString(right, grid.GridLeft + 7 * grid.CellWidth + g.PenWidth - fw::CInt32(g.StringWidth(right)), y, 0,
               false);
}

void AppGlobal::PutNumPRT(fw::Graphics& g, int32_t cellWidth, int32_t cellHeight, int32_t gridLeft,
                          int32_t gridTop, int32_t cell, const std::string& primary, fw::Color primaryColor,
                          const std::string& secondary, fw::Color secondaryColor) {
  int32_t col = cell % 7;
  int32_t row = cell / 7 + 1;
  if (col == 0 && cell / 7 > 0) {
    col = 7;
    row = cell / 7;
  }
  g.ForeColor = primaryColor;
  g.DrawString(primary, gridLeft + (col - 1) * cellWidth + 2 * g.PenWidth,
               gridTop + (row - 1) * cellHeight + g.TextAscent() + g.PenHeight, 0, false);
  g.ForeColor = secondaryColor;
  g.DrawString(secondary, fw::CInt32(col * cellWidth - g.PenWidth - g.StringWidth(secondary) + gridLeft),
               gridTop + row * cellHeight - 2 * g.PenHeight, 0, false);
}
