#pragma once
// Opens the Conversion window the way a user does and reads what it shows.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "converter/CalConv.h"
#include "mainwindow/CalMain.h"
#include "tests/support/AppTest.h"

// What the right-hand column and the weekday line show.
struct Result {
  std::string Year, Month, Day, Weekday;
  bool operator==(const Result&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Result& r) {
  return out << "{" << r.Year << "-" << r.Month << "-" << r.Day << " '" << r.Weekday << "'}";
}

class ConvTest : public AppTest {
 protected:
  CalConv& Open() {
    fw::test::ChooseMenu(CalMain::Instance(), "Convert");
    EXPECT_TRUE(CalConv::Exists()) << "the Convert command opened no window";
    return CalConv::Instance();
  }

  // Types each field in turn as a user would, leaving the day field last.
  void Enter(const std::string& year, const std::string& month, const std::string& day) {
    CalConv& w = CalConv::Instance();
    fw::test::Type(*w.InYearTXT, year);
    fw::test::Type(*w.InMonthTXT, month);
    fw::test::Type(*w.InDayTXT, day);
  }

  Result Shown() {
    CalConv& w = CalConv::Instance();
    return {w.OutYearTXT->Caption(), w.OutMonthTXT->Caption(), w.OutDayTXT->Caption(), w.ToWeekDay->Caption()};
  }

  std::string Inputs() {
    CalConv& w = CalConv::Instance();
    return w.InYearTXT->Text() + "-" + w.InMonthTXT->Text() + "-" + w.InDayTXT->Text();
  }
};
