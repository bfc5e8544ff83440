// Converting a typed date either way, refusing dates out of range, and what the
// input fields make of what is typed into them.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "framework/Basic.h"
#include "tests/converter/ConvTest.h"

TEST_F(ConvTest, ConvertsBothWaysAcrossTheEraAndTheSwitchOf1582) {
  // The first day of the era, the last, and the first Gregorian day.
  const std::pair<Result, Result> days[] = {
      {{"622", "7", "16", "Friday"}, {"1", "1", "1", "Friday"}},
      {{"2562", "1", "7", "Thursday"}, {"2000", "1", "1", "Thursday"}},
      {{"1582", "10", "15", "Friday"}, {"990", "9", "18", "Friday"}},
  };
  CalConv& w = Open();
  for (const auto& [gregorian, hijri] : days) {
    for (const auto& [from, to, button] : {std::tuple{gregorian, hijri, w.ToHijri}, {hijri, gregorian, w.ToGreg}}) {
      const std::string typed = from.Year + "-" + from.Month + "-" + from.Day;
      SCOPED_TRACE(typed);
      Enter(from.Year, from.Month, from.Day);
      fw::test::Click(*button);
      EXPECT_EQ(Shown(), to);
      // A conversion leaves what was typed alone.
      EXPECT_EQ(Inputs(), typed);
    }
  }
}

TEST_F(ConvTest, NamesTheWeekdayOfTheTypedDateToHijriAndOfTheResultToGregorian) {
  CalConv& w = Open();
  // The skipped days of October 1582 still convert, as Gregorian dates; 5 October is
  // a Tuesday, but its Hijri date comes back as Wednesday 26 September (Julian).
  Enter("1582", "10", "5");
  fw::test::Click(*w.ToHijri);
  EXPECT_EQ(Shown(), (Result{"990", "9", "8", "Tuesday"}));
  Enter("990", "9", "8");
  fw::test::Click(*w.ToGreg);
  EXPECT_EQ(Shown(), (Result{"1582", "9", "26", "Wednesday"}));
}

TEST_F(ConvTest, RefusesDatesOutOfRangeWithAnAlertAndChangesNothing) {
  struct Refused {
    const char* what;
    bool toHijri;
    const char* typed[3];  // year, month, day
    // The year and month fields, left, show the numbers that were read; the day field
    // keeps the focus through the click and its text as typed.
    const char* fieldsAfter;
  };
  const Refused rows[] = {
      {"empty day, Gregorian", true, {"2000", "1", ""}, "2000-1-"},
      {"letters", true, {"abc", "1", "1"}, "0-1-1"},
      {"Gregorian month 13", true, {"2000", "13", "1"}, "2000-13-1"},
      {"the day before the era", true, {"622", "7", "15"}, "622-7-15"},
      {"Hijri 31 Muharram 1", false, {"1", "1", "31"}, "1-1-31"},
      {"the Hijri day after the era", false, {"2000", "1", "2"}, "2000-1-2"},
      // Beyond 32 bits a number stops at the nearest end, which no check accepts.
      {"a huge Gregorian year", true, {"99999999999", "1", "1"}, "2147483647-1-1"},
      {"a huge negative day", true, {"2000", "1", "-99999999999"}, "2000-1--99999999999"},
      {"a huge month", false, {"1420", "4294967305", "1"}, "1420-2147483647-1"},
      {"Arabic-Indic digits", true, {"\u0662\u0660\u0660\u0660", "1", "1"}, "0-1-1"},
      {"an emoji month", false, {"1420", "\U0001F600", "1"}, "1420-0-1"},
      {"Arabic-Indic digits and an emoji", false, {"1420", "9", "\u0662\U0001F600"}, "1420-9-\u0662\U0001F600"},
  };
  CalConv& w = Open();
  Enter("2000", "1", "1");
  fw::test::Click(*w.ToHijri);
  const Result before = Shown();
  ASSERT_EQ(before, (Result{"1420", "9", "25", "Saturday"}));

  for (const Refused& r : rows) {
    SCOPED_TRACE(r.what);
    Enter(r.typed[0], r.typed[1], r.typed[2]);
    const int beeps = fw::test::BeepCount();
    const fw::test::Alert alert = fw::test::ExpectAlert([&] { fw::test::Click(r.toHijri ? *w.ToHijri : *w.ToGreg); });
    ASSERT_TRUE(alert.Shown);
    EXPECT_EQ(alert.Text, "Date is out of range!");
    EXPECT_EQ(alert.Title, "Input Error ...");
    EXPECT_TRUE(alert.StopIcon);
    EXPECT_EQ(alert.Buttons, 1);
    EXPECT_EQ(fw::test::BeepCount(), beeps + 1);
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(Inputs(), r.fieldsAfter);
    EXPECT_TRUE(w.Visible());
  }
}

TEST_F(ConvTest, LeavingAFieldShowsTheNumberAConversionWouldRead) {
  struct Typed {
    const char* text;
    const char* shown;
  };
  const Typed rows[] = {
      {"07", "7"},   {"", "0"},      {"abc", "0"}, {"12abc", "12"}, {"3.9", "3"},
      {"-3.9", "-3"}, {"-0", "0"}, {"99999999999", "2147483647"}, {"-99999999999", "-2147483648"},
  };
  CalConv& w = Open();
  fw::TextField* fields[] = {w.InYearTXT, w.InMonthTXT, w.InDayTXT};
  for (fw::TextField* field : fields) {
    for (const Typed& t : rows) {
      SCOPED_TRACE(field->Name() + " '" + t.text + "'");
      fw::test::Type(*field, t.text);
      fw::test::TabFocus(field == w.InYearTXT ? *w.InMonthTXT : *w.InYearTXT);
      EXPECT_EQ(field->Text(), t.shown);
    }
  }
}

TEST_F(ConvTest, EnteringAFieldSelectsAllOfItsText) {
  CalConv& w = Open();
  w.InYearTXT->SetText("1445");
  w.InMonthTXT->SetText("12");
  w.InDayTXT->SetText("");

  // The window opened with the focus in the year field: enter it anew from the month's.
  fw::test::ClickFocus(*w.InMonthTXT);
  EXPECT_EQ(w.InMonthTXT->SelText(), "12");
  fw::test::TabFocus(*w.InYearTXT);
  EXPECT_EQ(w.InYearTXT->SelText(), "1445");
  // An empty field becomes "0" only when it is left, not when it is entered.
  fw::test::TabFocus(*w.InDayTXT);
  EXPECT_EQ(w.InDayTXT->Text(), "");
  // A click lands in the middle of the field and still leaves it all selected.
  fw::test::Click(*w.InYearTXT);
  EXPECT_EQ(w.InYearTXT->SelText(), "1445");

  // Fault found in use: characters beyond the Basic Multilingual Plane counted twice,
  // and only half the text was selected. Positions count characters.
  const std::string emoji = "\U0001F600\U0001F600";
  w.InMonthTXT->SetText(emoji);
  fw::test::TabFocus(*w.InMonthTXT);
  EXPECT_EQ(w.InMonthTXT->SelText(), emoji);
  EXPECT_EQ(w.InMonthTXT->SelLength(), 2);
  w.InMonthTXT->SetText("a\U0001F600b\u0662");
  w.InMonthTXT->SetSelStart(3);
  w.InMonthTXT->SetSelLength(1);
  EXPECT_EQ(w.InMonthTXT->SelText(), "\u0662");
  EXPECT_EQ(w.InMonthTXT->SelStart(), 3);
}
