#include "shell/CalAbout.h"

#include <vector>

#include "framework/Basic.h"

using fw::ControlKind;
using fw::Event;
using fw::Into;
using fw::On;

namespace {

const fw::WindowDesign kDesign{
    .Title = "About",
    .Width = 331,
    .Height = 244,
    .MinWidth = 64,
    .MinHeight = 64,
    .MaxWidth = 32000,
    .MaxHeight = 32000,
    .Frame = 2,
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

// In creation order.
const std::vector<fw::ControlDesign>& ControlTable() {
  static const std::vector<fw::ControlDesign> table{
      {.Name = "Label4", .Kind = ControlKind::StaticText, .Left = 8, .Top = 132, .Width = 309, .Height = 29,
       .Text = "Version 1.2", .TextFont = "Verdana", .TextSize = 11, .Bold = false, .TextColor = 0x000000,
       .TextAlign = 1, .Multiline = true, .Member = Into(&CalAbout::Label4)},
      {.Name = "Label1", .Kind = ControlKind::StaticText, .Left = 8, .Top = 17, .Width = 309, .Height = 35,
       .Text = "Tessaral", .TextFont = "Arial", .TextSize = 24, .Bold = true, .TextColor = 0x000000,
       .TextAlign = 1, .Multiline = false, .Member = Into(&CalAbout::Label1)},
      {.Name = "PushButton1", .Kind = ControlKind::PushButton, .Left = 71, .Top = 197, .Width = 189, .Height = 20,
       .Text = "Close", .TextFont = "Verdana", .TextSize = 12, .Bold = false, .Default = true, .Cancel = true,
       .TabStop = true, .Events = {On(Event::Action, &CalAbout::PushButton1_Action)},
       .Member = Into(&CalAbout::PushButton1)},
  };
  return table;
}

}  // namespace

CalAbout& CalAbout::Instance() { return fw::Instance<CalAbout>(); }

bool CalAbout::Exists() { return fw::Exists<CalAbout>(); }

void CalAbout::Layout() { SetProperties(kDesign); }

void CalAbout::CreateControls() { CreateControls0(); }

void CalAbout::CreateControls0() { AddControls(ControlTable()); }

// Only a new window gets here: one shown again after Close stays where it was.
void CalAbout::Event_Open() {
  CentreOnMainScreen();
}

void CalAbout::PushButton1_Action() { Hide(); }

void CalAbout::Event_Close() { Hide(); }
