// Painting a print job: twelve month pages of 2027 to a PDF through the Print window,
// against a plain QPrinter job of the same content in the same run. Only the painting
// counts (the painter's begin to its end), not the dialogs around it.
//
// Besides the job's own time it reports, as counters, the plain job's time and the
// median of the pair-by-pair ratios. With TESSARAL_BENCH_PDF set, the last job's PDF
// is kept under that name (and the plain job's beside it), to compare its pages with those of another build.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/AppBench.h"
#include "framework/testing/Driver.h"
#include "mainwindow/CalMain.h"
#include "printing/CalPrint.h"

double BarePrintYear(const std::string& pdf, int year);  // bench/bare_print.cpp

namespace {

constexpr int kYear = 2027;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void BM_TwelvePagesToPdf(benchmark::State& state) {
  appbench::StartOnce();
  const std::string dir = fw::test::ScratchDir();
  const std::string appPdf = dir + "/app.pdf";
  const std::string barePdf = dir + "/bare.pdf";
  fw::test::SetPrintFile(appPdf);

  std::vector<double> app, bare, ratio;
  CalPrint& w = CalPrint::Instance();
  fw::test::WhileModal(
      w, [] { fw::test::ChooseMenu(CalMain::Instance(), "Print"); },
      [&] {
        fw::test::Click(*w.OPTGregorian);
        fw::test::Type(*w.YearTXTPRT, std::to_string(kYear));
        fw::test::Type(*w.FromMonthTXTPRT, "1");
        fw::test::Type(*w.ToMonthTXTPRT, "12");
        const auto printOnce = [&] {
          fw::test::AnswerDialog([&] { fw::test::Click(*w.PrintPRT); }, true);
          return fw::test::LastPrintJobSeconds();
        };
        printOnce();  // fonts and glyphs are loaded once per run, by whichever job comes first
        BarePrintYear(barePdf, kYear);
        for (auto _ : state) {
          const double a = printOnce();
          const double b = BarePrintYear(barePdf, kYear);
          state.SetIterationTime(a);
          app.push_back(a);
          bare.push_back(b);
          ratio.push_back(a / b);
        }
      },
      60000);
  fw::test::SetPrintFile("");
  if (const char* keep = std::getenv("TESSARAL_BENCH_PDF")) {
    const auto overwrite = std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy_file(appPdf, keep, overwrite);
    std::filesystem::copy_file(barePdf, std::string(keep) + ".plain.pdf", overwrite);
  }

  state.counters["bare_ms"] = Median(bare) * 1e3;
  state.counters["ratio"] = Median(ratio);
  std::printf("print job against a plain QPrinter job: %.2fx (medians %.2f ms / %.2f ms, %zu pairs)\n",
              Median(ratio), Median(app) * 1e3, Median(bare) * 1e3, ratio.size());
}
BENCHMARK(BM_TwelvePagesToPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

APP_BENCHMARK_MAIN()
