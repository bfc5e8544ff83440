#include "printing/CalPrint.h"

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
    .Title = "Print",
    .Width = 353,
    .Height = 285,
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

fw::ControlDesign Option(const char* name, int32_t left, int32_t width, int32_t tabIndex, const char* caption,
                         bool selected, void (CalPrint::*action)(), fw::RadioButton* CalPrint::*member) {
  return {.Name = name, .Kind = ControlKind::RadioButton, .Left = left, .Top = 234, .Width = width, .Height = 31,
          .TabIndex = tabIndex, .Text = caption, .TextFont = "Verdana", .TextSize = 16, .Value = selected,
          .TabStop = true, .Events = {On(Event::Action, action)}, .Member = Into(member)};
}

fw::ControlDesign Field(const char* name, int32_t top, int32_t tabIndex, void (CalPrint::*gotFocus)(),
                        void (CalPrint::*lostFocus)(), fw::TextField* CalPrint::*member) {
  return {.Name = name, .Kind = ControlKind::TextField, .Left = 137, .Top = top, .Width = 83, .Height = 31,
          .TabIndex = tabIndex, .Text = "", .TextFont = "Arial", .TextSize = 14, .TextColor = kBlue,
          .BackColor = kWhite, .TextAlign = 0, .TabStop = true, .Border = true,
          .Events = {On(Event::GotFocus, gotFocus), On(Event::LostFocus, lostFocus)}, .Member = Into(member)};
}

fw::ControlDesign Button(const char* name, int32_t top, int32_t tabIndex, const char* caption, bool isDefault,
                         bool cancel, void (CalPrint::*action)(), fw::PushButton* CalPrint::*member) {
  return {.Name = name, .Kind = ControlKind::PushButton, .Left = 250, .Top = top, .Width = 83, .Height = 22,
          .TabIndex = tabIndex, .Text = caption, .TextFont = "Verdana", .TextSize = 16, .Default = isDefault,
          .Cancel = cancel, .TabStop = true, .Events = {On(Event::Action, action)}, .Member = Into(member)};
}

fw::ControlDesign Label(const char* name, int32_t top, int32_t width, int32_t tabIndex, const char* text,
                        fw::StaticText* CalPrint::*member) {
  return {.Name = name, .Kind = ControlKind::StaticText, .Left = 17, .Top = top, .Width = width, .Height = 23,
          .TabIndex = tabIndex, .Text = text, .TextFont = "Verdana", .TextSize = 16, .TextColor = kBlack,
          .TextAlign = 0, .Multiline = false, .TabStop = true, .Member = Into(member)};
}

// In creation order. The fields stand in a column with their labels to the left,
// Print above Exit on the right and the two calendars along the bottom.
const std::vector<fw::ControlDesign>& ControlTable() {
  static const std::vector<fw::ControlDesign> table{
      Option("OPTHijri", 247, 83, 4, "Hijri", false, &CalPrint::OPTHijri_Action, &CalPrint::OPTHijri),
      Option("OPTGregorian", 20, 200, 3, "Gregorian / Christian", true, &CalPrint::OPTGregorian_Action,
             &CalPrint::OPTGregorian),
      Field("ToMonthTXTPRT", 182, 2, &CalPrint::ToMonthTXTPRT_GotFocus, &CalPrint::ToMonthTXTPRT_LostFocus,
            &CalPrint::ToMonthTXTPRT),
      Button("CancelButton", 144, 6, "Exit", false, true, &CalPrint::CancelButton_Action, &CalPrint::CancelButton),
      Field("FromMonthTXTPRT", 107, 1, &CalPrint::FromMonthTXTPRT_GotFocus, &CalPrint::FromMonthTXTPRT_LostFocus,
            &CalPrint::FromMonthTXTPRT),
      Button("PrintPRT", 74, 5, "Print", true, false, &CalPrint::PrintPRT_Action, &CalPrint::PrintPRT),
      Field("YearTXTPRT", 32, 0, &CalPrint::YearTXTPRT_GotFocus, &CalPrint::YearTXTPRT_LostFocus,
            &CalPrint::YearTXTPRT),
      Label("Label3", 189, 83, 7, "To Month", &CalPrint::Label3),
      Label("Label2", 114, 100, 8, "From Month", &CalPrint::Label2),
      Label("Label1", 39, 83, 9, "Year", &CalPrint::Label1),
  };
  return table;
}

}  // namespace

CalPrint& CalPrint::Instance() { return fw::Instance<CalPrint>(); }

bool CalPrint::Exists() { return fw::Exists<CalPrint>(); }

void CalPrint::Layout() { SetProperties(kDesign); }

void CalPrint::CreateControls() { CreateControls0(); }

void CalPrint::CreateControls0() { AddControls(ControlTable()); }

// Runs once per run: a window shown again after Exit keeps its place and its fields.
void CalPrint::Event_Open() {
  CentreOnMainScreen();
  YearTXTPRT->SetText(fw::Str(AppGlobal::TodaysDate.Year));
  FromMonthTXTPRT->SetText(fw::Str(AppGlobal::TodaysDate.Month));
  ToMonthTXTPRT->SetText(FromMonthTXTPRT->Text());
  // Ready for a year to be typed over today's.
  YearTXTPRT->SetFocus();
}

// ---- the calendar choice and the fields ---------------------------------------
// Nothing is tidied or tested until Print is pressed.

void CalPrint::OPTHijri_Action() {}
void CalPrint::OPTGregorian_Action() {}

void CalPrint::YearTXTPRT_GotFocus() { YearTXTPRT->SelectAll(); }
void CalPrint::YearTXTPRT_LostFocus() {}
void CalPrint::FromMonthTXTPRT_GotFocus() { FromMonthTXTPRT->SelectAll(); }
void CalPrint::FromMonthTXTPRT_LostFocus() {}
void CalPrint::ToMonthTXTPRT_GotFocus() { ToMonthTXTPRT->SelectAll(); }
void CalPrint::ToMonthTXTPRT_LostFocus() {}

// ---- the checks a job makes before it prints ------------------------------------

bool CalPrint::CheckMonthLimitsPRT(int32_t month) { return month > 0 && month < 13; }

// No month inside the range is excluded here: October 1582 and Ramadhan 990 print.
bool CalPrint::CheckDateLimitsPRT(int32_t month, int32_t year) {
  return AppGlobal::WithinEra(OPTGregorian->Value(), month, year);
}

double CalPrint::GetPMScaling(const std::string& setup) { return PMScalingOf(setup); }

double PMScalingOf(const std::string& setup) {
  if (fw::Len(setup) == 0) return 1.0;
  // The page format names the entry once, then again inside it beside the value:
  // only the second occurrence is followed by the factor.
  static const std::string kKey = "<key>com.apple.print.PageFormat.PMScaling</key>";
  const int32_t keyLength = fw::Len(kKey);  // 47
  const int32_t first = fw::InStr(1, setup, kKey);
  if (first == 0) return 1.0;
  const int32_t second = fw::InStr(first + 1, setup, kKey);
  if (second == 0) return 1.0;
  const int32_t real = fw::InStr(second + keyLength, setup, "<real>");
  if (real == 0) return 1.0;
  const int32_t start = real + 6;
  const int32_t end = fw::InStr(start, setup, "</real>");
  if (end == 0) return 1.0;
  return fw::CDbl(fw::Mid(setup, start, end - start));
}

// ---- leaving ----------------------------------------------------------------

void CalPrint::CancelButton_Action() {
  Hide();  // ends the modal showing: the Print command returns
  CalMain::Instance().TakeBackFocus();
}

// Runs only while the application quits. The main window closes first, and asking
// for it here would build a new one during shut-down.
void CalPrint::Event_Close() {
  if (CalMain::Exists()) CalMain::Instance().Refresh(true);
  Hide();
}
