#pragma once
// For the benchmarks that run Tessaral in their own process: it starts once, as main
// starts it, on the offscreen platform, and is taken down (its scratch folder with it)
// when the benchmarks are done.

#include <benchmark/benchmark.h>

namespace appbench {

void StartOnce();
// Runs the benchmarks named on the command line, then takes the application down.
int RunAll(int argc, char** argv);

}  // namespace appbench

#define APP_BENCHMARK_MAIN() \
  int main(int argc, char** argv) { return appbench::RunAll(argc, argv); }
