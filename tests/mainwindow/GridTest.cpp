// The month grid as drawn: lines, today's shading, the colours of the other
// calendar's numbers and the three labels above the grid.

#include <gtest/gtest.h>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"

namespace {

constexpr int kCellW = 61;
constexpr int kCellH = 29;

bool IsWhite(fw::Color c) { return c == 0xFFFFFF; }
bool IsBlueish(fw::Color c) { return (c & 0xFF) > 180 && (c >> 16) < 90 && ((c >> 8) & 0xFF) < 90; }
bool IsReddish(fw::Color c) { return (c >> 16) > 180 && (c & 0xFF) < 90 && ((c >> 8) & 0xFF) < 90; }
bool IsDarkGreenish(fw::Color c) {
  const int r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return r < 60 && g > 60 && g < 140 && b < 80;
}

// The inside of the cell at grid index `index` (1..42), between its grid lines.
struct CellBox {
  int x0, y0, x1, y1;
};
CellBox Cell(int index) {
  const int col = (index - 1) % 7, row = (index - 1) / 7;
  return {col * kCellW + 1, row * kCellH + 1, col * kCellW + kCellW - 1, row * kCellH + kCellH - 1};
}

template <class Pred>
int CountIn(const fw::test::Image& img, CellBox box, Pred pred) {
  int n = 0;
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x)
      if (pred(img.At(x, y))) ++n;
  return n;
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

TEST_F(GridTest, TodayIsShadedOnlyInTodaysGregorianMonth) {
  SetToday(2009, 3, 15);  // 1 March 2009 is a Sunday: the 15th is row 3, column 1
  fw::test::Image img = Grid();
  const CellBox today = Cell(15);
  EXPECT_EQ(img.At(today.x0, today.y0), 0xE8E8E8u);
  EXPECT_EQ(img.At(today.x1 - 1, today.y1 - 1), 0xE8E8E8u);
  EXPECT_EQ(CountIn(img, Cell(16), [](fw::Color c) { return c == 0xE8E8E8; }), 0);

  Show(false, 3, 2010);  // the same day number in another year is not today
  img = Grid();
  EXPECT_EQ(CountIn(img, Cell(15), [](fw::Color c) { return c == 0xE8E8E8; }), 0);
}

TEST_F(GridTest, HijriLeadingShadesTheCellWhoseGregorianDateIsToday) {
  SetToday(2009, 3, 15);  // 19 Rabi' I 1430
  Show(true, 3, 1430);
  const fw::test::Image img = Grid();
  int shaded = 0;
  for (int index = 1; index <= 42; ++index)
    if (img.At(Cell(index).x0, Cell(index).y0) == 0xE8E8E8) {
      EXPECT_EQ(shaded, 0) << "a second shaded cell at " << index;
      shaded = index;
    }
  int32_t y = 1430, m = 3, d = 1, gy = 0, gm = 0, gd = 0, w = 0;
  Vorlen::HijToGre(y, m, d, gy, gm, gd);  // 25 February 2009, a Wednesday
  Vorlen::FindDayOfTheWeekGre(gy, gm, gd, w);
  EXPECT_EQ(shaded, w + 19);
  EXPECT_EQ(AppGlobal::DayBlock[19].GD, 15);
  EXPECT_EQ(W().Heading->Text(), "Rabi' I, 1430");
}

TEST_F(GridTest, March2009LabelsAndColours) {
  SetToday(2000, 1, 1);
  Show(false, 3, 2009);
  const fw::test::Image img = Grid();
  EXPECT_EQ(W().Heading->Text(), "March, 2009");
  EXPECT_EQ(W().CurMonth->Text(), "Rabi' I (3), 1430");
  EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
  EXPECT_EQ(W().NextMonth->Text(), "Rabi' II (4), 1430");
  EXPECT_EQ(W().NextMonth->TextColor(), 0xFF0000u);
  // 1 March (Sunday, index 1) is 4 Rabi' I: blue; 31 March (Tuesday, index 31) is 4 Rabi' II: red.
  EXPECT_GT(CountIn(img, Cell(1), IsBlueish), 5);
  EXPECT_EQ(CountIn(img, Cell(1), IsReddish), 0);
  EXPECT_GT(CountIn(img, Cell(31), IsReddish), 5);
  EXPECT_EQ(CountIn(img, Cell(31), IsBlueish), 0);
}

TEST_F(GridTest, October623TouchesThreeHijriMonths) {
  SetToday(2000, 1, 1);
  Show(false, 10, 623);  // day 1 is a Saturday: days at indexes 7 to 37
  const fw::test::Image img = Grid();
  EXPECT_EQ(W().Heading->Text(), "October, 623");
  EXPECT_EQ(W().CurMonth->Text(), "Rabi' I (3), 2");
  EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
  EXPECT_EQ(W().NextMonth->Text(), "Jumada I (5), 2");
  EXPECT_EQ(W().NextMonth->TextColor(), 0x006513u);
  EXPECT_GT(CountIn(img, Cell(7), IsBlueish), 5);
  EXPECT_GT(CountIn(img, Cell(8), IsReddish), 5);
  EXPECT_GT(CountIn(img, Cell(37), IsDarkGreenish), 5);
  EXPECT_TRUE(IsWhite(img.At(Cell(6).x0 + 20, Cell(6).y0 + 14)));
}

TEST_F(GridTest, Ramadhan38TouchesThreeGregorianMonths) {
  SetToday(2000, 1, 1);
  Show(true, 9, 38);
  const fw::test::Image img = Grid();
  EXPECT_EQ(W().Heading->Text(), "Ramadhan, 38");
  EXPECT_EQ(W().CurMonth->Text(), "January (1), 659");
  EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
  EXPECT_EQ(W().NextMonth->Text(), "March (3), 659");
  EXPECT_EQ(W().NextMonth->TextColor(), 0x006513u);
  // Day 1 at index 5 (Thursday), day 30 at index 34.
  EXPECT_GT(CountIn(img, Cell(5), IsBlueish), 5);
  EXPECT_GT(CountIn(img, Cell(6), IsReddish), 5);
  EXPECT_GT(CountIn(img, Cell(34), IsDarkGreenish), 5);
}

TEST_F(GridTest, July622LeavesTheDaysBeforeTheHijriEpochBlank) {
  SetToday(2000, 1, 1);
  Show(false, 7, 622);  // 1 July 622 is a Thursday: day d at index d + 4
  const fw::test::Image img = Grid();
  for (int d = 1; d <= 15; ++d)
    EXPECT_EQ(CountIn(img, Cell(d + 4), [](fw::Color c) { return !IsWhite(c); }), 0) << "July " << d;
  EXPECT_GT(CountIn(img, Cell(16 + 4), IsBlueish), 5);
  EXPECT_EQ(W().Heading->Text(), "July, 622");
  EXPECT_EQ(W().CurMonth->Text(), "Muharram (1), 1");
  EXPECT_EQ(W().NextMonth->Text(), "Muharram (1), 1");
  EXPECT_EQ(W().CurMonth->TextColor(), 0x0000FFu);
  EXPECT_EQ(W().NextMonth->TextColor(), 0x0000FFu);
}

TEST_F(GridTest, NumbersFitInsideTheirCell) {
  SetToday(2000, 1, 1);
  Show(false, 12, 2026);  // two-digit numbers on both sides
  const fw::test::Image img = Grid();
  // No ink may touch the grid lines' neighbours from inside a cell: the text stays
  // clear of the cell's edges.
  for (int index = 1; index <= 35; ++index) {
    const CellBox b = Cell(index);
    for (int y = b.y0; y < b.y1; ++y) {
      EXPECT_TRUE(IsWhite(img.At(b.x0, y))) << "cell " << index;
      EXPECT_TRUE(IsWhite(img.At(b.x1 - 1, y))) << "cell " << index;
    }
  }
}
