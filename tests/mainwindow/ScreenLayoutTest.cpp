// Placement on a desktop of several screens whose main screen does not start at 0,0:
// centring lands on the main screen, and a stored position is kept only while the
// window's top strip would be on some screen.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "framework/Basic.h"
#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "shell/CalAbout.h"
#include "tests/support/AppTest.h"

namespace {

// The main screen at +640+0, a smaller one left of it at 0,0 and one left of and above
// both, where positions are negative.
const std::vector<fw::test::Rect> kScreens = {
    {640, 0, 1024, 768},
    {0, 0, 640, 480},
    {-800, -600, 800, 600},
};

// Set before the application starts, which is after this.
const bool kScreensInUse = (fw::test::UseScreens(kScreens), true);

// The 524 x 384 main window centred on the main screen.
constexpr int32_t kCentredLeft = 640 + (1024 - 524) / 2;  // 890
constexpr int32_t kCentredTop = (768 - 384) / 2;          // 192

class ScreenLayoutTest : public AppTestNoStart {
 protected:
  CalMain& W() { return CalMain::Instance(); }

  // Starts with `prefs` stored and the option off, so that the close writes back the
  // position the window took at start-up (the offscreen platform's fake frame can
  // nudge a shown window's own position).
  std::string PositionTakenAtStart(int16_t top, int16_t left) {
    WritePrefs(PrefsBytes(top, left, false));
    StartApp();
    EXPECT_FALSE(AppGlobal::saveCheckBox1) << "the flag byte is read whatever the position";
    W().CloseBox();
    fw::test::Pump();
    return ReadPrefs();
  }
};

}  // namespace

TEST_F(ScreenLayoutTest, MainWindowAndAboutCentreOnTheMainScreen) {
  ASSERT_TRUE(kScreensInUse);
  StartApp();
  const fw::ScreenInfo main = fw::Screen(0);
  EXPECT_EQ(main.Left, 640);
  EXPECT_EQ(main.Width, 1024);
  EXPECT_EQ(W().Left(), kCentredLeft);
  EXPECT_EQ(W().Top(), kCentredTop);

  fw::test::ChooseMenu(W(), "About");
  ASSERT_TRUE(CalAbout::Exists());
  // (1024 - 331) / 2 = 346.5 still loses its half pixel before the origin is added.
  EXPECT_EQ(CalAbout::Instance().Left(), 640 + 346);
  EXPECT_EQ(CalAbout::Instance().Top(), 262);
}

TEST_F(ScreenLayoutTest, StoredPositionIsAppliedAsStoredOnlyWhileTheTopStripIsOnAScreen) {
  struct Stored {
    const char* where;
    int16_t top, left;
    bool applied;
  };
  const Stored positions[] = {
      {"on the main screen", 300, 900, true},
      {"on the screen at 0,0", 100, 50, true},
      {"on the screen left of and above the others", -500, -700, true},
      {"only the top strip on a screen, the rest below its bottom", 470, 50, true},
      {"straddling two screens", 40, 400, true},
      {"far right and below", 32000, 32000, false},
      {"far left and above", -32000, -32000, false},
      {"right of the main screen", 100, 1700, false},
      // With no window manager there is no title bar to reach above the menu bar.
      {"menu bar just below the main screen", 790, 900, false},
      // The content would be on the screen at 0,0, but nothing is above it to hold the
      // title bar and menu bar.
      {"top strip above the screen at 0,0", -5, 50, false},
  };
  for (const Stored& p : positions) {
    SCOPED_TRACE(p.where);
    const std::string expected =
        p.applied ? PrefsBytes(p.top, p.left, false) : PrefsBytes(kCentredTop, kCentredLeft, false);
    EXPECT_EQ(PositionTakenAtStart(p.top, p.left), expected);
    fw::test::ResetApplication();
  }
}
