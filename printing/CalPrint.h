#pragma once
// The Print window: a year, a first and a last month and the calendar they are
// given in; Print prints those months, one page each.

#include <cstdint>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Window.h"

class CalPrint : public fw::Window {
 public:
  // The one Print window, built on first use.
  static CalPrint& Instance();
  static bool Exists();

  fw::RadioButton* OPTHijri = nullptr;
  fw::RadioButton* OPTGregorian = nullptr;
  fw::TextField* ToMonthTXTPRT = nullptr;
  fw::PushButton* CancelButton = nullptr;
  fw::TextField* FromMonthTXTPRT = nullptr;
  fw::PushButton* PrintPRT = nullptr;
  fw::TextField* YearTXTPRT = nullptr;
  fw::StaticText* Label3 = nullptr;
  fw::StaticText* Label2 = nullptr;
  fw::StaticText* Label1 = nullptr;

  // Working values of the last job that got past the printer dialog.
  float PaperWidth = 0;
  float BoxWidth = 0;
  float BoxHeight = 0;
  float LeadMargin = 0;

  void OPTHijri_Action();
  void OPTGregorian_Action();
  void ToMonthTXTPRT_GotFocus();
  void ToMonthTXTPRT_LostFocus();
  void CancelButton_Action();
  void FromMonthTXTPRT_GotFocus();
  void FromMonthTXTPRT_LostFocus();
  void PrintPRT_Action();
  void YearTXTPRT_GotFocus();
  void YearTXTPRT_LostFocus();
  void Event_Open() override;
  void Event_Close() override;

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();

  bool CheckMonthLimitsPRT(int32_t month);
  bool CheckDateLimitsPRT(int32_t month, int32_t year);
  double GetPMScaling(const std::string& setup);

 private:
  // Where the grid of every page lies, worked out once per job.
  struct PageGrid {
    double PrintScale = 1;
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
    int32_t GridLeft = 0;
  };
  void PrintPage(fw::Graphics& g, int32_t month, const PageGrid& grid);
  void PrintMonth(fw::Graphics& g, int32_t month, const PageGrid& grid, int32_t gridTop, bool gregorianLeads);
};

// The page scaling factor that a printer setup string carries: the first <real>
// after the second PMScaling key; 1.0 when there is none.
double PMScalingOf(const std::string& setup);

