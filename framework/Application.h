#pragma once
// The application object: its Open event, its menu bar and the menu handlers it
// registers by menu-item name.

#include <functional>
#include <map>
#include <string>

namespace fw {

class MenuBar;

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs once the start-up routine is done, before any window opens.
  virtual void Event_Open() {}

  void SetMenuBar(MenuBar& bar) { menuBar_ = &bar; }
  MenuBar* GetMenuBar() const { return menuBar_; }

  using MenuHandler = std::function<bool()>;
  void AddMenuHandler(const std::string& itemName, MenuHandler handler);
  // Routes a chosen command to the handler registered under the item's name;
  // true when one handled it.
  bool HandleMenu(const std::string& itemName);

  // The running application object, or null.
  static Application* Current();

 private:
  MenuBar* menuBar_ = nullptr;
  std::map<std::string, MenuHandler> handlers_;
};

// Starts the application: initialises the platform, runs `startup` (which creates
// the application object and the default window), delivers the application's Open
// event and then the windows' Open events. A platform that cannot start (no
// display, no such plugin) ends the process: one line on standard error, exit 1.
void Start(int& argc, char** argv, const std::function<void()>& startup);

// Runs the event loop until the application quits; returns the exit code.
int RunEventLoop();

// Destroys every window and the application object (the end of a run).
void Shutdown();

}  // namespace fw
