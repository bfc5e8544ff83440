#include "shell/CalPreferences.h"

CalPreferences& CalPreferences::Instance() { return fw::Instance<CalPreferences>(); }
bool CalPreferences::Exists() { return fw::Exists<CalPreferences>(); }
void CalPreferences::Layout() { SetProperties({.Title = "CalPreferences"}); }
void CalPreferences::CreateControls() { CreateControls0(); }
void CalPreferences::CreateControls0() {}
void CalPreferences::Event_Open() {}
void CalPreferences::Event_Close() { Hide(); }
void CalPreferences::PushApply_Action() { Hide(); }
void CalPreferences::PushCancel_Action() { Hide(); }
void CalPreferences::CheckBox1_Open() {}
