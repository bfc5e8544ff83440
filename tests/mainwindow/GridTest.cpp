// The month grid as drawn: lines, today's shading, the colours of the other
// calendar's numbers and the three labels above the grid.

#include <gtest/gtest.h>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"
#include "tests/support/Pixels.h"

namespace {

using namespace pixels;

constexpr int kCellW = 61;
constexpr int kCellH = 29;
constexpr fw::Color kShade = 0xE8E8E8;

bool IsWhite(fw::Color c) { return c == 0xFFFFFF; }
bool IsShade(fw::Color c) { return c == kShade; }

// The inside of the cell at grid index `index` (1..42), between its grid lines.
Rect Cell(int index) {
  const int col = (index - 1) % 7, row = (index - 1) / 7;
  return {col * kCellW + 1, row * kCellH + 1, col * kCellW + kCellW - 1, row * kCellH + kCellH - 1};
}

// "15 April 2009": the Gregorian date of day `d` of the month last drawn.
std::string GregorianDateOf(int d) {
  const TableCell& c = AppGlobal::DayBlock.at(static_cast<size_t>(d));
  return fw::Str(c.GD) + " " + AppGlobal::GetMonNamGre(c.GM) + " " + fw::Str(c.GY);
}

class GridTest : public AppTest {
 protected:
  CalMain& W() { return CalMain::Instance(); }

  void Show(bool hijri, int month, int year) {
    if (hijri != W().HijOpt->Value()) fw::test::Click(hijri ? *W().HijOpt : *W().GregOpt);
    fw::test::Type(*W().MonthTXT, fw::Str(month));
    fw::test::Type(*W().YearTXT, fw::Str(year));
    fw::test::Click(*W().GoCMD);
  }
  fw::test::Image Grid() { return fw::test::Grab(*W().CalendarTable); }
};

}  // namespace

TEST_F(GridTest, GridLinesDivideTheCanvasIntoSixRowsOfSevenCellsAndNumbersFitInside) {
  SetToday(2000, 1, 1);
  Show(false, 12, 2026);  // two-digit numbers on both sides
  const fw::test::Image img = Grid();
  ASSERT_EQ(img.Width, 428);
  ASSERT_EQ(img.Height, 175);
  for (int x = 0; x <= 427; x += kCellW) EXPECT_EQ(img.At(x, 100), 0x000000u) << "vertical line at x " << x;
  for (int y = 0; y <= 174; y += kCellH) EXPECT_EQ(img.At(200, y), 0x000000u) << "horizontal line at y " << y;
  // No ink touches the grid lines' neighbours from inside a cell.
  for (int index = 1; index <= 35; ++index) {
    const Rect b = Cell(index);
    EXPECT_EQ(Count(img, {b.x0, b.y0, b.x0 + 1, b.y1}, IsWhite) + Count(img, {b.x1 - 1, b.y0, b.x1, b.y1}, IsWhite),
              2 * (b.y1 - b.y0))
        << "cell " << index;
  }
}

TEST_F(GridTest, TodayIsShadedInTodaysOwnMonthOnlyNotOnItsDayNumberInOtherMonthsOrYears) {
  struct Row {
    bool hijri;
    int month, year;
    const char* heading;
    int start;   // grid index of day 1
    int shaded;  // grid index of today, 0 where the month does not hold it
  };
  const Row rows[] = {
      {false, 3, 2009, "March, 2009", 1, 15},
      // 15 February and 15 April of today's year are not today.
      {false, 2, 2009, "February, 2009", 1, 0},
      {false, 4, 2009, "April, 2009", 4, 0},
      // 1 Rabi' I 1430 is 25 February: today is day 19.
      {true, 3, 1430, "Rabi' I, 1430", 4, 22},
      // 20 Safar is 15 February, 20 Rabi' II is 15 April.
      {true, 2, 1430, "Safar, 1430", 3, 0},
      {true, 4, 1430, "Rabi' II, 1430", 6, 0},
      // 15 March of the next year is not today either; it is 30 Rabi' I 1431.
      {false, 3, 2010, "March, 2010", 2, 0},
      {true, 3, 1431, "Rabi' I, 1431", 1, 0},
  };
  SetToday(2009, 3, 15);
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string("today 15 March 2009, showing ") + r.heading);
    Show(r.hijri, r.month, r.year);
    const fw::test::Image img = Grid();
    EXPECT_EQ(W().Heading->Text(), r.heading);
    for (int index = 1; index <= 42; ++index) {
      const Rect cell = Cell(index);
      const int day = index - r.start + 1;
      if (index == r.shaded) {
        EXPECT_TRUE(img.At(cell.x0, cell.y0) == kShade && img.At(cell.x1 - 1, cell.y1 - 1) == kShade)
            << "today's cell " << index << " (" << GregorianDateOf(day) << ") is not shaded from corner to corner";
        EXPECT_EQ(GregorianDateOf(day), "15 March 2009") << "the day in today's cell " << index;
      } else if (Count(img, cell, IsShade) > 0) {
        ADD_FAILURE() << "cell " << index << " is shaded"
                      << (day >= 1 && day <= 31 ? " (" + GregorianDateOf(day) + ")" : std::string());
      }
    }
    if (r.shaded == 0) {
      EXPECT_EQ(Count(img, {0, 0, img.Width, img.Height}, IsShade), 0) << "shaded pixels in a month without today";
    }
  }
}

// Each day's other-calendar number takes the colour of its month, blue, red, then
// dark green, and the labels name those months; cells outside the month stay empty.
TEST_F(GridTest, LabelsAndNumbersOfTheOtherCalendarTakeTheColourOfTheirMonth) {
  struct Row {
    bool hijri;
    int month, year;
    const char* heading;
    int start, n;              // grid index of day 1, days in the month
    int blankDays;             // days before the Hijri epoch, drawn empty
    int firstRed, firstGreen;  // first days in the second and third month, 0 for none
    const char *current, *next;
    fw::Color nextColour;
  };
  const Row rows[] = {
      // 1 March is 5 Rabi' I; 27 March is 1 Rabi' II.
      {false, 3, 2009, "March, 2009", 1, 31, 0, 27, 0, "Rabi' I (3), 1430", "Rabi' II (4), 1430", 0xFF0000},
      // Day 1 is a Saturday; the month touches three Hijri months.
      {false, 10, 623, "October, 623", 7, 31, 0, 2, 31, "Rabi' I (3), 2", "Jumada I (5), 2", 0x006513},
      // Day 1 is a Thursday; three Gregorian months.
      {true, 9, 38, "Ramadhan, 38", 5, 30, 0, 2, 30, "January (1), 659", "March (3), 659", 0x006513},
      // 28 days from a Monday: cell 1 and the cells after the 28th stay empty. 14 February
      // is 1 Rabi' I.
      {false, 2, 2010, "February, 2010", 2, 28, 0, 14, 0, "Safar (2), 1431", "Rabi' I (3), 1431", 0xFF0000},
      // 1 July 622 is a Thursday; the 16th is 1 Muharram 1.
      {false, 7, 622, "July, 622", 5, 31, 15, 0, 0, "Muharram (1), 1", "Muharram (1), 1", 0x0000FF},
      // A month that begins on the other calendar's first is blue from day 1 (a fault once):
      // 1 Jumada I 1449 is Friday 1 October 2027; the month ends on 30 October.
      {true, 5, 1449, "Jumada I, 1449", 6, 30, 0, 0, 0, "October (10), 2027", "October (10), 2027", 0x0000FF},
      // 1 Rabi' II 1435 is Saturday 1 February 2014; day 29 is 1 March.
      {true, 4, 1435, "Rabi' II, 1435", 7, 29, 0, 29, 0, "February (2), 2014", "March (3), 2014", 0xFF0000},
      // 31 October 2027 is 1 Jumada II.
      {false, 10, 2027, "October, 2027", 6, 31, 0, 31, 0, "Jumada I (5), 1449", "Jumada II (6), 1449", 0xFF0000},
  };
  SetToday(2000, 1, 1);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.heading);
    Show(r.hijri, r.month, r.year);
    const fw::test::Image img = Grid();
    std::string wrong;  // the cells drawn otherwise than their day's month
    for (int index = 1; index <= 42; ++index) {
      const int d = index - r.start + 1;
      const Rect cell = Cell(index);
      const int blue = Count(img, cell, IsBlue), red = Count(img, cell, IsRed), green = Count(img, cell, IsDarkGreen);
      if (d < 1 || d > r.n || d <= r.blankDays) {
        if (Count(img, cell, [](fw::Color c) { return !IsWhite(c); }) > 0)
          wrong += "\n  cell " + fw::Str(index) + " should be empty";
        continue;
      }
      const bool green3 = r.firstGreen && d >= r.firstGreen, red2 = !green3 && r.firstRed && d >= r.firstRed;
      const int expected = green3 ? green : red2 ? red : blue;
      if (expected <= 5 || blue + red + green != expected)
        wrong += "\n  day " + fw::Str(d) + " (" + GregorianDateOf(d) + "), " +
                 (green3 ? "green" : red2 ? "red" : "blue") + " expected: blue " + fw::Str(blue) + ", red " +
                 fw::Str(red) + ", green " + fw::Str(green) + " pixels";
    }
    EXPECT_TRUE(wrong.empty()) << "cells drawn wrongly:" << wrong;
    EXPECT_EQ(W().Heading->Text(), r.heading);
    EXPECT_EQ(W().CurMonth->Text(), r.current);
    EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
    EXPECT_EQ(W().NextMonth->Text(), r.next);
    EXPECT_EQ(W().NextMonth->TextColor(), r.nextColour);
  }
}
