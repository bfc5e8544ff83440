// The real program, run as a child process the way a desktop runs it: termination
// signals end the run through the Close events; a start Qt cannot make prints Qt's own
// messages as they come and ends with one line and exit 1 rather than Qt's abort; a run
// that Qt ends itself keeps every message Qt printed.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A stored position with an unusual flag byte and a tail: only the main window's Close
// event turns it into kClosed.
const std::string kOdd("\x00\x02\x00\x64\x00\x32\x07tail", 11);
const std::string kClosed("\x00\x02\x00\x64\x00\x32\x01", 7);
const std::string kStored("\x00\x02\x00\x64\x00\x64\x01", 7);

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The arguments as exec wants them; they live as long as `strings`.
std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(start); });
}

// How a run ended, for messages.
std::string Ending(int status) {
  return WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                           : "signal " + std::to_string(WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// An X display that no server serves.
std::string AbsentDisplay() {
  int free = 4000;
  while (fs::exists("/tmp/.X11-unix/X" + std::to_string(free))) ++free;
  return ":" + std::to_string(free);
}

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaral-process-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir = tmpl;
    fs::create_directory(dir / "config");
    fs::create_directory(dir / "runtime");
    fs::permissions(dir / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    // Some runs end in Qt's abort: no core files.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
  }

  void TearDown() override {
    if (pid > 0) Wait(0);
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  fs::path Prefs() const { return dir / "config" / "TSL Prefs"; }
  std::string Stderr() const { return ReadFile(dir / "stderr"); }

  // Starts the program through env(1), without any display or platform choice of this
  // environment and with `extra`, giving it `programArgs`; the termination signals
  // start with their default handling, as does SIGXFSZ.
  void Start(const std::vector<std::string>& extra, const std::vector<std::string>& programArgs = {}) {
    std::vector<std::string> args{"/usr/bin/env"};
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
                             "QT_QPA_PLATFORM_PLUGIN_PATH", "XDG_SESSION_TYPE", "SESSION_MANAGER"})
      args.insert(args.end(), {"-u", name});
    args.push_back("XDG_CONFIG_HOME=" + (dir / "config").string());
    args.push_back("XDG_RUNTIME_DIR=" + (dir / "runtime").string());
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(TESSARAL_PROGRAM);
    args.insert(args.end(), programArgs.begin(), programArgs.end());
    std::vector<char*> argv = Pointers(args);

    const std::string errPath = (dir / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGXFSZ}) sigaddset(&defaults, sig);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const int rc = posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(rc, 0) << std::strerror(rc);
  }

  // The exit status, once `child` ends; one still running after `ms` is killed.
  static int WaitFor(pid_t child, int ms) {
    int status = 0;
    if (child <= 0) return status;
    for (int waited = 0; ::waitpid(child, &status, WNOHANG) == 0; waited += 10) {
      if (waited == ms) ::kill(child, SIGKILL);
      ::usleep(10000);
    }
    return status;
  }
  int Wait(int seconds) { return WaitFor(std::exchange(pid, -1), seconds * 1000); }

  // Returns once the main window has read the preferences file (which must exist): the
  // program listens for signals by then. False, as a test failure, when it ends first.
  bool StartAndAwaitOpen(const std::vector<std::string>& extra) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0 || ::inotify_add_watch(watch, Prefs().c_str(), IN_OPEN) < 0) {
      ADD_FAILURE() << "cannot watch " << Prefs() << ": " << std::strerror(errno);
      if (watch >= 0) ::close(watch);
      return false;
    }
    Start(extra);
    bool read = false;
    for (int waited = 0; !read && waited < 60000 && Running(); waited += 100) {
      pollfd ready{watch, POLLIN, 0};
      read = ::poll(&ready, 1, 100) == 1;
    }
    ::close(watch);
    if (!read) ADD_FAILURE() << "the program never read its preferences; " << Stderr();
    return read;
  }

  bool Running() const {
    siginfo_t info{};
    return ::waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
  }

  // How the program stands with `signal`, as the kernel shows it: "pending", "ignored",
  // "caught" or "default".
  std::string SignalState(int signal) const {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const unsigned long long bit = 1ULL << (signal - 1);
    bool pending = false, ignored = false, caught = false;
    for (std::string line; std::getline(status, line);) {
      const size_t colon = line.find(':');
      const std::string field = line.substr(0, colon);
      if (field != "SigPnd" && field != "ShdPnd" && field != "SigIgn" && field != "SigCgt") continue;
      const bool set = std::stoull(line.substr(colon + 1), nullptr, 16) & bit;
      (field == "SigIgn" ? ignored : field == "SigCgt" ? caught : pending) |= set;
    }
    return pending ? "pending" : ignored ? "ignored" : caught ? "caught" : "default";
  }

  // A start that Qt cannot make: exit status 1, and on standard error Qt's messages
  // (a line starting `qtSaid`, when given) and then, last, the program's one line that
  // mentions `mentions`, in place of Qt's fatal text.
  void ExpectQtThenOneLineAndExitOne(const std::vector<std::string>& env, const std::string& mentions,
                                     const std::string& qtSaid = "", const std::vector<std::string>& programArgs = {}) {
    Start(env, programArgs);
    const int status = Wait(60);
    const std::string err = Stderr();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << Ending(status) << "; " << err;
    std::vector<std::string> lines = Lines(err);
    ASSERT_FALSE(lines.empty()) << "nothing on standard error";
    const std::string ours = std::string(TESSARAL_PROGRAM) + ": ";
    EXPECT_TRUE(lines.back().starts_with(ours) && lines.back().find(mentions) != std::string::npos)
        << "the last line does not say why, mentioning " << mentions << ":\n" << err;
    lines.pop_back();
    EXPECT_FALSE(HasLineStarting(lines, ours)) << "a line of ours before the last:\n" << err;
    if (!qtSaid.empty()) {
      EXPECT_TRUE(HasLineStarting(lines, qtSaid)) << "Qt's \"" << qtSaid << "\" is lost:\n" << err;
    }
    EXPECT_EQ(err.find("Available platform plugins are"), std::string::npos) << "Qt's fatal text is there:\n" << err;
  }

  // A socket listening at `path`, or -1 as a test failure.
  static int Listen(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 8) != 0) {
      ADD_FAILURE() << "cannot listen at " << path << ": " << std::strerror(errno);
      if (listener >= 0) ::close(listener);
      return -1;
    }
    return listener;
  }

  void WritePrefs(const std::string& bytes) const { std::ofstream(Prefs(), std::ios::binary) << bytes; }

  // `signal`, then the exit status, which must be 0.
  void ExpectSignalEndsTheRunCleanly(int signal = SIGTERM) {
    ::kill(pid, signal);
    const int status = Wait(60);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << "; "
                                   << Stderr();
    EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
  }

  fs::path dir;
  pid_t pid = -1;
};

// Runs weston (headless, its socket in the program's runtime folder) or Xvfb beside the
// program; a missing one fails under the test script, and is skipped elsewhere.
class ServerTest : public ProcessTest {
 protected:
  static constexpr const char* kWaylandSocket = "tessaral-wayland";

  void TearDown() override {
    if (pid > 0) Wait(0);
    for (pid_t server : servers) {
      ::kill(server, SIGTERM);
      WaitFor(server, 5000);
    }
    ProcessTest::TearDown();
  }

  void RequireInstalled(const std::string& program) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"})
      if (::access((std::string(folder) + "/" + program).c_str(), X_OK) == 0) return;
    if (std::getenv("TESSARAL_REQUIRE_SERVERS")) FAIL() << program << " is not installed";
    GTEST_SKIP() << program << " is not installed";
  }

  pid_t Spawn(const std::vector<std::string>& command, int displayFd = -1) {
    std::vector<std::string> args{"/usr/bin/env", "XDG_RUNTIME_DIR=" + (dir / "runtime").string()};
    args.insert(args.end(), command.begin(), command.end());
    std::vector<char*> argv = Pointers(args);
    const std::string logPath = (dir / "server.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (displayFd >= 0) posix_spawn_file_actions_adddup2(&actions, displayFd, 3);
    pid_t server = -1;
    const int rc = posix_spawn(&server, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(rc, 0) << command[0] << ": " << std::strerror(rc);
    if (rc == 0) servers.push_back(server);
    return rc == 0 ? server : -1;
  }

  // The environment that shows the program on the compositor.
  void StartWeston() {
    RequireInstalled("weston");
    if (IsSkipped() || HasFatalFailure()) return;
    // Weston's default desktop shell, as a session runs it; its log shows the protocol
    // (what the program has answered).
    const pid_t server = Spawn({"weston", "--backend=headless-backend.so", "--shell=desktop-shell.so", "--no-config",
                                "--idle-time=0", "--logger-scopes=log,proto",
                                std::string("--socket=") + kWaylandSocket});
    ASSERT_GT(server, 0);
    const fs::path socket = dir / "runtime" / kWaylandSocket;
    for (int waited = 0; !fs::exists(socket); waited += 10) {
      ASSERT_LT(waited, 10000) << "weston made no socket: " << ReadFile(dir / "server.log");
      ASSERT_EQ(::waitpid(server, nullptr, WNOHANG), 0) << "weston ended: " << ReadFile(dir / "server.log");
      ::usleep(10000);
    }
  }

  // How many configure events weston's clients have answered so far.
  size_t AnsweredConfigures() const {
    const std::string log = ReadFile(dir / "server.log");
    size_t count = 0;
    for (size_t at = log.find(".ack_configure("); at != std::string::npos; at = log.find(".ack_configure(", at + 1))
      ++count;
    return count;
  }

  // The display name of a new X server.
  std::string StartXvfb() {
    RequireInstalled("Xvfb");
    if (IsSkipped() || HasFatalFailure()) return {};
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) return {};
    // Xvfb picks a free display and writes its number to fd 3 once it serves it.
    const pid_t server = Spawn({"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "800x600x24"}, ready[1]);
    ::close(ready[1]);
    // It may write the number and its newline apart: closing early would kill it.
    std::string number;
    pollfd readable{ready[0], POLLIN, 0};
    char c = 0;
    while (server > 0 && c != '\n' && ::poll(&readable, 1, 10000) == 1 && ::read(ready[0], &c, 1) == 1)
      if (c >= '0' && c <= '9') number += c;
    ::close(ready[0]);
    EXPECT_FALSE(number.empty()) << "Xvfb did not start: " << ReadFile(dir / "server.log");
    return number.empty() ? "" : ":" + number;
  }

  std::vector<pid_t> servers;
};

}  // namespace

// Termination signals end the run through the Close events, exit 0. A file-size limit
// below the file's 7 bytes fails the write, leaving the old file whole and nothing beside
// it. nohup starts the program with SIGHUP ignored, and a hangup leaves it running.
TEST_F(ProcessTest, TerminationSignalsEndTheRunThroughTheCloseEventsAndExitZero) {
  const struct {
    const char* what;
    int signal;
    std::vector<std::string> wrapper;  // that runs the program
    bool hangupFirst;
    std::string written;
    const char* warned = nullptr;  // on standard error
  } rows[] = {
      {"SIGTERM", SIGTERM, {}, false, kClosed},
      {"SIGHUP", SIGHUP, {}, false, kClosed},
      {"SIGINT", SIGINT, {}, false, kClosed},
      {"file-size limit 0", SIGTERM, {"prlimit", "--fsize=0"}, false, kOdd},
      {"file-size limit 3", SIGTERM, {"prlimit", "--fsize=3"}, false, kOdd},
      {"file-size limit 7", SIGTERM, {"prlimit", "--fsize=7"}, false, kClosed},
      {"SIGHUP under nohup, then SIGTERM", SIGTERM, {"/usr/bin/nohup"}, true, kClosed},
      // Qt warns, as it starts, that the first platform is missing: the warning goes
      // out as Qt prints it, category first, and one with no category has none.
      {"a platform list", SIGTERM, {"QT_QPA_PLATFORM=nosuchplatform;offscreen"}, false, kClosed,
       "qt.qpa.plugin: Could not find the Qt platform plugin \"nosuchplatform\""},
      {"a message with no category", SIGTERM, {"QT_QPA_PLATFORM=wayland;offscreen"}, false, kClosed,
       "Failed to create wl_display"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    WritePrefs(kOdd);
    std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen"};
    env.insert(env.end(), r.wrapper.begin(), r.wrapper.end());
    if (!StartAndAwaitOpen(env)) {
      Wait(0);
      continue;
    }
    if (r.hangupFirst) {
      ::kill(pid, SIGHUP);
      // The kernel drops a signal the program ignores as it is sent; one it catches
      // stays pending until the program takes it, and then ends the run.
      std::string state = SignalState(SIGHUP);
      for (int waited = 0; state == "pending" && waited < 10000; waited += 10) {
        ::usleep(10000);
        state = SignalState(SIGHUP);
      }
      if (state != "ignored") {
        const int status = Wait(10);
        ADD_FAILURE() << "a run started with SIGHUP ignored has it " << state << " and ended by " << Ending(status)
                      << "; " << Stderr();
        continue;
      }
    }
    ExpectSignalEndsTheRunCleanly(r.signal);
    EXPECT_EQ(ReadFile(Prefs()), r.written);
    if (r.warned) {
      EXPECT_TRUE(HasLineStarting(Lines(Stderr()), r.warned)) << "no line starts " << r.warned << ":\n" << Stderr();
    }
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir / "config")) files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<std::string>{"TSL Prefs"});
  }
}

// Qt's messages go out as Qt prints them, and the program's line comes last.
TEST_F(ProcessTest, UnusableDisplayOrPlatformGivesQtsMessagesThenOneLineAndExitOne) {
  const std::string absent = AbsentDisplay();
  const std::string xSays = "qt.qpa.xcb: could not connect to display";
  struct Case {
    const char* what;
    std::vector<std::string> env;
    std::string mentions;
    std::string qtSaid = "";  // the start of a line before the program's
    std::vector<std::string> args = {};
  };
  const Case cases[] = {
      {"DISPLAY naming no display", {"DISPLAY=" + absent}, absent, xSays + " " + absent},
      {"xcb without a display", {"QT_QPA_PLATFORM=xcb"}, "DISPLAY", xSays},
      {"unknown platform with options", {"QT_QPA_PLATFORM=nosuchplatform:size=2"}, "\"nosuchplatform\"",
       "qt.qpa.plugin: Could not find the Qt platform plugin \"nosuchplatform\""},
      // Installed plugins for hardware this machine lacks: they give up as Qt starts
      // them, or (linuxfb) only as the first window is made.
      {"eglfs", {"QT_QPA_PLATFORM=eglfs"}, "\"eglfs\""},
      {"linuxfb", {"QT_QPA_PLATFORM=linuxfb"}, "\"linuxfb\"", "linuxfb: Failed to initialize screen"},
      {"minimalegl", {"QT_QPA_PLATFORM=minimalegl"}, "\"minimalegl\"", "Could not initialize egl display"},
      {"a plugin's file name, not its key", {"QT_QPA_PLATFORM=wayland-generic"}, "\"wayland-generic\"",
       "qt.qpa.plugin: Could not find the Qt platform plugin \"wayland-generic\""},
      {"an empty -platform", {}, "no Qt platform plugin", "", {"-platform", ""}},
      {"a broken WAYLAND_SOCKET, no DISPLAY", {"WAYLAND_SOCKET=junk"}, "DISPLAY", xSays},
      // A message with no category has no prefix.
      {"a broken WAYLAND_SOCKET for wayland", {"WAYLAND_SOCKET=junk", "QT_QPA_PLATFORM=wayland"}, "\"wayland\"",
       "Failed to create wl_display"},
      // Qt tries Wayland, then X: the line names the display that X could not open.
      {"a Wayland session with a dead DISPLAY", {"XDG_SESSION_TYPE=wayland", "DISPLAY=" + absent},
       "\"" + absent + "\"", "Failed to create wl_display"},
      // X says nothing critical: QT_FATAL_CRITICALS leaves this start as it is.
      {"QT_FATAL_CRITICALS with a dead DISPLAY", {"QT_FATAL_CRITICALS=1", "DISPLAY=" + absent}, "\"" + absent + "\"",
       xSays + " " + absent},
      // With Qt's logging switched off, the line still names the display.
      {"no DISPLAY, all logging off", {"QT_LOGGING_RULES=*=false"}, "no X display"},
      {"a dead DISPLAY, all logging off", {"QT_LOGGING_RULES=*=false", "DISPLAY=" + absent}, "\"" + absent + "\""},
      {"no DISPLAY, platform logging off", {"QT_LOGGING_RULES=qt.qpa.*=false"}, "no X display"},
      {"a dead DISPLAY, platform logging off", {"QT_LOGGING_RULES=qt.qpa.*=false", "DISPLAY=" + absent},
       "\"" + absent + "\""},
      {"a Wayland session with a dead DISPLAY, all logging off",
       {"QT_LOGGING_RULES=*=false", "XDG_SESSION_TYPE=wayland", "DISPLAY=" + absent}, "\"" + absent + "\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectQtThenOneLineAndExitOne(c.env, c.mentions, c.qtSaid, c.args);
  }
}

// Runs that Qt ends itself, where this program cannot step in: what Qt printed is on
// standard error, and the run ends as Qt ends it.
TEST_F(ProcessTest, RunsThatQtEndsKeepWhatQtPrinted) {
  const std::string absent = AbsentDisplay();
  const std::string closing = "tessaral-closing";
  struct Row {
    const char* what;
    std::vector<std::string> env;  // and a wrapper that runs the program
    std::string ending;
    std::string qtSaid;  // the start of a line
    bool closingCompositor = false;  // at WAYLAND_DISPLAY=closing: it accepts and closes
    bool needsRoot = false;
  };
  const Row rows[] = {
      // Qt's Wayland client warns and calls _exit(1) from its own thread.
      {"WAYLAND_SOCKET=0 for wayland", {"WAYLAND_SOCKET=0", "QT_QPA_PLATFORM=wayland"}, "exit 1",
       "The Wayland connection experienced a fatal error"},
      {"a compositor that accepts and closes", {"WAYLAND_DISPLAY=" + closing, "QT_QPA_PLATFORM=wayland"}, "exit 1",
       "The Wayland connection broke", true},
      // Qt aborts after the first message it is told to make fatal.
      {"QT_FATAL_WARNINGS with a dead DISPLAY", {"QT_FATAL_WARNINGS=1", "DISPLAY=" + absent}, "signal 6",
       "qt.qpa.xcb: could not connect to display " + absent},
      {"QT_FATAL_CRITICALS in a Wayland session with a dead DISPLAY",
       {"QT_FATAL_CRITICALS=1", "XDG_SESSION_TYPE=wayland", "DISPLAY=" + absent}, "signal 6",
       "Failed to create wl_display"},
      // A fatal message before any window that is not about the platform; setpriv can
      // give the program another effective user only when run as root.
      {"running setuid", {"QT_QPA_PLATFORM=offscreen", "setpriv", "--euid=65534"}, "signal 6",
       "FATAL: The application binary appears to be running setuid", false, true},
  };
  const std::string ours = std::string(TESSARAL_PROGRAM) + ": ";
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    if (r.needsRoot && ::geteuid() != 0) {
      std::cout << "[ skipped  ] " << r.what << ": needs root\n";
      continue;
    }
    const int compositor = r.closingCompositor ? Listen(dir / "runtime" / closing) : -1;
    if (r.closingCompositor && compositor < 0) continue;
    Start(r.env);
    for (int waited = 0; compositor >= 0 && waited < 60000 && Running(); waited += 100) {
      pollfd connecting{compositor, POLLIN, 0};
      if (::poll(&connecting, 1, 100) == 1) ::close(::accept4(compositor, nullptr, nullptr, SOCK_CLOEXEC));
    }
    if (compositor >= 0) ::close(compositor);
    const int status = Wait(60);
    const std::string err = Stderr();
    const std::vector<std::string> lines = Lines(err);
    EXPECT_EQ(Ending(status), r.ending) << err;
    EXPECT_TRUE(HasLineStarting(lines, r.qtSaid)) << "Qt's \"" << r.qtSaid << "\" is lost:\n" << err;
    EXPECT_FALSE(HasLineStarting(lines, ours)) << "a run Qt ended, told as a platform that cannot start:\n" << err;
  }
}

// Where windows cannot learn their position, the stored one is kept.
TEST_F(ServerTest, StartsOnWaylandKeepingTheStoredPosition) {
  StartWeston();
  if (IsSkipped() || HasFatalFailure()) return;
  WritePrefs(kStored);
  const std::string display = std::string("WAYLAND_DISPLAY=") + kWaylandSocket;
  for (const char* session : {"", "x11", "tty"}) {
    SCOPED_TRACE(std::string("XDG_SESSION_TYPE=") + session);
    std::vector<std::string> env{display};
    if (*session) env.push_back(std::string("XDG_SESSION_TYPE=") + session);
    const size_t answered = AnsweredConfigures();
    if (!StartAndAwaitOpen(env)) {
      Wait(0);
      continue;
    }
    // The shell places the window as it maps it, and Qt then gives it a made-up
    // position: the run ends once the program has answered the first configure.
    for (int waited = 0; AnsweredConfigures() == answered && waited < 60000 && Running(); waited += 10)
      ::usleep(10000);
    EXPECT_GT(AnsweredConfigures(), answered) << "the window was never configured";
    ExpectSignalEndsTheRunCleanly();
    EXPECT_EQ(ReadFile(Prefs()), kStored);
  }
  ExpectQtThenOneLineAndExitOne({display, "WAYLAND_SOCKET=junk"}, "\"wayland\"", "Failed to create wl_display");
}

TEST_F(ServerTest, StartsOnALiveXDisplayButNotOnAScreenItLacks) {
  const std::string display = StartXvfb();
  if (IsSkipped() || HasFailure()) return;
  WritePrefs(kStored);
  std::vector<std::string> env{"DISPLAY=" + display};
  // libxkbcommon-x11 gives strndup names with no terminating NUL, which strndup allows
  // and AddressSanitizer's strict string checks do not.
  if (const char* asan = std::getenv("ASAN_OPTIONS"))
    env.push_back(std::string("ASAN_OPTIONS=") + asan + ":strict_string_checks=0");
  ASSERT_TRUE(StartAndAwaitOpen(env)) << ReadFile(dir / "server.log");
  ExpectSignalEndsTheRunCleanly();
  EXPECT_EQ(Stderr(), "");
  EXPECT_EQ(ReadFile(Prefs()), kStored);

  ExpectQtThenOneLineAndExitOne({"DISPLAY=" + display + ".5"}, "\"" + display + ".5\"",
                                "qt.qpa.xcb: could not connect to display " + display + ".5");
}
