// The menu commands while the Print window is up. Each reaches its handler, typed as
// its shortcut to the window in front or chosen with the mouse from the main window's
// menu bar, which stays live while the rest of the main window takes no input.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "converter/CalConv.h"
#include "shell/AppGlobal.h"
#include "shell/CalAbout.h"
#include "shell/CalPreferences.h"
#include "tests/printing/PrintTest.h"

namespace {

enum class Via { Shortcut, MenuBar };

std::string NameOf(Via via) { return via == Via::Shortcut ? "Shortcut" : "MenuBar"; }
void PrintTo(Via via, std::ostream* out) { *out << NameOf(via); }

std::string ShortcutOf(const std::vector<fw::test::MenuEntry>& entries, const std::string& item) {
  for (const fw::test::MenuEntry& e : entries) {
    if (e.Name == item) return e.Shortcut;
    if (std::string keys = ShortcutOf(e.Items, item); !keys.empty()) return keys;
  }
  return "";
}

class PrintCommandsTest : public PrintTest {};

class PrintCommandTest : public PrintTest, public ::testing::WithParamInterface<Via> {
 protected:
  // Gives the command as a person would: its shortcut typed to the window in front, or
  // a click on the main window's Calendar menu and then on the item.
  void Command(const std::string& item, fw::Window& front) const {
    CalMain& main = CalMain::Instance();
    if (GetParam() == Via::MenuBar) {
      EXPECT_TRUE(fw::test::ChooseMenu(main, item)) << "the main window's Calendar menu did not open";
      return;
    }
    const std::string keys = ShortcutOf(fw::test::MenuBarOf(main), item);
    ASSERT_FALSE(keys.empty()) << item;
    fw::test::Shortcut(front, keys);
  }
};

}  // namespace

TEST_P(PrintCommandTest, QuitClosesTheWindowsFrontMostFirstAndWritesTheFile) {
  CalMain& main = CalMain::Instance();
  const int32_t startTop = main.Top(), startLeft = main.Left();
  // The Preferences window, behind the Print window, closes before the main window
  // writes the file: its box, left unticked, switches the saving of the position off.
  fw::test::ChooseMenu(main, "Preferences");
  fw::test::Click(*CalPreferences::Instance().CheckBox1);
  main.SetLeft(main.Left() + 31);
  EXPECT_TRUE(WhilePrintWindow([&](CalPrint& w) {
    Command("FileQuit", w);
    EXPECT_TRUE(fw::test::QuitRequested());
  })) << "the Print command returned while its window was still up";
  EXPECT_FALSE(CalPrint::Exists());
  EXPECT_FALSE(CalPreferences::Exists());
  EXPECT_FALSE(CalMain::Exists());
  EXPECT_EQ(ReadPrefs(), PrefsBytes(startTop, startLeft, false));
}

TEST_P(PrintCommandTest, PrintSetupSetsTheSheetOfTheNextJob) {
  WhilePrintWindow([&](CalPrint& w) {
    const fw::test::Dialog setup =
        fw::test::AnswerDialog([&] { Command("CalendarPageSetup", w); }, true, {"landscape"});
    EXPECT_EQ(setup.Kind, "pagesetup");
    EXPECT_TRUE(w.Visible());
    Fill(w, false, "2022", "5", "5");
    EXPECT_EQ(PressPrint(w).Kind, "print");
  });
  const fw::test::PdfInfo info = fw::test::ReadPdf(pdf);
  EXPECT_EQ(info.Pages, 1);
  EXPECT_NEAR(info.PageWidth, 842, 1.0);
  EXPECT_NEAR(info.PageHeight, 595, 1.0);
}

TEST_P(PrintCommandTest, ConvertGivesAUsableConversionWindowInFront) {
  WhilePrintWindow([&](CalPrint& w) {
    Command("Convert", w);
    ASSERT_TRUE(CalConv::Exists());
    CalConv& conv = CalConv::Instance();
    EXPECT_TRUE(conv.Visible());
    EXPECT_EQ(fw::test::ActiveWindow(), &conv);
    // What a person types and clicks reaches it.
    fw::test::TypeThroughWindow(conv, "2000");
    fw::test::ClickThroughWindow(*conv.InMonthTXT);
    fw::test::TypeThroughWindow(conv, "1");
    fw::test::ClickThroughWindow(*conv.InDayTXT);
    fw::test::TypeThroughWindow(conv, "1");
    fw::test::ClickThroughWindow(*conv.ToHijri);
    EXPECT_EQ(conv.OutYearTXT->Caption() + "-" + conv.OutMonthTXT->Caption() + "-" + conv.OutDayTXT->Caption(),
              "1420-9-25");

    // Its Exit hands the keyboard back towards the main window, which the Print
    // window stands in front of: the Print window gets it.
    fw::test::ClickThroughWindow(*conv.ToExit);
    EXPECT_FALSE(conv.Visible());
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(fw::test::ActiveWindow(), &w);
  });
}

TEST_P(PrintCommandTest, PrintFromAWindowOverThePrintWindowBringsItForwardWithoutASecondShowing) {
  const bool returnedAfterwards = WhilePrintWindow([&](CalPrint& w) {
    Command("Convert", w);
    ASSERT_EQ(fw::test::ActiveWindow(), &CalConv::Instance());
    fw::test::HideAfter(w, 3000);
    Command("Print", CalConv::Instance());
    // A second, nested showing would have returned only once the window was hidden.
    ASSERT_TRUE(w.Visible()) << "the command waited for the Print window to go";
    EXPECT_EQ(fw::test::ActiveWindow(), &w);
  });
  EXPECT_TRUE(returnedAfterwards) << "the Print command returned while its window was still up";
  EXPECT_FALSE(CalPrint::Instance().Visible());
}

INSTANTIATE_TEST_SUITE_P(FromTheKeyboardAndTheMenuBar, PrintCommandTest, ::testing::Values(Via::Shortcut, Via::MenuBar),
                         [](const ::testing::TestParamInfo<Via>& info) { return NameOf(info.param); });

TEST_F(PrintCommandsTest, AboutAndPreferencesFromTheMenuBarComeInFrontOfThePrintWindowAndTakeClicksAndKeys) {
  WhilePrintWindow([](CalPrint& w) {
    ASSERT_TRUE(fw::test::ChooseMenu(CalMain::Instance(), "About")) << "the Calendar menu did not open";
    ASSERT_TRUE(CalAbout::Exists());
    CalAbout& about = CalAbout::Instance();
    EXPECT_EQ(fw::test::ActiveWindow(), &about);
    fw::test::TypeThroughWindow(about, "\r");
    EXPECT_FALSE(about.Visible()) << "Return did not reach the About window";

    ASSERT_TRUE(fw::test::ChooseMenu(CalMain::Instance(), "Preferences")) << "the Calendar menu did not open";
    ASSERT_TRUE(CalPreferences::Exists());
    CalPreferences& prefs = CalPreferences::Instance();
    EXPECT_EQ(fw::test::ActiveWindow(), &prefs);
    fw::test::ClickThroughWindow(*prefs.CheckBox1);
    EXPECT_EQ(prefs.CheckBox1->State(), 0) << "the click did not reach the Preferences window";
    fw::test::ClickThroughWindow(*prefs.PushApply);
    EXPECT_FALSE(prefs.Visible());
    EXPECT_FALSE(AppGlobal::saveCheckBox1);

    // The Print window is still up, and still takes input.
    EXPECT_TRUE(w.Visible());
    fw::test::ClickThroughWindow(*w.OPTHijri);
    EXPECT_TRUE(w.OPTHijri->Value());
  });
}

TEST_F(PrintCommandsTest, TheMainWindowTakesNoInputButBringsThePrintWindowForwardUntilItGoesAndAWindowLeftUpStaysInFront) {
  SetToday(2024, 2, 9);
  CalMain& main = CalMain::Instance();
  fw::test::ClickFocus(*main.YearTXT);
  const std::string month = main.MonthTXT->Text();
  WhilePrintWindow([&](CalPrint& w) {
    fw::test::Shortcut(w, "Ctrl+F");
    ASSERT_EQ(fw::test::ActiveWindow(), &CalConv::Instance());
    fw::test::ClickThroughWindow(*main.MonthIncrease);
    EXPECT_EQ(main.MonthTXT->Text(), month) << "the click on + reached the main window";
    EXPECT_TRUE(fw::test::WaitUntil([&] { return fw::test::ActiveWindow() == &w; }))
        << "the click on the main window did not bring the Print window forward";
    fw::test::ClickThroughWindow(*main.MonthTXT);
    fw::test::TypeThroughWindow(main, "7");
    fw::test::TypeThroughWindow(main, "\r");
    EXPECT_EQ(main.MonthTXT->Text(), month) << "the typing reached the main window";
    EXPECT_EQ(main.LastFocusIndex, 1);
    EXPECT_TRUE(w.Visible());
    fw::test::Press(w, fw::test::Key::Escape);
    EXPECT_FALSE(w.Visible()) << "Escape left the Print window up";
  });
  // Exit handed the focus back to the field that had it, and the window works again.
  EXPECT_EQ(fw::test::FocusedControl(), "YearTXT");
  fw::test::ClickThroughWindow(*main.MonthIncrease);
  EXPECT_EQ(main.MonthTXT->Text(), "3") << "the main window still takes no clicks";
  fw::test::ClickThroughWindow(*main.MonthTXT);
  fw::test::TypeThroughWindow(main, "7");
  EXPECT_NE(main.MonthTXT->Text().find('7'), std::string::npos) << "the main window still takes no keys";
  // The Conversion window left up stays in front of the main window and takes input.
  CalConv& conv = CalConv::Instance();
  EXPECT_TRUE(conv.Visible());
  EXPECT_EQ(fw::test::InFrontOf(conv), &main);
  fw::test::ClickThroughWindow(*conv.InYearTXT);
  fw::test::TypeThroughWindow(conv, "x");
  EXPECT_NE(conv.InYearTXT->Text().find('x'), std::string::npos) << "the typing did not reach the window";
  // Nothing blocks the main window any more: a click on it makes it the active window.
  fw::test::ClickThroughWindow(*main.MonthTXT);
  EXPECT_TRUE(fw::test::WaitUntil([&] { return fw::test::ActiveWindow() == &main; }))
      << "a click on the main window did not make it the active window";
}

TEST_F(PrintCommandsTest, AWindowUpBeforeThePrintWindowTakesInputOnlyOnceItsCommandBringsItForward) {
  CalMain& main = CalMain::Instance();
  ASSERT_TRUE(fw::test::ChooseMenu(main, "Convert"));
  CalConv& conv = CalConv::Instance();
  fw::test::Type(*conv.InYearTXT, "2000");
  WhilePrintWindow([&](CalPrint& w) {
    fw::test::ClickThroughWindow(*conv.InYearTXT);
    fw::test::TypeThroughWindow(conv, "5");
    EXPECT_EQ(conv.InYearTXT->Text(), "2000") << "the typing reached the window behind the Print window";
    EXPECT_TRUE(fw::test::WaitUntil([&] { return fw::test::ActiveWindow() == &w; }));

    ASSERT_TRUE(fw::test::ChooseMenu(main, "Convert")) << "the Calendar menu did not open";
    EXPECT_EQ(fw::test::ActiveWindow(), &conv);
    fw::test::ClickThroughWindow(*conv.InYearTXT);
    fw::test::TypeThroughWindow(conv, "5");
    EXPECT_NE(conv.InYearTXT->Text().find('5'), std::string::npos) << "the window brought forward takes no keys";
  });
}
