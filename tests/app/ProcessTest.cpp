// The real program, run as a child process the way a desktop runs it: a
// termination signal ends the run through the Close events (the preferences file
// written, exit 0; under a file-size limit too small for it, the old file kept), and
// a display or platform that cannot start gives one line on standard error and
// exit 1 rather than Qt's abort.

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
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
  // environment and with `extra`; the termination signals start with their default
  // handling, as does SIGXFSZ.
  void Start(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"/usr/bin/env"};
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
                             "QT_QPA_PLATFORM_PLUGIN_PATH", "XDG_SESSION_TYPE", "SESSION_MANAGER"})
      args.insert(args.end(), {"-u", name});
    args.push_back("XDG_CONFIG_HOME=" + (dir / "config").string());
    args.push_back("XDG_RUNTIME_DIR=" + (dir / "runtime").string());
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(TESSARAL_PROGRAM);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

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

  // Starts the program and returns once its main window has read the preferences,
  // after the program has started listening for signals: the moment to send one.
  void StartAndWaitForPrefsRead(const std::vector<std::string>& extra) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, Prefs().c_str(), IN_OPEN), 0);
    Start(extra);
    pollfd ready{watch, POLLIN, 0};
    const int events = ::poll(&ready, 1, 60000);
    ::close(watch);
    ASSERT_EQ(events, 1) << "the program never read its preferences; " << Stderr();
  }

  // The exit status, once the child ends; one still running after `seconds` is killed.
  int Wait(int seconds) {
    int status = 0;
    for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
      if (waited == seconds * 1000) ::kill(pid, SIGKILL);
      ::usleep(10000);
    }
    pid = -1;
    return status;
  }

  fs::path dir;
  pid_t pid = -1;
};

class SignalTest : public ProcessTest, public ::testing::WithParamInterface<int> {};

std::string SignalName(const ::testing::TestParamInfo<int>& info) { return sigabbrev_np(info.param); }

}  // namespace

TEST_P(SignalTest, EndsTheRunThroughTheCloseEventsAndExitsZero) {
  // A stored position with an unusual flag byte and a tail: only the main window's
  // Close event turns it into these 7 bytes.
  {
    std::ofstream out(Prefs(), std::ios::binary);
    out << std::string("\x00\x02\x00\x64\x00\x32\x07tail", 11);
  }
  StartAndWaitForPrefsRead({"QT_QPA_PLATFORM=offscreen"});
  ::kill(pid, GetParam());
  const int status = Wait(60);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
  EXPECT_EQ(ReadFile(Prefs()), std::string("\x00\x02\x00\x64\x00\x32\x01", 7));
}

INSTANTIATE_TEST_SUITE_P(TermHupInt, SignalTest, ::testing::Values(SIGTERM, SIGHUP, SIGINT), SignalName);

TEST_F(ProcessTest, UnusableDisplayOrPlatformGivesOneLineAndExitOne) {
  int free = 4000;
  while (fs::exists("/tmp/.X11-unix/X" + std::to_string(free))) ++free;
  const std::string absent = ":" + std::to_string(free);
  struct Case {
    const char* what;
    std::vector<std::string> env;
    std::string mentions;
  };
  const Case cases[] = {
      {"DISPLAY naming no display", {"DISPLAY=" + absent}, absent},
      {"xcb without a display", {"QT_QPA_PLATFORM=xcb"}, "DISPLAY"},
      {"unknown platform with options", {"QT_QPA_PLATFORM=nosuchplatform:size=2"}, "\"nosuchplatform\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Start(c.env);
    const int status = Wait(60);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string err = Stderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(c.mentions), std::string::npos) << err;
  }
}

TEST_F(ProcessTest, FileSizeLimitBelowThePreferencesKeepsTheOldFileAndStillExitsZero) {
  // A file-size limit in bytes: below the 7 bytes of the file the write fails, leaving the
  // old file whole and nothing beside it; at 7 it is written.
  const std::string old("\x00\x02\x00\x64\x00\x32\x07tail", 11);
  for (const int limit : {0, 3, 7}) {
    SCOPED_TRACE("limit " + std::to_string(limit) + " bytes");
    {
      std::ofstream out(Prefs(), std::ios::binary);
      out << old;
    }
    StartAndWaitForPrefsRead({"QT_QPA_PLATFORM=offscreen", "prlimit", "--fsize=" + std::to_string(limit)});
    ::kill(pid, SIGTERM);
    const int status = Wait(60);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
    EXPECT_EQ(ReadFile(Prefs()), limit < 7 ? old : std::string("\x00\x02\x00\x64\x00\x32\x01", 7));
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir / "config")) files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<std::string>{"TSL Prefs"});
  }
}

TEST_F(ProcessTest, ARunStartedUnderNohupOutlivesAHangupAndStillEndsOnTerm) {
  {
    std::ofstream out(Prefs(), std::ios::binary);
    out << std::string("\x00\x02\x00\x64\x00\x32\x07tail", 11);
  }
  // nohup starts the program with SIGHUP ignored, as a run meant to outlive its
  // terminal is.
  StartAndWaitForPrefsRead({"QT_QPA_PLATFORM=offscreen", "/usr/bin/nohup"});

  ::kill(pid, SIGHUP);
  int status = 0;
  pid_t ended = 0;
  for (int waited = 0; waited < 1000 && ended == 0; waited += 10) {
    ::usleep(10000);
    ended = ::waitpid(pid, &status, WNOHANG);
  }
  if (ended == pid) pid = -1;
  ASSERT_TRUE(ended == 0) << "a run started with SIGHUP ignored ended on SIGHUP: "
                          << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                                  : "exit " + std::to_string(WEXITSTATUS(status)))
                          << "; " << Stderr();

  ::kill(pid, SIGTERM);
  status = Wait(60);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
  EXPECT_EQ(ReadFile(Prefs()), std::string("\x00\x02\x00\x64\x00\x32\x01", 7));
}
