// The month grid on a scaled screen (QT_SCALE_FACTOR, set by CTest for each run of
// this binary): every line equally wide and inside the canvas, today's shade between
// its lines, the numbers drawn at the screen's own resolution.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/CalMain.h"
#include "tests/support/AppTest.h"

namespace {

using fw::test::Image;

constexpr fw::Color kShade = 0xE8E8E8;

double Scale() {
  const char* s = std::getenv("QT_SCALE_FACTOR");
  return s ? std::atof(s) : 1.0;
}

// The runs of line-black pixels along one row (or column) of the grab: start, length.
using Runs = std::vector<std::pair<int, int>>;
Runs BlackRuns(const Image& img, bool alongRow, int at) {
  Runs runs;
  const int n = alongRow ? img.Width : img.Height;
  for (int i = 0; i < n; ++i) {
    if ((alongRow ? img.At(i, at) : img.At(at, i)) != 0x000000) continue;
    if (!runs.empty() && runs.back().first + runs.back().second == i)
      ++runs.back().second;
    else
      runs.push_back({i, 1});
  }
  return runs;
}

std::string Describe(const Runs& runs) {
  std::string s;
  for (const auto& [start, length] : runs) s += std::to_string(start) + "+" + std::to_string(length) + " ";
  return s;
}

void ExpectEvenLines(const Runs& runs, size_t count, const char* what) {
  ASSERT_EQ(runs.size(), count) << what << ": " << Describe(runs);
  for (const auto& run : runs) EXPECT_EQ(run.second, runs.front().second) << what << ": " << Describe(runs);
}

class GridScaleTest : public AppTest {
 protected:
  Image Grid() { return fw::test::Grab(*CalMain::Instance().CalendarTable); }
  // A device pixel inside the logical pixel `p`.
  int Device(int p) const { return static_cast<int>(std::floor((p + 0.5) * scale)); }
  const double scale = Scale();
};

}  // namespace

TEST_F(GridScaleTest, EveryLineIsEquallyWideAndInsideTheCanvas) {
  SetToday(2009, 3, 15);
  const Image img = Grid();
  ASSERT_EQ(img.Width, std::lround(428 * scale));
  ASSERT_EQ(img.Height, std::lround(175 * scale));
  // Rows and columns near a cell's top left corner, where no number is drawn.
  const Runs across = BlackRuns(img, true, Device(4));
  const Runs down = BlackRuns(img, false, Device(4));
  ExpectEvenLines(across, 8, "vertical lines");
  ExpectEvenLines(down, 7, "horizontal lines");
  EXPECT_EQ(across.front().first, 0);
  EXPECT_EQ(down.front().first, 0);
  EXPECT_EQ(across.front().second, down.front().second);
  EXPECT_LE(across.front().second, std::ceil(scale));
}

TEST_F(GridScaleTest, TodaysShadeFillsItsCellUpToTheLines) {
  SetToday(2009, 3, 15);  // the 15th is the first cell of the third row
  const Image img = Grid();
  // Unshaded: the first row, the second column.
  const Runs plainRow = BlackRuns(img, true, Device(4));
  const Runs plainColumn = BlackRuns(img, false, Device(61 + 4));
  const int y = Device(2 * 29 + 4);
  const Runs shadedRow = BlackRuns(img, true, y);
  const Runs shadedColumn = BlackRuns(img, false, Device(4));
  EXPECT_EQ(Describe(shadedRow), Describe(plainRow)) << "the shade covers a vertical line";
  EXPECT_EQ(Describe(shadedColumn), Describe(plainColumn)) << "the shade covers a horizontal line";
  ASSERT_GE(plainRow.size(), 2u);
  ASSERT_GE(plainColumn.size(), 4u);
  for (int x = plainRow[0].first + plainRow[0].second; x < plainRow[1].first; ++x)
    EXPECT_EQ(img.At(x, y), kShade) << "x " << x;
  for (int yy = plainColumn[2].first + plainColumn[2].second; yy < plainColumn[3].first; ++yy)
    EXPECT_EQ(img.At(Device(4), yy), kShade) << "y " << yy;
  EXPECT_EQ(img.At(Device(61 + 4), y), 0xFFFFFFu) << "the shade spills into the next cell";
}

TEST_F(GridScaleTest, NumbersAreDrawnAtTheScreensResolution) {
  SetToday(2000, 1, 1);
  const Image img = Grid();  // January 2000: the 1st is a Saturday, cell 7
  int top = img.Height, bottom = -1;
  for (int y = Device(1); y < Device(28); ++y)
    for (int x = Device(6 * 61 + 1); x < Device(6 * 61 + 31); ++x)
      if ((img.At(x, y) & 0x808080) == 0) {  // dark ink
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  // Verdana's digits at the default size stand 9 pixels high on an unscaled screen.
  EXPECT_GE(bottom - top + 1, std::floor(8 * scale)) << "the digit is not drawn at full resolution";
}
