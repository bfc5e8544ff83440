// The menu commands while the Print window is up: the main window and its menu bar
// are blocked then, and every command still reaches its handler from the Print window
// and from the windows shown over it.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "converter/CalConv.h"
#include "shell/AppGlobal.h"
#include "shell/CalAbout.h"
#include "shell/CalPreferences.h"
#include "tests/printing/PrintTest.h"

namespace {

class PrintCommandsTest : public PrintTest {};

}  // namespace

TEST_F(PrintCommandsTest, QuitFromThePrintWindowClosesTheWindowsFrontMostFirstAndWritesTheFile) {
  CalMain& main = CalMain::Instance();
  const int32_t startTop = main.Top(), startLeft = main.Left();
  // The Preferences window, behind the Print window, closes before the main window
  // writes the file: its box, left unticked, switches the saving of the position off.
  fw::test::ChooseMenu(main, "Preferences");
  fw::test::Click(*CalPreferences::Instance().CheckBox1);
  main.SetLeft(main.Left() + 31);
  EXPECT_TRUE(WhilePrintWindow([](CalPrint& w) {
    fw::test::Shortcut(w, "Ctrl+Q");
    EXPECT_TRUE(fw::test::QuitRequested());
  })) << "the Print command returned while its window was still up";
  EXPECT_FALSE(CalPrint::Exists());
  EXPECT_FALSE(CalPreferences::Exists());
  EXPECT_FALSE(CalMain::Exists());
  EXPECT_EQ(ReadPrefs(), PrefsBytes(startTop, startLeft, false));
}

TEST_F(PrintCommandsTest, PrintSetupFromThePrintWindowSetsTheSheetOfTheNextJob) {
  WhilePrintWindow([&](CalPrint& w) {
    const fw::test::Dialog setup = fw::test::AnswerDialog([&] { fw::test::Shortcut(w, "Ctrl+Shift+P"); }, true,
                                                          {"landscape"});
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

TEST_F(PrintCommandsTest, ConvertFromThePrintWindowGivesAUsableConversionWindowInFront) {
  WhilePrintWindow([](CalPrint& w) {
    fw::test::Shortcut(w, "Ctrl+F");
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

    // Its Exit hands the keyboard to the window that blocks the main window.
    fw::test::ClickThroughWindow(*conv.ToExit);
    EXPECT_FALSE(conv.Visible());
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(fw::test::ActiveWindow(), &w);
  });
}

TEST_F(PrintCommandsTest, AboutAndPreferencesOverThePrintWindowTakeClicksAndKeys) {
  WhilePrintWindow([](CalPrint& w) {
    fw::test::ChooseMenu(CalMain::Instance(), "About");
    ASSERT_TRUE(CalAbout::Exists());
    CalAbout& about = CalAbout::Instance();
    EXPECT_EQ(fw::test::ActiveWindow(), &about);
    fw::test::TypeThroughWindow(about, "\r");
    EXPECT_FALSE(about.Visible()) << "Return did not reach the About window";

    fw::test::ChooseMenu(CalMain::Instance(), "Preferences");
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

TEST_F(PrintCommandsTest, PrintFromAWindowOverThePrintWindowBringsItForwardWithoutASecondShowing) {
  const bool returnedAfterwards = WhilePrintWindow([](CalPrint& w) {
    fw::test::Shortcut(w, "Ctrl+F");
    ASSERT_EQ(fw::test::ActiveWindow(), &CalConv::Instance());
    fw::test::HideAfter(w, 3000);
    fw::test::Shortcut(CalConv::Instance(), "Ctrl+P");
    // A second, nested showing would have returned only once the window was hidden.
    ASSERT_TRUE(w.Visible()) << "the command waited for the Print window to go";
    EXPECT_EQ(fw::test::ActiveWindow(), &w);
  });
  EXPECT_TRUE(returnedAfterwards) << "the Print command returned while its window was still up";
  EXPECT_FALSE(CalPrint::Instance().Visible());
}

TEST_F(PrintCommandsTest, AWindowLeftUpOverThePrintWindowStaysInFrontOfTheMainWindowAfterwards) {
  WhilePrintWindow([](CalPrint& w) {
    fw::test::Shortcut(w, "Ctrl+F");
    w.SetFocus();
    fw::test::Press(w, fw::test::Key::Escape);
    EXPECT_FALSE(w.Visible());
  });
  CalConv& conv = CalConv::Instance();
  EXPECT_TRUE(conv.Visible());
  EXPECT_EQ(fw::test::InFrontOf(conv), &CalMain::Instance());
  // Nothing blocks it any more, nor the main window.
  fw::test::ClickThroughWindow(*conv.InYearTXT);
  fw::test::TypeThroughWindow(conv, "x");
  EXPECT_NE(conv.InYearTXT->Text().find('x'), std::string::npos) << "the typing did not reach the window";
  fw::test::ClickThroughWindow(*CalMain::Instance().MonthTXT);
  EXPECT_EQ(fw::test::ActiveWindow(), &CalMain::Instance());
}
