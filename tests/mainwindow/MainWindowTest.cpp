// The main window as a person meets it: the menu bar, the controls, the focus.

#include <gtest/gtest.h>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"

using fw::test::MenuEntry;

namespace {

struct ExpectedItem {
  const char* name;
  const char* text;
  const char* shortcut;
};

}  // namespace

TEST_F(AppTest, MenuBarHasTheCalendarMenuWithItsItemsInOrder) {
  const std::vector<MenuEntry> bar = fw::test::MenuBarOf(CalMain::Instance());
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_EQ(bar[0].Name, "Calendar");
  EXPECT_EQ(bar[0].Text, "&Calendar");

  const ExpectedItem expected[] = {
      {"About", "&About Tessaral", ""},
      {"UntitledSeparator0", "", ""},
      {"Convert", "&Convert", "Ctrl+F"},
      {"UntitledSeparator", "", ""},
      {"CalendarPageSetup", "Print Setup", "Ctrl+Shift+P"},
      {"Print", "&Print", "Ctrl+P"},
      {"UntitledSeparator1", "", ""},
      {"FileQuit", "Quit", "Ctrl+Q"},
      {"Preferences", "Preferences", ""},
  };
  const std::vector<MenuEntry>& items = bar[0].Items;
  ASSERT_EQ(items.size(), std::size(expected));
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(items[i].Name, expected[i].name);
    EXPECT_EQ(items[i].Separator, std::string(expected[i].text).empty());
    if (!items[i].Separator) {
      EXPECT_EQ(items[i].Text, expected[i].text);
      EXPECT_EQ(items[i].Shortcut, expected[i].shortcut);
      EXPECT_TRUE(items[i].Enabled);
    }
  }
}

TEST_F(AppTest, QuitItemClosesTheMainWindowAndQuits) {
  fw::test::ChooseMenu(CalMain::Instance(), "FileQuit");
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalMain::Exists());
  // The main window's Close event wrote the preferences on its way out.
  EXPECT_EQ(ReadPrefs().size(), 7u);
}

TEST_F(AppTest, MainWindowHasItsDesignValues) {
  CalMain& w = CalMain::Instance();
  EXPECT_EQ(w.Title(), "Tessaral");
  EXPECT_EQ(w.Width(), 524);
  EXPECT_EQ(w.Height(), 384);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(fw::test::FrameKind(w), 0);
  EXPECT_FALSE(fw::test::IsResizable(w));
  EXPECT_TRUE(fw::test::HasCloseButton(w));
  EXPECT_EQ(fw::test::BackgroundOf(w), 0xFFFFFFu);
  EXPECT_GT(fw::test::MenuBarHeight(w), 0);
  EXPECT_EQ(w.LastFocusIndex, 0);
  EXPECT_TRUE(w.GregOpt->Value());
  EXPECT_FALSE(w.HijOpt->Value());
}

TEST_F(AppTest, ControlsReadAsDesignedInTheirFaces) {
  CalMain& w = CalMain::Instance();
  EXPECT_EQ(w.StaticText1->Text(), "Sun");
  EXPECT_EQ(w.StaticText7->Text(), "Sat");
  EXPECT_TRUE(fw::test::IsDefaultButton(*w.GoCMD));
  EXPECT_EQ(fw::test::AlignmentOf(*w.MonthTXT), 1);
  EXPECT_EQ(fw::test::FontOf(*w.Heading).Family, "DejaVu Sans");
  EXPECT_EQ(fw::test::FontOf(*w.Heading).PixelSize, 26);
  EXPECT_EQ(fw::test::FontOf(*w.CurMonth).PixelSize, 14);
  EXPECT_EQ(fw::test::FontOf(*w.GoCMD).Family, "Liberation Sans");
  EXPECT_TRUE(fw::test::FontOf(*w.MonthIncrease).FixedPitch);
}

TEST_F(AppTest, OpenFillsTheDateFieldsFromTheShownMonth) {
  CalMain& w = CalMain::Instance();
  EXPECT_EQ(w.MonthTXT->Text(), fw::Str(AppGlobal::CurrentDate.Month));
  EXPECT_EQ(w.YearTXT->Text(), fw::Str(AppGlobal::CurrentDate.Year));
  EXPECT_EQ(AppGlobal::CurrentDate.Year, AppGlobal::TodaysDate.Year);
  EXPECT_EQ(AppGlobal::CurrentDate.Month, AppGlobal::TodaysDate.Month);
}

TEST_F(AppTest, EnteringADateFieldSelectsItsTextAndRecordsWhichOne) {
  CalMain& w = CalMain::Instance();
  w.YearTXT->SetText("2009");
  fw::test::ClickFocus(*w.YearTXT);
  EXPECT_EQ(w.YearTXT->SelText(), "2009");
  EXPECT_EQ(w.LastFocusIndex, 1);

  w.MonthTXT->SetText("3");
  fw::test::TabFocus(*w.MonthTXT);
  EXPECT_EQ(w.MonthTXT->SelText(), "3");
  EXPECT_EQ(w.LastFocusIndex, 0);

  // Other controls taking the focus leave the record alone.
  fw::test::TabFocus(*w.YearTXT);
  fw::test::TabFocus(*w.GoCMD);
  EXPECT_EQ(w.LastFocusIndex, 1);

  // An empty field still records itself.
  w.MonthTXT->SetText("");
  fw::test::TabFocus(*w.MonthTXT);
  EXPECT_EQ(w.MonthTXT->SelLength(), 0);
  EXPECT_EQ(w.LastFocusIndex, 0);
}

TEST_F(AppTest, TabAndShiftTabVisitEveryControlByTabIndexWhicheverCalendarLeads) {
  // Fault found in use: the radio buttons were one stop, fixed to the one selected
  // when the window was built.
  CalMain& w = CalMain::Instance();
  const std::vector<std::string> forward{"MonthTXT",      "YearTXT",       "GregOpt",      "GoCMD",        "HijOpt",
                                         "MonthIncrease", "MonthDecrease", "YearIncrease", "YearDecrease", "MonthTXT"};
  const std::vector<std::string> backward(forward.rbegin(), forward.rend());
  for (fw::RadioButton* leading : {w.HijOpt, w.GregOpt}) {
    SCOPED_TRACE(leading->Name() + " leading");
    fw::test::Click(*leading);
    ASSERT_TRUE(leading->Value());
    EXPECT_EQ(fw::test::TabOrder(w, *w.MonthTXT, 9), forward);
    EXPECT_EQ(fw::test::TabOrder(w, *w.MonthTXT, 9, true), backward);
  }
  // The arrow keys move within the group, selecting as they go.
  fw::test::TabOrder(w, *w.MonthTXT, 2);
  fw::test::Press(w, fw::test::Key::Up);
  EXPECT_EQ(fw::test::FocusedControl(), "HijOpt");
  EXPECT_TRUE(w.HijOpt->Value());
  fw::test::Press(w, fw::test::Key::Down);
  EXPECT_EQ(fw::test::FocusedControl(), "GregOpt");
  EXPECT_TRUE(w.GregOpt->Value());
}

TEST_F(AppTest, OpeningGivesTheMonthFieldTheFocusWithItsTextSelected) {
  CalMain& w = CalMain::Instance();
  w.SetFocus();
  fw::test::Pump();
  EXPECT_EQ(fw::test::FocusedControl(), "MonthTXT");
  EXPECT_EQ(w.MonthTXT->SelText(), w.MonthTXT->Text());
  EXPECT_EQ(w.LastFocusIndex, 0);
}
