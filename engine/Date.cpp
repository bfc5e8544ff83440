#include "engine/Vorlen.h"

#include <ctime>

Date Date::Now() {
  const std::time_t now = std::time(nullptr);
  tzset();  // pick up a TZ set since the last call; localtime_r need not
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}
