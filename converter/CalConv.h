#pragma once
// The Conversion window: one date of either calendar into the other, with its weekday.

#include "framework/Controls.h"
#include "framework/Window.h"

class CalConv : public fw::Window {
 public:
  // The one Conversion window, built on first use.
  static CalConv& Instance();
  static bool Exists();

  fw::PushButton* ToExit = nullptr;
  fw::TextField* InDayTXT = nullptr;
  fw::PushButton* ToGreg = nullptr;
  fw::TextField* InMonthTXT = nullptr;
  fw::PushButton* ToHijri = nullptr;
  fw::TextField* InYearTXT = nullptr;
  fw::StaticText* ToWeekDay = nullptr;
  fw::StaticText* OutDayTXT = nullptr;
  fw::StaticText* Label8 = nullptr;
  fw::StaticText* Label5 = nullptr;
  fw::StaticText* OutMonthTXT = nullptr;
  fw::StaticText* Label7 = nullptr;
  fw::StaticText* Label4 = nullptr;
  fw::StaticText* OutYearTXT = nullptr;
  fw::StaticText* Label6 = nullptr;
  fw::StaticText* Label3 = nullptr;

  void ToExit_Action();
  void InDayTXT_LostFocus();
  void InDayTXT_GotFocus();
  void ToGreg_Action();
  void InMonthTXT_LostFocus();
  void InMonthTXT_GotFocus();
  void ToHijri_Action();
  void InYearTXT_LostFocus();
  void InYearTXT_GotFocus();
  void Event_Open() override;
  void Event_Close() override;

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
};
