#include "shell/CalPreferences.h"

#include <vector>

#include "framework/Basic.h"
#include "shell/AppGlobal.h"

using fw::ControlKind;
using fw::Event;
using fw::Into;
using fw::On;

namespace {

const fw::WindowDesign kDesign{
    .Title = "Preferences",
    .Width = 255,
    .Height = 110,
    .MinWidth = 64,
    .MinHeight = 64,
    .MaxWidth = 32000,
    .MaxHeight = 32000,
    .Frame = 1,
    .Placement = 0,
    .Resizeable = false,
    .LiveResize = false,
    .CloseButton = true,
    .MinimizeButton = false,
    .MaximizeButton = false,
    .FullScreen = false,
    .Composite = false,
    .MenuBarVisible = true,
    .HasBackColor = true,
    .BackColor = 0xFFFFFF,
    .Visible = true,
};

// In creation order. Both buttons answer Escape; the window's key handling gives it
// to Cancel, the one that is not also the default.
const std::vector<fw::ControlDesign>& ControlTable() {
  static const std::vector<fw::ControlDesign> table{
      {.Name = "PushApply", .Kind = ControlKind::PushButton, .Left = 138, .Top = 70, .Width = 97, .Height = 20,
       .TabIndex = 6, .Text = "Apply", .TextFont = "Verdana", .TextSize = 12, .Default = true, .Cancel = true,
       .TabStop = true, .Events = {On(Event::Action, &CalPreferences::PushApply_Action)},
       .Member = Into(&CalPreferences::PushApply)},
      {.Name = "PushCancel", .Kind = ControlKind::PushButton, .Left = 20, .Top = 70, .Width = 97, .Height = 20,
       .TabIndex = 7, .Text = "Cancel", .TextFont = "Verdana", .TextSize = 12, .Default = false, .Cancel = true,
       .TabStop = true, .Events = {On(Event::Action, &CalPreferences::PushCancel_Action)},
       .Member = Into(&CalPreferences::PushCancel)},
      {.Name = "CheckBox1", .Kind = ControlKind::CheckBox, .Left = 20, .Top = 22, .Width = 197, .Height = 20,
       .TabIndex = 8, .Text = "Save last screen location", .TextFont = "System", .Value = false, .State = 0,
       .TabStop = true, .Events = {On(Event::Open, &CalPreferences::CheckBox1_Open)},
       .Member = Into(&CalPreferences::CheckBox1)},
  };
  return table;
}

}  // namespace

CalPreferences& CalPreferences::Instance() { return fw::Instance<CalPreferences>(); }

bool CalPreferences::Exists() { return fw::Exists<CalPreferences>(); }

void CalPreferences::Layout() { SetProperties(kDesign); }

void CalPreferences::CreateControls() { CreateControls0(); }

void CalPreferences::CreateControls0() { AddControls(ControlTable()); }

// Runs before the window's Open, which then seeds the box again from saveCheckBox1.
void CalPreferences::CheckBox1_Open() { CheckBox1->SetState(AppGlobal::savePreferences); }

// Only a new window gets here: one shown again after Apply or Cancel stays where it was.
void CalPreferences::Event_Open() {
  CentreOnMainScreen();
  CheckBox1->SetState(AppGlobal::saveCheckBox1 ? 1 : 0);
  originalPreferences = CheckBox1->State();
}

void CalPreferences::PushApply_Action() {
  AppGlobal::savePreferences = CheckBox1->State();
  originalPreferences = CheckBox1->State();
  AppGlobal::saveCheckBox1 = CheckBox1->State() == 1;
  Hide();
}

void CalPreferences::PushCancel_Action() {
  CheckBox1->SetState(originalPreferences);
  Hide();
}

// The close box takes the box as it stands, applied or not; the main window's close
// then stores it.
void CalPreferences::Event_Close() {
  AppGlobal::saveCheckBox1 = CheckBox1->State() == 1;
  Hide();
}
