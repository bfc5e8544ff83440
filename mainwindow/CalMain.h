#pragma once
// The main window: one month as a grid in both calendars, and the row of controls
// that chooses the month and the leading calendar.

#include <cstdint>

#include "engine/Vorlen.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Window.h"

class CalMain : public fw::Window {
 public:
  // The one main window, built on first use.
  static CalMain& Instance();
  // Whether the main window is alive (nothing builds one during shut-down).
  static bool Exists();

  // Tab index of the date field that last had the focus: 0 MonthTXT, 1 YearTXT.
  int32_t LastFocusIndex = 0;

  fw::Canvas* CalendarTable = nullptr;
  fw::StaticText* StaticText1 = nullptr;
  fw::StaticText* StaticText2 = nullptr;
  fw::StaticText* StaticText3 = nullptr;
  fw::StaticText* StaticText4 = nullptr;
  fw::StaticText* StaticText5 = nullptr;
  fw::StaticText* StaticText6 = nullptr;
  fw::StaticText* StaticText7 = nullptr;
  fw::StaticText* NextMonth = nullptr;
  fw::StaticText* CurMonth = nullptr;
  fw::StaticText* Heading = nullptr;
  fw::RadioButton* GregOpt = nullptr;
  fw::RadioButton* HijOpt = nullptr;
  fw::PushButton* GoCMD = nullptr;
  fw::TextField* MonthTXT = nullptr;
  fw::PushButton* MonthIncrease = nullptr;
  fw::PushButton* MonthDecrease = nullptr;
  fw::TextField* YearTXT = nullptr;
  fw::PushButton* YearIncrease = nullptr;
  fw::PushButton* YearDecrease = nullptr;

  void CalendarTable_Paint(fw::Graphics& g);
  void GregOpt_Action();
  void HijOpt_Action();
  void GoCMD_Action();
  void MonthTXT_GotFocus();
  void MonthIncrease_Action();
  void MonthDecrease_Action();
  void YearTXT_GotFocus();
  void YearIncrease_Action();
  void YearDecrease_Action();
  void Event_Close() override;
  void Event_Open() override;
  void GetTodaysDateHij(int32_t& day, int32_t& month, int32_t& year);
  // Activates the main window and gives the focus back to the date field that had it
  // last (by LastFocusIndex): what a secondary window does when it is dismissed.
  void TakeBackFocus();
  // Draws the grid of dt's month in the leading calendar and sets the three labels.
  void DisplayCalendar(const TSLDate& dt);

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  bool CheckDateLimits(int32_t month, int32_t year);

  int16_t OriginalTop = 0;
  int16_t OriginalLeft = 0;
  int16_t FilePrefVersion = 2;

 private:
  void RepaintGrid();
};
