#include "framework/Application.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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

// ---- the ways a run is asked to end from outside --------------------------
//
// SIGTERM, SIGINT and SIGHUP, and the desktop session's quit request (logout),
// end the run as the Quit command does: every window's Close event, then exit 0.
// A signal handler may do next to nothing, so it only writes a byte to a pipe that
// the event thread watches.

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};
int quitPipe[2] = {-1, -1};
struct sigaction previousActions[std::size(kQuitSignals)];
bool signalsCaught = false;

void OnQuitSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a request.
  [[maybe_unused]] const ssize_t written = ::write(quitPipe[1], &byte, 1);
  errno = savedErrno;
}

void DrainQuitPipe() {
  char bytes[64];
  while (quitPipe[0] >= 0 && ::read(quitPipe[0], bytes, sizeof bytes) > 0) {
  }
}

// Qt turns the session manager's "die" (and QCoreApplication::quit) into a Quit
// event to the application object.
class QuitEventFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != qApp || event->type() != QEvent::Quit) return false;
    Quit(0);
    return true;
  }
};

void CatchQuitRequests() {
  if (quitPipe[0] < 0 && ::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0) quitPipe[0] = quitPipe[1] = -1;
  static QPointer<QSocketNotifier> notifier;
  if (!notifier && quitPipe[0] >= 0) {
    notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
      DrainQuitPipe();
      Quit(0);
    });
    qApp->installEventFilter(new QuitEventFilter(qApp));
  }
  if (signalsCaught || quitPipe[1] < 0) return;
  signalsCaught = true;
  for (size_t i = 0; i < std::size(kQuitSignals); ++i) {
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(kQuitSignals[i], nullptr, &previousActions[i]);
    // A signal the run was started with ignored (nohup, a background job) stays so.
    if (previousActions[i].sa_handler != SIG_IGN) ::sigaction(kQuitSignals[i], &action, nullptr);
  }
}

// Closes the alerts and platform dialogs still up: they are in front of every
// window, and their modal loops have to return for the run to end.
void DismissDialogs() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
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

void Start(int& argc, char** argv, const std::function<void()>& startup) {
  // A write past a file-size limit (ulimit -f) fails with EFBIG, reported as a failed
  // write, instead of ending the run with the preferences unsaved.
  std::signal(SIGXFSZ, SIG_IGN);
  if (!qApp) OwnedQApp() = detail::StartPlatform(argc, argv);
  CatchQuitRequests();
  detail::KeepActivation();
  // Closing windows never ends the run by itself: the main window's Close event quits.
  QApplication::setQuitOnLastWindowClosed(false);
  detail::quitRequested = false;
  detail::quitCode = 0;

  startup();
  if (Application* app = Application::Current()) app->Event_Open();
  WindowRegistry::ApplicationDidOpen();
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

void detail::ReleaseQuitRequests() {
  if (signalsCaught) {
    for (size_t i = 0; i < std::size(kQuitSignals); ++i) ::sigaction(kQuitSignals[i], &previousActions[i], nullptr);
    signalsCaught = false;
  }
  DrainQuitPipe();
}

void Shutdown() {
  detail::ReleaseQuitRequests();
  WindowRegistry::DestroyAllSilently();
  delete CurrentApp();
  CurrentApp() = nullptr;
  // Qt's Wayland client can deadlock as it takes its connection down (the main thread
  // waits for its event thread, which waits for a read the main thread began), and the
  // run would never end. Everything is saved by now: there the connection is left for
  // the process's end to close.
  if (OwnedQApp() && detail::OnWayland()) {
    static QApplication* const keptToTheEnd = OwnedQApp().release();
    (void)keptToTheEnd;
    return;
  }
  OwnedQApp().reset();
}

void Quit(int32_t exitCode) {
  if (detail::quitRequested) return;
  detail::quitRequested = true;
  detail::quitCode = exitCode;
  DismissDialogs();
  WindowRegistry::CloseAll();
  // Asking Qt to exit with no loop running would make every later modal loop
  // return at once.
  if (loopRunning) QCoreApplication::exit(exitCode);
}

}  // namespace fw
