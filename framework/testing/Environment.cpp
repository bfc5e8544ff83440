#include "framework/testing/Driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/Application.h"
#include "framework/Internal.h"
#include "framework/Window.h"
#include "framework/WindowRegistry.h"

namespace fw::test {

namespace {

std::string MakePrivateDir(const char* name) {
  const std::string dir = ScratchDir() + "/" + name;
  if (::mkdir(dir.c_str(), 0700) != 0) std::abort();
  return dir;
}

void WriteFontConfig(const std::string& dir) {
  // Only the fonts the project installs, so that widths and pixels do not depend on
  // whatever else happens to be on the machine.
  const std::string path = dir + "/fonts.conf";
  std::ofstream out(path);
  out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
      << "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n"
      << "  <dir>/usr/share/fonts/truetype/liberation2</dir>\n"
      << "  <cachedir>" << dir << "/cache</cachedir>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/30-metric-aliases.conf</include>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/45-latin.conf</include>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/60-latin.conf</include>\n"
      << "  <include ignore_missing=\"yes\">/etc/fonts/conf.d/49-sansserif.conf</include>\n"
      << "</fontconfig>\n";
  ::setenv("FONTCONFIG_FILE", path.c_str(), 1);
}

std::unique_ptr<QApplication>& TestApp() {
  static std::unique_ptr<QApplication> app;
  return app;
}

}  // namespace

std::string ScratchDir() {
  static std::string dir;
  static pid_t owner = 0;
  if (dir.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaral-test-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    dir = tmpl;
    owner = ::getpid();
    // A forked child that exits must not take its parent's folder with it.
    std::atexit([] {
      std::error_code ec;
      if (::getpid() == owner) std::filesystem::remove_all(dir, ec);
    });
  }
  return dir;
}

void InitApplication(int& argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string runtime = MakePrivateDir("runtime");
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  const std::string config = MakePrivateDir("config");
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  WriteFontConfig(MakePrivateDir("fonts"));
  // The same paper whatever the machine's setting: tests that need another set it.
  ::setenv("PAPERSIZE", "a4", 1);
  TestApp() = std::make_unique<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
}

void FinishApplication() {
  WatchForUnexpectedDialogs({});
  ResetApplication();
  TestApp().reset();
}

void UseScreens(const std::vector<Rect>& screens) {
  // The offscreen platform reads its screens from a file; it adds them sorted by name
  // and takes the first added as the primary one.
  const std::string path = MakePrivateDir("screens") + "/screens.json";
  std::ofstream out(path);
  out << "{\"screens\": [";
  for (size_t i = 0; i < screens.size(); ++i) {
    const Rect& r = screens[i];
    out << (i ? ", " : "") << "{\"name\": \"screen" << i << "\", \"x\": " << r.Left << ", \"y\": " << r.Top
        << ", \"width\": " << r.Width << ", \"height\": " << r.Height << "}";
  }
  out << "]}\n";
  ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).c_str(), 1);
}

void ResetApplication() {
  detail::ReleaseQuitRequests();
  WindowRegistry::Reset();
  delete Application::Current();
  detail::quitRequested = false;
  detail::quitCode = 0;
  QCoreApplication::processEvents();
}

void Pump(int milliseconds) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (milliseconds > 0) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  while (!condition()) {
    if (t.elapsed() > timeoutMs) return false;
    QTest::qWait(5);
  }
  return true;
}

namespace {

std::vector<std::string>* capturedMessages = nullptr;
QtMessageHandler handlerBeforeCapture = nullptr;

void CaptureMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (capturedMessages) capturedMessages->push_back(detail::S(message));
  if (handlerBeforeCapture) handlerBeforeCapture(type, context, message);
}

}  // namespace

std::vector<std::string> QtMessages(const std::function<void()>& action) {
  std::vector<std::string> messages;
  capturedMessages = &messages;
  handlerBeforeCapture = qInstallMessageHandler(CaptureMessage);
  action();
  qInstallMessageHandler(handlerBeforeCapture);
  capturedMessages = nullptr;
  return messages;
}

void HideAfter(Window& window, int milliseconds) {
  WindowFrame* frame = &window.Frame();
  QTimer::singleShot(milliseconds, frame, [frame] { frame->hide(); });
}

void RequestSessionQuit() {
  // What Qt delivers when the session manager tells the application to die.
  QEvent quit(QEvent::Quit);
  QCoreApplication::sendEvent(qApp, &quit);
  Pump();
}

void WithFileSizeLimit(int64_t bytes, const std::function<void()>& action) {
  rlimit before{};
  ::getrlimit(RLIMIT_FSIZE, &before);
  rlimit limited = before;
  limited.rlim_cur = static_cast<rlim_t>(bytes);
  ::setrlimit(RLIMIT_FSIZE, &limited);
  action();
  ::setrlimit(RLIMIT_FSIZE, &before);
}

int BeepCount() { return detail::beepCount; }

bool QuitRequested() { return detail::quitRequested; }

}  // namespace fw::test
