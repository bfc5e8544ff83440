// The Print window as a person meets it: how it looks, where it opens, what it
// keeps between Print commands and how Exit hands the focus back.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/printing/PrintTest.h"

namespace {

// On the 800 x 800 test screen: (800 - 353) / 2 and (800 - 285) / 2.
constexpr int32_t kCentredLeft = 223;
constexpr int32_t kCentredTop = 257;

std::string Fields(const CalPrint& w) {
  return w.YearTXTPRT->Text() + " " + w.FromMonthTXTPRT->Text() + "-" + w.ToMonthTXTPRT->Text();
}

}  // namespace

TEST_F(PrintTest, TabAndShiftTabVisitFieldsCalendarsAndButtonsWhicheverCalendarIsChosen) {
  WhilePrintWindow([](CalPrint& w) {
    ExpectTabCycle(w, *w.YearTXTPRT,
                   {"YearTXTPRT", "FromMonthTXTPRT", "ToMonthTXTPRT", "OPTGregorian", "OPTHijri", "PrintPRT",
                    "CancelButton", "YearTXTPRT"},
                   {w.OPTHijri, w.OPTGregorian});
  });
}

TEST_F(PrintTest, PrintCommandShowsTheWindowModallyCentredWithTodaysYearAndMonthReadyToType) {
  SetToday(2024, 2, 9);
  EXPECT_FALSE(CalPrint::Exists());
  const bool returnedAfterwards = WhilePrintWindow([](CalPrint& w) {
    EXPECT_TRUE(w.Visible());
    // The window system activates the window, and so focuses the field, in its own
    // time: under load that can come after the window is shown.
    fw::test::WaitUntil([&] {
      return fw::test::ActiveWindow() == &w && fw::test::FocusedControl() == "YearTXTPRT" &&
             w.YearTXTPRT->SelText() == "2024";
    });
    EXPECT_EQ(fw::test::ActiveWindow(), &w);
    EXPECT_EQ(w.Left(), kCentredLeft);
    EXPECT_EQ(w.Top(), kCentredTop);
    EXPECT_EQ(Fields(w), "2024 2-2");
    EXPECT_EQ(fw::test::FocusedControl(), "YearTXTPRT");
    EXPECT_EQ(w.YearTXTPRT->SelText(), "2024");
    EXPECT_TRUE(w.OPTGregorian->Value());
    EXPECT_FALSE(w.OPTHijri->Value());
  });
  EXPECT_TRUE(returnedAfterwards) << "the Print command returned while its window was still up";
}

TEST_F(PrintTest, FocusEnteringAFieldSelectsAllOfItsText) {
  WhilePrintWindow([](CalPrint& w) {
    w.YearTXTPRT->SetText("1445");
    w.FromMonthTXTPRT->SetText("");
    for (fw::TextField* f : {w.ToMonthTXTPRT, w.YearTXTPRT, w.FromMonthTXTPRT}) {
      fw::test::TabFocus(*f);
      EXPECT_EQ(f->SelStart(), 0) << f->Name();
      EXPECT_EQ(f->SelText(), f->Text()) << f->Name();
    }
    // Leaving a field leaves its text as typed.
    fw::test::Type(*w.ToMonthTXTPRT, " 7x");
    fw::test::TabFocus(*w.YearTXTPRT);
    EXPECT_EQ(w.ToMonthTXTPRT->Text(), " 7x");
  });
}

// One window per run comes back with its fields, calendar and place as left, even on a
// new day. A desktop may ask to close it all the same (openbox draws a close box, Alt+F4).
TEST_F(PrintTest, CancelEscapeOrACloseRequestHandsTheFocusBackAndTheWindowComesBackAsLeft) {
  SetToday(2024, 2, 9);
  CalMain& main = CalMain::Instance();
  const struct {
    const char* way;
    fw::TextField* field;  // the main window's date field focused last
    int32_t focusIndex;
  } rows[] = {{"Cancel", main.MonthTXT, 0}, {"Escape", main.YearTXT, 1}, {"close request", main.YearTXT, 1}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.way);
    fw::test::ClickFocus(*main.YearTXT);
    fw::test::ClickFocus(*r.field);
    ASSERT_EQ(main.LastFocusIndex, r.focusIndex);
    CalPrint* shown = nullptr;
    EXPECT_TRUE(WhilePrintWindow([&](CalPrint& w) {
      shown = &w;
      Fill(w, true, "1445", "3", "x");
      w.SetLeft(30);
      w.SetTop(50);
      if (r.way == std::string("Cancel")) {
        fw::test::Click(*w.CancelButton);
      } else if (r.way == std::string("Escape")) {
        fw::test::TabFocus(*w.FromMonthTXTPRT);
        fw::test::Press(w, fw::test::Key::Escape);
      } else {
        fw::test::CloseFromDesktop(w);
      }
      EXPECT_FALSE(w.Visible()) << "the Print window is still up";
    })) << "the Print command returned while its window was still up";
    ASSERT_TRUE(CalPrint::Exists());
    EXPECT_EQ(fw::test::ActiveWindow(), &main);
    EXPECT_EQ(fw::test::FocusedControl(), r.field->Name());

    SetToday(2030, 6, 1);
    WhilePrintWindow([&](CalPrint& w) {
      EXPECT_EQ(&w, shown);
      EXPECT_EQ(Fields(w), "1445 3-x");
      EXPECT_TRUE(w.OPTHijri->Value());
      EXPECT_FALSE(w.OPTGregorian->Value());
      EXPECT_EQ(w.Left(), 30);
      EXPECT_EQ(w.Top(), 50);
    });
  }
}

TEST_F(PrintTest, QuittingAfterPrintingClosesEveryWindowWithoutBuildingANewOne) {
  WhilePrintWindow([](CalPrint& w) { fw::test::Click(*w.CancelButton); });
  fw::test::ChooseMenu(CalMain::Instance(), "FileQuit");
  EXPECT_TRUE(fw::test::QuitRequested());
  EXPECT_FALSE(CalPrint::Exists());
  EXPECT_FALSE(CalMain::Exists());
  fw::test::Pump();
}
