// Qt picks the platform (X11, Wayland, whatever QT_QPA_PLATFORM or -platform names)
// and treats one that cannot start as fatal: several lines of its own and an abort.
// Qt's messages go out as they come, as Qt prints them: a run can end where nothing
// here can step in (Qt's Wayland client calls _exit from its own thread, Qt aborts
// after a warning that QT_FATAL_WARNINGS makes fatal), and a message held back would
// be lost. On the way this program notes what Qt says of the platforms it tries; when
// none can start, it ends with one line saying why, in place of Qt's fatal text, and
// exit status 1. Any other fatal message is Qt's to print and to end the run on.

#include <QApplication>
#include <QEvent>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QThread>
#include <QWindow>

#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/Internal.h"

namespace fw {

namespace {

QtMessageHandler previousHandler = nullptr;
std::string programName;

std::mutex notesMutex;
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

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string NoXDisplay(const std::string& display) {
  return display.empty() ? "no X display to show windows on (set DISPLAY, or run it under xvfb-run)"
                         : "cannot open the X display \"" + display +
                               "\" (set DISPLAY to a running X server and screen, or run it under xvfb-run)";
}

// Why `plugin` did not start when Qt gave no reason of its own (its log categories
// are off): X fails on its display, Wayland on its compositor.
std::string PluginCause(const std::string& plugin, const std::string& detail) {
  if (plugin == "xcb" && detail.empty()) return NoXDisplay(Environment("DISPLAY"));
  std::string cause = "the Qt platform plugin \"" + plugin + "\" cannot start";
  if (!detail.empty()) return cause + ": " + detail;
  if (plugin.starts_with("wayland")) {
    const std::string display = Environment("WAYLAND_DISPLAY");
    cause += display.empty() ? " (WAYLAND_DISPLAY is not set)" : " on the Wayland display \"" + display + "\"";
  }
  return cause;
}

void Note(QtMsgType type, const std::string& category, const QString& text) {
  const QLatin1String noDisplay("could not connect to display");
  if (category == "qt.qpa.xcb" && text.startsWith(noDisplay)) {
    causes.push_back(NoXDisplay(text.mid(noDisplay.size()).trimmed().toStdString()));
    causeForThisPlugin = true;
  } else if (category == "qt.qpa.plugin" && text.startsWith(QLatin1String("Could not find the Qt platform plugin"))) {
    if (!missingPlugin) missingPlugin = causes.size();
    causes.push_back("no Qt platform plugin \"" + FirstQuoted(text) + "\"");
    causeForThisPlugin = false;
    lastDetail.clear();
  } else if (category == "qt.qpa.plugin" && text.startsWith(QLatin1String("Could not load the Qt platform plugin"))) {
    if (!causeForThisPlugin) causes.push_back(PluginCause(FirstQuoted(text), lastDetail));
    causeForThisPlugin = false;
    lastDetail.clear();
  } else if (type == QtWarningMsg || type == QtCriticalMsg) {
    lastDetail = FirstLine(text);
  }
}

// The platform plugins Qt has loaded, by the keys they answer to, in the order it
// loaded them: the ones it tried.
std::vector<std::string> TriedPlatforms() {
  std::vector<std::string> files;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        const std::filesystem::path path = info->dlpi_name ? info->dlpi_name : "";
        if (path.parent_path().filename() == "platforms")
          static_cast<std::vector<std::string>*>(data)->push_back(path.string());
        return 0;
      },
      &files);
  std::vector<std::string> keys;
  for (const std::string& file : files) {
    const QJsonArray names = QPluginLoader(QString::fromStdString(file))
                                 .metaData()
                                 .value(QLatin1String("MetaData"))
                                 .toObject()
                                 .value(QLatin1String("Keys"))
                                 .toArray();
    if (!names.isEmpty()) keys.push_back(names.first().toString().toStdString());
  }
  return keys;
}

// Qt's own word that it found no platform it could start.
bool NoPlatformStarted(const QString& fatal) {
  return fatal.startsWith(QLatin1String("This application failed to start because")) &&
         fatal.contains(QLatin1String("Qt platform plugin"));
}

// Whether a fatal message is the platform failing to start: Qt found none, or the
// plugin it loaded has no screen to show a window on (it gave up as Qt started it, or
// as the first window was made). One before any plugin (running setuid, say) is not.
bool PlatformFailed(const QString& fatal, const std::vector<std::string>& tried) {
  if (NoPlatformStarted(fatal)) return true;
  return !tried.empty() && qApp && QThread::currentThread() == qApp->thread() &&
         QGuiApplication::screens().isEmpty();
}

std::string WhyNoPlatform(const QString& fatal, const std::vector<std::string>& tried) {
  if (!NoPlatformStarted(fatal)) {
    std::string name = QGuiApplication::platformName().toStdString();
    if (name.empty() && !tried.empty()) name = tried.back();
    const std::string who = name.empty() ? "the Qt platform" : "the Qt platform plugin \"" + name + "\"";
    return who + " cannot start: " + FirstLine(fatal);
  }
  std::vector<std::string> said = causes;
  if (said.empty()) {
    // Qt said nothing while it tried: the plugins it loaded, and what they need. A
    // warning of its own belongs to the plugin only when there was one.
    for (const std::string& plugin : tried) said.push_back(PluginCause(plugin, tried.size() == 1 ? lastDetail : ""));
  }
  const bool nothingTried = said.empty();
  if (nothingTried) {
    const std::string named = FirstQuoted(fatal);
    const std::string asked = Environment("QT_QPA_PLATFORM");
    said.push_back(!named.empty()   ? "no Qt platform plugin \"" + named + "\""
                   : !asked.empty() ? "no Qt platform plugin for QT_QPA_PLATFORM \"" + asked + "\""
                                    : "no Qt platform plugin named");
  }
  // A name that matches no plugin is best answered with the ones there are.
  const QLatin1String available("Available platform plugins are: ");
  if (const qsizetype at = fatal.indexOf(available); at >= 0 && (nothingTried || missingPlugin)) {
    QString list = fatal.mid(at + available.size()).trimmed();
    if (list.endsWith(u'.')) list.chop(1);
    said[missingPlugin.value_or(0)] += " (installed: " + list.toStdString() + ")";
  }
  std::string line;
  for (const std::string& cause : said) line += (line.empty() ? "" : "; ") + cause;
  return line;
}

[[noreturn]] void EndWithOneLine(const QString& fatal, const std::vector<std::string>& tried) {
  std::string line;
  {
    std::lock_guard lock(notesMutex);
    line = programName + ": " + WhyNoPlatform(fatal, tried) + "\n";
  }
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  // Half of Qt is built: no destructor may run, nor Qt's abort.
  ::_exit(1);
}

void NoteAndPass(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // Read with no lock held: Qt may have something to say as it reads the plugins.
    const std::vector<std::string> tried = TriedPlatforms();
    if (PlatformFailed(text, tried)) EndWithOneLine(text, tried);
  } else {
    std::lock_guard lock(notesMutex);
    Note(type, context.category ? context.category : "", text);
  }
  previousHandler(type, context, text);
}

// Some platforms fail only as a window is made: start-up lasts until the first
// window is exposed, and then Qt's messages go straight to its handler.
class FirstExposure : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow*>(watched)->isExposed()) {
      qApp->removeEventFilter(this);
      // A handler installed on top of this one since keeps its place: it passes through.
      if (QtMessageHandler current = qInstallMessageHandler(previousHandler); current != NoteAndPass)
        qInstallMessageHandler(current);
      deleteLater();
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<QApplication> detail::StartPlatform(int& argc, char** argv) {
  programName = argc > 0 && argv[0] ? argv[0] : "tessaral";
  previousHandler = qInstallMessageHandler(NoteAndPass);
  auto app = std::make_unique<QApplication>(argc, argv);
  app->installEventFilter(new FirstExposure(app.get()));
  return app;
}

}  // namespace fw
