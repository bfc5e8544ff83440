#include "bench/AppBench.h"

#include "framework/Application.h"
#include "framework/testing/Driver.h"
#include "shell/TSL.h"

namespace appbench {

void StartOnce() {
  static bool started = [] {
    static char name[] = "tessaral-bench";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    fw::test::InitApplication(argc, argv);
    fw::Start(argc, argv, TSL::Startup);
    fw::test::Pump();
    return true;
  }();
  (void)started;
}

int RunAll(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fw::test::FinishApplication();
  return 0;
}

}  // namespace appbench
