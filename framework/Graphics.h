#pragma once
// A drawing surface: a canvas on screen or a printed page.
//
// The drawing state is plain data read at every call, so a caller sets
// `g.ForeColor` and then draws, and the next caller finds what was left.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Basic.h"

class QPainter;

namespace fw {

struct FontEntry;

class Graphics {
 public:
  // Draws through `painter` onto a surface `width` x `height` device units large.
  // Through a painter that did not begin nothing is drawn, and text is measured as on
  // a printed page, in points.
  Graphics(QPainter& painter, int32_t width, int32_t height);
  virtual ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  Color ForeColor = 0x000000;
  std::string TextFont = "System";
  double TextSize = 0;  // 0: the surface's default size
  bool Bold = false;
  int32_t PenWidth = 1;
  int32_t PenHeight = 1;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void DrawRect(int32_t x, int32_t y, int32_t width, int32_t height);
  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height);
  // `y` is the baseline. Text is never wrapped or condensed here.
  void DrawString(const std::string& text, int32_t x, int32_t y, int32_t wrapWidth = 0,
                  bool condense = false);
  double StringWidth(const std::string& text);
  int32_t TextHeight();
  int32_t TextAscent();

  // Starts a new page; only a printed surface has pages.
  void NextPage();

  // The size a TextSize of 0 stands for.
  static constexpr double kDefaultTextSize = 12;

 protected:
  // Pages are the printer's business.
  virtual bool StartNextPage() { return false; }

 private:
  void ApplyPen();
  void ApplyBrush();
  // The font of the drawing state, set on the painter; what it measures.
  FontEntry& ApplyFont();

  QPainter& painter_;
  int32_t width_;
  int32_t height_;
  struct FontState;
  std::unique_ptr<FontState> font_;
};

}  // namespace fw
