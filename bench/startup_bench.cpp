// Start-up time: from launching the process to the end of the first paint of the
// month grid, against a bare Qt window doing nothing but painting once.
//
//   startup_bench [runs]   (runs on Qt's offscreen platform unless told otherwise)
//
// Each run is a fresh process, so loading the libraries counts.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "shell/TSL.h"

int BareWindowChild(int argc, char** argv, bool withText);  // bench/bare_window.cpp

namespace {

int TessaralChild(int argc, char** argv) {
  fw::Start(argc, argv, TSL::Startup);
  // The grid's first paint sizes its cells.
  while (AppGlobal::iSquareWidth == 0) fw::test::Pump();
  std::fflush(stdout);
  _exit(0);  // the time to tear down is not part of starting
}

double RunOnce(const char* self, const char* mode) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(self, self, "--child", mode, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s run failed\n", mode);
    std::exit(1);
  }
  return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
    int childArgc = 1;
    if (std::strcmp(argv[2], "bare") == 0) return BareWindowChild(childArgc, argv, false);
    if (std::strcmp(argv[2], "bare-text") == 0) return BareWindowChild(childArgc, argv, true);
    return TessaralChild(childArgc, argv);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The runs share one runtime folder of their own, gone when the benchmark ends.
  const std::string runtime = fw::test::ScratchDir() + "/runtime";
  mkdir(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  // Warm the caches once each.
  RunOnce(argv[0], "bare");
  RunOnce(argv[0], "bare-text");
  RunOnce(argv[0], "tessaral");
  std::vector<double> bare, text, app;
  for (int i = 0; i < runs; ++i) {
    bare.push_back(RunOnce(argv[0], "bare"));
    text.push_back(RunOnce(argv[0], "bare-text"));
    app.push_back(RunOnce(argv[0], "tessaral"));
  }
  const double b = Median(bare), t = Median(text), a = Median(app);
  std::printf("start-up to first paint, median of %d runs (%s platform)\n", runs, std::getenv("QT_QPA_PLATFORM"));
  std::printf("  bare Qt window             %7.1f ms\n", b);
  std::printf("  bare Qt window with text   %7.1f ms\n", t);
  std::printf("  Tessaral grid              %7.1f ms   (%.2f x bare, %.2f x bare with text)\n", a, a / b, a / t);
  return 0;
}
