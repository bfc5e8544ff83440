#include "engine/Vorlen.h"

#include <array>

namespace AppGlobal {
namespace {

constexpr std::array<const char*, 12> GregorianMonths{
    "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};

constexpr std::array<const char*, 12> HijriMonths{
    "Muharram", "Safar", "Rabi' I", "Rabi' II", "Jumada I", "Jumada II",
    "Rajab", "Sha'ban", "Ramadhan", "Shawwal", "Thul-Qa'dah", "Thul-Hijjah"};

constexpr std::array<const char*, 7> Weekdays{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool isMonth(int32_t i) {
  return i >= 1 && i <= 12;
}

std::string numbered(const char* name, int32_t i) {
  return std::string(name) + " (" + std::to_string(i) + ")";
}

}  // namespace

std::string GetMonNamGre(int32_t i) {
  return isMonth(i) ? GregorianMonths[i - 1] : "";
}

std::string GetMonNamHij(int32_t i) {
  return isMonth(i) ? HijriMonths[i - 1] : "";
}

std::string GetMonNamGreSecondary(int32_t i) {
  return isMonth(i) ? numbered(GregorianMonths[i - 1], i) : "";
}

std::string GetMonNamHijSecondary(int32_t i) {
  return isMonth(i) ? numbered(HijriMonths[i - 1], i) : "";
}

std::string GetWeekName(int32_t i) {
  return (i >= 0 && i <= 6) ? Weekdays[i] : "";
}

}  // namespace AppGlobal
