// The Conversion window as a person meets it: how it looks, where it opens, and how
// Exit hands the focus back to the main window.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Basic.h"
#include "tests/converter/ConvTest.h"
#include "tests/support/Pixels.h"

namespace {

// On the 800 x 800 test screen: (800 - 534) / 2 and (800 - 232) / 2.
constexpr int32_t kCentredLeft = 133;
constexpr int32_t kCentredTop = 284;

}  // namespace

TEST_F(ConvTest, TheLongestTextsFitTheirControls) {
  using pixels::Count;
  CalConv& w = Open();
  Enter("2000", "12", "27");
  fw::test::Click(*w.ToHijri);
  ASSERT_EQ(Shown(), (Result{"1421", "10", "1", "Wednesday"}));
  w.InYearTXT->SetText("2562");
  w.InMonthTXT->SetText("12");
  w.InDayTXT->SetText("30");
  fw::test::Pump();

  const auto isNot = [](fw::Color colour) { return [colour](fw::Color c) { return c != colour; }; };
  // The longest weekday, the widest caption and the widest numbers are all whole:
  // text that does not fit runs into the edge it flows toward.
  const fw::test::Image weekday = fw::test::Grab(*w.ToWeekDay);
  EXPECT_GT(Count(weekday, {0, 0, weekday.Width, weekday.Height}, isNot(0xE6E6E6)), 0);
  EXPECT_EQ(Count(weekday, {0, 0, 20, weekday.Height}, isNot(0xE6E6E6)), 0);
  EXPECT_EQ(Count(weekday, {weekday.Width - 20, 0, weekday.Width, weekday.Height}, isNot(0xE6E6E6)), 0);
  for (fw::StaticText* label : {w.Label3, w.Label4, w.Label5, w.Label6, w.Label7, w.Label8}) {
    const fw::test::Image img = fw::test::Grab(*label);
    EXPECT_EQ(Count(img, {img.Width - 1, 0, img.Width, img.Height}, isNot(0xE6E6E6)), 0) << label->Name();
  }
  for (fw::StaticText* out : {w.OutYearTXT, w.OutMonthTXT, w.OutDayTXT}) {
    const fw::test::Image img = fw::test::Grab(*out);
    EXPECT_GT(Count(img, {0, 0, img.Width, img.Height}, isNot(0xE6E6E6)), 0) << out->Name();
    EXPECT_EQ(Count(img, {0, 0, 1, img.Height}, isNot(0xE6E6E6)), 0) << out->Name();
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

// The same window comes back without its result. A desktop may ask to close it all
// the same (openbox draws a close box, Alt+F4).
TEST_F(ConvTest, ExitEscapeOrACloseRequestHandsTheFocusToTheMainWindowsDateFieldThatHadItLast) {
  CalMain& main = CalMain::Instance();
  const struct {
    const char* way;
    fw::TextField* field;  // the main window's date field focused last
    int32_t focusIndex;
  } rows[] = {{"Exit", main.MonthTXT, 0}, {"Escape", main.YearTXT, 1}, {"close request", main.YearTXT, 1}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.way);
    fw::test::ClickFocus(*main.YearTXT);
    fw::test::ClickFocus(*r.field);
    ASSERT_EQ(main.LastFocusIndex, r.focusIndex);
    CalConv& w = Open();
    Enter("2000", "1", "1");
    fw::test::Click(*w.ToHijri);
    ASSERT_EQ(Shown(), (Result{"1420", "9", "25", "Saturday"}));
    if (r.way == std::string("Exit")) {
      fw::test::Click(*w.ToExit);
    } else if (r.way == std::string("Escape")) {
      fw::test::TabFocus(*w.InDayTXT);
      fw::test::Press(w, fw::test::Key::Escape);
    } else {
      fw::test::CloseFromDesktop(w);
    }
    EXPECT_FALSE(w.Visible());
    ASSERT_TRUE(CalConv::Exists());
    EXPECT_EQ(fw::test::ActiveWindow(), &main);
    EXPECT_EQ(fw::test::FocusedControl(), r.field->Name());

    EXPECT_EQ(&Open(), &w);
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(Inputs(), "2000-1-1");
    EXPECT_EQ(Shown(), (Result{"", "", "", "Saturday"}));
    fw::test::Click(*w.ToExit);
  }
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
