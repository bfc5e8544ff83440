#include "shell/TSL.h"

#include "converter/CalConv.h"
#include "engine/Vorlen.h"
#include "framework/Menu.h"
#include "framework/Printing.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"
#include "shell/AppGlobal.h"
#include "shell/CalAbout.h"
#include "shell/CalPreferences.h"
#include "shell/MainMenu.h"

TSL& App() { return static_cast<TSL&>(*fw::Application::Current()); }

fw::MenuItem* PrintMenuItem() {
  fw::MenuBar* bar = App().GetMenuBar();
  return bar ? bar->Lookup("Print") : nullptr;
}

void TSL::Startup() {
  NewAppInstance();
  ApplicationAddMenuHandlers();
  MakeDefaultView();
}

void TSL::NewAppInstance() {
  auto* app = new TSL();  // the framework owns the application object from here on
  app->SetMenuBar(MainMenu::Instance());
}

void TSL::ApplicationAddMenuHandlers() {
  TSL& app = App();
  app.AddMenuHandler("About", [&app] { return app.About_Action(); });
  app.AddMenuHandler("Convert", [&app] { return app.Convert_Action(); });
  app.AddMenuHandler("Print", [&app] { return app.Print_Action(); });
  app.AddMenuHandler("CalendarPageSetup", [&app] { return app.CalendarPageSetup_Action(); });
  app.AddMenuHandler("Preferences", [&app] { return app.Preferences_Action(); });
}

void TSL::MakeDefaultView() { CalMain::Instance(); }

void TSL::Event_Open() {
  // The default printer's page setup holds until the user sets up another; it is
  // never saved.
  const fw::PrinterSetup defaultSetup;
  AppGlobal::PageSetup = defaultSetup.SetupString();
  if (fw::MenuItem* print = PrintMenuItem()) print->AutoEnable = true;
  Vorlen::initConstants();
}

bool TSL::About_Action() {
  CalAbout::Instance().Show();
  return true;
}

bool TSL::Convert_Action() {
  CalConv::Instance().Show();
  return true;
}

// Returns once the Print window is dismissed.
bool TSL::Print_Action() {
  CalPrint::Instance().ShowModal();
  return true;
}

bool TSL::CalendarPageSetup_Action() {
  fw::PrinterSetup setup;
  if (!AppGlobal::PageSetup.empty()) setup.SetSetupString(AppGlobal::PageSetup);
  // A cancelled dialog keeps the page setup as it was.
  if (setup.PageSetupDialog(nullptr)) {
    AppGlobal::PageSetup = setup.SetupString();
    if (fw::MenuItem* print = PrintMenuItem()) print->AutoEnable = true;
  }
  return true;
}

bool TSL::Preferences_Action() {
  CalPreferences::Instance().Show();
  return true;
}
