// Whether Qt's platform plugin can start, checked before the Qt application object
// is built: Qt treats a missing display or plugin as fatal and aborts the process.
// The checks follow the choices Qt makes itself (-platform, QT_QPA_PLATFORM with
// its "name:options" and ";" fallbacks, the plugin folders) and stop at the first
// platform that can start, so a normal start pays for a file test and, on X11, one
// connection to the display.

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Internal.h"

namespace fw {

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(separator, start), text.size());
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// What this run asks Qt for: the platform list, where it came from, the plugin
// folder given on top of Qt's own, and the X display.
struct Request {
  std::string platforms;
  std::string source;
  std::string pluginPath;
  std::string display;
};

Request ReadRequest(int argc, char** argv) {
  Request r{Env("QT_QPA_PLATFORM"), "QT_QPA_PLATFORM", Env("QT_QPA_PLATFORM_PLUGIN_PATH"), Env("DISPLAY")};
  for (int i = 1; i + 1 < argc; ++i) {
    std::string_view arg = argv[i] ? argv[i] : "";
    if (arg.starts_with("--")) arg.remove_prefix(1);
    if (arg == "-platform") {
      r.platforms = argv[++i];
      r.source = "-platform";
    } else if (arg == "-platformpluginpath") {
      r.pluginPath = argv[++i];
    } else if (arg == "-display") {
      r.display = argv[++i];
    }
  }
  if (r.platforms.empty()) {
    // Qt's own default: X11, with Wayland tried first in a Wayland session.
    r.platforms = Env("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    r.source.clear();
  }
  return r;
}

std::vector<fs::path> PluginFolders(const Request& r) {
  std::vector<fs::path> folders;
  if (!r.pluginPath.empty()) folders.emplace_back(r.pluginPath);
  for (const std::string& dir : Split(Env("QT_PLUGIN_PATH"), ':')) folders.push_back(fs::path(dir) / "platforms");
  folders.push_back(fs::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) / "platforms");
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) folders.push_back(exe.parent_path() / "platforms");
  return folders;
}

bool PluginKeysHold(const fs::path& file, const std::string& name) {
  const QJsonObject meta = QPluginLoader(QString::fromStdString(file.string())).metaData();
  const QJsonArray keys = meta.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray();
  return std::any_of(keys.begin(), keys.end(), [&](const QJsonValue& key) {
    return key.toString().compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0;
  });
}

bool HavePlugin(const std::string& name, const std::vector<fs::path>& folders) {
  std::error_code ec;
  // Qt's own plugins are named after their key; only another name needs their
  // metadata read.
  for (const fs::path& dir : folders)
    if (fs::exists(dir / ("libq" + Lower(name) + ".so"), ec)) return true;
  for (const fs::path& dir : folders) {
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
      if (entry.path().extension() == ".so" && PluginKeysHold(entry.path(), name)) return true;
    }
  }
  return false;
}

// Held open until Qt has its own connection: an X server whose last client leaves
// resets itself (a bare Xvfb does), and Qt connecting during that reset fails.
xcb_connection_t* heldConnection = nullptr;

std::string XDisplayProblem(const std::string& display) {
  if (display.empty()) return "no display to show windows on (set DISPLAY, or run it under xvfb-run)";
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    xcb_disconnect(connection);
    return "cannot open the X display \"" + display + "\" (is it running? set DISPLAY to one that is)";
  }
  if (heldConnection) xcb_disconnect(heldConnection);
  heldConnection = connection;
  return {};
}

std::string WaylandProblem() {
  if (!Env("WAYLAND_SOCKET").empty()) return {};  // handed over already connected
  std::string name = Env("WAYLAND_DISPLAY");
  if (name.empty()) name = "wayland-0";
  fs::path socketPath = name;
  if (socketPath.is_relative()) {
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.empty()) return "no Wayland display to show windows on (XDG_RUNTIME_DIR is not set)";
    socketPath = fs::path(runtime) / name;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string text = socketPath.string();
  bool reached = false;
  if (text.size() < sizeof(address.sun_path)) {
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    reached = fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0) ::close(fd);
  }
  if (!reached) return "cannot reach the Wayland display at " + text;
  return {};
}

std::string ProblemWith(const std::string& platform, const Request& r, const std::vector<fs::path>& folders) {
  const std::string name = platform.substr(0, platform.find(':'));
  if (!HavePlugin(name, folders)) {
    std::string where;
    for (const fs::path& dir : folders) where += (where.empty() ? "" : ", ") + dir.string();
    return "no Qt platform plugin \"" + name + "\"" + (r.source.empty() ? "" : " (from " + r.source + ")") +
           " in " + where;
  }
  const std::string key = Lower(name);
  if (key == "xcb") return XDisplayProblem(r.display);
  if (key.starts_with("wayland")) return WaylandProblem();
  return {};
}

}  // namespace

std::string detail::PlatformProblem(int argc, char** argv) {
  const Request request = ReadRequest(argc, argv);
  const std::vector<fs::path> folders = PluginFolders(request);
  // Qt tries the platforms in turn and takes the first that starts.
  std::string first;
  for (const std::string& platform : Split(request.platforms, ';')) {
    const std::string problem = ProblemWith(platform, request, folders);
    if (problem.empty()) return {};
    if (first.empty()) first = problem;
  }
  return first.empty() ? "no Qt platform named in \"" + request.platforms + "\"" : first;
}

void detail::PlatformStarted() {
  if (heldConnection) xcb_disconnect(heldConnection);
  heldConnection = nullptr;
}

}  // namespace fw
