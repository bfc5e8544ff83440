#pragma once
// Reading grabbed images and rendered pages: colour classes and counts of pixels in
// a rectangle.

#include <algorithm>
#include <cstdint>

#include "framework/testing/Driver.h"

namespace pixels {

inline int32_t R(fw::Color c) { return c >> 16; }
inline int32_t G(fw::Color c) { return (c >> 8) & 0xFF; }
inline int32_t B(fw::Color c) { return c & 0xFF; }
inline bool IsLight(fw::Color c) { return R(c) > 200 && G(c) > 200 && B(c) > 200; }
inline bool IsInk(fw::Color c) { return !IsLight(c); }
inline bool IsDark(fw::Color c) { return R(c) < 110 && G(c) < 110 && B(c) < 110; }
inline bool IsBlue(fw::Color c) { return B(c) > 180 && R(c) < 110 && G(c) < 110; }
inline bool IsRed(fw::Color c) { return R(c) > 180 && G(c) < 110 && B(c) < 110; }
inline bool IsMagenta(fw::Color c) { return R(c) > 180 && G(c) < 110 && B(c) > 180; }
inline bool IsDarkGreen(fw::Color c) { return R(c) < 60 && G(c) > 60 && G(c) < 140 && B(c) < 80; }

struct Rect {
  int32_t x0, y0, x1, y1;  // x1, y1 excluded
};

template <class Pred>
int32_t Count(const fw::test::Image& img, Rect r, Pred pred) {
  int32_t n = 0;
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x) n += pred(img.At(x, y)) ? 1 : 0;
  return n;
}

// The smallest rectangle holding every inked pixel of `r` (x1, y1 included).
inline Rect InkBounds(const fw::test::Image& img, Rect r) {
  Rect b{1 << 30, 1 << 30, -1, -1};
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x)
      if (IsInk(img.At(x, y))) b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y)};
  return b;
}

}  // namespace pixels
