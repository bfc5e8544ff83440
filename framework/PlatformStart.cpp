// Qt picks the platform (X11, Wayland, whatever QT_QPA_PLATFORM or -platform names)
// and treats one that cannot start as fatal: several lines of its own and an abort.
// Until the first window is on screen this program holds Qt's messages back; on
// the fatal one it says in one line what stopped it, from what Qt said while it tried,
// and exits with status 1. Once a window is shown the held messages go out as Qt
// would have printed them.

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "framework/Internal.h"

namespace fw {

namespace {

struct HeldMessage {
  QtMsgType type;
  std::string category;
  std::string file;
  std::string function;
  int line;
  QString text;
};

std::mutex heldMutex;
bool holding = false;
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;
std::string programName;

// What Qt reported of each platform it tried, in order.
std::vector<std::string> causes;
bool causeForThisPlugin = false;
bool pluginMissing = false;
// The last warning that named no plugin: why the one Qt tries next failed.
std::string lastDetail;

std::string FirstQuoted(const QString& text) {
  const qsizetype open = text.indexOf(u'"');
  const qsizetype close = open < 0 ? -1 : text.indexOf(u'"', open + 1);
  return close < 0 ? std::string() : text.mid(open + 1, close - open - 1).toStdString();
}

std::string FirstLine(const QString& text) { return text.section(u'\n', 0, 0).trimmed().toStdString(); }

void Note(QtMsgType type, const std::string& category, const QString& text) {
  if (category == "qt.qpa.xcb" && text.startsWith(QLatin1String("could not connect to display"))) {
    const std::string display = text.mid(28).trimmed().toStdString();
    causes.push_back(display.empty() ? "no X display to show windows on (set DISPLAY, or run it under xvfb-run)"
                                     : "cannot open the X display \"" + display +
                                           "\" (set DISPLAY to one that is running, or run it under xvfb-run)");
    causeForThisPlugin = true;
  } else if (category == "qt.qpa.plugin" && text.startsWith(QLatin1String("Could not find the Qt platform plugin"))) {
    causes.push_back("no Qt platform plugin \"" + FirstQuoted(text) + "\"");
    pluginMissing = true;
    causeForThisPlugin = false;
    lastDetail.clear();
  } else if (category == "qt.qpa.plugin" && text.startsWith(QLatin1String("Could not load the Qt platform plugin"))) {
    if (!causeForThisPlugin)
      causes.push_back("the Qt platform plugin \"" + FirstQuoted(text) + "\" cannot start" +
                       (lastDetail.empty() ? "" : ": " + lastDetail));
    causeForThisPlugin = false;
    lastDetail.clear();
  } else if (type == QtWarningMsg || type == QtCriticalMsg) {
    lastDetail = FirstLine(text);
  }
}

// The platform plugin Qt loaded last: the one being started when it gave up.
std::string LastPlatformPlugin() {
  std::string name;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        const std::filesystem::path path = info->dlpi_name ? info->dlpi_name : "";
        const std::string file = path.filename().string();
        if (path.parent_path().filename() == "platforms" && file.starts_with("libq") && file.ends_with(".so"))
          *static_cast<std::string*>(data) = file.substr(4, file.size() - 7);
        return 0;
      },
      &name);
  return name;
}

std::string WhyNoPlatform(const QString& fatal) {
  if (!fatal.startsWith(QLatin1String("This application failed to start because no Qt platform plugin"))) {
    // A plugin that gave up on its own, as it started or as the first window was made.
    std::string name = QGuiApplication::platformName().toStdString();
    if (name.empty()) name = LastPlatformPlugin();
    return (name.empty() ? std::string("the Qt platform cannot start") : "the Qt platform plugin \"" + name + "\" cannot start") +
           ": " + FirstLine(fatal);
  }
  std::string line;
  for (const std::string& cause : causes) line += (line.empty() ? "" : "; ") + cause;
  if (line.empty()) line = "no Qt platform plugin named";
  // A name that matches no plugin is best answered with the ones there are.
  const QLatin1String available("Available platform plugins are: ");
  if (const qsizetype at = fatal.indexOf(available); at >= 0 && (causes.empty() || pluginMissing)) {
    QString list = fatal.mid(at + available.size()).trimmed();
    if (list.endsWith(u'.')) list.chop(1);
    line += " (installed: " + list.toStdString() + ")";
  }
  return line;
}

void HoldOrPass(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  std::unique_lock lock(heldMutex);
  if (!holding) {
    lock.unlock();
    previousHandler(type, context, text);
    return;
  }
  const std::string category = context.category ? context.category : "";
  if (type == QtFatalMsg) {
    const std::string line = programName + ": " + WhyNoPlatform(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    // Half of Qt is built: no destructor may run, nor Qt's abort.
    ::_exit(1);
  }
  Note(type, category, text);
  held.push_back({type, category, context.file ? context.file : "", context.function ? context.function : "",
                  context.line, text});
}

void ReleaseMessages() {
  std::vector<HeldMessage> out;
  {
    std::lock_guard lock(heldMutex);
    if (!holding) return;
    holding = false;
    out.swap(held);
  }
  // A handler installed on top of this one since keeps its place: it passes through.
  if (QtMessageHandler current = qInstallMessageHandler(previousHandler); current != HoldOrPass)
    qInstallMessageHandler(current);
  for (const HeldMessage& m : out) {
    const QMessageLogContext context(m.file.empty() ? nullptr : m.file.c_str(), m.line,
                                     m.function.empty() ? nullptr : m.function.c_str(), m.category.c_str());
    previousHandler(m.type, context, m.text);
  }
}

// Some platforms fail only as a window is made or first painted: the messages are
// held until the first window has been exposed and painted.
class FirstExposure : public QObject {
 public:
  using QObject::QObject;
  ~FirstExposure() override { ReleaseMessages(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow*>(watched)->isExposed()) {
      qApp->removeEventFilter(this);
      // Queued behind the paint that this exposure starts.
      QMetaObject::invokeMethod(this, &QObject::deleteLater, Qt::QueuedConnection);
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<QApplication> detail::StartPlatform(int& argc, char** argv) {
  programName = argc > 0 && argv[0] ? argv[0] : "tessaral";
  {
    std::lock_guard lock(heldMutex);
    holding = true;
  }
  previousHandler = qInstallMessageHandler(HoldOrPass);
  auto app = std::make_unique<QApplication>(argc, argv);
  app->installEventFilter(new FirstExposure(app.get()));
  return app;
}

}  // namespace fw
