// The About window: what it shows, and where it comes back after Close or the close box.

#include <gtest/gtest.h>

#include <cstdint>

#include "mainwindow/CalMain.h"
#include "shell/CalAbout.h"
#include "tests/support/AppTest.h"

namespace {

// On the 800 x 800 test screen: (800 - 331) / 2 = 234.5 loses its half pixel.
constexpr int32_t kCentredLeft = 234;
constexpr int32_t kCentredTop = 278;

CalAbout& OpenAbout() {
  fw::test::ChooseMenu(CalMain::Instance(), "About");
  EXPECT_TRUE(CalAbout::Exists()) << "the About command opened no window";
  return CalAbout::Instance();
}

class AboutTest : public AppTest {};

}  // namespace

TEST_F(AboutTest, CloseReturnAndEscapeHideItAndItComesBackWhereItWasMoved) {
  CalAbout& w = OpenAbout();
  w.SetLeft(15);
  w.SetTop(25);
  for (const char* how : {"Close", "Return", "Escape"}) {
    SCOPED_TRACE(how);
    if (how[0] == 'C') fw::test::Click(*w.PushButton1);
    else fw::test::Press(w, how[0] == 'R' ? fw::test::Key::Return : fw::test::Key::Escape);
    EXPECT_FALSE(w.Visible());
    ASSERT_TRUE(CalAbout::Exists());
    EXPECT_EQ(&OpenAbout(), &w);
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Left(), 15);
    EXPECT_EQ(w.Top(), 25);
  }
}

TEST_F(AboutTest, OpensCentredAndAfterACloseRequestOpensANewCentredWindow) {
  CalAbout& w = OpenAbout();
  EXPECT_EQ(w.Left(), kCentredLeft);
  EXPECT_EQ(w.Top(), kCentredTop);
  w.SetLeft(15);
  w.SetTop(25);
  fw::test::CloseFromDesktop(w);
  EXPECT_FALSE(CalAbout::Exists());

  CalAbout& next = OpenAbout();
  EXPECT_TRUE(next.Visible());
  EXPECT_EQ(next.Left(), kCentredLeft);
  EXPECT_EQ(next.Top(), kCentredTop);
}
