// Cost of one date conversion, cycling over every day of the era (16 July 622 to
// 7 January 2562, 1 Muharram 1 to 1 Muharram 2000), beside ICU's "islamic-civil"
// calendar doing the same work: a moment in, Hijri fields out, and back.

#include <cstdint>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/Vorlen.h"

#ifdef TESSARAL_BENCH_ICU
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#endif

namespace {

struct Ymd {
  int32_t y, m, d;
};

struct Era {
  std::vector<Ymd> gregorian;  // every civil day, in order
  std::vector<Ymd> hijri;      // every Hijri day, in order
  std::vector<double> moments;  // ICU's milliseconds since 1970 at midnight GMT of each civil day
};

const Era& era() {
  static const Era days = [] {
    Vorlen::initConstants();
    Era e;
    for (int32_t jd = Vorlen::HijriEpochBeforeSwitch; jd <= Vorlen::LastEraJulianDay; ++jd) {
      Ymd g{};
      int32_t day = jd;
      Vorlen::JulianToYMD(g.y, g.m, g.d, day);
      e.gregorian.push_back(g);
      constexpr int32_t unixEpochJulianDay = 2440588;  // Thursday 1 January 1970
      e.moments.push_back((jd - unixEpochJulianDay) * 86400000.0);
    }
    for (int32_t n = 0; n <= Vorlen::LastEraHijriDay; ++n) {
      Ymd h{};
      Vorlen::NDaysToYMDHij(h.y, h.m, h.d, n);
      e.hijri.push_back(h);
    }
    return e;
  }();
  return days;
}

void GreToHij_Tessaral(benchmark::State& state) {
  const auto& days = era().gregorian;
  size_t i = 0;
  for (auto _ : state) {
    Ymd g = days[i];
    int32_t y, m, d;
    Vorlen::GreToHij(g.y, g.m, g.d, y, m, d);
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(d);
    if (++i == days.size()) i = 0;
  }
}
BENCHMARK(GreToHij_Tessaral);

void HijToGre_Tessaral(benchmark::State& state) {
  const auto& days = era().hijri;
  size_t i = 0;
  for (auto _ : state) {
    Ymd h = days[i];
    int32_t y, m, d;
    Vorlen::HijToGre(h.y, h.m, h.d, y, m, d);
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(d);
    if (++i == days.size()) i = 0;
  }
}
BENCHMARK(HijToGre_Tessaral);

#ifdef TESSARAL_BENCH_ICU
std::unique_ptr<icu::Calendar> islamicCivil(benchmark::State& state) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
      icu::TimeZone::getGMT()->clone(), icu::Locale("@calendar=islamic-civil"), status));
  if (U_FAILURE(status)) state.SkipWithError("ICU has no islamic-civil calendar");
  return calendar;
}

void GreToHij_ICU(benchmark::State& state) {
  const auto& moments = era().moments;
  auto calendar = islamicCivil(state);
  UErrorCode status = U_ZERO_ERROR;
  size_t i = 0;
  for (auto _ : state) {
    calendar->setTime(moments[i], status);
    benchmark::DoNotOptimize(calendar->get(UCAL_YEAR, status));
    benchmark::DoNotOptimize(calendar->get(UCAL_MONTH, status));
    benchmark::DoNotOptimize(calendar->get(UCAL_DATE, status));
    if (++i == moments.size()) i = 0;
  }
  if (U_FAILURE(status)) state.SkipWithError("ICU failed");
}
BENCHMARK(GreToHij_ICU);

void HijToGre_ICU(benchmark::State& state) {
  const auto& days = era().hijri;
  auto calendar = islamicCivil(state);
  UErrorCode status = U_ZERO_ERROR;
  size_t i = 0;
  for (auto _ : state) {
    const Ymd& h = days[i];
    calendar->clear();
    calendar->set(h.y, h.m - 1, h.d);
    benchmark::DoNotOptimize(calendar->getTime(status));
    if (++i == days.size()) i = 0;
  }
  if (U_FAILURE(status)) state.SkipWithError("ICU failed");
}
BENCHMARK(HijToGre_ICU);
#endif

}  // namespace

BENCHMARK_MAIN();
