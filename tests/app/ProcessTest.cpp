// The real program, run as a child process the way a desktop runs it: termination
// signals end the run through the Close events, and a start Qt cannot make gives one
// line on standard error and exit 1 rather than Qt's abort.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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

  // A start that Qt cannot make: exit status 1 and one line on standard error that
  // mentions `mentions`.
  void ExpectOneLineAndExitOne(const std::vector<std::string>& env, const std::string& mentions,
                               const std::vector<std::string>& programArgs = {}) {
    Start(env, programArgs);
    const int status = Wait(60);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string err = Stderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(mentions), std::string::npos) << err;
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
    // The kiosk shell starts no helper programs of its own.
    const pid_t server = Spawn({"weston", "--backend=headless-backend.so", "--shell=kiosk-shell.so", "--no-config",
                                "--idle-time=0", std::string("--socket=") + kWaylandSocket});
    ASSERT_GT(server, 0);
    const fs::path socket = dir / "runtime" / kWaylandSocket;
    for (int waited = 0; !fs::exists(socket); waited += 10) {
      ASSERT_LT(waited, 10000) << "weston made no socket: " << ReadFile(dir / "server.log");
      ASSERT_EQ(::waitpid(server, nullptr, WNOHANG), 0) << "weston ended: " << ReadFile(dir / "server.log");
      ::usleep(10000);
    }
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
      // Qt warns, while the start is held, that the first platform is missing.
      {"a platform list", SIGTERM, {"QT_QPA_PLATFORM=nosuchplatform;offscreen"}, false, kClosed, "\"nosuchplatform\""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    WritePrefs(kOdd);
    std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen"};
    env.insert(env.end(), r.wrapper.begin(), r.wrapper.end());
    ASSERT_TRUE(StartAndAwaitOpen(env));
    if (r.hangupFirst) {
      ::kill(pid, SIGHUP);
      ::usleep(1000000);
      if (!Running()) {
        const int status = Wait(0);
        FAIL() << "a run started with SIGHUP ignored ended on SIGHUP: "
               << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                       : "exit " + std::to_string(WEXITSTATUS(status)))
               << "; " << Stderr();
      }
    }
    ExpectSignalEndsTheRunCleanly(r.signal);
    EXPECT_EQ(ReadFile(Prefs()), r.written);
    if (r.warned) {
      EXPECT_NE(Stderr().find(r.warned), std::string::npos) << Stderr();
    }
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir / "config")) files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<std::string>{"TSL Prefs"});
  }
}

TEST_F(ProcessTest, UnusableDisplayOrPlatformGivesOneLineAndExitOne) {
  const std::string absent = AbsentDisplay();
  struct Case {
    const char* what;
    std::vector<std::string> env;
    std::string mentions;
    std::vector<std::string> args = {};
  };
  const Case cases[] = {
      {"DISPLAY naming no display", {"DISPLAY=" + absent}, absent},
      {"xcb without a display", {"QT_QPA_PLATFORM=xcb"}, "DISPLAY"},
      {"unknown platform with options", {"QT_QPA_PLATFORM=nosuchplatform:size=2"}, "\"nosuchplatform\""},
      // Installed plugins for hardware this machine lacks: they give up as Qt starts
      // them, or (linuxfb) only as the first window is made.
      {"eglfs", {"QT_QPA_PLATFORM=eglfs"}, "\"eglfs\""},
      {"linuxfb", {"QT_QPA_PLATFORM=linuxfb"}, "\"linuxfb\""},
      {"minimalegl", {"QT_QPA_PLATFORM=minimalegl"}, "\"minimalegl\""},
      {"a plugin's file name, not its key", {"QT_QPA_PLATFORM=wayland-generic"}, "\"wayland-generic\""},
      {"an empty -platform", {}, "no Qt platform plugin", {"-platform", ""}},
      {"a broken WAYLAND_SOCKET, no DISPLAY", {"WAYLAND_SOCKET=junk"}, "DISPLAY"},
      {"a broken WAYLAND_SOCKET for wayland", {"WAYLAND_SOCKET=junk", "QT_QPA_PLATFORM=wayland"}, "\"wayland\""},
      // Qt tries Wayland, then X: the line names the display that X could not open.
      {"a Wayland session with a dead DISPLAY", {"XDG_SESSION_TYPE=wayland", "DISPLAY=" + absent}, "\"" + absent + "\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectOneLineAndExitOne(c.env, c.mentions, c.args);
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
    ASSERT_TRUE(StartAndAwaitOpen(env));
    ExpectSignalEndsTheRunCleanly();
    EXPECT_EQ(ReadFile(Prefs()), kStored);
  }
  ExpectOneLineAndExitOne({display, "WAYLAND_SOCKET=junk"}, "\"wayland\"");
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

  ExpectOneLineAndExitOne({"DISPLAY=" + display + ".5"}, "\"" + display + ".5\"");
}
