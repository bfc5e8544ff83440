// Print jobs as they reach the paper: the checks before a job, the printer dialog,
// the page setup command, the geometry of the grid and what each page says.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Basic.h"
#include "framework/Printing.h"
#include "shell/AppGlobal.h"
#include "shell/TSL.h"
#include "tests/printing/PrintTest.h"
#include "tests/support/Pixels.h"

namespace {

using fw::test::Image;
using namespace pixels;

// Where the grid should lie on the page, in points from the sheet's top left corner.
struct Grid {
  int32_t left, top, cellWidth, cellHeight;
  // Box `index` (1..42, Sunday first) from border to border.
  Rect Box(int32_t index) const {
    const int32_t x = left + (index - 1) % 7 * cellWidth, y = top + (index - 1) / 7 * cellHeight;
    return {x, y, x + cellWidth, y + cellHeight};
  }
  Rect Inside(int32_t index) const {
    const Rect b = Box(index);
    return {b.x0 + 2, b.y0 + 2, b.x1 - 1, b.y1 - 1};
  }
  int32_t Right() const { return left + 7 * cellWidth; }
  int32_t Bottom() const { return top + 6 * cellHeight; }
};

// Seven columns and six rows of boxes ruled one point wide where `g` says, and
// nothing ruled just beside the lines; lines that fall off the sheet are not sought.
void ExpectGridAt(const Image& page, const Grid& g) {
  for (int32_t row = 0; row < 6; ++row) {
    const int32_t y = g.top + row * g.cellHeight + g.cellHeight / 2;  // clear of the numbers
    for (int32_t k = 0; k <= 7 && y < page.Height && g.left + k * g.cellWidth + 3 < page.Width; ++k) {
      const int32_t x = g.left + k * g.cellWidth;
      EXPECT_TRUE(IsDark(page.At(x, y)) && IsLight(page.At(x - 2, y)) && IsLight(page.At(x + 2, y)))
          << "vertical line " << k << " at x " << x << ", y " << y;
    }
  }
  for (int32_t col = 0; col < 7; ++col) {
    const int32_t x = g.left + col * g.cellWidth + g.cellWidth / 2;
    for (int32_t k = 0; k <= 6 && x < page.Width && g.top + k * g.cellHeight + 3 < page.Height; ++k) {
      const int32_t y = g.top + k * g.cellHeight;
      EXPECT_TRUE(IsDark(page.At(x, y)) && IsLight(page.At(x, y + 2)) && (k == 0 || IsLight(page.At(x, y - 3))))
          << "horizontal line " << k << " at y " << y << ", x " << x;
    }
  }
  if (g.Right() + 3 < page.Width) {
    EXPECT_TRUE(IsLight(page.At(g.Right() + 3, g.top + g.cellHeight / 2)));
  }
  if (g.Bottom() + 3 < page.Height) {
    EXPECT_TRUE(IsLight(page.At(g.left + 7 * g.cellWidth / 2, g.Bottom() + 3)));  // between the legends
  }
}

// Days 1..n, day 1 in box `start`: the boxes of days after `blankDays` carry a number
// in the top left quarter and one in the bottom right, and nothing in the bottom
// left; every other box is empty.
void ExpectDaysInTheirBoxes(const Image& page, const Grid& g, int32_t start, int32_t n, int32_t blankDays = 0) {
  for (int32_t index = 1; index <= 42; ++index) {
    const Rect b = g.Inside(index);
    const int32_t midX = (b.x0 + b.x1) / 2, midY = (b.y0 + b.y1) / 2;
    const int32_t topLeft = Count(page, {b.x0, b.y0, midX, midY}, IsInk);
    const int32_t bottomRight = Count(page, {midX, midY, b.x1, b.y1}, IsInk);
    const int32_t bottomLeft = Count(page, {b.x0, midY, midX, b.y1}, IsInk);
    const int32_t day = index - start + 1;
    if (day > blankDays && day >= 1 && day <= n) {
      EXPECT_TRUE(topLeft > 0 && bottomRight > 0 && bottomLeft == 0) << "day " << day << " in box " << index;
    } else {
      EXPECT_EQ(topLeft + bottomRight, 0) << "box " << index << " should be empty";
    }
  }
}

// The leading number starts two points in from the box's left border, just under
// the top one; the other number ends one point inside the right border, its
// baseline two points above the bottom border.
void ExpectNumbersInTheCorners(const Image& page, const Grid& g, int32_t index) {
  const Rect box = g.Box(index);
  const int32_t midX = (box.x0 + box.x1) / 2, midY = (box.y0 + box.y1) / 2;
  const Rect leading = InkBounds(page, {box.x0 + 1, box.y0 + 1, midX, midY});
  EXPECT_TRUE(leading.x0 - box.x0 >= 2 && leading.x0 - box.x0 <= 3) << "box " << index << ": " << leading.x0;
  EXPECT_TRUE(leading.y0 - box.y0 >= 2 && leading.y0 - box.y0 <= 3) << "box " << index << ": " << leading.y0;
  const Rect other = InkBounds(page, {midX, midY, box.x1, box.y1});
  EXPECT_TRUE(box.x1 - other.x1 >= 1 && box.x1 - other.x1 <= 2) << "box " << index << ": " << other.x1;
  EXPECT_TRUE(box.y1 - other.y1 >= 2 && box.y1 - other.y1 <= 3) << "box " << index << ": " << other.y1;
}

// The ink of a line of words between y0 and y1 (excluded), word by word from the
// left: runs of inked columns, a gap of `gap` clean columns or more between words.
std::vector<Rect> WordsInk(const Image& page, int32_t x0, int32_t x1, int32_t y0, int32_t y1, int32_t gap) {
  std::vector<Rect> words;
  int32_t clean = gap;
  for (int32_t x = x0; x < x1; ++x) {
    if (Count(page, {x, y0, x + 1, y1}, IsInk) == 0) {
      ++clean;
      continue;
    }
    if (clean >= gap) words.push_back(InkBounds(page, {x, y0, x1, y1}));
    words.back().x1 = x;
    clean = 0;
  }
  return words;
}

bool Has(const std::string& text, const std::string& sought) { return text.find(sought) != std::string::npos; }

// A page setup in the framework's text form: a sheet `w` x `h` points, equal margins.
std::string SheetSetup(int32_t w, int32_t h, int32_t margin) {
  const std::string m = std::to_string(margin), size = std::to_string(w) + "x" + std::to_string(h);
  return "tessaral-page-setup 1\nprinter=\nsize=Custom." + size + "\nwidth=" + std::to_string(w) +
         "\nheight=" + std::to_string(h) + "\norientation=portrait\nmargins=" + m + "," + m + "," + m + "," + m + "\n";
}

// With no page setup stored, the job prints on the default sheet, A4 with margins of
// 10 points here. The printable width is then taken as 547: cells of 77 x 60 from
// x 3; the scale 595 / 612 puts the grid's top at 77. The margins move it all in.
constexpr Grid kA4NoSetup{10 + 3, 10 + 77, 77, 60};
// A4 set up upright: printable width 575, cells of 81 x 63 from x 3; scale 595 / 612.
constexpr Grid kA4Upright{10 + 3, 10 + 77, 81, 63};

class PrintJobTest : public PrintTest {
 protected:
  void UseDefaultSheetWithoutSetup() {
    const fw::PrinterSetup defaults;
    ASSERT_EQ(defaults.PageWidth(), 595);
    ASSERT_EQ(defaults.Width(), 575);
    AppGlobal::PageSetup.clear();
  }
  static fw::test::Dialog PrintSetup(const fw::test::DialogAnswer& answer) {
    return fw::test::AnswerDialog([] { fw::test::ChooseMenu(CalMain::Instance(), "CalendarPageSetup"); }, answer);
  }
  Image Page(int32_t n) { return fw::test::RenderPdfPage(pdf, n, 72); }
  // Every name in the folder, hidden ones included, with its file's bytes.
  static std::map<std::string, std::string> Contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      files[entry.path().filename()] = entry.is_regular_file() ? ReadFile(entry.path()) : "(not a file)";
    return files;
  }
};

}  // namespace

// ---- before the job --------------------------------------------------------------

TEST_F(PrintJobTest, ChecksRefuseOutOfRangeInputWithTheFirstFailingMessage) {
  struct Row {
    bool hijri;
    const char *year, *from, *to;
    char expect;  // 'd' date message, 'm' month message, 'p' the printer dialog
  };
  const Row rows[] = {
      {false, "622", "6", "6", 'd'},    {false, "622", "7", "7", 'p'},    {false, "622", "12", "13", 'm'},
      {false, "2562", "1", "1", 'p'},   {false, "2562", "1", "2", 'd'},   {false, "2562", "0", "1", 'm'},
      {false, "1582", "10", "10", 'p'}, {false, "621", "0", "13", 'd'},   {false, "2024", "5", "3", 'm'},
      {false, "year", "1", "1", 'd'},   {true, "1", "1", "1", 'p'},       {true, "1", "0", "1", 'd'},
      {true, "2000", "1", "1", 'p'},    {true, "2000", "1", "2", 'd'},    {true, "990", "9", "9", 'p'},
      {true, "0", "1", "1", 'd'},       {true, "1445", "12", "11", 'm'},
      // Digits of other scripts and emoji are not numbers.
      {false, "\u0662\u0660\u0662\u0664", "1", "1", 'd'}, {false, "2024", "\U0001F600", "3", 'm'},
      {true, "1445", "1", "\u0663\U0001F600", 'm'},
  };
  WhilePrintWindow([&](CalPrint& w) {
    for (const Row& r : rows) {
      const std::string input = std::string(r.year) + " " + r.from + ".." + r.to;
      SCOPED_TRACE((r.hijri ? "Hijri " : "Gregorian ") + input);
      Fill(w, r.hijri, r.year, r.from, r.to);
      AppGlobal::DayBlock[3].GD = 99;  // left over from an earlier grid
      const int beeps = fw::test::BeepCount();

      const fw::test::Dialog d = PressPrint(w, false);  // a printer dialog is cancelled

      if (r.expect == 'p') {
        EXPECT_EQ(d.Kind, "print");
        EXPECT_EQ(fw::test::BeepCount(), beeps);
      } else {
        EXPECT_EQ(d.Kind, "alert");
        EXPECT_EQ(d.Title, "Input Error ...");
        EXPECT_EQ(d.Text, r.expect == 'd' ? "Check your date limits!"
                                          : "Check your 'From Month' or 'To Month' limits!");
        EXPECT_TRUE(d.StopIcon);
        EXPECT_EQ(fw::test::BeepCount(), beeps + 1);
      }
      EXPECT_EQ(AppGlobal::DayBlock[3].GD, 0) << "the cells are renewed on every press";
      EXPECT_EQ(w.YearTXTPRT->Text() + " " + w.FromMonthTXTPRT->Text() + ".." + w.ToMonthTXTPRT->Text(), input);
      EXPECT_TRUE(w.Visible());
    }
  });
  EXPECT_FALSE(std::filesystem::exists(pdf)) << "a cancelled printer dialog printed";
}

TEST_F(PrintJobTest, OneMonthPrintsOnePageAndAYearTwelveInOrderWhateverTheDialogOffers) {
  UseDefaultSheetWithoutSetup();
  // Qt's dialog would print every page whatever was chosen here: these must not be
  // choices. A file holds one copy in page order, so neither are copies or order.
  const char* notOffered[] = {"printRange",       "from",           "to",     "pagesRadioButton", "pagesLineEdit",
                              "printCurrentPage", "printSelection", "copies", "reverse"};
  std::map<std::string, fw::test::DialogControl> controls;
  fw::test::Dialog d;
  WhilePrintWindow([&](CalPrint& w) {
    Fill(w, false, "2024", "3", "3");
    // Return presses Print.
    EXPECT_EQ(fw::test::AnswerDialog([&] { fw::test::Press(w, fw::test::Key::Return); }, true).Kind, "print");
    EXPECT_EQ(fw::test::ReadPdf(pdf).Pages, 1);
    EXPECT_TRUE(Has(fw::test::PdfText(pdf, 1), "March (3), 2024"));

    Fill(w, false, "2024", "1", "12");
    fw::test::WhileDialog([&] { fw::test::Click(*w.PrintPRT); },
                          [&] { controls = fw::test::ModalDialogControls(); });
    // Choosing them anyway, as far as the dialog lets anyone.
    d = fw::test::AnswerDialog([&] { fw::test::Click(*w.PrintPRT); },
                               fw::test::DialogAnswer{true, {{"from", 2}, {"to", 2}, {"copies", 2}},
                                                      {"printRange", "printCurrentPage", "reverse"}, {}});
  });
  EXPECT_TRUE(controls["printAll"].Offered && controls["printAll"].Checked);
  for (const char* name : notOffered) {
    ASSERT_EQ(controls.count(name), 1u) << name << " is not in the print dialog";
    EXPECT_FALSE(controls[name].Offered) << name;
  }
  EXPECT_TRUE(controls["printers"].Offered) << "the printer is still chosen here";
  EXPECT_EQ(d.Values["copies"], 1);

  ASSERT_EQ(fw::test::ReadPdf(pdf).Pages, 12);
  const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                          "July",    "August",   "September", "October", "November", "December"};
  for (int32_t m = 1; m <= 12; ++m) {
    const std::string title = std::string(months[m - 1]) + " (" + std::to_string(m) + "), 2024";
    EXPECT_TRUE(Has(fw::test::PdfText(pdf, m), title)) << "page " << m << " is not titled " << title;
  }
}

TEST_F(PrintJobTest, GridAndTitleAreLaidOutForTheSheetSetUpWhateverThePrintDialogsPropertiesSay) {
  struct Row {
    const char* sheet;
    const char* setUp;     // chosen in Print Setup; null for none stored
    const char* inDialog;  // chosen in the print dialog's properties, or null
    double width, height;  // of the printed sheet
    Grid grid;
  };
  const Row rows[] = {
      // A4 across: printable width 822, cells of 117 x 82 (six tenths of the width)
      // from x 2; the scale follows the height, 595 / 612, so the top is at 77.
      {"A4 landscape", "landscape", "portrait", 842, 595, {10 + 2, 10 + 77, 117, 82}},
      {"A4 portrait", "portrait", "landscape", 595, 842, kA4Upright},
      {"A4, no setup", nullptr, nullptr, 595, 842, kA4NoSetup},
      // Letter is 612 points wide: scale 1, so a 30 point title and the grid's top at
      // 80; the printable width 592 gives cells of 84 x 65 from x 1.
      {"Letter", "", nullptr, 612, 792, {10 + 1, 10 + 80, 84, 65}},
  };
  // Start-up keeps the default printer's setup, A4 here.
  EXPECT_EQ(AppGlobal::PageSetup, fw::PrinterSetup().SetupString());
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.sheet) + (r.inDialog ? std::string(", ") + r.inDialog + " in the print dialog" : ""));
    if (!r.setUp) UseDefaultSheetWithoutSetup();
    else if (!*r.setUp) AppGlobal::PageSetup = SheetSetup(612, 792, 10);
    else PrintSetup({true, {}, {r.setUp}, {}});
    std::filesystem::remove(pdf);
    fw::test::DialogAnswer answer;
    if (r.inDialog) answer = {true, {}, {"properties"}, {r.inDialog}};
    // May 2022 starts on a Sunday.
    WhilePrintWindow([&](CalPrint& w) {
      Fill(w, false, "2022", "5", "5");
      fw::test::AnswerDialog([&] { fw::test::Click(*w.PrintPRT); }, answer);
    });
    const fw::test::PdfInfo info = fw::test::ReadPdf(pdf);
    EXPECT_NEAR(info.PageWidth, r.width, 1.0);
    EXPECT_NEAR(info.PageHeight, r.height, 1.0);
    const Image page = Page(1);
    ExpectGridAt(page, r.grid);
    ExpectDaysInTheirBoxes(page, r.grid, 1, 31);
    for (int32_t index : {10, 31}) ExpectNumbersInTheCorners(page, r.grid, index);
    // The grid stands in the middle of the printable width, the title over it, the
    // headings just above it and the legends below.
    if (r.inDialog) {
      EXPECT_NEAR(r.grid.left - 10, (r.width - 20) - r.grid.Right() + 10, 8);
    }
    const Rect title = InkBounds(page, {0, 10, page.Width, 10 + 45});
    EXPECT_NEAR((title.x0 + title.x1) / 2.0, (r.grid.left + r.grid.Right()) / 2.0, 2.0);
    EXPECT_GT(Count(page, {r.grid.left, r.grid.top - 18, r.grid.Right(), r.grid.top - 1}, IsDark), 0);
    const std::string text = fw::test::PdfText(pdf, 1);
    for (const char* s : {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                          "A-Ramadhan (9), 1443", "C-Thul-Qa'dah (11), 1443"})
      EXPECT_TRUE(Has(text, s)) << s;
  }
}

TEST_F(PrintJobTest, ACustomSheetIsKeptThroughTwoPrintSetupsAndPrintedAtItsSize) {
  struct Row {
    const char *unit, *width, *height;
    double points[2];
  };
  const Row rows[] = {
      {"mm", "200", "150", {200 / 25.4 * 72, 150 / 25.4 * 72}},
      {"pt", "100.5", "150.25", {100.5, 150.25}},
  };
  for (const Row& r : rows) {
    const std::string size = std::string("width=") + r.width + "\nheight=" + r.height + "\n";
    SCOPED_TRACE(size + r.unit);
    fw::PrinterSetup given;
    given.SetSetupString(std::string("tessaral-page-setup 1\nprinter=\nsize=Custom\nunit=") + r.unit + "\n" + size +
                         "orientation=portrait\nmarginunit=pt\nmargins=10,10,10,10\n");
    AppGlobal::PageSetup = given.SetupString();
    EXPECT_TRUE(Has(AppGlobal::PageSetup, size)) << AppGlobal::PageSetup;
    for (int i = 0; i < 2; ++i) EXPECT_EQ(PrintSetup({}).Choices.at("pageSizeCombo"), "Custom");
    EXPECT_EQ(AppGlobal::PageSetup, given.SetupString());
    std::filesystem::remove(pdf);
    ASSERT_TRUE(PrintMonths(false, 2024, 1, 1));
    // The file holds whole points.
    const fw::test::PdfInfo info = fw::test::ReadPdf(pdf);
    EXPECT_NEAR(info.PageWidth, r.points[0], 1.0);
    EXPECT_NEAR(info.PageHeight, r.points[1], 1.0);
  }
}

TEST_F(PrintJobTest, TheScaleChosenInPrintSetupSizesEverythingOnThePage) {
  struct Row {
    int percent;
    double factor;
    Grid grid;  // on an A4 sheet set up upright, margins 10
  };
  const Row rows[] = {
      {100, 1.0, kA4Upright},
      // Half: cells of 40 x 31, the title 14.6 points high and the grid's top at 38.
      {50, 0.5, {10 + 3, 10 + 38, 40, 31}},
      // Half again: cells of 122 x 95 that run off the sheet; the top at 116.
      {150, 1.5, {10 + 3, 10 + 116, 122, 95}},
  };
  double fullTitle = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.percent) + " %");
    PrintSetup({true, {{"scale", r.percent}}, {"portrait"}, {}});
    EXPECT_DOUBLE_EQ(PMScalingOf(AppGlobal::PageSetup), r.factor);
    // The dialog opens again with the scale chosen; cancelled, it keeps the setup.
    EXPECT_EQ(PrintSetup({false, {{"scale", 75}}, {"landscape"}, {}}).Values.at("scale"), r.percent);
    EXPECT_DOUBLE_EQ(PMScalingOf(AppGlobal::PageSetup), r.factor);

    std::filesystem::remove(pdf);
    ASSERT_TRUE(PrintMonths(false, 2022, 5, 5));
    const Image page = Page(1);
    ExpectGridAt(page, r.grid);
    // The title's ink, from the top margin to well above the headings.
    const Rect title = InkBounds(page, {0, 10, page.Width, 10 + static_cast<int32_t>(40 * r.factor)});
    const double height = title.y1 - title.y0 + 1;
    if (r.percent == 100) fullTitle = height;
    EXPECT_NEAR(height, fullTitle * r.factor, 2.0);
  }
}

TEST_F(PrintJobTest, AJobThatCannotBePrintedEndsWithAnAlertAndLeavesTheFolderAsItWas) {
  struct Row {
    const char* what;
    bool tinySheet;      // 8 points of printable width leave 6 for seven columns
    const char* folder;  // the file's, in the test's folder; null for the test's folder
    bool earlierFile;    // at the job's file
    int64_t sizeLimit;   // bytes a file may grow to, 0 for no limit
    const char* alert;   // its text, or null for "could not be printed to" the file
    bool whole;          // the alert's whole text rather than a part of it
  };
  const Row rows[] = {
      {"a page too small, over an earlier file", true, nullptr, true, 0, "The calendar does not fit on this page!", true},
      {"a page too small, no file yet", true, nullptr, false, 0, "The calendar does not fit on this page!", true},
      // As a disk that fills up while the pages are written; the run started with
      // SIGXFSZ as a shell leaves it.
      {"a file-size limit below the PDF's size", false, nullptr, true, 2000, "could not be printed", false},
      // Nothing can be made inside a regular file or a missing folder, not even by root.
      {"inside a regular file", false, "file", false, 0, nullptr, true},
      {"inside a missing folder", false, "missing", false, 0, nullptr, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    if (r.tinySheet) AppGlobal::PageSetup = SheetSetup(40, 40, 16);
    else UseDefaultSheetWithoutSetup();
    if (r.earlierFile) WriteFile(pdf, "an earlier job's bytes");
    if (r.folder && std::string(r.folder) == "file") WriteFile(dir / "file", "not a folder");
    const std::string where = !r.folder ? pdf : (dir / r.folder / "job.pdf").string();
    fw::test::SetPrintFile(where);
    const auto before = Contents(dir);
    fw::test::Dialog d;
    fw::test::Alert a;
    const std::vector<std::string> messages = fw::test::QtMessages([&] {
      WhilePrintWindow([&](CalPrint& w) {
        Fill(w, false, "2024", "1", "12");
        a = fw::test::ExpectAlert([&] {
          if (r.sizeLimit) fw::test::WithFileSizeLimit(r.sizeLimit, [&] { d = PressPrint(w, true); });
          else d = PressPrint(w, true);
        });
      });
    });
    EXPECT_EQ(d.Kind, "print");
    EXPECT_TRUE(a.Shown && a.StopIcon && a.Buttons == 1);
    const std::string text = r.alert ? r.alert : "The calendar could not be printed to " + where + ".";
    if (r.whole) EXPECT_EQ(a.Text, text);
    else EXPECT_TRUE(Has(a.Text, text)) << a.Text;
    for (const std::string& m : messages) EXPECT_FALSE(Has(m, "QPainter")) << m;
    EXPECT_EQ(Contents(dir), before) << "the folder changed";
    for (const auto& entry : std::filesystem::directory_iterator(dir)) std::filesystem::remove_all(entry);
  }
}

TEST_F(PrintJobTest, JobIsNamedAfterItsMonthsAndTheNextJobOffersTheSameFile) {
  UseDefaultSheetWithoutSetup();
  ASSERT_TRUE(PrintMonths(false, 2027, 3, 5));
  EXPECT_EQ(fw::test::ReadPdf(pdf).Title, "Tessaral \u2013 March\u2013May 2027");

  // The file is no longer given: the dialog offers the one chosen last.
  fw::test::SetPrintFile("");
  fw::test::Dialog d;
  WhilePrintWindow([&](CalPrint& w) {
    Fill(w, true, "1445", "9", "9");
    d = PressPrint(w);
  });
  EXPECT_EQ(d.File, pdf);
  EXPECT_EQ(fw::test::ReadPdf(pdf).Title, "Tessaral \u2013 Ramadhan 1445");
}

TEST_F(PrintJobTest, DefaultPaperIsTheSystemsPaper) {
  UseDefaultSheetWithoutSetup();
  WriteFile(dir / "papersize", "# the system's paper\nlegal\n");
  // A US English locale of the test's own, for its paper.
  const std::string locales = (dir / "locales").string();
  std::filesystem::create_directory(locales);
  const bool haveLocale =
      std::system(("localedef -i en_US -f UTF-8 " + locales + "/en_US.UTF-8 >/dev/null 2>&1").c_str()) == 0;
  ::setenv("LOCPATH", locales.c_str(), 1);
  const auto expectSheet = [&](const char* source, double width, double height) {
    SCOPED_TRACE(source);
    std::filesystem::remove(pdf);
    ASSERT_TRUE(PrintMonths(false, 2024, 1, 1));
    const fw::test::PdfInfo info = fw::test::ReadPdf(pdf);
    EXPECT_NEAR(info.PageWidth, width, 0.5);
    EXPECT_NEAR(info.PageHeight, height, 0.5);
  };
  // The sources in the order they are asked, each step taking away the one before.
  ::setenv("PAPERSIZE", "letter", 1);
  ::setenv("PAPERCONF", (dir / "papersize").c_str(), 1);
  std::setlocale(LC_PAPER, "C");
  expectSheet("PAPERSIZE=letter over the file", 612, 792);
  ::unsetenv("PAPERSIZE");
  expectSheet("the paper-size file under the C locale", 612, 1008);
  if (haveLocale) {
    ASSERT_NE(std::setlocale(LC_PAPER, "en_US.UTF-8"), nullptr);
    expectSheet("LC_PAPER=en_US.UTF-8 over the file", 612, 792);
  } else {
    std::cout << "localedef failed: the locale's paper is not tried\n";
  }
  std::setlocale(LC_PAPER, "");
  ::unsetenv("LOCPATH");
  ::unsetenv("PAPERCONF");
  ::setenv("PAPERSIZE", "a4", 1);
}

// ---- what a page says ----------------------------------------------------------

// Letters and colours: A blue, B red, C magenta. A month beginning on the other
// calendar's 1st once got "B" from day 1.
TEST_F(PrintJobTest, EveryPageCentresItsHeadingsAndLettersTheOtherCalendarsNumbersByMonth) {
  struct Span {
    int32_t first, otherDay;  // the page's first day in this month, and its number there
    const char* name;
  };
  struct Row {
    bool hijri;
    int32_t year, month, toMonth;
    int32_t start, n, blankDays;  // box of day 1, days, days before the Hijri epoch
    std::vector<Span> spans;      // lettered A, B, C
    const char *title, *leftLegend, *rightLegend;
  };
  const Row rows[] = {
      // 1 July 622 was a Thursday; the 16th, a Friday, is 1 Muharram 1.
      {false, 622, 7, 7, 5, 31, 15, {{16, 1, "Muharram 1"}}, "July (7), 622", "A-Muharram (1), 1",
       "A-Muharram (1), 1"},
      // 1 May 2022 is 30 Ramadan, 2 to 30 May are Shawwal and 31 May is 1 Thul-Qa'dah.
      {false, 2022, 5, 6, 1, 31, 0, {{1, 30, "Ramadhan 1443"}, {2, 1, "Shawwal 1443"}, {31, 1, "Thul-Qa'dah 1443"}},
       "May (5), 2022", "A-Ramadhan (9), 1443", "C-Thul-Qa'dah (11), 1443"},
      // Ramadhan 1445 runs from Sunday 10 March to 8 April 2024.
      {true, 1445, 9, 10, 1, 30, 0, {{1, 10, "March 2024"}, {23, 1, "April 2024"}}, "Ramadhan (9), 1445",
       "A-March (3), 2024", "B-April (4), 2024"},
      // 1 Jumada I 1449 is Friday 1 October 2027; its 30 days lie in October.
      {true, 1449, 5, 5, 6, 30, 0, {{1, 1, "October 2027"}}, "(5), 1449", "A-October (10), 2027",
       "A-October (10), 2027"},
      // 1 Rabi' II 1435 is Saturday 1 February 2014; day 29 is 1 March.
      {true, 1435, 4, 4, 7, 29, 0, {{1, 1, "February 2014"}, {29, 1, "March 2014"}}, "(4), 1435",
       "A-February (2), 2014", "B-March (3), 2014"},
  };
  bool (*const colours[])(fw::Color) = {IsBlue, IsRed, IsMagenta};
  const Grid& g = kA4NoSetup;
  UseDefaultSheetWithoutSetup();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.title);
    std::filesystem::remove(pdf);
    ASSERT_TRUE(PrintMonths(r.hijri, r.year, r.month, r.toMonth));
    ASSERT_EQ(fw::test::ReadPdf(pdf).Pages, r.toMonth - r.month + 1);
    for (int32_t n = 1; n <= r.toMonth - r.month + 1; ++n) {
      SCOPED_TRACE("page " + std::to_string(n));
      // Every page names the year, not only the first.
      const std::string title = "(" + std::to_string(r.month + n - 1) + "), " + std::to_string(r.year);
      EXPECT_TRUE(Has(fw::test::PdfText(pdf, n), title)) << title << " missing from:\n" << fw::test::PdfText(pdf, n);
      // Each weekday heading stands centred over its column, from under the title down
      // to just above the grid's top border.
      const std::vector<Rect> heads = WordsInk(Page(n), g.left - 30, g.Right() + 30, g.top - 25, g.top - 1, 6);
      ASSERT_EQ(heads.size(), 7u) << "seven headings expected above the grid";
      for (int32_t i = 0; i < 7; ++i) {
        const double centre = (heads[i].x0 + heads[i].x1) / 2.0, column = g.left + (i + 0.5) * g.cellWidth;
        EXPECT_NEAR(centre, column, 2.0) << AppGlobal::GetWeekName(i) << "'s ink spans x " << heads[i].x0 << " to "
                                         << heads[i].x1 << " over the column from " << g.left + i * g.cellWidth
                                         << " to " << g.left + (i + 1) * g.cellWidth;
      }
    }
    const Image page = Page(1);
    ExpectDaysInTheirBoxes(page, g, r.start, r.n, r.blankDays);
    const std::string text = fw::test::PdfText(pdf, 1);
    EXPECT_TRUE(Has(text, r.title)) << text;
    std::istringstream in(text);
    const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    // "12A": a number and its letter; "A-March": a legend.
    const auto count = [&](bool legend) {
      return std::count_if(words.begin(), words.end(), [&](const std::string& w) {
        return w.size() > 1 && (legend ? std::isupper(static_cast<unsigned char>(w[0])) && w[1] == '-'
                                       : std::isdigit(static_cast<unsigned char>(w.front())) &&
                                             std::isupper(static_cast<unsigned char>(w.back())));
      });
    };
    EXPECT_EQ(count(false), r.n - r.blankDays) << "numbers with a letter in:\n" << text;
    EXPECT_EQ(count(true), 2) << "only the first and the last month have legends:\n" << text;
    std::string wrong;  // the days printed with another letter or colour than their month's
    for (int32_t d = r.blankDays + 1; d <= r.n; ++d) {
      size_t s = 0;
      while (s + 1 < r.spans.size() && d >= r.spans[s + 1].first) ++s;
      const std::string number = std::to_string(r.spans[s].otherDay + d - r.spans[s].first) + "ABC"[s];
      const Rect box = g.Inside(r.start + d - 1);
      const int32_t ink[] = {Count(page, box, IsBlue), Count(page, box, IsRed), Count(page, box, IsMagenta)};
      const bool printed = std::find(words.begin(), words.end(), number) != words.end();
      if (!printed || ink[s] == 0 || ink[0] + ink[1] + ink[2] != ink[s])
        wrong += "\n  day " + std::to_string(d) + ": " + number + " (" + r.spans[s].name + ")" +
                 (printed ? "" : " missing") + ", blue " + std::to_string(ink[0]) + ", red " + std::to_string(ink[1]) +
                 ", magenta " + std::to_string(ink[2]) + " pixels";
    }
    EXPECT_TRUE(wrong.empty()) << "wrongly printed:" << wrong;
    for (size_t s = r.spans.size(); s < 3; ++s)
      EXPECT_EQ(Count(page, {0, 0, page.Width, page.Height}, colours[s]), 0) << "no month " << "ABC"[s];
    const size_t left = text.find(r.leftLegend);
    EXPECT_TRUE(left != std::string::npos && text.find(r.rightLegend, left + 1) != std::string::npos)
        << "legends " << r.leftLegend << " and " << r.rightLegend << " expected in:\n" << text;
    // The legends hang just under the grid, from its left edge and up to its right one.
    Rect legend = InkBounds(page, {g.left - 5, g.Bottom() + 1, g.left + 200, g.Bottom() + 20});
    EXPECT_TRUE(legend.x0 >= g.left && legend.x0 <= g.left + 1) << legend.x0;
    EXPECT_TRUE(legend.y0 >= g.Bottom() + 2 && legend.y0 <= g.Bottom() + 4) << legend.y0 - g.Bottom();
    EXPECT_GT(Count(page, {g.left, g.Bottom() + 1, g.left + 200, g.Bottom() + 20}, IsBlue), 0);
    legend = InkBounds(page, {g.Right() - 200, g.Bottom() + 1, g.Right() + 5, g.Bottom() + 20});
    EXPECT_TRUE(legend.x1 >= g.Right() - 1 && legend.x1 <= g.Right()) << legend.x1;
    EXPECT_GT(Count(page, {g.Right() - 200, g.Bottom() + 1, g.Right(), g.Bottom() + 20}, colours[r.spans.size() - 1]),
              0);
  }
}

// ---- the scaling factor in a page setup ----------------------------------------

TEST(PageScalingTest, IsReadFromTheFirstRealAfterTheSecondScalingKey) {
  const std::string key = "<key>com.apple.print.PageFormat.PMScaling</key>";
  const struct {
    const char* name;
    std::string setup;
    double scaling;
  } rows[] = {
      {"empty", "", 1.0},
      {"key twice, 0.5", key + "<real>2</real>" + key + "<integer>3</integer><real>0.5</real>", 0.5},
      {"key once", key + "<real>0.5</real>", 1.0},
      {"real never closed", key + key + "<real>0.5", 1.0},
      {"this platform's page setup", fw::PrinterSetup().SetupString(), 1.0},
  };
  for (const auto& r : rows) EXPECT_DOUBLE_EQ(PMScalingOf(r.setup), r.scaling) << r.name;
}

// ---- the file's mode -----------------------------------------------------------


// A new file is made as the user's other files are: 0666 less the umask.
TEST_F(PrintJobTest, APdfFileGetsItsModeFromTheUmaskOrKeepsTheModeOfTheFileItReplaces) {
  const auto octal = [](mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode));
    return std::string(text);
  };
  // The new file's mode, printed under `mask`.
  const auto printUnder = [&](mode_t mask) {
    const mode_t before = ::umask(mask);
    const bool printed = PrintMonths(false, 2024, 1, 1);
    ::umask(before);
    struct stat st {};
    return printed && ::stat(pdf.c_str(), &st) == 0 ? octal(st.st_mode & 07777) : std::string("not printed");
  };
  UseDefaultSheetWithoutSetup();
  for (const mode_t mask : {022u, 027u, 077u, 002u}) {
    std::filesystem::remove(pdf);
    EXPECT_EQ(printUnder(mask), octal(0666 & ~mask)) << "a new PDF printed under umask " << octal(mask);
  }
  for (const mode_t mode : {0640u, 0604u}) {
    WriteFile(pdf, "an earlier job's bytes");
    std::filesystem::permissions(pdf, std::filesystem::perms(mode));
    EXPECT_EQ(printUnder(077), octal(mode)) << "a PDF printed over a file of mode " << octal(mode) << " under umask 0077";
  }
}
