// The Conversion window as a person meets it: how it looks, where it opens, and how
// Exit hands the focus back to the main window.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Basic.h"
#include "shell/AppGlobal.h"
#include "tests/converter/ConvTest.h"

namespace {

// On the 800 x 800 test screen: (800 - 534) / 2 and (800 - 232) / 2.
constexpr int32_t kCentredLeft = 133;
constexpr int32_t kCentredTop = 284;

int CountPixels(const fw::test::Image& img, fw::Color color) {
  int n = 0;
  for (fw::Color c : img.Pixels) n += c == color;
  return n;
}

// Whether anything but the background is drawn in columns [from, to) of the image:
// text that does not fit runs into the edge it flows toward.
bool InkInColumns(const fw::test::Image& img, fw::Color background, int from, int to) {
  for (int y = 0; y < img.Height; ++y)
    for (int x = from; x < to; ++x)
      if (img.At(x, y) != background) return true;
  return false;
}

}  // namespace

TEST_F(ConvTest, WindowHasItsDesignValues) {
  CalConv& w = Open();
  EXPECT_EQ(w.Title(), "Conversion");
  EXPECT_EQ(w.Width(), 534);
  EXPECT_EQ(w.Height(), 232);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(fw::test::FrameKind(w), 1);
  EXPECT_FALSE(fw::test::HasCloseButton(w));
  EXPECT_FALSE(fw::test::IsResizable(w));
  EXPECT_EQ(fw::test::BackgroundOf(w), 0xE6E6E6u);
  EXPECT_EQ(fw::test::MenuBarHeight(w), 0);
}

TEST_F(ConvTest, LabelsAndButtonsReadAsDesignedInTheirFaces) {
  CalConv& w = Open();
  ASSERT_EQ(w.Controls().size(), 16u);
  EXPECT_EQ(w.ToHijri->Caption(), "To Hijri");
  EXPECT_EQ(w.ToGreg->Caption(), "To Greg/Chris");
  EXPECT_EQ(w.ToExit->Caption(), "Exit");
  EXPECT_TRUE(w.ToExit->Cancel());
  EXPECT_FALSE(w.ToHijri->Cancel() || w.ToGreg->Cancel() || w.ToHijri->Default() || w.ToGreg->Default());
  EXPECT_EQ(w.Label3->Caption(), "Year");
  EXPECT_EQ(w.Label7->Caption(), "Month");
  EXPECT_EQ(w.Label8->Caption(), "Day");
  EXPECT_EQ(fw::test::FontOf(*w.InYearTXT).Family, "Liberation Sans");
  EXPECT_EQ(fw::test::FontOf(*w.Label3).PixelSize, 16);
  // The weekday line keeps a fixed-pitch face where "Monaco" is missing.
  EXPECT_TRUE(fw::test::FontOf(*w.ToWeekDay).FixedPitch);
  EXPECT_EQ(fw::test::AlignmentOf(*w.ToWeekDay), 1);
  EXPECT_EQ(w.ToWeekDay->TextColor(), 0xB3B3B3u);
  for (fw::StaticText* out : {w.OutYearTXT, w.OutMonthTXT, w.OutDayTXT}) {
    EXPECT_EQ(fw::test::AlignmentOf(*out), 2) << out->Name();
    EXPECT_EQ(out->TextColor(), 0x0000FFu) << out->Name();
  }
}

TEST_F(ConvTest, TextIsBlueOnWhiteInTheFieldsAndFitsItsControls) {
  CalConv& w = Open();
  Enter("2000", "12", "27");
  fw::test::Click(*w.ToHijri);
  ASSERT_EQ(Shown(), (Result{"1421", "10", "1", "Wednesday"}));
  w.InYearTXT->SetText("2562");
  w.InMonthTXT->SetText("12");
  w.InDayTXT->SetText("30");
  fw::test::Pump();

  for (fw::TextField* field : {w.InYearTXT, w.InMonthTXT, w.InDayTXT}) {
    const fw::test::Image img = fw::test::Grab(*field);
    EXPECT_GT(CountPixels(img, 0xFFFFFF), img.Width * img.Height / 2) << field->Name();
    EXPECT_GT(CountPixels(img, 0x0000FF), 0) << field->Name();
  }
  // The longest weekday, the widest caption and the widest numbers are all whole.
  const fw::test::Image weekday = fw::test::Grab(*w.ToWeekDay);
  EXPECT_GT(CountPixels(weekday, 0xB3B3B3), 0);
  EXPECT_FALSE(InkInColumns(weekday, 0xE6E6E6, 0, 20));
  EXPECT_FALSE(InkInColumns(weekday, 0xE6E6E6, weekday.Width - 20, weekday.Width));
  for (fw::StaticText* label : {w.Label3, w.Label4, w.Label5, w.Label6, w.Label7, w.Label8}) {
    const fw::test::Image img = fw::test::Grab(*label);
    EXPECT_FALSE(InkInColumns(img, 0xE6E6E6, img.Width - 1, img.Width)) << label->Name();
  }
  for (fw::StaticText* out : {w.OutYearTXT, w.OutMonthTXT, w.OutDayTXT}) {
    const fw::test::Image img = fw::test::Grab(*out);
    EXPECT_GT(CountPixels(img, 0x0000FF), 0) << out->Name();
    EXPECT_FALSE(InkInColumns(img, 0xE6E6E6, 0, 1)) << out->Name();
  }
}

TEST_F(ConvTest, TabVisitsTheFieldsAndButtonsByTabIndex) {
  CalConv& w = Open();
  const std::vector<std::string> order = fw::test::TabOrder(w, *w.InYearTXT, 6);
  EXPECT_EQ(order, (std::vector<std::string>{"InYearTXT", "InMonthTXT", "ToExit", "InDayTXT", "ToGreg", "ToHijri",
                                             "InYearTXT"}));
}

TEST_F(ConvTest, FirstConvertOpensTheWindowCentredWithTodaysDateAndWeekday) {
  SetToday(2024, 2, 9);
  EXPECT_FALSE(CalConv::Exists());
  CalConv& w = Open();
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(fw::test::ActiveWindow(), &w);
  EXPECT_EQ(w.Left(), kCentredLeft);
  EXPECT_EQ(w.Top(), kCentredTop);
  EXPECT_EQ(Inputs(), "2024-2-9");
  EXPECT_EQ(Shown(), (Result{"", "", "", "Friday"}));
  // Ready to type a year.
  EXPECT_EQ(fw::test::FocusedControl(), "InYearTXT");
  EXPECT_EQ(w.InYearTXT->SelText(), "2024");
}

TEST_F(ConvTest, ExitHandsTheFocusToTheMainWindowsMonthFieldWhenItHadItLast) {
  CalMain& main = CalMain::Instance();
  fw::test::ClickFocus(*main.YearTXT);
  fw::test::ClickFocus(*main.MonthTXT);
  ASSERT_EQ(main.LastFocusIndex, 0);

  CalConv& w = Open();
  fw::test::Click(*w.ToExit);
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(CalConv::Exists());
  EXPECT_EQ(fw::test::ActiveWindow(), &main);
  EXPECT_EQ(fw::test::FocusedControl(), "MonthTXT");
}

TEST_F(ConvTest, EscapeExitsAndHandsTheFocusToTheYearFieldWhenItHadItLast) {
  CalMain& main = CalMain::Instance();
  fw::test::ClickFocus(*main.YearTXT);
  ASSERT_EQ(main.LastFocusIndex, 1);

  fw::test::Shortcut(main, "Ctrl+F");
  ASSERT_TRUE(CalConv::Exists());
  CalConv& w = CalConv::Instance();
  ASSERT_EQ(fw::test::ActiveWindow(), &w);
  // Escape reaches the window's cancel button from inside a field.
  fw::test::TabFocus(*w.InDayTXT);
  fw::test::Press(w, fw::test::Key::Escape);
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(fw::test::ActiveWindow(), &main);
  EXPECT_EQ(fw::test::FocusedControl(), "YearTXT");
}

TEST_F(ConvTest, OneWindowPerRunKeepsItsPlaceInputsAndWeekdayButNotTheResultAfterExit) {
  SetToday(2024, 2, 9);
  CalConv& w = Open();
  Enter("1445", "8", "20");
  fw::test::Click(*w.ToGreg);
  ASSERT_EQ(Shown(), (Result{"2024", "2", "29", "Thursday"}));
  // The user moves the window, and types a new year that is not converted yet.
  w.SetLeft(30);
  w.SetTop(50);
  fw::test::Type(*w.InYearTXT, "07");

  // Convert while the window is up only brings it forward.
  fw::test::ChooseMenu(CalMain::Instance(), "Convert");
  EXPECT_EQ(&CalConv::Instance(), &w);
  EXPECT_EQ(w.Left(), 30);
  EXPECT_EQ(Shown(), (Result{"2024", "2", "29", "Thursday"}));

  fw::test::Click(*w.ToExit);

  // A new day does not reach a window that is already open.
  SetToday(2030, 6, 1);
  fw::test::Shortcut(CalMain::Instance(), "Ctrl+F");
  EXPECT_EQ(&CalConv::Instance(), &w);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.Left(), 30);
  EXPECT_EQ(w.Top(), 50);
  // The year field kept the focus through the click on Exit and was never left.
  EXPECT_EQ(Inputs(), "07-8-20");
  EXPECT_EQ(Shown(), (Result{"", "", "", "Thursday"}));
}

TEST_F(ConvTest, QuittingWithTheWindowOpenClosesBothWindows) {
  Open();
  fw::test::ChooseMenu(CalMain::Instance(), "FileQuit");
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalConv::Exists());
  EXPECT_FALSE(CalMain::Exists());
  EXPECT_EQ(ReadPrefs().size(), 7u);
  fw::test::Pump();
}
