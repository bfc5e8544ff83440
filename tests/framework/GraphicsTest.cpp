// A paint the window system did not start leaves the canvas's painter unbegun: its
// drawing then draws nothing, asks nothing of a paint engine there is not, and
// measures text in points, as a printed page does.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"
#include "tests/support/AppTest.h"

namespace {

// What a surface measures of the text its canvas draws.
struct Measures {
  double word = 0, letter = 0, wordAtTwice = 0;
  int32_t height = 0, ascent = 0, heightAtTwice = 0;
};

Measures Measure(fw::Graphics& g) {
  Measures m;
  g.TextFont = "System";
  g.Bold = false;
  g.TextSize = 12;
  m.word = g.StringWidth("Muharram 1445");
  m.letter = g.StringWidth("M");
  m.height = g.TextHeight();
  m.ascent = g.TextAscent();
  g.TextSize = 24;
  m.wordAtTwice = g.StringWidth("Muharram 1445");
  m.heightAtTwice = g.TextHeight();
  return m;
}

class GraphicsTest : public AppTest {};

}  // namespace

TEST_F(GraphicsTest, APainterThatDidNotBeginDrawsNothingAndMeasuresInPoints) {
  fw::Canvas& grid = *CalMain::Instance().CalendarTable;
  std::vector<Measures> idle;
  const auto paint = grid.OnPaint;
  // The month grid's own paint, then every other drawing call and the measures.
  grid.OnPaint = [&](fw::Graphics& g) {
    paint(g);
    g.DrawLine(0, 0, 10, 10);
    g.DrawLine(0, 5, 10, 5);
    g.DrawRect(1, 1, 8, 8);
    g.FillRect(1, 1, 8, 8);
    g.DrawString("1445", 2, 12);
    idle.push_back(Measure(g));
  };
  const std::vector<std::string> messages =
      fw::test::QtMessages([&] { fw::test::PaintOutsideAPaintEvent(grid); });
  grid.OnPaint = paint;
  ASSERT_EQ(idle.size(), 1u) << "the canvas was not asked to paint";
  // Qt says once that the painter cannot begin; nothing is asked of it after that.
  for (const std::string& m : messages)
    EXPECT_TRUE(m.find("not active") == std::string::npos && m.find("must be active") == std::string::npos)
        << "asked of a painter that did not begin: " << m;

  // In points, as on a printed page: a 12-point font's lines are 12 to 16 points apart
  // (on a 96 dpi screen they would be 16 to 21 pixels), and twice the size measures
  // about twice as much.
  const Measures& m = idle[0];
  EXPECT_GE(m.height, 12);
  EXPECT_LE(m.height, 15);
  EXPECT_GT(m.ascent, 0);
  EXPECT_LT(m.ascent, m.height);
  EXPECT_GT(m.letter, 6);
  EXPECT_LE(m.letter, 12);
  EXPECT_GT(m.word, 5 * m.letter);
  EXPECT_NEAR(m.wordAtTwice, 2 * m.word, 0.1 * m.word);
  EXPECT_NEAR(m.heightAtTwice, 2 * m.height, 0.2 * m.height);
}
