#include "framework/Basic.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "framework/Internal.h"

namespace fw {

double Val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t begin = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only when digits follow it ("2e" is 2).
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
      while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
      i = j;
    }
  }
  const std::string number(text.substr(begin, i - begin));
  return std::strtod(number.c_str(), nullptr);
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
  const auto screens = QGuiApplication::screens();
  const QScreen* screen = (index >= 0 && index < screens.size()) ? screens.at(index)
                                                                  : QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect r = screen->geometry();
  return {r.x(), r.y(), r.width(), r.height()};
}

}  // namespace fw
