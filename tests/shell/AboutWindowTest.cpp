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

TEST_F(AboutTest, ShowsTheNameAndVersionAndACloseButton) {
  CalAbout& w = OpenAbout();
  EXPECT_EQ(w.Title(), "About");
  EXPECT_EQ(w.Width(), 331);
  EXPECT_EQ(w.Height(), 244);
  EXPECT_EQ(fw::test::FrameKind(w), 1);
  EXPECT_FALSE(fw::test::IsResizable(w));
  EXPECT_TRUE(fw::test::HasCloseButton(w));
  EXPECT_EQ(fw::test::BackgroundOf(w), 0xFFFFFFu);
  EXPECT_EQ(fw::test::MenuBarHeight(w), 0);

  EXPECT_EQ(w.Label1->Text(), "Tessaral");
  EXPECT_EQ(fw::test::AlignmentOf(*w.Label1), 1);
  const fw::test::FontInfo name = fw::test::FontOf(*w.Label1);
  EXPECT_EQ(name.Family, "Liberation Sans");
  EXPECT_EQ(name.PixelSize, 24);
  EXPECT_TRUE(name.Bold);

  EXPECT_EQ(w.Label4->Text(), "Version 1.2");
  EXPECT_EQ(fw::test::AlignmentOf(*w.Label4), 1);
  const fw::test::FontInfo version = fw::test::FontOf(*w.Label4);
  EXPECT_EQ(version.Family, "DejaVu Sans");
  EXPECT_EQ(version.PixelSize, 11);
  EXPECT_FALSE(version.Bold);

  EXPECT_EQ(w.PushButton1->Caption(), "Close");
  EXPECT_TRUE(w.PushButton1->Default());
  EXPECT_TRUE(w.PushButton1->Cancel());
  EXPECT_EQ(fw::test::FontOf(*w.PushButton1).Family, "DejaVu Sans");
  EXPECT_EQ(fw::test::FontOf(*w.PushButton1).PixelSize, 12);
}

TEST_F(AboutTest, ClosedWithItsButtonComesBackWhereItWasMoved) {
  CalAbout& w = OpenAbout();
  w.SetLeft(15);
  w.SetTop(25);
  fw::test::Click(*w.PushButton1);
  EXPECT_FALSE(w.Visible());
  ASSERT_TRUE(CalAbout::Exists());

  CalAbout& again = OpenAbout();
  EXPECT_EQ(&again, &w);
  EXPECT_TRUE(again.Visible());
  EXPECT_EQ(again.Left(), 15);
  EXPECT_EQ(again.Top(), 25);
}

TEST_F(AboutTest, OpensCentredAndAfterTheCloseBoxOpensANewCentredWindow) {
  CalAbout& w = OpenAbout();
  EXPECT_EQ(w.Left(), kCentredLeft);
  EXPECT_EQ(w.Top(), kCentredTop);
  w.SetLeft(15);
  w.SetTop(25);
  w.CloseBox();
  fw::test::Pump();
  EXPECT_FALSE(CalAbout::Exists());

  CalAbout& next = OpenAbout();
  EXPECT_TRUE(next.Visible());
  EXPECT_EQ(next.Left(), kCentredLeft);
  EXPECT_EQ(next.Top(), kCentredTop);
}

TEST_F(AboutTest, ReturnAndEscapeBothClose) {
  for (fw::test::Key key : {fw::test::Key::Return, fw::test::Key::Escape}) {
    CalAbout& w = OpenAbout();
    ASSERT_TRUE(w.Visible());
    fw::test::Press(w, key);
    EXPECT_FALSE(w.Visible());
    EXPECT_TRUE(CalAbout::Exists());
  }
}
