// A picture box as the window models draw on it: a user coordinate scale, clearing,
// lines, points and text in RGB colours.  The model keeps what is drawn as a display
// list in user coordinates; the Qt front end paints it and the batch runner renders it
// into a PNG file.  Mouse presses come back in user coordinates.  A plot also says what
// its axes mean (PlotAxes), so that the front end can write the dates, the arcseconds
// and the legend beside the grid.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace planova {

struct PictureItem {
  enum class Kind { kLine, kPoint, kText };
  Kind kind;
  double x1, y1, x2, y2;  // a line from (x1, y1) to (x2, y2); a point or text at (x1, y1)
  uint32_t rgb;           // 0xRRGGBB
  std::string text;
};

// One colour of a plot and what its points are.
struct LegendEntry {
  uint32_t rgb;
  std::string text;
};

// The meaning of a plot's user coordinates.  Time runs to the right: x = (JD - OriginJd)
// / 365.25 / YearsPerUnit (Julian years).  A value of v arcseconds (seconds of time for a
// time difference) lies at y = v / ArcsecPerUnit + ZeroY.  Known is false until a run has
// set them; the front end then labels nothing.
struct PlotAxes {
  bool Known = false;
  double OriginJd = 0, YearsPerUnit = 1;
  double ArcsecPerUnit = 1, ZeroY = 0;
  std::vector<LegendEntry> Legend;
};

class PictureBox {
 public:
  // User scale: (left, top) is the upper-left corner, (right, bottom) the lower-right.
  void Scale(double left, double top, double right, double bottom) {
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
  }
  void Clear() {
    Items.clear();
    CurrentX = Left;
    CurrentY = Top;
  }
  void Line(double x1, double y1, double x2, double y2, uint32_t rgb) {
    Items.push_back({PictureItem::Kind::kLine, x1, y1, x2, y2, rgb, {}});
    CurrentX = x2;
    CurrentY = y2;
  }
  void Point(double x, double y, uint32_t rgb) {
    Items.push_back({PictureItem::Kind::kPoint, x, y, x, y, rgb, {}});
    CurrentX = x;
    CurrentY = y;
  }
  // Text at (CurrentX, CurrentY), its upper-left corner there.
  void Print(const std::string& text, uint32_t rgb = 0) {
    Items.push_back({PictureItem::Kind::kText, CurrentX, CurrentY, CurrentX, CurrentY, rgb, text});
  }
  // A mouse press at user coordinates (left or right button).
  void Click(double x, double y, bool left) {
    if (OnMouseDown) OnMouseDown(x, y, left);
  }

  // Place and size of the box on its window, in twips (15 to a pixel); the window
  // moves the box out of the way by making it small.
  int LeftTwips = 0, TopTwips = 0, WidthTwips = 0, HeightTwips = 0;
  void Place(int left, int top, int width, int height) {
    LeftTwips = left;
    TopTwips = top;
    WidthTwips = width;
    HeightTwips = height;
  }

  double Left = 0, Top = 0, Right = 1, Bottom = 1;
  double CurrentX = 0, CurrentY = 0;
  std::vector<PictureItem> Items;
  PlotAxes Axes;
  std::function<void(double, double, bool)> OnMouseDown;
};

}  // namespace planova
