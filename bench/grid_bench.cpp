// One paint of the month grid, drawn into an off-screen image.

#include "bench/AppBench.h"
#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"

namespace {

void BM_PaintGregorianMonth(benchmark::State& state) {
  appbench::StartOnce();
  CalMain& w = CalMain::Instance();
  w.GregOpt->SetValue(true);
  for (auto _ : state) fw::test::Render(*w.CalendarTable);
}
BENCHMARK(BM_PaintGregorianMonth)->Unit(benchmark::kMicrosecond);

void BM_PaintHijriMonth(benchmark::State& state) {
  appbench::StartOnce();
  CalMain& w = CalMain::Instance();
  w.HijOpt->SetValue(true);
  for (auto _ : state) fw::test::Render(*w.CalendarTable);
}
BENCHMARK(BM_PaintHijriMonth)->Unit(benchmark::kMicrosecond);

}  // namespace

APP_BENCHMARK_MAIN()
