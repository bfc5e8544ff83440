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

TEST_F(GridTest, GridLinesDivideTheCanvasIntoSixRowsOfSevenCells) {
  SetToday(2009, 3, 15);
  const fw::test::Image img = Grid();
  ASSERT_EQ(img.Width, 428);
  ASSERT_EQ(img.Height, 175);
  for (int x = 0; x <= 427; x += kCellW) EXPECT_EQ(img.At(x, 100), 0x000000u) << "vertical line at x " << x;
  for (int y = 0; y <= 174; y += kCellH) EXPECT_EQ(img.At(200, y), 0x000000u) << "horizontal line at y " << y;
  EXPECT_TRUE(IsWhite(img.At(30, 20)));
}

TEST_F(GridTest, TodayIsShadedOnlyInTodaysGregorianMonthAndDaysFillOnlyTheirCells) {
  SetToday(2009, 3, 15);  // 1 March 2009 is a Sunday: the 15th is row 3, column 1
  fw::test::Image img = Grid();
  EXPECT_EQ(img.At(Cell(15).x0, Cell(15).y0), kShade);

  // Another month has no today, and February 2010's 28 days from Monday, in cell 2,
  // leave the cells after them empty.
  Show(false, 2, 2010);
  img = Grid();
  EXPECT_EQ(Count(img, {0, 0, img.Width, img.Height}, IsShade), 0);
  for (int index : {1, 30, 31})
    EXPECT_EQ(Count(img, Cell(index), [](fw::Color c) { return !IsWhite(c); }), 0) << "cell " << index;
}

TEST_F(GridTest, HijriLeadingShadesTheCellWhoseGregorianDateIsToday) {
  SetToday(2009, 3, 15);  // 19 Rabi' I 1430
  Show(true, 3, 1430);
  const fw::test::Image img = Grid();
  int shaded = 0;
  for (int index = 1; index <= 42; ++index)
    if (img.At(Cell(index).x0, Cell(index).y0) == kShade) {
      EXPECT_EQ(shaded, 0) << "a second shaded cell at " << index;
      shaded = index;
    }
  // 1 Rabi' I 1430 is Wednesday 25 February 2009, in cell 4.
  EXPECT_EQ(shaded, 4 + 18);
  EXPECT_EQ(AppGlobal::DayBlock[19].GD, 15);
  EXPECT_EQ(W().Heading->Text(), "Rabi' I, 1430");
}

TEST_F(GridTest, LabelsNameTheMonthsTheOtherCalendarsNumbersBelongToInTheirColours) {
  struct Coloured {
    int cell;
    bool (*colour)(fw::Color);
  };
  struct Row {
    bool hijri;
    int month, year;
    const char *heading, *current, *next;
    fw::Color nextColour;
    std::vector<Coloured> cells;
  };
  const Row rows[] = {
      // 1 March (Sunday, index 1) is 4 Rabi' I; 31 March (Tuesday, index 31) is 4 Rabi' II.
      {false, 3, 2009, "March, 2009", "Rabi' I (3), 1430", "Rabi' II (4), 1430", 0xFF0000,
       {{1, IsBlue}, {31, IsRed}}},
      // Day 1 is a Saturday, at index 7; the month touches three Hijri months.
      {false, 10, 623, "October, 623", "Rabi' I (3), 2", "Jumada I (5), 2", 0x006513,
       {{7, IsBlue}, {8, IsRed}, {37, IsDarkGreen}}},
      // Day 1 at index 5 (Thursday), day 30 at index 34; three Gregorian months.
      {true, 9, 38, "Ramadhan, 38", "January (1), 659", "March (3), 659", 0x006513,
       {{5, IsBlue}, {6, IsRed}, {34, IsDarkGreen}}},
  };
  SetToday(2000, 1, 1);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.heading);
    Show(r.hijri, r.month, r.year);
    const fw::test::Image img = Grid();
    EXPECT_EQ(W().Heading->Text(), r.heading);
    EXPECT_EQ(W().CurMonth->Text(), r.current);
    EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
    EXPECT_EQ(W().NextMonth->Text(), r.next);
    EXPECT_EQ(W().NextMonth->TextColor(), r.nextColour);
    for (const Coloured& c : r.cells) {
      EXPECT_GT(Count(img, Cell(c.cell), c.colour), 5) << "cell " << c.cell;
      for (auto other : {IsBlue, IsRed, IsDarkGreen})
        EXPECT_TRUE(other == c.colour || Count(img, Cell(c.cell), other) == 0) << "cell " << c.cell;
    }
  }
}

TEST_F(GridTest, July622LeavesTheDaysBeforeTheHijriEpochBlank) {
  SetToday(2000, 1, 1);
  Show(false, 7, 622);  // 1 July 622 is a Thursday: day d at index d + 4
  const fw::test::Image img = Grid();
  for (int d = 1; d <= 15; ++d)
    EXPECT_EQ(Count(img, Cell(d + 4), [](fw::Color c) { return !IsWhite(c); }), 0) << "July " << d;
  EXPECT_GT(Count(img, Cell(16 + 4), IsBlue), 5);
  EXPECT_EQ(W().CurMonth->Text(), "Muharram (1), 1");
  EXPECT_EQ(W().NextMonth->Text(), "Muharram (1), 1");
  EXPECT_EQ(W().NextMonth->TextColor(), 0x0000FFu);
}

TEST_F(GridTest, NumbersFitInsideTheirCell) {
  SetToday(2000, 1, 1);
  Show(false, 12, 2026);  // two-digit numbers on both sides
  const fw::test::Image img = Grid();
  // No ink may touch the grid lines' neighbours from inside a cell: the text stays
  // clear of the cell's edges.
  for (int index = 1; index <= 35; ++index) {
    const Rect b = Cell(index);
    EXPECT_EQ(Count(img, {b.x0, b.y0, b.x0 + 1, b.y1}, IsWhite) + Count(img, {b.x1 - 1, b.y0, b.x1, b.y1}, IsWhite),
              2 * (b.y1 - b.y0))
        << "cell " << index;
  }
}

namespace {

// "15 April 2009": the Gregorian date of day `d` of the month last drawn.
std::string GregorianDateOf(int d) {
  const TableCell& c = AppGlobal::DayBlock.at(static_cast<size_t>(d));
  return fw::Str(c.GD) + " " + AppGlobal::GetMonNamGre(c.GM) + " " + fw::Str(c.GY);
}

}  // namespace

TEST_F(GridTest, TodayIsShadedInTodaysOwnMonthOnlyNotOnItsDayNumberInOtherMonthsOfTheYear) {
  struct Row {
    bool hijri;
    int month, year;
    const char* shown;
    int start;   // grid index of day 1
    int shaded;  // grid index of today, 0 where the month does not hold it
  };
  const Row rows[] = {
      {false, 3, 2009, "March 2009", 1, 15},
      // 15 February and 15 April of today's year are not today.
      {false, 2, 2009, "February 2009", 1, 0},
      {false, 4, 2009, "April 2009", 4, 0},
      // 1 Rabi' I 1430 is 25 February: today is day 19.
      {true, 3, 1430, "Rabi' I 1430", 4, 22},
      // 20 Safar is 15 February, 20 Rabi' II is 15 April.
      {true, 2, 1430, "Safar 1430", 3, 0},
      {true, 4, 1430, "Rabi' II 1430", 6, 0},
  };
  SetToday(2009, 3, 15);
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string("today 15 March 2009, showing ") + r.shown);
    Show(r.hijri, r.month, r.year);
    const fw::test::Image img = Grid();
    for (int index = 1; index <= 42; ++index) {
      const bool shaded = img.At(Cell(index).x0, Cell(index).y0) == kShade;
      const int day = index - r.start + 1;
      if (index == r.shaded) {
        EXPECT_TRUE(shaded) << "today's cell " << index << " (" << GregorianDateOf(day) << ") is not shaded";
      } else if (shaded) {
        ADD_FAILURE() << "cell " << index << " is shaded"
                      << (day >= 1 && day <= 31 ? " (" + GregorianDateOf(day) + ")" : std::string());
      }
    }
  }
}

// The other calendar's numbers change colour where their month changes: a month that
// begins on the first of the other calendar's month keeps its first colour from day 1.
TEST_F(GridTest, AMonthBeginningOnTheOtherCalendarsFirstIsBlueUntilTheOtherMonthChanges) {
  struct Row {
    bool hijri;
    int month, year;
    const char* shown;
    int start, n;
    int firstRed;  // the first day in the other calendar's next month, 0 for none
    const char *current, *next;
  };
  const Row rows[] = {
      // 1 Jumada I 1449 is Friday 1 October 2027; the month ends on 30 October.
      {true, 5, 1449, "Jumada I 1449", 6, 30, 0, "October (10), 2027", "October (10), 2027"},
      // 1 Rabi' II 1435 is Saturday 1 February 2014; day 29 is 1 March.
      {true, 4, 1435, "Rabi' II 1435", 7, 29, 29, "February (2), 2014", "March (3), 2014"},
      // And the other way round: 31 October 2027 is 1 Jumada II.
      {false, 10, 2027, "October 2027", 6, 31, 31, "Jumada I (5), 1449", "Jumada II (6), 1449"},
  };
  SetToday(2000, 1, 1);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.shown);
    Show(r.hijri, r.month, r.year);
    const fw::test::Image img = Grid();
    std::string wrong;  // the days drawn in another colour than their month's
    for (int d = 1; d <= r.n; ++d) {
      const bool red = r.firstRed != 0 && d >= r.firstRed;
      const Rect cell = Cell(r.start + d - 1);
      const int blue = Count(img, cell, IsBlue), redInk = Count(img, cell, IsRed);
      if ((red ? redInk : blue) <= 5 || (red ? blue : redInk) > 0 || Count(img, cell, IsDarkGreen) > 0)
        wrong += "\n  day " + fw::Str(d) + " (" + GregorianDateOf(d) +
                 "), " + (red ? "red" : "blue") + " expected: blue " + fw::Str(blue) + ", red " +
                 fw::Str(redInk) + " pixels";
    }
    EXPECT_TRUE(wrong.empty()) << "numbers in the wrong colour:" << wrong;
    EXPECT_EQ(W().CurMonth->Text(), r.current);
    EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
    EXPECT_EQ(W().NextMonth->Text(), r.next);
    EXPECT_EQ(W().NextMonth->TextColor(), r.firstRed ? 0xFF0000u : 0x0000FFu);
  }
}
