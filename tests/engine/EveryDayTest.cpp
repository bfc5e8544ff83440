// Every day of the era, both ways, held to the real-number reference model.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/ReferenceModel.h"

namespace {

using Vorlen::HijriEpochBeforeSwitch;
using Vorlen::LastEraHijriDay;
using Vorlen::LastEraJulianDay;

class InitConstants : public ::testing::Environment {
 public:
  void SetUp() override { Vorlen::initConstants(); }
};
const auto* const initConstants = ::testing::AddGlobalTestEnvironment(new InitConstants);

const Ymd Ramadan17Of990{990, 9, 17};

bool isSkippedByTheReform(Ymd g) {
  return g.y == 1582 && g.m == 10 && g.d >= 5 && g.d <= 14;
}

TEST(EveryHijriDay, DayNumberGivesTheReferenceDateAndCountsBackToItself) {
  for (int32_t n = 0; n <= LastEraHijriDay; ++n) {
    const Ymd h = hijriDate(n);
    ASSERT_EQ(h, Reference::NDaysToYMDHij(n)) << "day number " << n;
    ASSERT_EQ(hijriDayNumber(h), n) << h;
    ASSERT_EQ(checkHij(h), 1) << h;
  }
}

TEST(EveryHijriDay, FollowsTheDayBeforeWithinTheMonthLengths) {
  Ymd before = hijriDate(0);
  ASSERT_EQ(before, (Ymd{1, 1, 1}));
  for (int32_t n = 1; n <= LastEraHijriDay; ++n) {
    const int32_t length = Vorlen::DaysInMonHij(before.y, before.m);
    Ymd expected{before.y, before.m, before.d + 1};
    if (before.d == length) {
      ASSERT_EQ(checkHij(expected), 0) << "a day past the month: " << expected;
      expected = before.m < 12 ? Ymd{before.y, before.m + 1, 1} : Ymd{before.y + 1, 1, 1};
    }
    const Ymd h = hijriDate(n);
    ASSERT_EQ(h, expected) << "after " << before;
    before = h;
  }
  EXPECT_EQ(before, (Ymd{2000, 1, 1}));
}

TEST(EveryHijriDay, ConvertsToTheReferenceDateAndBackExceptRamadan17Of990) {
  for (int32_t n = 0; n <= LastEraHijriDay; ++n) {
    const Ymd h = hijriDate(n);
    const Ymd g = toGregorian(h);
    ASSERT_EQ(g, Reference::HijToGre(h)) << h;
    // 16 and 17 Ramadan 990 share 4 October 1582, which names the 16th.
    const Ymd expected = h == Ramadan17Of990 ? Ymd{990, 9, 16} : h;
    ASSERT_EQ(toHijri(g), expected) << h << " via " << g;
  }
}

TEST(EveryGregorianDate, CheckJulianDayAndWeekdayMatchTheReferenceAroundEveryValidDate) {
  int32_t accepted = 0;
  for (int32_t y = 621; y <= 2563; ++y) {
    for (int32_t m = -1; m <= 14; ++m) {
      for (int32_t d = -1; d <= 33; ++d) {
        const Ymd g{y, m, d};
        ASSERT_EQ(checkGre(g), Reference::CheckDateGre(y, m, d)) << g;
        ASSERT_EQ(julianDay(g), Reference::YMDToJulianGre(y, m, d)) << g;
        ASSERT_EQ(weekday(g), Reference::FindDayOfTheWeekGre(y, m, d)) << g;
        accepted += checkGre(g);
      }
    }
  }
  // One date per day of the era, plus the ten days the reform skipped, less the seven
  // Julian 29 Februaries of 700, 900, 1000, 1100, 1300, 1400 and 1500.
  EXPECT_EQ(accepted, LastEraJulianDay - HijriEpochBeforeSwitch + 1 + 10 - 7);
}

TEST(EveryGregorianDate, ConvertsToTheReferenceHijriDateAndBackOutsideTheSkippedDays) {
  for (int32_t y = 622; y <= 2562; ++y) {
    for (int32_t m = 1; m <= 12; ++m) {
      for (int32_t d = 1; d <= Vorlen::DaysInMonGre(y, m); ++d) {
        const Ymd g{y, m, d};
        if (checkGre(g) == 0) continue;
        const Ymd h = toHijri(g);
        ASSERT_EQ(h, Reference::GreToHij(g)) << g;
        if (!isSkippedByTheReform(g)) {
          ASSERT_EQ(toGregorian(h), g) << g << " via " << h;
        }
      }
    }
  }
}

TEST(EveryJulianDay, GivesTheReferenceDateWhichGivesTheDayBackOnTheNextWeekday) {
  int32_t weekdayBefore = weekday(civilDate(HijriEpochBeforeSwitch - 401));
  for (int32_t jd = HijriEpochBeforeSwitch - 400; jd <= LastEraJulianDay + 400; ++jd) {
    const Ymd g = civilDate(jd);
    ASSERT_EQ(g, Reference::JulianToYMD(jd)) << "JD " << jd;
    ASSERT_EQ(julianDay(g), jd) << g;
    ASSERT_EQ(weekday(g), (weekdayBefore + 1) % 7) << g;
    weekdayBefore = weekday(g);
  }
}

// Beyond the era the engine still gives what the real-number steps give, wherever
// those steps stay inside int32 and inside their tables.

// Sampled over the whole range, and day by day around 0 and 10^8, where the engine
// changes from one way of dividing to another.
std::vector<int32_t> sampleDayNumbers(int32_t from) {
  std::vector<int32_t> days;
  for (int64_t n = from; n < 2140000000; n += 4099) days.push_back(static_cast<int32_t>(n));
  for (int32_t centre : {0, 100000000}) {
    for (int32_t n = std::max(from, centre - 3000); n <= centre + 3000; ++n) days.push_back(n);
  }
  return days;
}

TEST(BeyondTheEra, JulianDayRoutinesMatchTheReference) {
  for (int32_t jd : sampleDayNumbers(std::numeric_limits<int32_t>::min() + 2000)) {
    ASSERT_EQ(civilDate(jd), Reference::JulianToYMD(jd)) << "JD " << jd;
  }
  for (int32_t y = -100000; y <= 1001000; y += (y >= 999000 ? 1 : 37)) {
    for (int32_t m = -2; m <= 15; ++m) {
      for (int32_t d = -2; d <= 33; ++d) {
        ASSERT_EQ(julianDay({y, m, d}), Reference::YMDToJulianGre(y, m, d)) << Ymd{y, m, d};
      }
    }
  }
}

TEST(BeyondTheEra, HijriDayNumbersMatchTheReference) {
  for (int32_t n : sampleDayNumbers(0)) {
    ASSERT_EQ(hijriDate(n), Reference::NDaysToYMDHij(n)) << "day number " << n;
  }
  for (int32_t y = 1; y < 6000000; y += (y >= 299000 && y <= 301000 ? 1 : 1013)) {
    for (int32_t m = 0; m <= 12; ++m) {
      for (int32_t d : {-400, -1, 0, 1, 29, 30, 31, 400}) {
        ASSERT_EQ(hijriDayNumber({y, m, d}), Reference::NumberOfDaysHij(y, m, d)) << Ymd{y, m, d};
      }
    }
  }
}

TEST(BeyondTheEra, OddMonthsAndDaysFallOnTheSameSideOfTheSwitchAsTheRealKeySays) {
  for (int32_t y = 1581; y <= 1583; ++y) {
    for (int32_t m = -30; m <= 130; ++m) {
      for (int32_t d = -300; d <= 300; ++d) {
        const Ymd g{y, m, d};
        ASSERT_EQ(julianDay(g), Reference::YMDToJulianGre(y, m, d)) << g;
        ASSERT_EQ(toHijri(g), Reference::GreToHij(g)) << g;
      }
    }
  }
  for (int32_t y = 989; y <= 991; ++y) {
    for (int32_t m = 0; m <= 12; ++m) {
      for (int32_t d = -300; d <= 300; ++d) {
        const Ymd h{y, m, d};
        ASSERT_EQ(toGregorian(h), Reference::HijToGre(h)) << h;
      }
    }
  }
}

}  // namespace
