#include "framework/Application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
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

namespace {

// The design's font names, with the faces that stand in for them when they are not
// installed. The first installed one is taken, so that a fixed-pitch design face
// keeps a fixed-pitch stand-in whatever fontconfig would substitute.
QStringList Candidates(const QString& name) {
  const QString key = name.toLower();
  if (key == QLatin1String("verdana")) return {name, QStringLiteral("DejaVu Sans")};
  if (key == QLatin1String("arial")) return {name, QStringLiteral("Liberation Sans")};
  if (key == QLatin1String("courier") || key == QLatin1String("courier new"))
    return {name, QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
  if (key == QLatin1String("monaco")) return {name, QStringLiteral("DejaVu Sans Mono")};
  return {name};
}

QString InstalledFamily(const QString& name) {
  static QHash<QString, QString> chosen;
  auto it = chosen.find(name);
  if (it != chosen.end()) return *it;
  const QStringList installed = QFontDatabase::families();
  QString family = name;
  for (const QString& candidate : Candidates(name)) {
    if (installed.contains(candidate, Qt::CaseInsensitive)) {
      family = candidate;
      break;
    }
  }
  chosen.insert(name, family);
  return family;
}

}  // namespace

QFont detail::MakeFont(const std::string& family, double pixelSize, bool bold) {
  QFont font = QApplication::font();
  const QString name = Q(family);
  // "System" is the platform's own font.
  if (!name.isEmpty() && name.compare(QLatin1String("system"), Qt::CaseInsensitive) != 0)
    font.setFamilies({InstalledFamily(name)});
  if (pixelSize > 0) font.setPixelSize(static_cast<int>(pixelSize + 0.5));
  font.setBold(bold);
  return font;
}

}  // namespace fw
