#include "converter/CalConv.h"

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Vorlen.h"
#include "framework/Basic.h"
#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"

using fw::ControlKind;
using fw::Event;
using fw::Into;
using fw::On;

namespace {

const fw::WindowDesign kDesign{
    .Title = "Conversion",
    .Width = 534,
    .Height = 232,
    .MinWidth = 64,
    .MinHeight = 64,
    .MaxWidth = 32000,
    .MaxHeight = 32000,
    .Frame = 1,
    .Placement = 0,  // Event_Open centres the window itself
    .Resizeable = false,
    .LiveResize = false,
    .CloseButton = false,  // only Exit dismisses it, and Exit only hides it
    .MinimizeButton = false,
    .MaximizeButton = false,
    .FullScreen = false,
    .Composite = false,
    .MenuBarVisible = true,
    .HasBackColor = true,
    .BackColor = 0xE6E6E6,
    .Visible = true,
    .MacProcID = 0,
};

constexpr fw::Color kBlue = 0x0000FF;
constexpr fw::Color kWhite = 0xFFFFFF;
constexpr fw::Color kBlack = 0x000000;
constexpr fw::Color kWeekdayGrey = 0xB3B3B3;

fw::ControlDesign Button(const char* name, int32_t top, int32_t tabIndex, const char* caption, bool cancel,
                         void (CalConv::*action)(), fw::PushButton* CalConv::*member) {
  return {.Name = name, .Kind = ControlKind::PushButton, .Left = 192, .Top = top, .Width = 150, .Height = 20,
          .TabIndex = tabIndex, .Text = caption, .TextFont = "Verdana", .TextSize = 14, .Default = false,
          .Cancel = cancel, .TabStop = true, .Events = {On(Event::Action, action)}, .Member = Into(member)};
}

fw::ControlDesign InputField(const char* name, int32_t top, int32_t tabIndex, void (CalConv::*lostFocus)(),
                             void (CalConv::*gotFocus)(), fw::TextField* CalConv::*member) {
  return {.Name = name, .Kind = ControlKind::TextField, .Left = 78, .Top = top, .Width = 52, .Height = 26,
          .TabIndex = tabIndex, .Text = "", .TextFont = "Arial", .TextSize = 14, .TextColor = kBlue,
          .BackColor = kWhite, .TextAlign = 0, .TabStop = true, .Border = true,
          .Events = {On(Event::LostFocus, lostFocus), On(Event::GotFocus, gotFocus)}, .Member = Into(member)};
}

fw::ControlDesign Output(const char* name, int32_t left, int32_t top, int32_t tabIndex,
                         fw::StaticText* CalConv::*member) {
  return {.Name = name, .Kind = ControlKind::StaticText, .Left = left, .Top = top, .Width = 52, .Height = 26,
          .TabIndex = tabIndex, .Text = "", .TextFont = "Arial", .TextSize = 14, .TextColor = kBlue,
          .TextAlign = 2, .Multiline = true, .Member = Into(member)};
}

fw::ControlDesign Caption(const char* name, int32_t left, int32_t top, int32_t width, int32_t tabIndex,
                          const char* text, fw::StaticText* CalConv::*member) {
  return {.Name = name, .Kind = ControlKind::StaticText, .Left = left, .Top = top, .Width = width, .Height = 26,
          .TabIndex = tabIndex, .Text = text, .TextFont = "Verdana", .TextSize = 16, .TextColor = kBlack,
          .TextAlign = 0, .Multiline = true, .Member = Into(member)};
}

// In creation order. Rows: year at top 41, month at 92, day at 144; the outputs sit a
// few pixels lower than their row.
const std::vector<fw::ControlDesign>& ControlTable() {
  static const std::vector<fw::ControlDesign> table{
      Button("ToExit", 144, 2, "Exit", true, &CalConv::ToExit_Action, &CalConv::ToExit),
      InputField("InDayTXT", 144, 3, &CalConv::InDayTXT_LostFocus, &CalConv::InDayTXT_GotFocus, &CalConv::InDayTXT),
      Button("ToGreg", 92, 4, "To Greg/Chris", false, &CalConv::ToGreg_Action, &CalConv::ToGreg),
      InputField("InMonthTXT", 92, 1, &CalConv::InMonthTXT_LostFocus, &CalConv::InMonthTXT_GotFocus,
                 &CalConv::InMonthTXT),
      Button("ToHijri", 41, 5, "To Hijri", false, &CalConv::ToHijri_Action, &CalConv::ToHijri),
      InputField("InYearTXT", 41, 0, &CalConv::InYearTXT_LostFocus, &CalConv::InYearTXT_GotFocus,
                 &CalConv::InYearTXT),
      {.Name = "ToWeekDay", .Kind = ControlKind::StaticText, .Left = 167, .Top = 186, .Width = 200, .Height = 26,
       .TabIndex = 6, .Text = "", .TextFont = "Monaco", .TextSize = 20, .TextColor = kWeekdayGrey, .TextAlign = 1,
       .Multiline = false, .Member = Into(&CalConv::ToWeekDay)},
      Output("OutDayTXT", 445, 148, 7, &CalConv::OutDayTXT),
      Caption("Label8", 386, 144, 43, 8, "Day", &CalConv::Label8),
      Caption("Label5", 17, 144, 43, 9, "Day", &CalConv::Label5),
      Output("OutMonthTXT", 445, 95, 10, &CalConv::OutMonthTXT),
      Caption("Label7", 386, 92, 50, 11, "Month", &CalConv::Label7),
      Caption("Label4", 17, 92, 50, 12, "Month", &CalConv::Label4),
      Output("OutYearTXT", 447, 44, 13, &CalConv::OutYearTXT),
      Caption("Label6", 386, 41, 43, 14, "Year", &CalConv::Label6),
      Caption("Label3", 17, 41, 43, 15, "Year", &CalConv::Label3),
  };
  return table;
}

// Shows the field as the number a conversion would read from it.
void ShowAsNumber(fw::TextField& field) { field.SetText(fw::Str(field.IntegerValue())); }

std::string WeekdayName(int32_t year, int32_t month, int32_t day) {
  int32_t w = 0;
  Vorlen::FindDayOfTheWeekGre(year, month, day, w);
  return AppGlobal::GetWeekName(w);
}

void ReadDate(const CalConv& w, int32_t& year, int32_t& month, int32_t& day) {
  day = w.InDayTXT->IntegerValue();
  month = w.InMonthTXT->IntegerValue();
  year = w.InYearTXT->IntegerValue();
}

void ShowResult(CalConv& w, int32_t year, int32_t month, int32_t day, const std::string& weekday) {
  w.OutYearTXT->SetCaption(fw::Str(year));
  w.OutMonthTXT->SetCaption(fw::Str(month));
  w.OutDayTXT->SetCaption(fw::Str(day));
  w.ToWeekDay->SetCaption(weekday);
}

}  // namespace

CalConv& CalConv::Instance() { return fw::Instance<CalConv>(); }

bool CalConv::Exists() { return fw::Exists<CalConv>(); }

void CalConv::Layout() { SetProperties(kDesign); }

void CalConv::CreateControls() { CreateControls0(); }

void CalConv::CreateControls0() { AddControls(ControlTable()); }

// Runs once per run: a window shown again after Exit keeps its place and its fields.
void CalConv::Event_Open() {
  CentreOnMainScreen();

  const Date today = AppGlobal::TodaysDate;
  InDayTXT->SetText(fw::Str(today.Day));
  InMonthTXT->SetText(fw::Str(today.Month));
  InYearTXT->SetText(fw::Str(today.Year));
  ToWeekDay->SetCaption(WeekdayName(today.Year, today.Month, today.Day));
}

// ---- the conversions --------------------------------------------------------

void CalConv::ToHijri_Action() {
  int32_t y = 0, m = 0, d = 0;
  ReadDate(*this, y, m, d);
  if (Vorlen::CheckDateGre(y, m, d) != 1) {
    AppGlobal::RefuseInput("Date is out of range!");
    return;
  }
  int32_t hy = 0, hm = 0, hd = 0;
  Vorlen::GreToHij(y, m, d, hy, hm, hd);
  // The weekday of the date as typed, the skipped days of October 1582 included.
  ShowResult(*this, hy, hm, hd, WeekdayName(y, m, d));
}

void CalConv::ToGreg_Action() {
  int32_t y = 0, m = 0, d = 0;
  ReadDate(*this, y, m, d);
  if (Vorlen::CheckDateHij(y, m, d) != 1) {
    AppGlobal::RefuseInput("Date is out of range!");
    return;
  }
  int32_t gy = 0, gm = 0, gd = 0;
  Vorlen::HijToGre(y, m, d, gy, gm, gd);
  ShowResult(*this, gy, gm, gd, WeekdayName(gy, gm, gd));
}

// ---- the input fields ---------------------------------------------------------

void CalConv::InDayTXT_LostFocus() { ShowAsNumber(*InDayTXT); }
void CalConv::InDayTXT_GotFocus() { InDayTXT->SelectAll(); }
void CalConv::InMonthTXT_LostFocus() { ShowAsNumber(*InMonthTXT); }
void CalConv::InMonthTXT_GotFocus() { InMonthTXT->SelectAll(); }
void CalConv::InYearTXT_LostFocus() { ShowAsNumber(*InYearTXT); }
void CalConv::InYearTXT_GotFocus() { InYearTXT->SelectAll(); }

// ---- leaving ----------------------------------------------------------------

void CalConv::ToExit_Action() {
  Hide();
  CalMain::Instance().TakeBackFocus();
  // The inputs and the weekday stay for the next showing; a result does not.
  OutDayTXT->SetText("");
  OutMonthTXT->SetText("");
  OutYearTXT->SetText("");
}

// Runs only while the application quits. The main window closes first, and asking
// for it here would build a new one during shut-down.
void CalConv::Event_Close() {
  if (CalMain::Exists()) CalMain::Instance().Refresh(true);
  Hide();
}
