#include "mainwindow/CalMain.h"

#include <string>
#include <vector>

#include "framework/Basic.h"
#include "shell/AppGlobal.h"
#include "shell/MainMenu.h"

using fw::ControlKind;
using fw::Event;
using fw::Into;
using fw::On;

namespace {

const fw::WindowDesign kDesign{
    .Title = "Tessaral",
    .Width = 524,
    .Height = 384,
    .MinWidth = 64,
    .MinHeight = 64,
    .MaxWidth = 32000,
    .MaxHeight = 32000,
    .Frame = 0,
    .Placement = 2,
    .Resizeable = false,
    .LiveResize = false,
    .CloseButton = true,
    .MinimizeButton = true,
    .MaximizeButton = false,
    .FullScreen = false,
    .Composite = false,
    .MenuBarVisible = true,
    .HasBackColor = true,
    .BackColor = 0xFFFFFF,
    .Visible = true,
    .MacProcID = 0,
};

fw::ControlDesign WeekdayLabel(const char* name, int32_t left, int32_t tabIndex, const char* text,
                               fw::StaticText* CalMain::*member) {
  return {.Name = name, .Kind = ControlKind::StaticText, .Left = left, .Top = 91, .Width = 61, .Height = 20,
          .TabIndex = tabIndex, .Text = text, .TextFont = "System", .TextColor = 0x000000, .TextAlign = 1,
          .Member = Into(member)};
}

fw::ControlDesign StepButton(const char* name, int32_t left, int32_t top, int32_t tabIndex, const char* text,
                             void (CalMain::*handler)(), fw::PushButton* CalMain::*member) {
  return {.Name = name, .Kind = ControlKind::PushButton, .Left = left, .Top = top, .Width = 29, .Height = 23,
          .TabIndex = tabIndex, .Text = text, .TextFont = "Courier", .TextSize = 14,
          .Events = {On(Event::Action, handler)}, .Member = Into(member)};
}

fw::ControlDesign DateField(const char* name, int32_t left, int32_t tabIndex, void (CalMain::*gotFocus)(),
                            fw::TextField* CalMain::*member) {
  return {.Name = name, .Kind = ControlKind::TextField, .Left = left, .Top = 329, .Width = 61, .Height = 25,
          .TabIndex = tabIndex, .Text = "", .TextFont = "Verdana", .TextSize = 14, .TextColor = 0x000000,
          .BackColor = 0xFFFFFF, .TextAlign = 1, .Border = true, .Events = {On(Event::GotFocus, gotFocus)},
          .Member = Into(member)};
}

fw::ControlDesign MonthLabel(const char* name, int32_t left, int32_t top, int32_t width, int32_t height,
                             int32_t tabIndex, double size, fw::StaticText* CalMain::*member) {
  return {.Name = name, .Kind = ControlKind::StaticText, .Left = left, .Top = top, .Width = width, .Height = height,
          .TabIndex = tabIndex, .Text = "Untitled", .TextFont = "Verdana", .TextSize = size, .TextColor = 0x000000,
          .TextAlign = 1, .Member = Into(member)};
}

// In creation order.
const std::vector<fw::ControlDesign>& ControlTable() {
  static const std::vector<fw::ControlDesign> table{
      {.Name = "CalendarTable", .Kind = ControlKind::Canvas, .Left = 48, .Top = 115, .Width = 428, .Height = 175,
       .TabIndex = 6, .TabStop = true, .AcceptFocus = false, .EraseBackground = true,
       .Events = {On(Event::Paint, &CalMain::CalendarTable_Paint)}, .Member = Into(&CalMain::CalendarTable)},
      WeekdayLabel("StaticText1", 48, 7, "Sun", &CalMain::StaticText1),
      WeekdayLabel("StaticText2", 109, 8, "Mon", &CalMain::StaticText2),
      WeekdayLabel("StaticText3", 170, 9, "Tue", &CalMain::StaticText3),
      WeekdayLabel("StaticText4", 231, 10, "Wed", &CalMain::StaticText4),
      WeekdayLabel("StaticText5", 292, 11, "Thu", &CalMain::StaticText5),
      WeekdayLabel("StaticText6", 353, 12, "Fri", &CalMain::StaticText6),
      WeekdayLabel("StaticText7", 414, 13, "Sat", &CalMain::StaticText7),
      MonthLabel("NextMonth", 265, 51, 223, 35, 14, 14, &CalMain::NextMonth),
      MonthLabel("CurMonth", 34, 51, 223, 35, 15, 14, &CalMain::CurMonth),
      MonthLabel("Heading", 77, 7, 369, 43, 19, 26, &CalMain::Heading),
      {.Name = "GregOpt", .Kind = ControlKind::RadioButton, .Left = 48, .Top = 333, .Width = 163, .Height = 26,
       .TabIndex = 2, .Text = "Gregorian / Christian", .TextFont = "Verdana", .TextSize = 12, .Value = true,
       .TabStop = true, .Events = {On(Event::Action, &CalMain::GregOpt_Action)}, .Member = Into(&CalMain::GregOpt)},
      {.Name = "HijOpt", .Kind = ControlKind::RadioButton, .Left = 48, .Top = 306, .Width = 155, .Height = 26,
       .TabIndex = 4, .Text = "Hijri", .TextFont = "Verdana", .TextSize = 12, .Value = false, .TabStop = true,
       .Events = {On(Event::Action, &CalMain::HijOpt_Action)}, .Member = Into(&CalMain::HijOpt)},
      {.Name = "GoCMD", .Kind = ControlKind::PushButton, .Left = 440, .Top = 326, .Width = 64, .Height = 30,
       .TabIndex = 3, .Text = "GO", .TextFont = "Arial", .TextSize = 14, .Default = true, .Cancel = false,
       .TabStop = true, .Events = {On(Event::Action, &CalMain::GoCMD_Action)}, .Member = Into(&CalMain::GoCMD)},
      DateField("MonthTXT", 219, 0, &CalMain::MonthTXT_GotFocus, &CalMain::MonthTXT),
      StepButton("MonthIncrease", 287, 315, 18, "+", &CalMain::MonthIncrease_Action, &CalMain::MonthIncrease),
      StepButton("MonthDecrease", 287, 344, 18, "-", &CalMain::MonthDecrease_Action, &CalMain::MonthDecrease),
      DateField("YearTXT", 331, 1, &CalMain::YearTXT_GotFocus, &CalMain::YearTXT),
      StepButton("YearIncrease", 398, 315, 18, "+", &CalMain::YearIncrease_Action, &CalMain::YearIncrease),
      StepButton("YearDecrease", 398, 344, 19, "-", &CalMain::YearDecrease_Action, &CalMain::YearDecrease),
  };
  return table;
}

}  // namespace

CalMain& CalMain::Instance() { return fw::Instance<CalMain>(); }

bool CalMain::Exists() { return fw::Exists<CalMain>(); }

void CalMain::Layout() {
  SetMenuBar(MainMenu::Instance());
  SetProperties(kDesign);
}

void CalMain::CreateControls() { CreateControls0(); }

void CalMain::CreateControls0() { AddControls(ControlTable()); }

void CalMain::CalendarTable_Paint(fw::Graphics& /*g*/) { DisplayCalendar(AppGlobal::CurrentDate); }

void CalMain::RepaintGrid() { CalendarTable->Refresh(true); }

// ---- the leading calendar ---------------------------------------------------

void CalMain::GregOpt_Action() {
  AppGlobal::CurrentDate.Year = AppGlobal::TodaysDate.Year;
  AppGlobal::CurrentDate.Month = AppGlobal::TodaysDate.Month;
  AppGlobal::CurrentDate.Day = 1;
  MonthTXT->SetText(fw::Str(AppGlobal::CurrentDate.Month));
  YearTXT->SetText(fw::Str(AppGlobal::CurrentDate.Year));
  RepaintGrid();
}

void CalMain::HijOpt_Action() {
  int32_t d = 0, m = 0, y = 0;
  GetTodaysDateHij(d, m, y);
  AppGlobal::CurrentDate.Year = y;
  AppGlobal::CurrentDate.Month = m;
  AppGlobal::CurrentDate.Day = 1;
  MonthTXT->SetText(fw::Str(AppGlobal::CurrentDate.Month));
  YearTXT->SetText(fw::Str(AppGlobal::CurrentDate.Year));
  RepaintGrid();
}

void CalMain::GetTodaysDateHij(int32_t& day, int32_t& month, int32_t& year) {
  int32_t gy = AppGlobal::TodaysDate.Year;
  int32_t gm = AppGlobal::TodaysDate.Month;
  int32_t gd = AppGlobal::TodaysDate.Day;
  Vorlen::GreToHij(gy, gm, gd, year, month, day);
}

// ---- GO --------------------------------------------------------------------

void CalMain::GoCMD_Action() {
  const int32_t m = MonthTXT->IntegerValue();
  const int32_t y = YearTXT->IntegerValue();
  if (!CheckDateLimits(m, y)) {
    AppGlobal::RefuseInput("Date is out of range!");
    MonthTXT->SetText(fw::Str(m));
    YearTXT->SetText(fw::Str(y));
    return;
  }
  AppGlobal::CurrentDate.Year = y;
  AppGlobal::CurrentDate.Month = m;
  AppGlobal::CurrentDate.Day = 1;
  RepaintGrid();
}

bool CalMain::CheckDateLimits(int32_t month, int32_t year) {
  const bool gregorian = GregOpt->Value();
  // October 1582 and Ramadhan 990 hold the days where the conversions change reckoning.
  const bool excluded = gregorian ? (year == 1582 && month == 10) : (year == 990 && month == 9);
  return month >= 1 && month <= 12 && AppGlobal::WithinEra(gregorian, month, year) && !excluded;
}

// ---- the date fields and their steps ---------------------------------------

void CalMain::MonthTXT_GotFocus() {
  MonthTXT->SelectAll();
  LastFocusIndex = MonthTXT->TabIndex();
}

void CalMain::YearTXT_GotFocus() {
  YearTXT->SelectAll();
  LastFocusIndex = YearTXT->TabIndex();
}

void CalMain::TakeBackFocus() {
  SetFocus();
  if (LastFocusIndex == 0) {
    MonthTXT->SetFocus();
  } else {
    YearTXT->SetFocus();
  }
}

void CalMain::MonthIncrease_Action() {
  const int32_t m = MonthTXT->IntegerValue();
  if (m < 12) MonthTXT->SetText(fw::Str(m + 1));
}

void CalMain::MonthDecrease_Action() {
  const int32_t m = MonthTXT->IntegerValue();
  const int32_t y = YearTXT->IntegerValue();
  const bool allowed = GregOpt->Value() ? (y > 622 && m > 1) || (y == 622 && m > 7) : m > 1;
  if (allowed) MonthTXT->SetText(fw::Str(m - 1));
}

void CalMain::YearIncrease_Action() {
  const int32_t y = YearTXT->IntegerValue();
  if (y < (GregOpt->Value() ? 2560 : 1999)) YearTXT->SetText(fw::Str(y + 1));
}

void CalMain::YearDecrease_Action() {
  const int32_t y = YearTXT->IntegerValue();
  const int32_t m = MonthTXT->IntegerValue();
  const bool allowed = GregOpt->Value() ? y > 623 || (y == 623 && m > 6) : y > 1;
  if (allowed) YearTXT->SetText(fw::Str(y - 1));
}
