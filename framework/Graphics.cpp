#include "framework/Graphics.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QHash>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
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

// Text is measured for a painter that has no surface as on a printed page: one unit
// to the point.
QPaintDevice& PointDevice() {
  static QImage image = [] {
    QImage one(1, 1, QImage::Format_RGB32);
    one.setDotsPerMeterX(2835);  // 72 dpi
    one.setDotsPerMeterY(2835);
    return one;
  }();
  return image;
}

FontEntry& LookupFont(const std::string& family, double size, bool bold, QPaintDevice* device) {
  if (!device) device = &PointDevice();
  int dpi = device->logicalDpiY();
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

// On a screen scaled by a fraction (125 %, 150 %...) a unit of the surface is no whole
// number of device pixels, and Qt would draw a one-unit line one or two pixels wide
// depending on where it falls. There lines and fills are placed on whole device
// pixels instead: every line of a pen is equally wide, stays inside the surface, and
// a fill ends where the lines beside it begin.
class DeviceGrid {
 public:
  // Null when the surface is drawn one unit to one device pixel (or is rotated or
  // sheared), where Qt's own drawing is exact.
  static std::optional<DeviceGrid> Of(const QPainter& painter, int32_t width, int32_t height) {
    const QTransform& t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() <= 0 || t.m22() <= 0) return std::nullopt;
    if (t.m11() == 1 && t.m22() == 1) return std::nullopt;
    return DeviceGrid(Axis(t.dx(), t.m11(), width), Axis(t.dy(), t.m22(), height));
  }

  struct Axis {
    Axis(double origin, double scale, int32_t size)
        : origin(origin),
          scale(scale),
          lo(static_cast<int>(std::ceil(origin))),
          hi(static_cast<int>(std::floor(origin + size * scale))),
          line(std::max(1, static_cast<int>(std::lround(scale)))) {}

    // Device width of a line `units` wide.
    int Thickness(int32_t units) const { return std::max(1, static_cast<int>(std::lround(units * scale))); }
    // First device pixel of a line `thickness` pixels wide centred on unit `p`,
    // kept inside the surface.
    int LineStart(double p, int thickness) const {
      const auto start = static_cast<int>(std::lround(origin + (p + 0.5) * scale - thickness / 2.0));
      return std::max(lo, std::min(start, hi - thickness));
    }
    // A fill from unit `p` to unit `end` (excluded) covers the device pixels between a
    // one-unit line at p - 1 and one at `end`.
    int FillStart(int32_t p) const { return LineStart(p - 1.0, line) + line; }
    int FillEnd(int32_t end) const { return LineStart(end, line); }

    double origin, scale;
    int lo, hi;  // the surface's whole device pixels: [lo, hi)
    int line;    // device width of a one-unit line
  };

  Axis x, y;

 private:
  DeviceGrid(Axis x, Axis y) : x(x), y(y) {}
};

// Fills device pixels [x0, x1) x [y0, y1) exactly, whatever the painter's scale.
void FillDevicePixels(QPainter& painter, const QColor& color, int x0, int y0, int x1, int y1) {
  if (x1 <= x0 || y1 <= y0) return;
  painter.save();
  painter.setWorldTransform(painter.deviceTransform().inverted(), true);
  painter.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), color);
  painter.restore();
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
  if (!painter_.isActive()) return;
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
  // Qt takes every new brush for a change of state, which a printer writes out again.
  const QColor color = QColor::fromRgb(ForeColor & 0xFFFFFF);
  const QBrush& brush = painter_.brush();
  if (brush.style() != Qt::SolidPattern || brush.color() != color) painter_.setBrush(color);
}

FontEntry& Graphics::ApplyFont() {
  const double size = TextSize > 0 ? TextSize : kDefaultTextSize;
  // A painter that did not begin has no surface and takes no font.
  if (!painter_.isActive()) return LookupFont(TextFont, size, Bold, nullptr);
  if (!font_->entry || font_->family != TextFont || font_->size != size || font_->bold != Bold) {
    font_->family = TextFont;
    font_->size = size;
    font_->bold = Bold;
    font_->entry = &LookupFont(TextFont, size, Bold, painter_.device());
    painter_.setFont(font_->entry->font);
  }
  return *font_->entry;
}

// A painter that did not begin (a paint the window system could not start) draws
// nothing, and has no paint engine to ask anything of.

void Graphics::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (!painter_.isActive()) return;
  if (x1 == x2 || y1 == y2) {
    if (const auto grid = DeviceGrid::Of(painter_, width_, height_)) {
      // The pen is square, as below; its ends cover the end points.
      const int32_t pen = std::max(PenWidth, PenHeight);
      const int tx = grid->x.Thickness(pen);
      const int ty = grid->y.Thickness(pen);
      const int left = grid->x.LineStart(std::min(x1, x2), tx);
      const int right = grid->x.LineStart(std::max(x1, x2), tx) + tx;
      const int top = grid->y.LineStart(std::min(y1, y2), ty);
      const int bottom = grid->y.LineStart(std::max(y1, y2), ty) + ty;
      FillDevicePixels(painter_, QColor::fromRgb(ForeColor & 0xFFFFFF), left, top, right, bottom);
      return;
    }
  }
  ApplyPen();
  painter_.drawLine(x1, y1, x2, y2);
}

void Graphics::DrawRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!painter_.isActive() || width <= 0 || height <= 0) return;
  // The border lies inside the rectangle: PenWidth wide at the sides, PenHeight at
  // the top and bottom.
  ApplyBrush();
  const int pw = std::max(1, PenWidth);
  const int ph = std::max(1, PenHeight);
  painter_.drawRect(x, y, width, std::min(ph, height));
  painter_.drawRect(x, y + height - std::min(ph, height), width, std::min(ph, height));
  painter_.drawRect(x, y, std::min(pw, width), height);
  painter_.drawRect(x + width - std::min(pw, width), y, std::min(pw, width), height);
}

void Graphics::FillRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!painter_.isActive() || width <= 0 || height <= 0) return;
  if (const auto grid = DeviceGrid::Of(painter_, width_, height_)) {
    FillDevicePixels(painter_, QColor::fromRgb(ForeColor & 0xFFFFFF), grid->x.FillStart(x), grid->y.FillStart(y),
                     grid->x.FillEnd(x + width), grid->y.FillEnd(y + height));
    return;
  }
  ApplyBrush();
  painter_.drawRect(x, y, width, height);
}

void Graphics::DrawString(const std::string& text, int32_t x, int32_t y, int32_t /*wrapWidth*/,
                          bool /*condense*/) {
  if (!painter_.isActive()) return;
  FontEntry& e = ApplyFont();
  painter_.setPen(QColor::fromRgb(ForeColor & 0xFFFFFF));
  const QString s = detail::Q(text);
  if (!painter_.paintEngine()->isExtended()) {
    // A printer's engine lays a static text out afresh on every draw: plain text costs less.
    painter_.drawText(QPointF(x, y), s);
    return;
  }
  // Laid-out text is kept: the same numbers are drawn on every paint.
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
  FontEntry& e = ApplyFont();
  const QString s = detail::Q(text);
  auto it = e.widths.find(s);
  if (it == e.widths.end()) {
    if (e.widths.size() > 4096) e.widths.clear();
    it = e.widths.insert(s, e.metrics.horizontalAdvance(s));
  }
  return *it;
}

int32_t Graphics::TextHeight() { return ApplyFont().height; }

int32_t Graphics::TextAscent() { return ApplyFont().ascent; }

void Graphics::NextPage() { StartNextPage(); }

}  // namespace fw
