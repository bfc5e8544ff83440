#pragma once
// The About window: the product's name and version.

#include "framework/Controls.h"
#include "framework/Window.h"

class CalAbout : public fw::Window {
 public:
  // The one About window, built on first use.
  static CalAbout& Instance();
  static bool Exists();

  fw::StaticText* Label4 = nullptr;
  fw::StaticText* Label1 = nullptr;
  fw::PushButton* PushButton1 = nullptr;

  void PushButton1_Action();
  void Event_Open() override;
  void Event_Close() override;

 protected:
  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
};
