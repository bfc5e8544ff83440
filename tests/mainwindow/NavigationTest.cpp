// Moving the main window to another month: GO with its limits, the "+"/"-" steps
// and the radio buttons.

#include <gtest/gtest.h>

#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "tests/support/AppTest.h"

namespace {

class NavigationTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SetToday(2026, 12, 6);  // 26 Jumada II 1448
  }

  CalMain& W() { return CalMain::Instance(); }

  void Lead(bool hijri) { fw::test::Click(hijri ? *W().HijOpt : *W().GregOpt); }

  void Fields(const std::string& month, const std::string& year) {
    fw::test::Type(*W().MonthTXT, month);
    fw::test::Type(*W().YearTXT, year);
  }

  // Presses GO; returns whether it was refused (with the alert checked).
  bool GoRefused() {
    const int beeps = fw::test::BeepCount();
    const fw::test::Alert alert = fw::test::ExpectAlert([&] { fw::test::Click(*W().GoCMD); });
    if (!alert.Shown) {
      EXPECT_EQ(fw::test::BeepCount(), beeps);
      return false;
    }
    EXPECT_EQ(alert.Text, "Date is out of range!");
    EXPECT_EQ(alert.Title, "Input Error ...");
    EXPECT_TRUE(alert.StopIcon);
    EXPECT_EQ(alert.Buttons, 1);
    EXPECT_EQ(fw::test::BeepCount(), beeps + 1);
    return true;
  }

  void ExpectShown(int32_t month, int32_t year) {
    EXPECT_EQ(AppGlobal::CurrentDate.Month, month);
    EXPECT_EQ(AppGlobal::CurrentDate.Year, year);
    EXPECT_EQ(AppGlobal::CurrentDate.Day, 1);
  }
};

}  // namespace

TEST_F(NavigationTest, GoKeepsMonthsWithinJuly622ToJanuary2562AndMuharram1ToMuharram2000) {
  struct Limit {
    bool hijri;
    const char *month, *year;
    bool accepted;
  };
  const Limit limits[] = {
      {false, "6", "622", false},   {false, "7", "622", true},   {false, "1", "2562", true},
      {false, "2", "2562", false},  {false, "10", "1582", false}, {false, "9", "1582", true},
      {false, "11", "1582", true},  {false, "0", "2000", false},  {false, "13", "2000", false},
      {true, "1", "1", true},       {true, "0", "1", false},      {true, "5", "0", false},
      {true, "1", "2000", true},    {true, "2", "2000", false},   {true, "9", "990", false},
      {true, "8", "990", true},     {true, "10", "990", true},    {true, "13", "1440", false},
  };
  for (const Limit& l : limits) {
    SCOPED_TRACE(std::string(l.hijri ? "Hijri " : "Gregorian ") + l.month + "/" + l.year);
    Lead(l.hijri);
    Fields(l.month, l.year);
    EXPECT_EQ(GoRefused(), !l.accepted);
  }
}

TEST_F(NavigationTest, AcceptedMonthKeepsTheFieldsAsTypedARefusedOneRewritesThemAsRead) {
  Fields("09", "2009");
  ASSERT_FALSE(GoRefused());
  EXPECT_EQ(W().MonthTXT->Text(), "09");
  fw::test::Grab(*W().CalendarTable);
  const std::string heading = W().Heading->Text();
  EXPECT_EQ(heading, "September, 2009");

  Fields("abc", "2009");
  EXPECT_TRUE(GoRefused());
  EXPECT_EQ(W().MonthTXT->Text(), "0");
  EXPECT_EQ(W().YearTXT->Text(), "2009");
  ExpectShown(9, 2009);
  fw::test::Grab(*W().CalendarTable);
  EXPECT_EQ(W().Heading->Text(), heading);

  // Beyond the 32-bit range the number is read as the largest one, and refused.
  Fields("5", "99999999999");
  EXPECT_TRUE(GoRefused());
  EXPECT_EQ(W().YearTXT->Text(), "2147483647");
  ExpectShown(9, 2009);

  Fields("10.7", "1582.2");
  EXPECT_TRUE(GoRefused());
  EXPECT_EQ(W().MonthTXT->Text(), "10");
  EXPECT_EQ(W().YearTXT->Text(), "1582");
}

TEST_F(NavigationTest, TypingGoesOnInTheFieldAfterAClickOnAButtonOrACalendar) {
  // Faults found in use: a click took the focus to the button, and the digits typed
  // next were lost.
  Fields("3", "2009");
  fw::test::TabFocus(*W().MonthTXT);
  fw::test::Click(*W().MonthIncrease);
  EXPECT_EQ(W().MonthTXT->Text(), "4");
  EXPECT_EQ(fw::test::FocusedControl(), "MonthTXT");
  fw::test::TypeKeys(W(), "\b7");
  EXPECT_EQ(W().MonthTXT->Text(), "7");
  fw::test::Press(W(), fw::test::Key::Return);
  ExpectShown(7, 2009);

  fw::test::TabFocus(*W().YearTXT);
  Lead(true);
  EXPECT_EQ(fw::test::FocusedControl(), "YearTXT");
  EXPECT_EQ(W().LastFocusIndex, 1);
  fw::test::TypeKeys(W(), "\b\b\b\b1400");
  fw::test::Press(W(), fw::test::Key::Return);
  ExpectShown(6, 1400);
}

TEST_F(NavigationTest, DigitsOfOtherScriptsAndEmojiAreRefusedAsNotANumber) {
  for (fw::TextField* field : {W().MonthTXT, W().YearTXT}) {
    for (const char* typed : {"\u0662\u0660\u0662\u0664", "\U0001F600\U0001F600"}) {
      SCOPED_TRACE(field->Name() + " '" + typed + "'");
      Fields("3", "2009");
      fw::test::Type(*field, typed);
      EXPECT_EQ(field->Text(), typed);
      EXPECT_TRUE(GoRefused());
      EXPECT_EQ(field->Text(), "0");
    }
  }
  ExpectShown(12, 2026);
}

TEST_F(NavigationTest, RadioButtonJumpsToTodaysMonthInItsCalendar) {
  Fields("3", "2009");
  ASSERT_FALSE(GoRefused());
  Lead(true);
  ExpectShown(6, 1448);
  EXPECT_EQ(W().MonthTXT->Text(), "6");
  EXPECT_EQ(W().YearTXT->Text(), "1448");
  fw::test::Grab(*W().CalendarTable);
  EXPECT_EQ(W().Heading->Text(), "Jumada II, 1448");
}

struct Step {
  const char* month;
  const char* year;
  fw::PushButton* CalMain::*button;
  const char* monthAfter;
  const char* yearAfter;
};

static void PressStep(const Step& s) {
  SCOPED_TRACE(std::string(s.month) + "/" + s.year);
  CalMain& w = CalMain::Instance();
  fw::test::Type(*w.MonthTXT, s.month);
  fw::test::Type(*w.YearTXT, s.year);
  fw::test::Click(*(w.*s.button));
  EXPECT_EQ(w.MonthTXT->Text(), s.monthAfter);
  EXPECT_EQ(w.YearTXT->Text(), s.yearAfter);
}

TEST_F(NavigationTest, StepsStopAtTheirGregorianBounds) {
  const Step steps[] = {
      {"5", "2559", &CalMain::YearIncrease, "5", "2560"},   {"5", "2560", &CalMain::YearIncrease, "5", "2560"},
      {"7", "623", &CalMain::YearDecrease, "7", "622"},     {"6", "623", &CalMain::YearDecrease, "6", "623"},
      {"8", "622", &CalMain::MonthDecrease, "7", "622"},    {"7", "622", &CalMain::MonthDecrease, "7", "622"},
      {"1", "2000", &CalMain::MonthDecrease, "1", "2000"},  {"12", "2000", &CalMain::MonthIncrease, "12", "2000"},
      {"abc", "2000", &CalMain::MonthIncrease, "1", "2000"}, {"5", "", &CalMain::YearIncrease, "5", "1"},
  };
  for (const Step& s : steps) PressStep(s);
}

TEST_F(NavigationTest, StepsStopAtTheirHijriBounds) {
  Lead(true);
  const Step steps[] = {
      {"5", "1998", &CalMain::YearIncrease, "5", "1999"}, {"5", "1999", &CalMain::YearIncrease, "5", "1999"},
      {"5", "2", &CalMain::YearDecrease, "5", "1"},       {"5", "1", &CalMain::YearDecrease, "5", "1"},
      {"2", "1", &CalMain::MonthDecrease, "1", "1"},      {"1", "1", &CalMain::MonthDecrease, "1", "1"},
  };
  for (const Step& s : steps) PressStep(s);
}

TEST_F(NavigationTest, StepsDoNotChangeTheShownMonthUntilGo) {
  ExpectShown(12, 2026);
  fw::test::Click(*W().YearDecrease);
  fw::test::Click(*W().MonthDecrease);
  ExpectShown(12, 2026);
  EXPECT_EQ(W().MonthTXT->Text(), "11");
  EXPECT_EQ(W().YearTXT->Text(), "2025");
  EXPECT_FALSE(GoRefused());
  ExpectShown(11, 2025);
}
