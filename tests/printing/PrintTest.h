#pragma once
// Opens the Print window with the Print command and prints to a PDF file of the
// test's own.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "tests/support/AppTest.h"

class PrintTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    std::string folder = fw::test::ScratchDir() + "/printing-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    dir = folder;
    pdf = (dir / "job.pdf").string();
    fw::test::SetPrintFile(pdf);
  }

  void TearDown() override {
    fw::test::SetPrintFile("");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    AppTest::TearDown();
  }

  // Types the three fields and picks the calendar.
  static void Fill(CalPrint& w, bool hijri, const std::string& year, const std::string& from,
                   const std::string& to) {
    fw::test::Click(hijri ? *w.OPTHijri : *w.OPTGregorian);
    fw::test::Type(*w.YearTXTPRT, year);
    fw::test::Type(*w.FromMonthTXTPRT, from);
    fw::test::Type(*w.ToMonthTXTPRT, to);
  }

  // Presses Print; the dialog that comes up (an alert or the printer dialog) is
  // answered with OK or Cancel.
  static fw::test::Dialog PressPrint(CalPrint& w, bool accept = true) {
    return fw::test::AnswerDialog([&] { fw::test::Click(*w.PrintPRT); }, accept);
  }

  // Prints the months from..to of `year` with the printer dialog confirmed.
  bool PrintMonths(bool hijri, int32_t year, int32_t from, int32_t to) {
    fw::test::Dialog d;
    WhilePrintWindow([&](CalPrint& w) {
      Fill(w, hijri, std::to_string(year), std::to_string(from), std::to_string(to));
      d = PressPrint(w);
    });
    return d.Kind == "print" && std::filesystem::exists(pdf);
  }

  std::filesystem::path dir;
  std::string pdf;
};
