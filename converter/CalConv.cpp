#include "converter/CalConv.h"

CalConv& CalConv::Instance() { return fw::Instance<CalConv>(); }
bool CalConv::Exists() { return fw::Exists<CalConv>(); }
void CalConv::Layout() { SetProperties({.Title = "CalConv"}); }
void CalConv::CreateControls() { CreateControls0(); }
void CalConv::CreateControls0() {}
void CalConv::Event_Open() {}
void CalConv::Event_Close() { Hide(); }
void CalConv::ToExit_Action() { Hide(); }
void CalConv::InDayTXT_LostFocus() {}
void CalConv::InDayTXT_GotFocus() {}
void CalConv::ToGreg_Action() {}
void CalConv::InMonthTXT_LostFocus() {}
void CalConv::InMonthTXT_GotFocus() {}
void CalConv::ToHijri_Action() {}
void CalConv::InYearTXT_LostFocus() {}
void CalConv::InYearTXT_GotFocus() {}
