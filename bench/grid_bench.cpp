// One paint of the month grid, drawn into an off-screen image.

#include <benchmark/benchmark.h>

#include "framework/Application.h"
#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"
#include "shell/AppGlobal.h"
#include "shell/TSL.h"

namespace {

void StartOnce() {
  static bool started = [] {
    static char name[] = "grid_bench";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    fw::test::InitApplication(argc, argv);
    fw::Start(argc, argv, TSL::Startup);
    fw::test::Pump();
    return true;
  }();
  (void)started;
}

void BM_PaintGregorianMonth(benchmark::State& state) {
  StartOnce();
  CalMain& w = CalMain::Instance();
  w.GregOpt->SetValue(true);
  for (auto _ : state) fw::test::Render(*w.CalendarTable);
}
BENCHMARK(BM_PaintGregorianMonth)->Unit(benchmark::kMicrosecond);

void BM_PaintHijriMonth(benchmark::State& state) {
  StartOnce();
  CalMain& w = CalMain::Instance();
  w.HijOpt->SetValue(true);
  for (auto _ : state) fw::test::Render(*w.CalendarTable);
}
BENCHMARK(BM_PaintHijriMonth)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
