// While the Print window is up, the windows it came up over take no input by any
// path a person or their assistive tools have, but for the main window's menu bar;
// once it goes, every path works again.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "converter/CalConv.h"
#include "shell/AppGlobal.h"
#include "tests/printing/PrintTest.h"

namespace {

// What a person sees of the main window and what its next GO would read.
std::string StateOf(const CalMain& m) {
  return std::to_string(AppGlobal::CurrentDate.Year) + "-" + std::to_string(AppGlobal::CurrentDate.Month) + " " +
         m.Heading->Text() + " | " + m.MonthTXT->Text() + " " + m.YearTXT->Text() + " | " +
         (m.GregOpt->Value() ? "Gregorian" : "Hijri") + " | last field " + std::to_string(m.LastFocusIndex);
}

std::string Names(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

struct Path {
  const char* way;
  // Tries the path on the main window; true when something came of it that only a
  // window taking input gives (an action offered, a menu shown).
  std::function<bool(CalMain&)> tryIt;
};

// A path that gives nothing back but its effect on the window.
std::function<bool(CalMain&)> Only(std::function<void(CalMain&)> effect) {
  return [effect](CalMain& m) {
    effect(m);
    return false;
  };
}

const std::vector<Path>& Paths() {
  static const std::vector<Path> paths = {
      {"accessibility press on +", [](CalMain& m) { return fw::test::AccessibilityAction(*m.MonthIncrease); }},
      {"accessibility press on GO", [](CalMain& m) { return fw::test::AccessibilityAction(*m.GoCMD); }},
      {"accessibility press on Hijri", [](CalMain& m) { return fw::test::AccessibilityAction(*m.HijOpt); }},
      {"accessibility text into the month field",
       Only([](CalMain& m) { fw::test::AccessibilitySetText(*m.MonthTXT, "11"); })},
      {"wheel over the month field", Only([](CalMain& m) { fw::test::Wheel(*m.MonthTXT, -1); })},
      {"context menu on the year field", [](CalMain& m) { return fw::test::ContextMenu(*m.YearTXT); }},
      {"drop onto the month field", Only([](CalMain& m) { fw::test::DropText(*m.MonthTXT, "7"); })},
      {"click on +", Only([](CalMain& m) { fw::test::ClickThroughWindow(*m.MonthIncrease); })},
      {"typing and Return", Only([](CalMain& m) { fw::test::TypeThroughWindow(m, "7\r"); })},
  };
  return paths;
}

}  // namespace

TEST_F(PrintTest, NoPathIntoTheMainWindowChangesItWhileThePrintWindowIsUp) {
  SetToday(2024, 2, 9);
  CalMain& main = CalMain::Instance();
  fw::test::ClickFocus(*main.YearTXT);
  const std::string before = StateOf(main);
  const auto tryEveryPath = [&](CalPrint& w) {
    for (const Path& p : Paths()) {
      SCOPED_TRACE(p.way);
      const std::string was = StateOf(main);
      bool cameOfIt = false;
      const std::vector<std::string> reached = fw::test::ControlsReached(main, [&] { cameOfIt = p.tryIt(main); });
      EXPECT_EQ(Names(reached), "") << "these controls took the input";
      EXPECT_FALSE(cameOfIt) << "the main window answered";
      EXPECT_EQ(StateOf(main), was);
      EXPECT_TRUE(w.Visible());
    }
  };
  // The window is built on the first command; later ones show it again.
  for (const char* showing : {"first showing", "second showing"}) {
    SCOPED_TRACE(showing);
    WhilePrintWindow(tryEveryPath);
  }
  EXPECT_EQ(StateOf(main), before);
}

TEST_F(PrintTest, EveryPathIntoTheMainWindowWorksAgainOnceThePrintWindowGoes) {
  SetToday(2024, 2, 9);
  CalMain& main = CalMain::Instance();
  WhilePrintWindow([](CalPrint& w) { fw::test::Click(*w.CancelButton); });
  EXPECT_TRUE(fw::test::AccessibilityAction(*main.MonthIncrease));
  EXPECT_EQ(main.MonthTXT->Text(), "3");
  EXPECT_TRUE(fw::test::AccessibilityAction(*main.GoCMD));
  EXPECT_EQ(main.Heading->Text(), "March, 2024");
  EXPECT_TRUE(fw::test::AccessibilityAction(*main.HijOpt));
  EXPECT_TRUE(main.HijOpt->Value());
  fw::test::AccessibilitySetText(*main.YearTXT, "1440");
  EXPECT_EQ(main.YearTXT->Text(), "1440");
  EXPECT_TRUE(fw::test::ContextMenu(*main.YearTXT)) << "no context menu";
  main.MonthTXT->SetText("");
  fw::test::DropText(*main.MonthTXT, "7");
  EXPECT_EQ(main.MonthTXT->Text(), "7") << "the drop was refused";
  EXPECT_EQ(Names(fw::test::ControlsReached(main, [&] { fw::test::Wheel(*main.MonthTXT, -1); })), "MonthTXT");
  fw::test::ClickThroughWindow(*main.MonthIncrease);
  EXPECT_EQ(main.MonthTXT->Text(), "8");
}

// The main window is not greyed out behind the Print window: what it shows keeps its
// colours, pixel for pixel.
TEST_F(PrintTest, TheMainWindowsHeadingLabelsAndGridKeepTheirColoursWhileThePrintWindowIsUp) {
  SetToday(2024, 2, 9);
  CalMain& main = CalMain::Instance();
  const std::vector<fw::Control*> shown = {main.Heading,     main.CurMonth,    main.NextMonth,   main.CalendarTable,
                                           main.StaticText1, main.StaticText4, main.StaticText7};
  std::vector<fw::test::Image> before;
  for (fw::Control* c : shown) before.push_back(fw::test::Grab(*c));
  WhilePrintWindow([&](CalPrint&) {
    for (size_t i = 0; i < shown.size(); ++i)
      EXPECT_EQ(fw::test::Grab(*shown[i]).Pixels, before[i].Pixels) << shown[i]->Name() << " changed";
  });
}

// The desktop's close box (or Alt+F4) on the main window ends the run as Quit does,
// Print window and all, with the position saved.
TEST_F(PrintTest, ClosingTheMainWindowFromTheDesktopWhileThePrintWindowIsUpSavesAndQuits) {
  CalMain& main = CalMain::Instance();
  main.SetLeft(main.Left() + 17);
  const int32_t top = main.Top(), left = main.Left();
  EXPECT_TRUE(WhilePrintWindow([&](CalPrint&) {
    fw::test::CloseFromDesktop(main);
    EXPECT_TRUE(fw::test::QuitRequested());
  })) << "the Print command returned while its window was still up";
  EXPECT_FALSE(CalPrint::Exists());
  EXPECT_FALSE(CalMain::Exists());
  EXPECT_EQ(ReadPrefs(), PrefsBytes(top, left, true));
}

// Being taken out of use is no leaving of the field: the Conversion window's field
// keeps its text as typed, untidied, and its selection.
TEST_F(PrintTest, AFieldOfAWindowBehindThePrintWindowKeepsItsTextAndSelection) {
  CalMain& main = CalMain::Instance();
  ASSERT_TRUE(fw::test::ChooseMenu(main, "Convert"));
  CalConv& conv = CalConv::Instance();
  fw::test::Type(*conv.InDayTXT, "12abc");
  conv.InDayTXT->SetSelStart(1);
  conv.InDayTXT->SetSelLength(2);
  WhilePrintWindow([&](CalPrint&) {
    EXPECT_EQ(conv.InDayTXT->Text(), "12abc");
    EXPECT_EQ(conv.InDayTXT->SelText(), "2a");
  });
  EXPECT_EQ(conv.InDayTXT->Text(), "12abc");
  EXPECT_EQ(conv.InDayTXT->SelText(), "2a");
}
