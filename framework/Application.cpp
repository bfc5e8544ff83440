#include "framework/Application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "framework/Basic.h"
#include "framework/Internal.h"
#include "framework/Window.h"
#include "framework/WindowRegistry.h"

namespace fw {

namespace {

Application*& CurrentApp() {
  static Application* app = nullptr;
  return app;
}

std::unique_ptr<QApplication>& OwnedQApp() {
  static std::unique_ptr<QApplication> app;
  return app;
}

bool HaveDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;  // the user chose one
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

Application::Application() { CurrentApp() = this; }

Application::~Application() {
  if (CurrentApp() == this) CurrentApp() = nullptr;
}

void Application::AddMenuHandler(const std::string& itemName, MenuHandler handler) {
  handlers_[itemName] = std::move(handler);
}

bool Application::HandleMenu(const std::string& itemName) {
  auto it = handlers_.find(itemName);
  if (it == handlers_.end() || !it->second) return false;
  return it->second();
}

Application* Application::Current() { return CurrentApp(); }

bool Start(int& argc, char** argv, const std::function<void()>& startup) {
  if (!qApp) {
    if (!HaveDisplay()) {
      std::fprintf(stderr, "%s: no display to show windows on (set DISPLAY, or run it under xvfb-run)\n",
                   argc > 0 && argv[0] ? argv[0] : "tessaral");
      return false;
    }
    OwnedQApp() = std::make_unique<QApplication>(argc, argv);
  }
  // Closing windows never ends the run by itself: the main window's Close event quits.
  QApplication::setQuitOnLastWindowClosed(false);
  detail::quitRequested = false;
  detail::quitCode = 0;

  startup();
  if (Application* app = Application::Current()) app->Event_Open();
  WindowRegistry::ApplicationDidOpen();
  return true;
}

namespace {
bool loopRunning = false;
}

int RunEventLoop() {
  if (detail::quitRequested) return detail::quitCode;
  loopRunning = true;
  const int code = QApplication::exec();
  loopRunning = false;
  return code;
}

void Shutdown() {
  WindowRegistry::DestroyAllSilently();
  delete CurrentApp();
  CurrentApp() = nullptr;
  OwnedQApp().reset();
}

void Quit(int32_t exitCode) {
  if (detail::quitRequested) return;
  detail::quitRequested = true;
  detail::quitCode = exitCode;
  WindowRegistry::CloseAll();
  // Asking Qt to exit with no loop running would make every later modal loop
  // return at once.
  if (loopRunning) QCoreApplication::exit(exitCode);
}

// ---- small helpers shared by the framework's sources ------------------------

QString detail::Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string detail::S(const QString& s) { return s.toStdString(); }

QFont detail::MakeFont(const std::string& family, double pixelSize, bool bold) {
  QFont font = QApplication::font();
  QString name = Q(family);
  const QString key = name.toLower();
  // The design names, with the faces that stand in for them here when they are missing.
  if (key == QLatin1String("system") || key.isEmpty()) {
    // the platform's own font
  } else if (key == QLatin1String("verdana")) {
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
  } else if (key == QLatin1String("arial")) {
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  } else if (key == QLatin1String("courier") || key == QLatin1String("courier new")) {
    font.setFamilies({name, QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
  } else if (key == QLatin1String("monaco")) {
    font.setFamilies({QStringLiteral("Monaco"), QStringLiteral("DejaVu Sans Mono")});
  } else {
    font.setFamilies({name});
  }
  if (pixelSize > 0) font.setPixelSize(static_cast<int>(pixelSize + 0.5));
  font.setBold(bold);
  return font;
}

}  // namespace fw
