// The main window's date field that gets the focus back when the Conversion or Print
// window goes is a new focus: its whole text is selected, so typing replaces it, where
// the caret stood before. The main window only coming back to the front is no new
// focus: the caret stays where it was.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "converter/CalConv.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "tests/support/AppTest.h"

namespace {

class FocusBackTest : public AppTest {
 protected:
  // Two clicks on the field: the first selects its text, the second leaves a caret
  // inside it. Returns where the caret stands.
  static int32_t CaretInside(fw::TextField& field) {
    fw::test::ClickThroughWindow(field);
    fw::test::ClickThroughWindow(field);
    EXPECT_EQ(field.SelText(), "") << field.Name() << " kept a selection";
    return field.SelStart();
  }

  // Dismisses the window the way the row names.
  static void Dismiss(fw::Window& w, fw::Control& exitButton, const std::string& way) {
    if (way == "Exit") {
      fw::test::ClickThroughWindow(exitButton);
    } else if (way == "Escape") {
      fw::test::Press(w, fw::test::Key::Escape);
    } else {
      fw::test::CloseFromDesktop(w);
    }
    EXPECT_FALSE(w.Visible()) << way << " left the window up";
  }
};

}  // namespace

TEST_F(FocusBackTest, TheDateFieldThatGetsTheFocusBackFromConversionOrPrintSelectsItsWholeText) {
  CalMain& main = CalMain::Instance();
  for (const char* window : {"Conversion", "Print"}) {
    for (const char* way : {"Exit", "Escape", "close request"}) {
      for (fw::TextField* field : {main.MonthTXT, main.YearTXT}) {
        SCOPED_TRACE(std::string(window) + ", " + way + ", " + field->Name());
        main.MonthTXT->SetText("11");
        main.YearTXT->SetText("2026");
        CaretInside(*field);
        if (window == std::string("Conversion")) {
          fw::test::Shortcut(main, "Ctrl+F");
          CalConv& conv = CalConv::Instance();
          ASSERT_TRUE(fw::test::WaitUntil([&] { return fw::test::ActiveWindow() == &conv; }));
          Dismiss(conv, *conv.ToExit, way);
        } else {
          WhilePrintWindow([&](CalPrint& w) { Dismiss(w, *w.CancelButton, way); });
        }
        ASSERT_TRUE(fw::test::WaitUntil([&] { return fw::test::ActiveWindow() == &main; }));
        EXPECT_EQ(field->SelText(), field->Text());
        fw::test::TypeThroughWindow(main, "9");
        EXPECT_EQ(field->Text(), "9");
      }
    }
  }
}

TEST_F(FocusBackTest, TheMainWindowComingBackToTheFrontKeepsTheCaretWhereItWas) {
  CalMain& main = CalMain::Instance();
  for (fw::TextField* field : {main.MonthTXT, main.YearTXT}) {
    SCOPED_TRACE(field->Name());
    main.MonthTXT->SetText("11");
    main.YearTXT->SetText("2026");
    const int32_t caret = CaretInside(*field);
    fw::test::Shortcut(main, "Ctrl+F");
    ASSERT_TRUE(fw::test::WaitUntil([] { return fw::test::ActiveWindow() == &CalConv::Instance(); }));
    // A click on the main window's title bar.
    main.SetFocus();
    ASSERT_TRUE(fw::test::WaitUntil([&] { return fw::test::ActiveWindow() == &main; }));
    fw::test::TypeThroughWindow(main, "9");
    std::string expected = field == main.MonthTXT ? "11" : "2026";
    expected.insert(static_cast<size_t>(caret), "9");
    EXPECT_EQ(field->Text(), expected);
    CalConv::Instance().Hide();
  }
}
