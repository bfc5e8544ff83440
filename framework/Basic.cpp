#include "framework/Basic.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "framework/Internal.h"

namespace fw {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// std::from_chars reads '.' and the exponent alike under every locale, where strtod
// would follow the one the application runs in ("12.9" is 12 under a comma locale).
double Val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t begin = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  // Decimal place of the first significant digit (1 for units, 0 for tenths, -1 for
  // hundredths...), before the exponent: tells a number too large from one too small.
  int64_t place = 0;
  bool significant = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    significant = significant || text[i] != '0';
    if (significant) ++place;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
      significant = significant || text[i] != '0';
      if (!significant) --place;
    }
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it ("2e" is 2).
  int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    const bool negative = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j)
        exponent = std::min<int64_t>(exponent * 10 + (text[j] - '0'), int64_t{1} << 40);
      if (negative) exponent = -exponent;
      i = j;
    }
  }
  std::string_view number = text.substr(begin, i - begin);
  if (number.front() == '+') number.remove_prefix(1);  // from_chars takes no '+'
  double value = 0;
  if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: infinity when too large, zero when too small.
    value = place + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    if (number.front() == '-') value = -value;
  }
  return value;
}

std::string Str(int64_t value) { return std::to_string(value); }

double CDbl(std::string_view text) { return Val(text); }

int32_t CInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);  // in range: truncates toward zero
}

uint64_t CUInt64(double value) {
  if (std::isnan(value) || value <= 0) return 0;
  if (value >= 18446744073709551615.0) return std::numeric_limits<uint64_t>::max();
  return static_cast<uint64_t>(value);
}

namespace {

// Byte offset of the character with 0-based index `n` (the size when past the end).
size_t ByteOffset(std::string_view text, int64_t n) {
  size_t i = 0;
  for (int64_t c = 0; i < text.size() && c < n; ++c) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}

}  // namespace

int32_t Len(std::string_view text) {
  int32_t n = 0;
  for (unsigned char ch : text)
    if ((ch & 0xC0) != 0x80) ++n;
  return n;
}

int32_t InStr(int32_t start, std::string_view text, std::string_view sought) {
  const int64_t from = start > 1 ? int64_t{start} - 1 : 0;
  const size_t offset = ByteOffset(text, from);
  if (offset > text.size()) return 0;
  const size_t found = text.find(sought, offset);
  if (found == std::string_view::npos) return 0;
  return Len(text.substr(0, found)) + 1;
}

std::string Mid(std::string_view text, int32_t start, int32_t length) {
  if (length <= 0) return {};
  const size_t begin = ByteOffset(text, start > 1 ? int64_t{start} - 1 : 0);
  const size_t end = ByteOffset(text, (start > 1 ? int64_t{start} - 1 : 0) + length);
  return std::string(text.substr(begin, end - begin));
}

void Beep() {
  ++detail::beepCount;
  QApplication::beep();
}

int32_t MsgBox(const std::string& message, int32_t style, const std::string& title) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (style & 0x70) {
    case 16: icon = QMessageBox::Critical; break;
    case 32: icon = QMessageBox::Question; break;
    case 48: icon = QMessageBox::Warning; break;
    case 64: icon = QMessageBox::Information; break;
    default: break;
  }
  QMessageBox box(icon, QString::fromStdString(title), QString::fromStdString(message),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("MsgBox"));
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return 1;
}

ScreenInfo Screen(int32_t index) {
  // Qt lists the screens in the order the display reports them, which need not put
  // the primary one first.
  QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* primary = QGuiApplication::primaryScreen();
  screens.removeAll(primary);
  screens.prepend(primary);
  const QScreen* screen = (index >= 0 && index < screens.size()) ? screens.at(index) : primary;
  if (!screen) return {};
  const QRect r = screen->geometry();
  return {r.x(), r.y(), r.width(), r.height()};
}

bool detail::OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

bool WindowPositionsKnown() { return !detail::OnWayland(); }

}  // namespace fw
