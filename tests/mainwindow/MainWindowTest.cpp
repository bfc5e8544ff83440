// The main window as a person meets it: the menu bar, the controls, the focus.

#include <gtest/gtest.h>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"

TEST_F(AppTest, CalendarMenuOffersEveryCommandWithItsShortcut) {
  const std::vector<fw::test::MenuEntry> bar = fw::test::MenuBarOf(CalMain::Instance());
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_EQ(bar[0].Text, "&Calendar");
  std::string items;
  for (const fw::test::MenuEntry& item : bar[0].Items) {
    items += item.Separator ? "-" : item.Text + (item.Shortcut.empty() ? "" : " " + item.Shortcut);
    items += item.Enabled || item.Separator ? "; " : " (disabled); ";
  }
  EXPECT_EQ(items,
            "&About Tessaral; -; &Convert Ctrl+F; -; Print Setup Ctrl+Shift+P; &Print Ctrl+P; -; Quit Ctrl+Q; "
            "Preferences; ");
}

TEST_F(AppTest, QuitShortcutClosesTheMainWindowAndSavesItsPosition) {
  CalMain& w = CalMain::Instance();
  w.SetLeft(77);
  fw::test::Shortcut(w, "Ctrl+Q");
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalMain::Exists());
  // The main window's Close event wrote the preferences on its way out.
  EXPECT_EQ(ReadPrefs().substr(4), std::string("\x00\x4D\x01", 3));
}

TEST_F(AppTest, MainWindowIsAFixedSizeDocumentWindowWithAMenuBar) {
  CalMain& w = CalMain::Instance();
  EXPECT_FALSE(fw::test::IsResizable(w));
  EXPECT_TRUE(fw::test::HasCloseButton(w));
  EXPECT_GT(fw::test::MenuBarHeight(w), 0);
  // The arrows keep a fixed-pitch face where the one asked for is missing.
  EXPECT_TRUE(fw::test::FontOf(*w.MonthIncrease).FixedPitch);
}

TEST_F(AppTest, OpeningShowsTodaysMonthWithTheMonthFieldFocusedAndSelected) {
  CalMain& w = CalMain::Instance();
  EXPECT_EQ(w.MonthTXT->Text(), fw::Str(AppGlobal::TodaysDate.Month));
  EXPECT_EQ(w.YearTXT->Text(), fw::Str(AppGlobal::TodaysDate.Year));
  EXPECT_EQ(AppGlobal::CurrentDate.Month, AppGlobal::TodaysDate.Month);
  EXPECT_TRUE(w.GregOpt->Value());
  w.SetFocus();
  fw::test::Pump();
  EXPECT_EQ(fw::test::FocusedControl(), "MonthTXT");
  EXPECT_EQ(w.MonthTXT->SelText(), w.MonthTXT->Text());
  EXPECT_EQ(w.LastFocusIndex, 0);
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
}

TEST_F(AppTest, TabAndShiftTabVisitEveryControlByTabIndexWhicheverCalendarLeads) {
  // Fault found in use: the radio buttons were one stop, fixed to the one selected
  // when the window was built.
  CalMain& w = CalMain::Instance();
  ExpectTabCycle(w, *w.MonthTXT,
                 {"MonthTXT", "YearTXT", "GregOpt", "GoCMD", "HijOpt", "MonthIncrease", "MonthDecrease",
                  "YearIncrease", "YearDecrease", "MonthTXT"},
                 {w.HijOpt, w.GregOpt});
  // The arrow keys move within the group, selecting as they go.
  fw::test::TabOrder(w, *w.MonthTXT, 2);
  fw::test::Press(w, fw::test::Key::Up);
  EXPECT_EQ(fw::test::FocusedControl(), "HijOpt");
  EXPECT_TRUE(w.HijOpt->Value());
  fw::test::Press(w, fw::test::Key::Down);
  EXPECT_EQ(fw::test::FocusedControl(), "GregOpt");
  EXPECT_TRUE(w.GregOpt->Value());
}
