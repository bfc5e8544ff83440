#pragma once
// The application object: start-up, the application's Open event and the menu
// commands.

#include "framework/Application.h"

namespace fw {
class MenuItem;
}

class TSL : public fw::Application {
 public:
  // The start-up routine: the application object with its menu bar, the menu
  // handlers, then the main window.
  static void Startup();

  void Event_Open() override;

  bool About_Action();
  bool Convert_Action();
  bool Print_Action();
  bool CalendarPageSetup_Action();
  bool Preferences_Action();

 private:
  static void NewAppInstance();
  static void ApplicationAddMenuHandlers();
  static void MakeDefaultView();
};

// The running application object.
TSL& App();

// The menu bar's "Print" item, or null when the menu bar has none.
fw::MenuItem* PrintMenuItem();
