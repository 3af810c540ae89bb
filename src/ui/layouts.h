// Positions and sizes of the controls of each window, by control name (pixels), at the
// window's default size, and how the controls follow a window made larger or smaller.
#pragma once

#include <QRect>
#include <QSize>

#include <string>
#include <vector>

namespace planova::ui {

struct Placement {
  const char* name;
  int x, y, w, h;
};

// How a control follows the window's extra width dw and height dh (either may be
// negative down to the window's smallest useful size): its left edge moves by left·dw,
// its right edge by right·dw, its top and bottom edges by top·dh and bottom·dh.  When the
// window is smaller than its default height the shrink fractions serve instead.
struct Follow {
  const char* name;
  double left, right;
  double top, bottom;
  double shrinkTop, shrinkBottom;
};

struct WindowLayout {
  int width, height;
  std::vector<Placement> places;
  std::vector<Follow> follows;  // a control not listed keeps its place and size
  int minWidth = 0, minHeight = 0;  // below these the window scrolls
};

// The layout of a window ("Form1" …); an empty layout for an unknown name.
const WindowLayout& LayoutOf(const std::string& form);

// Where a control of `layout` lies in a window area of `size` pixels (at least the
// layout's smallest useful size): its place in the table moved and stretched by its
// Follow rule, the place itself at the default size.
QRect PlaceIn(const WindowLayout& layout, const Placement& place, const QSize& size);

// The size a window opens at: its default size, made smaller where the screen's
// available area (less the title bar and borders) is smaller.
QSize OpeningSize(const WindowLayout& layout, const QRect& available);

}  // namespace planova::ui
