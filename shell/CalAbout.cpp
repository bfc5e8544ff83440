#include "shell/CalAbout.h"

CalAbout& CalAbout::Instance() { return fw::Instance<CalAbout>(); }
bool CalAbout::Exists() { return fw::Exists<CalAbout>(); }
void CalAbout::Layout() { SetProperties({.Title = "CalAbout"}); }
void CalAbout::CreateControls() { CreateControls0(); }
void CalAbout::CreateControls0() {}
void CalAbout::Event_Open() {}
void CalAbout::Event_Close() { Hide(); }
void CalAbout::PushButton1_Action() { Hide(); }
