#include "framework/Graphics.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QHash>
#include <QStaticText>

#include <map>
#include <tuple>

#include "framework/Internal.h"

namespace fw {

// A font at one size on one kind of device, with what is asked of it often. Kept for
// the whole run: a paint draws the same few fonts and numbers again and again.
struct FontEntry {
  QFont font;
  QFontMetricsF metrics;
  int height;
  int ascent;
  QHash<QString, double> widths;
  QHash<QString, QStaticText> texts;
};

namespace {

FontEntry& LookupFont(const std::string& family, double size, bool bold, QPaintDevice* device) {
  int dpi = device ? device->logicalDpiY() : 72;
  if (dpi <= 0) dpi = 72;
  static std::map<std::tuple<std::string, double, bool, int>, std::unique_ptr<FontEntry>> fonts;
  auto& slot = fonts[{family, size, bold, dpi}];
  if (!slot) {
    QFont font = detail::MakeFont(family, 0, bold);
    // Sizes are in device units: pixels on screen, points on a 72 dpi page.
    font.setPointSizeF(size * 72.0 / dpi);
    const QFontMetrics whole(font, device);
    slot = std::make_unique<FontEntry>(
        FontEntry{font, QFontMetricsF(font, device), whole.height(), whole.ascent(), {}, {}});
  }
  return *slot;
}

}  // namespace

struct Graphics::FontState {
  std::string family;
  double size = -1;
  bool bold = false;
  FontEntry* entry = nullptr;
};

Graphics::Graphics(QPainter& painter, int32_t width, int32_t height)
    : painter_(painter), width_(width), height_(height), font_(std::make_unique<FontState>()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

Graphics::~Graphics() = default;

void Graphics::ApplyPen() {
  // Lines are PenWidth wide and PenHeight high; a square pen of the larger covers both.
  const int width = std::max(1, std::max(PenWidth, PenHeight));
  QPen pen(QColor::fromRgb(ForeColor & 0xFFFFFF));
  pen.setWidth(width);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
}

void Graphics::ApplyBrush() {
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(QColor::fromRgb(ForeColor & 0xFFFFFF));
}

void Graphics::ApplyFont() {
  const double size = TextSize > 0 ? TextSize : kDefaultTextSize;
  if (!font_->entry || font_->family != TextFont || font_->size != size || font_->bold != Bold) {
    font_->family = TextFont;
    font_->size = size;
    font_->bold = Bold;
    font_->entry = &LookupFont(TextFont, size, Bold, painter_.device());
    painter_.setFont(font_->entry->font);
  }
}

void Graphics::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  ApplyPen();
  painter_.drawLine(x1, y1, x2, y2);
}

void Graphics::DrawRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  // The border lies inside the rectangle: PenWidth wide at the sides, PenHeight at
  // the top and bottom.
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(QColor::fromRgb(ForeColor & 0xFFFFFF));
  const int pw = std::max(1, PenWidth);
  const int ph = std::max(1, PenHeight);
  painter_.drawRect(x, y, width, std::min(ph, height));
  painter_.drawRect(x, y + height - std::min(ph, height), width, std::min(ph, height));
  painter_.drawRect(x, y, std::min(pw, width), height);
  painter_.drawRect(x + width - std::min(pw, width), y, std::min(pw, width), height);
}

void Graphics::FillRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  ApplyBrush();
  painter_.drawRect(x, y, width, height);
}

void Graphics::DrawString(const std::string& text, int32_t x, int32_t y, int32_t /*wrapWidth*/,
                          bool /*condense*/) {
  ApplyFont();
  painter_.setPen(QColor::fromRgb(ForeColor & 0xFFFFFF));
  // Laid-out text is kept: the same numbers are drawn on every paint.
  FontEntry& e = *font_->entry;
  const QString s = detail::Q(text);
  auto it = e.texts.find(s);
  if (it == e.texts.end()) {
    if (e.texts.size() > 4096) e.texts.clear();
    QStaticText laidOut(s);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.prepare(QTransform(), e.font);
    it = e.texts.insert(s, laidOut);
  }
  // A static text is placed by its top; y is the baseline.
  painter_.drawStaticText(QPointF(x, y - e.metrics.ascent()), *it);
}

double Graphics::StringWidth(const std::string& text) {
  ApplyFont();
  FontEntry& e = *font_->entry;
  const QString s = detail::Q(text);
  auto it = e.widths.find(s);
  if (it == e.widths.end()) {
    if (e.widths.size() > 4096) e.widths.clear();
    it = e.widths.insert(s, e.metrics.horizontalAdvance(s));
  }
  return *it;
}

int32_t Graphics::TextHeight() {
  ApplyFont();
  return font_->entry->height;
}

int32_t Graphics::TextAscent() {
  ApplyFont();
  return font_->entry->ascent;
}

void Graphics::NextPage() { StartNextPage(); }

}  // namespace fw
