#include "framework/Graphics.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include "framework/Internal.h"

namespace fw {

// The font last handed to the painter, so that drawing many strings in one font
// builds it once.
struct Graphics::FontState {
  std::string family;
  double size = -1;
  bool bold = false;
  QFont font;
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
  if (font_->family != TextFont || font_->size != size || font_->bold != Bold) {
    font_->family = TextFont;
    font_->size = size;
    font_->bold = Bold;
    font_->font = detail::MakeFont(TextFont, 0, Bold);
    // Sizes are in device units: pixels on screen, points on a 72 dpi page.
    const int dpi = painter_.device() ? painter_.device()->logicalDpiY() : 72;
    font_->font.setPointSizeF(size * 72.0 / (dpi > 0 ? dpi : 72));
  }
  painter_.setFont(font_->font);
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
  painter_.drawText(QPointF(x, y), detail::Q(text));
}

double Graphics::StringWidth(const std::string& text) {
  ApplyFont();
  return QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(detail::Q(text));
}

int32_t Graphics::TextHeight() {
  ApplyFont();
  return QFontMetrics(painter_.font(), painter_.device()).height();
}

int32_t Graphics::TextAscent() {
  ApplyFont();
  return QFontMetrics(painter_.font(), painter_.device()).ascent();
}

void Graphics::NextPage() { StartNextPage(); }

}  // namespace fw
