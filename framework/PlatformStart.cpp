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
#include <optional>
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
// Whether the plugin being started has its cause already (X names its display).
bool causeForThisPlugin = false;
// The first plugin Qt did not find, if any: where the line lists the ones there are.
std::optional<size_t> missingPlugin;
// The last other warning since Qt last spoke of a plugin: why the one it is starting
// failed.
std::string lastDetail;

std::string FirstQuoted(const QString& text) {
  const qsizetype open = text.indexOf(u'"');
  const qsizetype close = open < 0 ? -1 : text.indexOf(u'"', open + 1);
  return close < 0 ? std::string() : text.mid(open + 1, close - open - 1).toStdString();
}

std::string FirstLine(const QString& text) { return text.section(u'\n', 0, 0).trimmed().toStdString(); }

void Note(QtMsgType type, const std::string& category, const QString& text) {
  const QLatin1String noDisplay("could not connect to display");
  if (category == "qt.qpa.xcb" && text.startsWith(noDisplay)) {
    const std::string display = text.mid(noDisplay.size()).trimmed().toStdString();
    causes.push_back(display.empty()
                         ? "no X display to show windows on (set DISPLAY, or run it under xvfb-run)"
                         : "cannot open the X display \"" + display +
                               "\" (set DISPLAY to a running X server and screen, or run it under xvfb-run)");
    causeForThisPlugin = true;
  } else if (category == "qt.qpa.plugin" && text.startsWith(QLatin1String("Could not find the Qt platform plugin"))) {
    if (!missingPlugin) missingPlugin = causes.size();
    causes.push_back("no Qt platform plugin \"" + FirstQuoted(text) + "\"");
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
    const std::string who = name.empty() ? "the Qt platform" : "the Qt platform plugin \"" + name + "\"";
    return who + " cannot start: " + FirstLine(fatal);
  }
  std::vector<std::string> said = causes;
  if (said.empty()) said.push_back("no Qt platform plugin named");
  // A name that matches no plugin is best answered with the ones there are.
  const QLatin1String available("Available platform plugins are: ");
  if (const qsizetype at = fatal.indexOf(available); at >= 0 && (causes.empty() || missingPlugin)) {
    QString list = fatal.mid(at + available.size()).trimmed();
    if (list.endsWith(u'.')) list.chop(1);
    said[missingPlugin.value_or(0)] += " (installed: " + list.toStdString() + ")";
  }
  std::string line;
  for (const std::string& cause : said) line += (line.empty() ? "" : "; ") + cause;
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
